// Uninstall.exe end to end under Wine: a fixture installation made here (program folder,
// Start-menu shortcuts, install counter), the program started as a user would start it,
// its buttons and message boxes driven from outside, then the machine checked.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "common/instance.h"
#include "common/win32/handles.h"
#include "scripthost/win32_registry.h"
#include "tests/uninstall/wine_support.h"
#include "uninstall/texts.h"
#include "uninstall/win32/ids.h"

namespace orbelin::uninstall {
namespace {

using namespace std::chrono_literals;
using testing::Exists;
using testing::MakeFile;

std::wstring FolderPath(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) {
        throw std::runtime_error("no system folder");
    }
    return path;
}

std::wstring BuiltUninstaller() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\')) + L"\\Uninstall.exe";
}

std::string ReadAll(const std::wstring& path) {
    std::string bytes(4096, '\0');
    HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// An installed Orbelin, with another program of the same maker when others > 0, and a
// program of another maker whose names start alike, which nothing may touch.
class Installation {
  public:
    Installation(const reg::RawValue& counter, bool withOther) {
        Clean();
        MakeFile(orbelin + L"\\Orbelin.exe", "MZ");
        MakeFile(orbelin + L"\\pictures\\logo.bmp");
        if (!::CopyFileW(BuiltUninstaller().c_str(), exe.c_str(), FALSE)) throw std::runtime_error("copy");
        MakeFile(sm + L"\\Vantrel\\Orbelin.lnk");
        MakeFile(sm + L"\\Vantrel\\Uninstall\\Uninstall Orbelin.lnk");
        if (withOther) {
            MakeFile(pf + L"\\Vantrel\\Other\\other.exe");
            MakeFile(sm + L"\\Vantrel\\Other.lnk");
            registry.Write(reg::Path::Parse(L"HKLM\\SOFTWARE\\Vantrel\\Other\\Path"), std::wstring(L"x"));
        }
        MakeFile(pf + L"\\VantrelTools\\keep.txt");
        registry.Write(reg::Path::Parse(L"HKLM\\SOFTWARE\\VantrelTools\\"), std::wstring(L"y"));
        registry.WriteRaw(reg::Path::Parse(kCounter), counter);
        registry.Write(reg::Path::Parse(std::wstring(kEntry) + L"UninstallString"), L"\"" + exe + L"\"");
    }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;
    ~Installation() { Clean(); }

    std::optional<reg::RawValue> Counter() { return registry.ReadRaw(reg::Path::Parse(kCounter)); }
    bool KeyExists(const wchar_t* key) { return registry.KeyExists(reg::Root::LocalMachine, key); }
    // Orbelin's entry in the list of installed programs, as the setup program makes it.
    bool Listed() { return registry.KeyExists(reg::Root::LocalMachine, reg::Path::Parse(kEntry).key); }

    // Everything the fixture made, as paths that must all still exist when nothing was removed.
    std::vector<std::wstring> Files() const {
        return {orbelin + L"\\Orbelin.exe", orbelin + L"\\pictures\\logo.bmp", exe,
                sm + L"\\Vantrel\\Orbelin.lnk", sm + L"\\Vantrel\\Uninstall\\Uninstall Orbelin.lnk"};
    }

    static constexpr wchar_t kCounter[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel\\App\\";
    static constexpr wchar_t kEntry[] =
        L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel.Orbelin\\";
    const std::wstring pf = FolderPath(CSIDL_PROGRAM_FILES);
    const std::wstring sm = FolderPath(CSIDL_COMMON_STARTMENU);
    const std::wstring orbelin = pf + L"\\Vantrel\\Orbelin";
    const std::wstring exe = orbelin + L"\\Uninstall.exe";
    reg::Win32Registry registry;

  private:
    void Clean() {
        testing::RemoveTree(pf + L"\\Vantrel");
        testing::RemoveTree(pf + L"\\VantrelTools");
        testing::RemoveTree(sm + L"\\Vantrel");
        registry.DeleteKey(reg::Root::LocalMachine, L"SOFTWARE\\Vantrel");
        registry.DeleteKey(reg::Root::LocalMachine, L"SOFTWARE\\VantrelTools");
        registry.DeleteKey(reg::Root::LocalMachine, reg::Path::Parse(kEntry).key);
    }
};

// Uninstall.exe started as from Explorer or a shortcut, with the given current folder.
class Session {
  public:
    Session(const std::wstring& exe, const std::wstring& currentFolder) {
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              currentFolder.c_str(), &startup, &info)) {
            throw std::runtime_error("CreateProcessW failed: " + std::to_string(::GetLastError()));
        }
        process_.reset(info.hProcess);
        ::CloseHandle(info.hThread);
        id_ = info.dwProcessId;
        testing::WaitUntil(
            [this] { return (form_ = testing::FindTopWindow(id_, L"Uninstall.Form1")) != nullptr; }, 20s);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() {
        if (::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.get(), 99);
    }

    [[nodiscard]] HWND Form() const { return form_; }
    [[nodiscard]] HWND Control(int id) const { return ::GetDlgItem(form_, id); }
    void Click(int id) const { ::PostMessageW(Control(id), BM_CLICK, 0, 0); }
    [[nodiscard]] std::optional<testing::BoxInfo> Box() const { return testing::WaitForBox(id_, 60s); }
    // The exit code, or -1 when the program has not ended in time.
    [[nodiscard]] long Ended() const {
        if (::WaitForSingleObject(process_.get(), 30000) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(process_.get(), &code);
        return static_cast<long>(code);
    }
    // The self-delete batch file this run wrote, while it exists.
    [[nodiscard]] bool BatchExists() const {
        WIN32_FIND_DATAW data{};
        const auto pattern = testing::TempPath() + L"\\uninst-" + std::to_wstring(id_) + L"*.bat";
        HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return false;
        ::FindClose(find);
        return true;
    }

  private:
    win::UniqueHandle process_;
    DWORD id_ = 0;
    HWND form_ = nullptr;
};

// Clicks "Uninstall", checks the final box and window, confirms, and waits for the program
// and its batch file to be gone.
void UninstallToTheEnd(Session& run, const std::wstring& exe) {
    ASSERT_NE(run.Form(), nullptr) << "no window";
    run.Click(ids::kBtnUninstall);
    const auto box = run.Box();
    ASSERT_TRUE(box.has_value()) << "no message box";
    EXPECT_EQ(box->title, text::kTitle);
    EXPECT_EQ(box->text, text::kDoneBox);
    EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_FALSE(box->icon);
    EXPECT_EQ(testing::WindowText(run.Control(ids::kLabel1)), text::kStatusDone);
    EXPECT_EQ(testing::WindowText(run.Control(ids::kNombre)), L"100%");
    EXPECT_EQ(::SendMessageW(run.Control(ids::kProgressBar1), PBM_GETPOS, 0, 0), 100);
    EXPECT_FALSE(::IsWindowEnabled(run.Control(ids::kBtnUninstall)));
    EXPECT_FALSE(::IsWindowEnabled(run.Control(ids::kBtnQuit)));
    testing::PressOk(box->window);
    EXPECT_EQ(run.Ended(), 0);
    EXPECT_TRUE(testing::WaitUntil([&] { return !Exists(exe) && !run.BatchExists(); }, 60s))
        << "the uninstaller or its batch file is still there";
}

TEST(UninstallProgram, LastProgramOfTheMakerRemovesEverythingThenItself) {
    Installation install(reg::DwordValue(1), true);
    {
        Session run(install.exe, install.orbelin);
        UninstallToTheEnd(run, install.exe);
    }
    EXPECT_TRUE(testing::WaitUntil([&] { return !Exists(install.pf + L"\\Vantrel"); }, 10s));
    EXPECT_FALSE(Exists(install.sm + L"\\Vantrel"));
    EXPECT_FALSE(install.KeyExists(L"SOFTWARE\\Vantrel"));
    EXPECT_FALSE(install.Listed());
    EXPECT_TRUE(Exists(install.pf + L"\\VantrelTools\\keep.txt"));
    EXPECT_TRUE(install.KeyExists(L"SOFTWARE\\VantrelTools"));
}

TEST(UninstallProgram, WithOtherProgramsLeftOnlyOrbelinGoes) {
    Installation install(reg::DwordValue(2), true);
    {
        Session run(install.exe, install.orbelin);
        UninstallToTheEnd(run, install.exe);
    }
    EXPECT_TRUE(testing::WaitUntil([&] { return !Exists(install.orbelin); }, 10s));
    EXPECT_TRUE(Exists(install.pf + L"\\Vantrel\\Other\\other.exe"));
    EXPECT_FALSE(Exists(install.sm + L"\\Vantrel\\Orbelin.lnk"));
    EXPECT_FALSE(Exists(install.sm + L"\\Vantrel\\Uninstall\\Uninstall Orbelin.lnk"));
    EXPECT_TRUE(Exists(install.sm + L"\\Vantrel\\Uninstall"));
    EXPECT_TRUE(Exists(install.sm + L"\\Vantrel\\Other.lnk"));
    EXPECT_EQ(install.Counter(), reg::StringValue(L"1"));
    EXPECT_FALSE(install.Listed());
    EXPECT_TRUE(install.KeyExists(L"SOFTWARE\\Vantrel\\Other"));
    EXPECT_TRUE(Exists(install.pf + L"\\VantrelTools\\keep.txt"));
}

// Files in the current folder that merely bear the uninstaller's names are not its own.
TEST(UninstallProgram, StartedFromAnUnrelatedFolderLeavesItsFilesAlone) {
    Installation install(reg::DwordValue(2), false);
    testing::TempFolder elsewhere(L"unrelated cwd");
    MakeFile(elsewhere / L"Uninstall.exe", "not the uninstaller");
    MakeFile(elsewhere / L"uninst.bat", "@echo not ours");
    {
        Session run(install.exe, elsewhere.Path());
        UninstallToTheEnd(run, install.exe);
    }
    EXPECT_FALSE(Exists(install.orbelin + L"\\Orbelin.exe"));
    EXPECT_EQ(ReadAll(elsewhere / L"Uninstall.exe"), "not the uninstaller");
    EXPECT_EQ(ReadAll(elsewhere / L"uninst.bat"), "@echo not ours");
}

TEST(UninstallProgram, WhileOrbelinRunsNothingIsRemoved) {
    Installation install(reg::DwordValue(1), false);
    const win::UniqueHandle orbelin(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    Session run(install.exe, install.orbelin);
    ASSERT_NE(run.Form(), nullptr);
    run.Click(ids::kBtnUninstall);
    const auto box = run.Box();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, text::kOrbelinRunning);
    EXPECT_TRUE(box->icon);
    testing::PressOk(box->window);
    // Back to the window as it was: the user may quit Orbelin and try again, or leave.
    EXPECT_TRUE(
        testing::WaitUntil([&] { return ::IsWindowEnabled(run.Control(ids::kBtnQuit)) != FALSE; }, 5s));
    EXPECT_TRUE(::IsWindowEnabled(run.Control(ids::kBtnUninstall)));
    EXPECT_EQ(testing::WindowText(run.Control(ids::kLabel1)), text::kLabel1Start);
    run.Click(ids::kBtnQuit);
    EXPECT_EQ(run.Ended(), 0);
    for (const auto& file : install.Files())
        EXPECT_TRUE(Exists(file)) << std::string(file.begin(), file.end());
    EXPECT_EQ(install.Counter(), reg::DwordValue(1));
    EXPECT_TRUE(install.Listed());
    EXPECT_FALSE(run.BatchExists());
}

// A failure is reported with its number and ends the program; the uninstaller stays.
TEST(UninstallProgram, MissingCounterIsReportedAndRemovesNothing) {
    Installation install(reg::DwordValue(1), false);
    install.registry.DeleteValue(reg::Path::Parse(Installation::kCounter));
    Session run(install.exe, install.orbelin);
    ASSERT_NE(run.Form(), nullptr);
    run.Click(ids::kBtnUninstall);
    const auto box = run.Box();
    ASSERT_TRUE(box.has_value());
    EXPECT_NE(box->text.find(L"'2'"), std::wstring::npos);
    EXPECT_NE(box->text.find(L"SOFTWARE\\Vantrel\\App"), std::wstring::npos);
    EXPECT_EQ(testing::WindowText(run.Control(ids::kNombre)), L"8%");
    EXPECT_EQ(testing::WindowText(run.Control(ids::kLabel1)), text::kStatusRegistryRead);
    testing::PressOk(box->window);
    EXPECT_EQ(run.Ended(), 1);
    for (const auto& file : install.Files())
        EXPECT_TRUE(Exists(file)) << std::string(file.begin(), file.end());
    EXPECT_FALSE(run.BatchExists());
}

}  // namespace
}  // namespace orbelin::uninstall
