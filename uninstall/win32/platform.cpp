#include "uninstall/win32/platform.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "common/error.h"
#include "common/instance.h"
#include "common/win32/error_report.h"
#include "uninstall/texts.h"

namespace orbelin::uninstall::win32 {
namespace {

static_assert(kCsidlProgramFiles == CSIDL_PROGRAM_FILES);
static_assert(kCsidlCommonStartMenu == CSIDL_COMMON_STARTMENU);

// A batch file gets a new console, whose code page is the OEM one.
UINT ConsoleCodePage() noexcept { return ::GetOEMCP(); }

// The text in the console code page; empty when a character has no equivalent there.
std::optional<std::string> Encode(std::wstring_view text) {
    if (text.empty()) return std::string();
    const UINT codePage = ConsoleCodePage();
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;  // must be null for UTF-8
    const int length = static_cast<int>(text.size());
    const int size =
        ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (::WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), size, nullptr,
                              usedDefaultOut) != size ||
        usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

// Fills a buffer through a call that returns the length it needs when the buffer is short.
template <typename Call>
std::wstring GrowingCall(Call call) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(length + 1);
    }
}

}  // namespace

std::string ToConsoleCodePage(std::wstring_view text) {
    auto bytes = Encode(text);
    if (!bytes) throw Error(kErrorBadPathName, text::kNoConsoleForm + std::wstring(text));
    return *std::move(bytes);
}

bool Win32Platform::ClaimInstance() {
    if (instance_) return true;
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    const DWORD code = ::GetLastError();
    if (mutex == nullptr) {
        if (code == ERROR_ACCESS_DENIED) return false;  // exists, made by a more privileged Orbelin
        throw win::Win32Error(code, kInstanceMutexName);
    }
    win::UniqueHandle owner(mutex);
    if (code == ERROR_ALREADY_EXISTS) return false;
    instance_ = std::move(owner);
    return true;
}

std::wstring Win32Platform::SpecialPath(int csidl) {
    LPITEMIDLIST list = nullptr;
    const HRESULT status = ::SHGetSpecialFolderLocation(nullptr, csidl, &list);
    const win::UniqueIdList owner(list);
    if (status != S_OK || list == nullptr) return {};
    wchar_t path[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(list, path)) return {};  // a folder with no file-system path
    return path;
}

std::wstring Win32Platform::RunningExecutable() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw win::LastError(L"GetModuleFileNameW");
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    // Started through a short path, the module name is short too; the folders it is compared
    // with are listed in their long form.
    auto longPath = GrowingCall(
        [&path](wchar_t* buffer, DWORD size) { return ::GetLongPathNameW(path.c_str(), buffer, size); });
    return longPath.empty() ? path : longPath;
}

bool Win32Platform::Fits(std::wstring_view text) { return Encode(text).has_value(); }

std::wstring Win32Platform::ShortPath(const std::wstring& path) {
    return GrowingCall(
        [&path](wchar_t* buffer, DWORD size) { return ::GetShortPathNameW(path.c_str(), buffer, size); });
}

void Win32Platform::WriteBatch(const std::wstring& text) {
    const std::string bytes = ToConsoleCodePage(text);
    const std::wstring folder =
        GrowingCall([](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); });
    if (folder.empty()) throw win::LastError(L"GetTempPathW");

    // A name of our own, never an existing file.
    const std::wstring stem = L"uninst-" + std::to_wstring(::GetCurrentProcessId());
    for (int attempt = 0;; ++attempt) {
        const std::wstring name = stem + (attempt == 0 ? L"" : L"-" + std::to_wstring(attempt)) + L".bat";
        const std::wstring path = folder + name;
        HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS && attempt < 100) continue;
            throw win::LastError(path);
        }
        {
            win::UniqueHandle file(handle);
            DWORD written = 0;
            if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                written != bytes.size()) {
                const auto error = win::LastError(path);
                file.reset();
                ::DeleteFileW(path.c_str());
                throw error;
            }
        }
        batchFolder_ = folder;
        batchName_ = name;
        return;
    }
}

void Win32Platform::StartBatch() {
    const std::wstring system =
        GrowingCall([](wchar_t* buffer, DWORD size) { return ::GetSystemDirectoryW(buffer, size); });
    if (system.empty()) throw win::LastError(L"GetSystemDirectoryW");
    const std::wstring interpreter = system + L"\\cmd.exe";
    // The batch file is named relative to its folder, which becomes the current folder: that
    // keeps the temp folder's path, whatever letters it holds, off the command line, and the
    // interpreter out of the folders the batch file removes. /d: no AutoRun commands.
    std::wstring commandLine = L"\"" + interpreter + L"\" /d /c " + batchName_;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, batchFolder_.c_str(), &startup, &process)) {
        throw win::LastError(interpreter);
    }
    const win::UniqueHandle processHandle(process.hProcess);
    const win::UniqueHandle threadHandle(process.hThread);
}

}  // namespace orbelin::uninstall::win32
