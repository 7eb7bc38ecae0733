#pragma once
// Orbelin's icon in the notification area. It knows its record, adds and deletes the icon,
// and adds it again when the taskbar is re-created (Explorer restarted).

#include <windows.h>
#include <shellapi.h>

#include <string_view>

namespace orbelin::ui {

class NotificationIcon {
public:
    // The shell reports mouse events over the icon with this message; the mouse message
    // number travels in the low word of lParam.
    static constexpr UINT kCallbackMessage = WM_MOUSEMOVE;
    static constexpr UINT kId = 1;

    NotificationIcon(HWND owner, HICON icon, std::wstring_view tip) noexcept;

    // Failures are ignored on purpose: adding an icon that exists, or deleting one that
    // does not, changes nothing.
    void Add() noexcept;
    void Delete() noexcept;

    [[nodiscard]] const NOTIFYICONDATAW& Record() const noexcept { return data_; }

private:
    NOTIFYICONDATAW data_{};
};

}  // namespace orbelin::ui
