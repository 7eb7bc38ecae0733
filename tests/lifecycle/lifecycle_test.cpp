// The whole life of an installation under Wine: the setup program installs silently,
// Orbelin starts from its shortcut's target and switches viewers, the uninstall command
// from the list of installed programs removes everything of Orbelin and nothing else.

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "ui/command2.h"
#include "ui/ids.h"
#include "tests/support/process_window.h"

namespace {

namespace fs = std::filesystem;
namespace ids = orbelin::ids;

constexpr wchar_t kArpKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel.Orbelin";
constexpr wchar_t kMakerKey[] = L"SOFTWARE\\Vantrel";
constexpr wchar_t kCounterKey[] = L"SOFTWARE\\Vantrel\\App";

fs::path Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}
fs::path ProgramFiles() { return Folder(CSIDL_PROGRAM_FILES); }
fs::path StartMenu() { return Folder(CSIDL_COMMON_STARTMENU); }

fs::path Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path() / name;
}

std::optional<std::wstring> ReadString(const wchar_t* key, const wchar_t* name) {
    wchar_t value[512] = {};
    DWORD size = sizeof(value);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(value);
}

bool KeyExists(HKEY root, const wchar_t* key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    ::RegCloseKey(handle);
    return true;
}

// Starts a command line; returns the process handle (the caller closes it).
HANDLE Start(std::wstring commandLine) {
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi)) {
        return nullptr;
    }
    ::CloseHandle(pi.hThread);
    return pi.hProcess;
}

DWORD WaitExit(HANDLE process, DWORD milliseconds) {
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0) ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    return code;
}

// A top-level window of the process, by class and (optionally) caption, once visible.
HWND WaitWindow(HANDLE process, const wchar_t* className, const wchar_t* caption,
                DWORD milliseconds = 30000) {
    return orbelin::testing_support::WaitProcessWindow(::GetProcessId(process), className, caption,
                                                       milliseconds);
}

std::wstring ShortcutTarget(const fs::path& link) {
    IShellLinkW* shellLink = nullptr;
    std::wstring target;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&shellLink)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH] = {};
            if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
                target = path;
            }
            file->Release();
        }
        shellLink->Release();
    }
    return target;
}

bool WaitGone(const fs::path& path, DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 200) {
        std::error_code ec;
        if (!fs::exists(path, ec)) return true;
        ::Sleep(200);
    }
    return false;
}

class LifeCycle : public testing::Test {
  protected:
    void SetUp() override {
        ::CoInitialize(nullptr);
        Clean();
    }
    void TearDown() override {
        Clean();
        ::CoUninitialize();
    }
    static void Clean() {
        std::error_code ec;
        fs::remove_all(ProgramFiles() / L"Vantrel", ec);
        fs::remove_all(StartMenu() / L"Vantrel", ec);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kMakerKey);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kArpKey);
    }

    static void Install() {
        const std::wstring setup = L"\"" + Beside(L"Orbelin-2.0.0-setup.exe").wstring() + L"\" /S";
        HANDLE process = Start(setup);
        ASSERT_NE(process, nullptr);
        ASSERT_EQ(WaitExit(process, 120000), 0u);
        ASSERT_TRUE(fs::exists(ProgramFiles() / L"Vantrel\\Orbelin\\Orbelin.exe"));
        ASSERT_TRUE(fs::exists(ProgramFiles() / L"Vantrel\\Orbelin\\Uninstall.exe"));
        ASSERT_TRUE(fs::exists(StartMenu() / L"Vantrel\\Orbelin.lnk"));
        ASSERT_TRUE(fs::exists(StartMenu() / L"Vantrel\\Uninstall\\Uninstall Orbelin.lnk"));
        ASSERT_EQ(ReadString(kArpKey, L"DisplayName"), L"Orbelin");
        ASSERT_EQ(ReadString(kArpKey, L"DisplayVersion"), L"2.0.0");
    }

    // Orbelin from its shortcut: choose the viewers in turn, then quit.
    static void UseOrbelin(std::initializer_list<int> viewerItems) {
        const std::wstring target = ShortcutTarget(StartMenu() / L"Vantrel\\Orbelin.lnk");
        ASSERT_FALSE(target.empty());
        HANDLE process = Start(L"\"" + target + L"\"");
        ASSERT_NE(process, nullptr);
        HWND main = WaitWindow(process, orbelin::ui::Command2::kClassName, nullptr);
        ASSERT_NE(main, nullptr);
        for (const int item : viewerItems) ::SendMessageW(main, WM_COMMAND, static_cast<WPARAM>(item), 0);
        ::PostMessageW(main, WM_COMMAND, ids::IDM_MQUITTER, 0);
        EXPECT_EQ(WaitExit(process, 30000), 0u);
    }

    // The uninstall command of the list of installed programs: "Uninstall", then OK.
    static void Uninstall() {
        const auto command = ReadString(kArpKey, L"UninstallString");
        ASSERT_TRUE(command.has_value());
        HANDLE process = Start(*command);
        ASSERT_NE(process, nullptr);
        HWND form = WaitWindow(process, nullptr, L"Uninstall : Orbelin");
        ASSERT_NE(form, nullptr);
        HWND button = ::FindWindowExW(form, nullptr, L"Button", L"Uninstall");
        ASSERT_NE(button, nullptr);
        ::PostMessageW(button, BM_CLICK, 0, 0);
        HWND done = WaitWindow(process, L"#32770", nullptr, 60000);
        ASSERT_NE(done, nullptr) << "the completion message";
        ::PostMessageW(done, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(WaitExit(process, 30000), 0u);
    }
};

