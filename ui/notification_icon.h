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
    // does not, changes nothing. A delete of an icon known to be gone is not even sent
    // (the shell may take its time to answer it).
    void Add() noexcept;
    void Delete() noexcept;
    // The taskbar was re-created: the icon went with the old one.
    void Lost() noexcept { present_ = false; }
    [[nodiscard]] bool Present() const noexcept { return present_; }

    [[nodiscard]] const NOTIFYICONDATAW& Record() const noexcept { return data_; }

  private:
    NOTIFYICONDATAW data_{};
    bool present_ = false;
};

}  // namespace orbelin::ui
