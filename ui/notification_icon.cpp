#include "ui/notification_icon.h"

#include <algorithm>

namespace orbelin::ui {

NotificationIcon::NotificationIcon(HWND owner, HICON icon, std::wstring_view tip) noexcept {
    data_.cbSize = sizeof(data_);
    data_.hWnd = owner;
    data_.uID = kId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kCallbackMessage;
    data_.hIcon = icon;
    const auto length = std::min<std::size_t>(tip.size(), std::size(data_.szTip) - 1);
    std::copy_n(tip.data(), length, data_.szTip);
}

void NotificationIcon::Add() noexcept {
    ::Shell_NotifyIconW(NIM_ADD, &data_);
    present_ = true;
}

void NotificationIcon::Delete() noexcept {
    if (!present_) return;
    ::Shell_NotifyIconW(NIM_DELETE, &data_);
    present_ = false;
}

}  // namespace orbelin::ui
