// Speed of the uninstaller's folder removal, side by side in one run with the command
// interpreter's own recursive removal, on identical generated trees:
//   deldir - the uninstaller's removal (listing, file deletion, folder removal)
//   rmdir  - "cmd /c rmdir /s /q", started as a process (its start-up is measured apart)
// Each tree has N files spread evenly over N/10 folders nested ten to a parent. For each
// size it prints the median time of each, the time per file, and the ratio.
// Usage: deldir_bench [runs]  (1 by default: under Wine the 20,000-file rmdir alone takes
// about two minutes)

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "uninstall/deldir.h"
#include "uninstall/win32/file_system.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, buffer);
    return std::wstring(buffer) + L"deldir-bench-" + std::to_wstring(::GetCurrentProcessId());
}

// Folder i holds ten files; its parent is folder (i - 1) / 10, folder 0 being the root.
void MakeTree(const std::wstring& root, int files) {
    const int folders = files / 10;
    std::vector<std::wstring> paths(static_cast<std::size_t>(folders));
    paths[0] = root;
    for (int i = 1; i < folders; ++i) paths[i] = paths[(i - 1) / 10] + L"\\d" + std::to_wstring(i);
    const std::string content(100, 'x');
    for (const auto& folder : paths) {
        if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
            std::fprintf(stderr, "cannot create %ls\n", folder.c_str());
            std::exit(1);
        }
        for (int f = 0; f < 10; ++f) {
            const auto path = folder + L"\\file" + std::to_wstring(f) + L".dat";
            HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            DWORD written = 0;
            ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
            ::CloseHandle(file);
        }
    }
}

// Runs "cmd /c <command>" with a hidden window and waits for it.
void RunCommand(const std::wstring& command) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring interpreter = std::wstring(system) + L"\\cmd.exe";
    std::wstring commandLine = L"\"" + interpreter + L"\" /d /c " + command;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start cmd.exe\n");
        std::exit(1);
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 1;
    const std::wstring base = TempFolder();
    ::CreateDirectoryW(base.c_str(), nullptr);
    orbelin::uninstall::win32::Win32FileSystem fs;

    std::vector<double> startup;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        RunCommand(L"exit");
        startup.push_back(Milliseconds(Clock::now() - start));
    }
    const double cmdStart = Median(startup);
    std::printf("cmd.exe start-up: %.1f ms (included in rmdir below)\n", cmdStart);
    std::printf("%7s %7s %12s %12s %14s %14s %8s %10s\n", "files", "folders", "deldir ms", "rmdir ms",
                "deldir us/file", "rmdir us/file", "ratio", "ratio net");

    for (const int files : {2000, 20000}) {
        std::vector<double> ours, theirs;
        for (int run = 0; run < runs; ++run) {
            const auto a = base + L"\\a" + std::to_wstring(run);
            const auto b = base + L"\\b" + std::to_wstring(run);
            MakeTree(a, files);
            MakeTree(b, files);
            // Alternate which goes first, so that neither always meets a warmer cache.
            for (int turn = 0; turn < 2; ++turn) {
                if ((turn + run) % 2 == 0) {
                    const auto start = Clock::now();
                    orbelin::uninstall::DelDir(fs, a);
                    ours.push_back(Milliseconds(Clock::now() - start));
                } else {
                    const auto start = Clock::now();
                    RunCommand(L"rmdir /s /q \"" + b + L"\"");
                    theirs.push_back(Milliseconds(Clock::now() - start));
                }
            }
            if (Exists(a) || Exists(b)) {
                std::fprintf(stderr, "a tree was not removed\n");
                return 1;
            }
        }
        const double d = Median(ours);
        const double r = Median(theirs);
        std::printf("%7d %7d %12.1f %12.1f %14.1f %14.1f %8.2f %10.2f\n", files, files / 10, d, r,
                    1000.0 * d / files, 1000.0 * r / files, d / r, d / (r - cmdStart));
    }
    ::RemoveDirectoryW(base.c_str());
    return 0;
}