TEST_F(LifeCycle, InstallUseUninstallLeavesNothingOfOrbelin) {
    Install();
    EXPECT_EQ(ReadString(kCounterKey, nullptr), L"1");
    UseOrbelin({ids::IDM_MCOSMO, ids::IDM_MOCTAGA});
    Uninstall();

    EXPECT_TRUE(WaitGone(ProgramFiles() / L"Vantrel", 30000))
        << "the uninstaller deletes itself, then its folders";
    EXPECT_FALSE(fs::exists(StartMenu() / L"Vantrel"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMakerKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kArpKey)) << "no longer listed as installed";
    wchar_t wrl[64] = {};
    DWORD size = sizeof(wrl);
    ::RegGetValueW(HKEY_CLASSES_ROOT, L".wrl", nullptr, RRF_RT_REG_SZ, nullptr, wrl, &size);
    EXPECT_STREQ(wrl, L"Octaga.Octaga.wrl") << "the last switch stays in force";
}

TEST_F(LifeCycle, AnotherProgramOfTheMakerKeepsItsShare) {
    // The maker's other program: its folder, its shortcut, a counter of 1.
    fs::create_directories(ProgramFiles() / L"Vantrel\\Other");
    fs::create_directories(StartMenu() / L"Vantrel");
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kCounterKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"1"), 2 * sizeof(wchar_t));
    ::RegCloseKey(key);
    {
        std::FILE* f = _wfopen((ProgramFiles() / L"Vantrel\\Other\\other.exe").c_str(), L"w");
        if (f) std::fclose(f);
    }

    Install();
    EXPECT_EQ(ReadString(kCounterKey, nullptr), L"2");
    Uninstall();

    EXPECT_TRUE(WaitGone(ProgramFiles() / L"Vantrel\\Orbelin", 30000));
    EXPECT_TRUE(fs::exists(ProgramFiles() / L"Vantrel\\Other\\other.exe"));
    EXPECT_FALSE(fs::exists(StartMenu() / L"Vantrel\\Orbelin.lnk"));
    EXPECT_FALSE(fs::exists(StartMenu() / L"Vantrel\\Uninstall\\Uninstall Orbelin.lnk"));
    EXPECT_TRUE(fs::exists(StartMenu() / L"Vantrel"));
    EXPECT_EQ(ReadString(kCounterKey, nullptr), L"1");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kArpKey));
}

TEST_F(LifeCycle, InstallingTwiceCountsOnce) {
    Install();
    Install();
    EXPECT_EQ(ReadString(kCounterKey, nullptr), L"1");
    Uninstall();
    EXPECT_TRUE(WaitGone(ProgramFiles() / L"Vantrel", 30000));
    EXPECT_FALSE(fs::exists(StartMenu() / L"Vantrel"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMakerKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kArpKey));
}

}  // namespace
