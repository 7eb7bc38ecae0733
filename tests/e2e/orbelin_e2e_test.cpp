// Orbelin.exe started as a user would start it, and driven from outside its process.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ui/command2.h"
#include "ui/ids.h"
#include "tests/support/process_window.h"

namespace {

using orbelin::ui::Command2;
namespace ids = orbelin::ids;

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text(path);
    return text.substr(0, text.find_last_of(L'\\') + 1) + L"Orbelin.exe";
}

class Process {
  public:
    Process() {
        std::wstring command = L"\"" + ProgramPath() + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        started_ = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                    &si, &pi_);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (!started_) return;
        if (::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(pi_.hProcess, 99);
        ::CloseHandle(pi_.hThread);
        ::CloseHandle(pi_.hProcess);
    }
    [[nodiscard]] bool Started() const { return started_ != FALSE; }
    // Exit code, or -1 while it still runs after the wait.
    [[nodiscard]] long WaitExit(DWORD milliseconds) const {
        if (::WaitForSingleObject(pi_.hProcess, milliseconds) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(pi_.hProcess, &code);
        return static_cast<long>(code);
    }
    // Its main window, once shown.
    [[nodiscard]] HWND MainWindow(DWORD milliseconds = 30000) const {
        return orbelin::testing_support::WaitProcessWindow(pi_.dwProcessId, Command2::kClassName, nullptr,
                                                           milliseconds);
    }

  private:
    BOOL started_ = FALSE;
    PROCESS_INFORMATION pi_{};
};

int MainWindowCount() {
    int count = 0;
    for (HWND h = nullptr; (h = ::FindWindowExW(nullptr, h, Command2::kClassName, nullptr)) != nullptr;)
        ++count;
    return count;
}

std::wstring CurrentViewerText(HWND main) {
    wchar_t text[64] = {};
    ::SendMessageW(::GetDlgItem(main, ids::IDC_TEXT1), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    return text;
}

void Quit(HWND main, const Process& process) {
    ::PostMessageW(main, WM_COMMAND, ids::IDM_MQUITTER, 0);
    EXPECT_EQ(process.WaitExit(30000), 0) << "Quitter ends the program";
}

TEST(OrbelinProgram, ASecondStartEndsSilentlyAndLeavesTheFirstAlone) {
    Process first;
    ASSERT_TRUE(first.Started());
    HWND main = first.MainWindow();
    ASSERT_NE(main, nullptr);

    Process second;
    ASSERT_TRUE(second.Started());
    EXPECT_EQ(second.WaitExit(30000), 0);
    EXPECT_EQ(MainWindowCount(), 1);
    EXPECT_TRUE(::IsWindowVisible(main));
    Quit(main, first);
}

TEST(OrbelinProgram, ASwitchIsFoundAgainAtTheNextStart) {
    const struct {
        int item;
        const wchar_t* shownAfterRestart;
        const wchar_t* wrl;
    } cases[] = {
        {ids::IDM_MOCTAGA, L"Octaga", L"Octaga.Octaga.wrl"},
        // Cortona's switch writes "Cortona.Client", which is not the text that marks it.
        {ids::IDM_MCORTONA, L"", L"Cortona.Client"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "item " << c.item);
        {
            Process orbelin;
            HWND main = orbelin.MainWindow();
            ASSERT_NE(main, nullptr);
            ::SendMessageW(main, WM_COMMAND, static_cast<WPARAM>(c.item), 0);
            Quit(main, orbelin);
        }
        wchar_t value[64] = {};
        DWORD size = sizeof(value);
        ASSERT_EQ(::RegGetValueW(HKEY_CLASSES_ROOT, L".wrl", nullptr, RRF_RT_REG_SZ, nullptr, value, &size),
                  ERROR_SUCCESS);
        EXPECT_STREQ(value, c.wrl);

        Process orbelin;
        HWND main = orbelin.MainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(CurrentViewerText(main), c.shownAfterRestart);
        // Check marks are covered in-process: Wine does not share menu handles between
        // processes.
        Quit(main, orbelin);
    }
}

}  // namespace
