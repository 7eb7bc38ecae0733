#pragma once
// Helpers for the uninstaller's tests under Wine: temporary folders and files, bounded
// waits, and finding and answering message boxes, in this process or in another one.

#include <windows.h>

#include <chrono>
#include <cwchar>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/process_window.h"

namespace orbelin::uninstall::testing {

inline bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void MakeFile(const std::wstring& path, const std::string& bytes = "x", DWORD attributes = 0) {
    for (auto sep = path.find(L'\\', 3); sep != std::wstring::npos; sep = path.find(L'\\', sep + 1)) {
        ::CreateDirectoryW(path.substr(0, sep).c_str(), nullptr);
    }
    HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a fixture file");
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    if (attributes != 0) ::SetFileAttributesW(path.c_str(), attributes);
}

// Removes a fixture tree whatever its attributes; missing is fine.
inline void RemoveTree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        std::vector<std::wstring> names;
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
        for (const auto& name : names) RemoveTree(path + L"\\" + name);
    }
    ::RemoveDirectoryW(path.c_str());
}

inline std::wstring TempPath() {
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, buffer);
    std::wstring path = buffer;
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

// A new empty folder under the temp folder, removed with everything in it at the end.
class TempFolder {
  public:
    explicit TempFolder(const std::wstring& name)
        : path_(TempPath() + L"\\" + name + L"-" + std::to_wstring(::GetCurrentProcessId())) {
        RemoveTree(path_);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveTree(path_); }
    [[nodiscard]] const std::wstring& Path() const { return path_; }
    [[nodiscard]] std::wstring operator/(const std::wstring& rest) const { return path_ + L"\\" + rest; }

  private:
    std::wstring path_;
};

// Handles this thread's messages while waiting, so that windows of this thread keep working.
inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

inline std::wstring WindowText(HWND window) {
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(window, buffer, 1024);
    return buffer;
}

inline std::wstring ClassOf(HWND window) {
    wchar_t buffer[256] = {};
    ::GetClassNameW(window, buffer, 256);
    return buffer;
}

// A visible top-level window of the process with the class.
inline HWND FindTopWindow(DWORD processId, const wchar_t* className) {
    return orbelin::testing_support::FindProcessWindow(processId, className);
}

// What a message box shows.
struct BoxInfo {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;                  // its text lines, joined
    std::vector<std::wstring> buttons;  // visible buttons
    bool icon = false;                  // a visible icon
};

inline BOOL CALLBACK ReadBoxChild(HWND child, LPARAM param) {
    auto* info = reinterpret_cast<BoxInfo*>(param);
    if (!::IsWindowVisible(child)) return TRUE;
    const auto cls = ClassOf(child);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
    if (_wcsicmp(cls.c_str(), L"Button") == 0) {
        info->buttons.push_back(WindowText(child));
    } else if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            info->icon = info->icon || ::SendMessageW(child, STM_GETICON, 0, 0) != 0;
        } else {
            info->text += WindowText(child);
        }
    }
    return TRUE;
}

inline BoxInfo ReadBox(HWND box) {
    BoxInfo info;
    info.window = box;
    info.title = WindowText(box);
    ::EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&info));
    return info;
}

inline std::optional<BoxInfo> WaitForBox(DWORD processId, std::chrono::milliseconds timeout) {
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindTopWindow(processId, L"#32770")) != nullptr; }, timeout)) {
        return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let it finish laying itself out
    return ReadBox(box);
}

inline void PressOk(HWND box) {
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)));
}

// Answers the next message box this process shows, from another thread (the box blocks the
// thread that shows it), and keeps what it showed.
class BoxAnswerer {
  public:
    BoxAnswerer()
        : thread_([this] {
              if (auto box = WaitForBox(::GetCurrentProcessId(), std::chrono::seconds(20))) {
                  seen_ = *box;
                  PressOk(box->window);
              }
          }) {}
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    ~BoxAnswerer() {
        if (thread_.joinable()) thread_.join();
    }
    // Waits for the answer; empty when no box came.
    const std::optional<BoxInfo>& Seen() {
        if (thread_.joinable()) thread_.join();
        return seen_;
    }

  private:
    std::optional<BoxInfo> seen_;
    std::thread thread_;
};

}  // namespace orbelin::uninstall::testing
