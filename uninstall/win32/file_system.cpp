#include "uninstall/win32/file_system.h"

#include <windows.h>

#include "common/win32/error_report.h"
#include "common/win32/handles.h"

namespace orbelin::uninstall::win32 {

std::vector<Entry> Win32FileSystem::List(const std::wstring& folder) {
    const std::wstring pattern = folder + L"\\*";
    WIN32_FIND_DATAW data{};
    // The basic information level skips the 8.3 names, and a large fetch asks for many
    // entries per call: the listing is most of the cost of removing a tree.
    win::UniqueFind find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                            nullptr, FIND_FIRST_EX_LARGE_FETCH));
    std::vector<Entry> entries;
    if (!find.valid()) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return entries;  // a drive root with nothing in it
        throw win::Win32Error(code, folder);
    }
    do {
        entries.push_back({data.cFileName, data.dwFileAttributes});
    } while (::FindNextFileW(find.get(), &data));
    const DWORD code = ::GetLastError();
    if (code != ERROR_NO_MORE_FILES) throw win::Win32Error(code, folder);
    return entries;
}

void Win32FileSystem::RemoveFile(const std::wstring& path) {
    if (!::DeleteFileW(path.c_str())) throw win::LastError(path);
}

void Win32FileSystem::RemoveFolder(const std::wstring& path) {
    // For a junction or a symbolic link to a folder this removes the link only.
    if (!::RemoveDirectoryW(path.c_str())) throw win::LastError(path);
}

}  // namespace orbelin::uninstall::win32
