#pragma once
// Owners for Win32 handles: move-only, explicit get(), no implicit conversion.

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace orbelin::win {

template <typename H, auto Close>
struct HandleCloser {
    using pointer = H;
    void operator()(H handle) const noexcept {
        if (handle != nullptr) Close(handle);
    }
};

template <typename H, auto Close>
using UniqueHandleOf = std::unique_ptr<std::remove_pointer_t<H>, HandleCloser<H, Close>>;

inline void CloseKey(HKEY key) noexcept { ::RegCloseKey(key); }
inline void CloseKernelHandle(HANDLE handle) noexcept { ::CloseHandle(handle); }
inline void CloseFind(HANDLE handle) noexcept { ::FindClose(handle); }
inline void DestroyIconHandle(HICON icon) noexcept { ::DestroyIcon(icon); }
inline void DeleteBitmap(HBITMAP bitmap) noexcept { ::DeleteObject(bitmap); }
inline void DeleteFont(HFONT font) noexcept { ::DeleteObject(font); }
inline void DestroyMenuHandle(HMENU menu) noexcept { ::DestroyMenu(menu); }
inline void FreeIdList(LPITEMIDLIST list) noexcept { ::CoTaskMemFree(list); }

using UniqueKey = UniqueHandleOf<HKEY, CloseKey>;
using UniqueHandle = UniqueHandleOf<HANDLE, CloseKernelHandle>;
using UniqueIcon = UniqueHandleOf<HICON, DestroyIconHandle>;
using UniqueBitmap = UniqueHandleOf<HBITMAP, DeleteBitmap>;
using UniqueFont = UniqueHandleOf<HFONT, DeleteFont>;
using UniqueMenu = UniqueHandleOf<HMENU, DestroyMenuHandle>;
using UniqueIdList = UniqueHandleOf<LPITEMIDLIST, FreeIdList>;

// FindFirstFile handles are INVALID_HANDLE_VALUE, not null, when there is none.
class UniqueFind {
  public:
    UniqueFind() = default;
    explicit UniqueFind(HANDLE handle) noexcept : handle_(handle) {}
    UniqueFind(UniqueFind&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    UniqueFind& operator=(UniqueFind&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    UniqueFind(const UniqueFind&) = delete;
    UniqueFind& operator=(const UniqueFind&) = delete;
    ~UniqueFind() { reset(); }

    [[nodiscard]] HANDLE get() const noexcept { return handle_; }
    [[nodiscard]] bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
    void reset() noexcept {
        if (valid()) ::FindClose(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// COM initialisation for the calling thread, undone when the owner goes.
class ComScope {
  public:
    ComScope() noexcept : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (ok_) ::CoUninitialize();
    }

  private:
    bool ok_;
};

}  // namespace orbelin::win
