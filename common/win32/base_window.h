#pragma once
// One class per top-level window. The static window procedure finds the object through
// GWLP_USERDATA (set from CreateWindowEx's last argument at WM_NCCREATE) and forwards to
// T::HandleMessage. No exception leaves it: an error that escapes a handler goes to
// T::OnUnhandledError, which reports it and decides what happens next. An error while the
// window is being created makes the creation fail and is rethrown by CreateChecked.

#include <windows.h>

#include <exception>
#include <utility>

#include "common/win32/error_report.h"

namespace orbelin::win {

template <typename T>
class BaseWindow {
  public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    virtual ~BaseWindow() {
        if (hwnd_ != nullptr) {
            ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            ::DestroyWindow(hwnd_);
        }
    }

    [[nodiscard]] HWND Hwnd() const noexcept { return hwnd_; }

  protected:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        T* self = nullptr;
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            self = static_cast<T*>(create->lpCreateParams);
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = hwnd;
        } else {
            self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
        LRESULT result = 0;
        try {
            result = self->HandleMessage(message, wParam, lParam);
        } catch (...) {
            if (message == WM_NCCREATE || message == WM_CREATE) {
                self->createError_ = std::current_exception();
                result = message == WM_CREATE ? -1 : FALSE;
            } else {
                result = self->OnUnhandledError(message);
            }
        }
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            static_cast<BaseWindow*>(self)->OnDestroyed();
        }
        return result;
    }

    // Registers T's window class (T::kClassName) on first use: arrow cursor, dialog-face
    // background.
    static void RegisterClassOnce(HINSTANCE instance) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (::GetClassInfoExW(instance, T::kClassName, &wc)) return;
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = T::kClassName;
        if (!::RegisterClassExW(&wc)) throw LastError(T::kClassName);
    }

    HWND CreateChecked(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                       const RECT& r, HMENU menu, HINSTANCE instance) {
        createError_ = nullptr;
        HWND hwnd = ::CreateWindowExW(exStyle, className, title, style, r.left, r.top, r.right - r.left,
                                      r.bottom - r.top, nullptr, menu, instance, static_cast<T*>(this));
        if (hwnd == nullptr) {
            if (createError_) std::rethrow_exception(std::exchange(createError_, nullptr));
            throw LastError(className);
        }
        return hwnd;
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }

    // Called after the window is gone; the object may outlive it.
    virtual void OnDestroyed() noexcept {}

  private:
    HWND hwnd_ = nullptr;
    std::exception_ptr createError_;
};

}  // namespace orbelin::win
