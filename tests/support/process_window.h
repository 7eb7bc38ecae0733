#pragma once
// Tests and benchmarks that drive a program from outside look for its windows here.

#include <windows.h>

namespace orbelin::testing_support {

// A visible top-level window of the process; a null class or caption matches any.
inline HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption = nullptr) {
    for (HWND h = nullptr; (h = ::FindWindowExW(nullptr, h, className, caption)) != nullptr;) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        if (owner == processId && ::IsWindowVisible(h)) return h;
    }
    return nullptr;
}

// The same, waited for; null when it has not appeared in time.
inline HWND WaitProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                              DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 100) {
        if (HWND h = FindProcessWindow(processId, className, caption)) return h;
        ::Sleep(100);
    }
    return nullptr;
}

}  // namespace orbelin::testing_support
