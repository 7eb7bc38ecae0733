// The uninstaller's Windows layer, in this process under Wine: folder removal on a real
// disk, the system facilities, the self-delete batch file run by the real command
// interpreter, and the window.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <functional>

#include "common/error.h"
#include "common/instance.h"
#include "common/win32/dpi.h"
#include "tests/uninstall/wine_support.h"
#include "uninstall/batch.h"
#include "uninstall/deldir.h"
#include "uninstall/texts.h"
#include "uninstall/win32/file_system.h"
#include "uninstall/win32/form1.h"
#include "uninstall/win32/ids.h"
#include "uninstall/win32/message_loop.h"
#include "uninstall/win32/platform.h"

namespace orbelin::uninstall::win32 {
namespace {

using namespace std::chrono_literals;
using testing::Exists;
using testing::MakeFile;
using testing::TempFolder;

// ---- Folder removal on disk -------------------------------------------------------------

TEST(Win32DelDir, RemovesATreeKeepingTheRunningUninstallerAndItsFolders) {
    TempFolder base(L"deldir-keep");
    const auto root = base / L"Vantrel";
    for (const auto* file : {L"Orbelin\\Orbelin.exe", L"Orbelin\\Uninstall.exe", L"Orbelin\\pictures\\a.bmp",
                             L"Orbelin\\pictures\\deep\\b.bmp", L"Other\\other.exe", L"readme.txt"}) {
        MakeFile(root + L"\\" + file);
    }
    ::CreateDirectoryW((root + L"\\Empty").c_str(), nullptr);
    const auto exe = root + L"\\Orbelin\\Uninstall.exe";
    Win32FileSystem fs;

    EXPECT_FALSE(DelDir(fs, root, exe));
    EXPECT_TRUE(Exists(exe));
    for (const auto* gone :
         {L"Orbelin\\Orbelin.exe", L"Orbelin\\pictures", L"Other", L"readme.txt", L"Empty"}) {
        EXPECT_FALSE(Exists(root + L"\\" + gone)) << gone;
    }
    ::DeleteFileW(exe.c_str());
    EXPECT_TRUE(DelDir(fs, root));
    EXPECT_FALSE(Exists(root));
}

TEST(Win32DelDir, StopsAtWhatCannotBeRemoved) {
    const struct {
        const char* name;
        const wchar_t* blocker;
        DWORD attributes;
        DWORD number;
    } cases[] = {
        {"hidden file", L"sub\\h.txt", FILE_ATTRIBUTE_HIDDEN, kErrorDirNotEmpty},
        {"system file", L"sub\\s.txt", FILE_ATTRIBUTE_SYSTEM, kErrorDirNotEmpty},
        {"read-only file", L"sub\\r.txt", FILE_ATTRIBUTE_READONLY, kErrorAccessDenied},
        {"file in use", L"sub\\u.txt", 0, ERROR_SHARING_VIOLATION},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder base(L"deldir-stop");
        const auto blocker = base / c.blocker;
        MakeFile(base / L"sub\\a.txt");
        MakeFile(blocker, "x", c.attributes);
        MakeFile(base / L"sub\\z.txt");
        HANDLE inUse = INVALID_HANDLE_VALUE;
        if (c.number == ERROR_SHARING_VIOLATION) {
            inUse = ::CreateFileW(blocker.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        }
        Win32FileSystem fs;
        try {
            (void)DelDir(fs, base.Path());
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.Number(), c.number);
            EXPECT_NE(error.Description().find(blocker), std::wstring::npos);
        }
        if (inUse != INVALID_HANDLE_VALUE) ::CloseHandle(inUse);
        EXPECT_TRUE(Exists(blocker));
        EXPECT_TRUE(Exists(base.Path()));
    }
}

TEST(Win32DelDir, MissingFolderIsAnErrorNamingIt) {
    TempFolder base(L"deldir-missing");
    Win32FileSystem fs;
    try {
        (void)DelDir(fs, base / L"nothing");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Number(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
        EXPECT_NE(error.Description().find(base / L"nothing"), std::wstring::npos);
    }
}

// ---- System facilities ------------------------------------------------------------------

TEST(Win32Platform, SpecialPaths) {
    Win32Platform platform;
    for (const int csidl : {kCsidlProgramFiles, kCsidlCommonStartMenu}) {
        wchar_t expected[MAX_PATH] = {};
        ASSERT_EQ(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, expected), S_OK);
        EXPECT_EQ(platform.SpecialPath(csidl), expected);
    }
    EXPECT_EQ(platform.SpecialPath(0x7E), L"");  // a number the system does not know
}

TEST(Win32Platform, ClaimsOrbelinsObjectOnlyWhenOrbelinDoesNotRun) {
    {
        const HANDLE orbelin = ::CreateMutexW(nullptr, FALSE, kInstanceMutexName);
        Win32Platform platform;
        EXPECT_FALSE(platform.ClaimInstance());
        ::CloseHandle(orbelin);
    }
    Win32Platform platform;
    EXPECT_TRUE(platform.ClaimInstance());
    // Held now: an Orbelin starting meanwhile finds it and ends.
    const HANDLE later = ::CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    ::CloseHandle(later);
}

TEST(Win32Platform, RunningExecutableIsTheLongPathOfThisProgram) {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    Win32Platform platform;
    const auto exe = platform.RunningExecutable();
    EXPECT_EQ(_wcsicmp(exe.c_str(), module), 0) << std::string(exe.begin(), exe.end());
    EXPECT_TRUE(Exists(exe));
}

TEST(Win32Platform, ConsoleCodePage) {
    ASSERT_NE(::GetOEMCP(), static_cast<UINT>(CP_UTF8)) << "the cases below assume a legacy code page";
    Win32Platform platform;
    EXPECT_TRUE(platform.Fits(L"C:\\Program Files (x86)\\a b%c&d^!"));
    EXPECT_FALSE(platform.Fits(L"C:\\日本"));
    EXPECT_THROW((void)ToConsoleCodePage(L"C:\\Жук日本"), Error);
    // é exists in every Western console code page, at another place than in Windows-1252.
    const auto bytes = ToConsoleCodePage(L"é");
    ASSERT_EQ(bytes.size(), 1u);
    wchar_t back = 0;
    ::MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), 1, &back, 1);
    EXPECT_EQ(back, L'é');
}

// The batch file under the real command interpreter, for a path with every awkward
// character: it must wait while the uninstaller cannot be deleted, then remove it, the
// folders kept for it, and itself, and nothing else.
TEST(Win32Platform, SelfDeleteBatchWaitsThenRemovesTheUninstallerItsFoldersAndItself) {
    TempFolder base(L"self-delete");
    const auto awkward = base / L"a b%PATH%&c^d!(x86) é";
    const auto root = awkward + L"\\Жук 日本";  // no form in the console code page but 8.3
    const auto exe = root + L"\\Orbelin\\Uninstall.exe";
    MakeFile(exe, "MZ");
    MakeFile(awkward + L"\\neighbour.txt");
    MakeFile(testing::TempPath() + L"\\Uninstall.exe", "decoy");  // in the batch file's own folder

    Win32Platform platform;
    const auto plan = ForConsole({exe, FoldersHolding(exe, root)}, platform);
    EXPECT_NE(plan.executable, exe);  // written in its short form
    // Held open without delete sharing, as a running program holds its executable.
    HANDLE running =
        ::CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    platform.WriteBatch(ComposeBatch(plan));
    const auto batch = platform.BatchFolder() + platform.BatchName();
    ASSERT_TRUE(Exists(batch));
    platform.StartBatch();

    std::this_thread::sleep_for(2500ms);
    EXPECT_TRUE(Exists(exe)) << "deleted while in use?";
    EXPECT_TRUE(Exists(batch)) << "the batch file gave up waiting";
    ::CloseHandle(running);

    EXPECT_TRUE(testing::WaitUntil([&] { return !Exists(batch); }, 30s)) << "the batch file did not end";
    EXPECT_FALSE(Exists(exe));
    EXPECT_FALSE(Exists(root));
    EXPECT_TRUE(Exists(awkward + L"\\neighbour.txt"));
    EXPECT_TRUE(Exists(testing::TempPath() + L"\\Uninstall.exe"));
    ::DeleteFileW((testing::TempPath() + L"\\Uninstall.exe").c_str());
}

// ---- The window -------------------------------------------------------------------------

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(99); }

// Runs the window's message loop, ended by a timer if nothing else ends it.
int RunBounded(std::chrono::milliseconds limit) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, static_cast<UINT>(limit.count()), GiveUp);
    const int code = RunMessageLoop();
    ::KillTimer(nullptr, timer);
    return code;
}

class Form1Test : public ::testing::Test {
  protected:
    void Open(Form1::Action action) {
        form_.emplace(::GetModuleHandleW(nullptr), std::move(action));
        form_->Create();
        testing::Pump();
    }
    Form1& Form() { return *form_; }
    HWND Control(int id) { return form_->Control(id); }

    std::optional<Form1> form_;
};

TEST_F(Form1Test, OpensWithTheDesignedLayout) {
    bool ran = false;
    Open([&](StatusDisplay&) {
        ran = true;
        return Outcome::Refused;
    });
    HWND window = Form().Hwnd();
    const int dpi = win::ScreenDpi();
    const auto px = [dpi](win::TwipsRect r) { return win::ToPixels(r, dpi); };

    EXPECT_EQ(testing::ClassOf(window), L"Uninstall.Form1");
    EXPECT_EQ(testing::WindowText(window), text::kCaption);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, win::TwipsToPixels(5235, dpi));
    EXPECT_EQ(client.bottom, win::TwipsToPixels(2640, dpi));
    RECT outer{}, work{};
    ::GetWindowRect(window, &outer);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);
    EXPECT_NE(::SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);

    const struct {
        int id;
        const wchar_t* className;
        std::wstring text;
        win::TwipsRect where;  // in the client area
    } controls[] = {
        {ids::kImage1, L"Static", L"", {120, 120, 1455, 2460}},
        {ids::kFrame1, L"Button", text::kFrame1, {1680, 0, 3495, 975}},
        {ids::kLabel1, L"Static", text::kLabel1Start, {1800, 360, 3255, 495}},
        {ids::kFrame2, L"Button", text::kFrame2, {1680, 1080, 3495, 615}},
        {ids::kProgressBar1, PROGRESS_CLASSW, L"", {1800, 1320, 2655, 255}},
        {ids::kNombre, L"Static", L"0%", {4440, 1320, 615, 255}},
        {ids::kBtnUninstall, L"Button", text::kBtnUninstall, {1800, 1800, 1575, 375}},
        {ids::kBtnQuit, L"Button", text::kBtnQuit, {3600, 1800, 1455, 375}},
        {ids::kLabel3, L"Static", text::kCopyright, {1680, 2400, 3495, 255}},
    };
    for (const auto& c : controls) {
        HWND control = Control(c.id);
        ASSERT_NE(control, nullptr) << c.id;
        EXPECT_EQ(_wcsicmp(testing::ClassOf(control).c_str(), c.className), 0) << c.id;
        EXPECT_EQ(testing::WindowText(control), c.text) << c.id;
        RECT r{};
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        const RECT expected = px(c.where);
        EXPECT_EQ(r.left, expected.left) << c.id;
        EXPECT_EQ(r.top, expected.top) << c.id;
        EXPECT_EQ(r.right, expected.right) << c.id;
        EXPECT_EQ(r.bottom, expected.bottom) << c.id;
    }

    HWND bar = Control(ids::kProgressBar1);
    PBRANGE range{};
    ::SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 0);

    // Focus on "Quitter"; Tab goes to "Uninstall" and back; neither is a default button.
    EXPECT_EQ(::GetFocus(), Control(ids::kBtnQuit));
    EXPECT_EQ(::GetNextDlgTabItem(window, Control(ids::kBtnQuit), FALSE), Control(ids::kBtnUninstall));
    EXPECT_EQ(::GetNextDlgTabItem(window, Control(ids::kBtnUninstall), FALSE), Control(ids::kBtnQuit));
    EXPECT_EQ(::SendMessageW(window, DM_GETDEFID, 0, 0), 0);
    for (const int id : {ids::kBtnQuit, ids::kBtnUninstall}) {
        EXPECT_TRUE(::IsWindowEnabled(Control(id)));
        EXPECT_EQ(::GetWindowLongPtrW(Control(id), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    }

    // The status text wraps onto a second line within its box.
    HWND label = Control(ids::kLabel1);
    HDC dc = ::GetDC(label);
    const auto old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT box{};
    ::GetClientRect(label, &box);
    RECT needed = box;
    ::DrawTextW(dc, text::kLabel1Start, -1, &needed, DT_CALCRECT | DT_WORDBREAK);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    EXPECT_GE(needed.bottom, 2 * metrics.tmHeight);

    // The copyright line is drawn in the application-workspace colour.
    HDC memory = ::CreateCompatibleDC(nullptr);
    ::SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory),
                   reinterpret_cast<LPARAM>(Control(ids::kLabel3)));
    EXPECT_EQ(::GetTextColor(memory), ::GetSysColor(COLOR_APPWORKSPACE));
    ::DeleteDC(memory);
    EXPECT_FALSE(ran);
}

TEST_F(Form1Test, SpaceOnQuitterEndsTheProgramWithoutUninstalling) {
    bool ran = false;
    Open([&](StatusDisplay&) {
        ran = true;
        return Outcome::Completed;
    });
    HWND quit = Control(ids::kBtnQuit);
    ASSERT_EQ(::GetFocus(), quit);
    ::PostMessageW(quit, WM_KEYDOWN, VK_SPACE, 0x00390001);
    ::PostMessageW(quit, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
    EXPECT_EQ(RunBounded(10s), 0);
    EXPECT_FALSE(ran);
    EXPECT_EQ(Form().Hwnd(), nullptr);
}

TEST_F(Form1Test, ShowsEachStepAsItHappensThenEnds) {
    std::vector<std::wstring> seen;
    Open([&](StatusDisplay& display) {
        display.DisableButtons();
        seen.push_back(::IsWindowEnabled(Control(ids::kBtnUninstall)) ||
                               ::IsWindowEnabled(Control(ids::kBtnQuit))
                           ? L"enabled"
                           : L"disabled");
        display.SetStatus(text::kStatusPaths);
        display.SetProgress(35, L"35%");
        seen.push_back(testing::WindowText(Control(ids::kLabel1)));
        seen.push_back(std::to_wstring(::SendMessageW(Control(ids::kProgressBar1), PBM_GETPOS, 0, 0)) + L" " +
                       testing::WindowText(Control(ids::kNombre)));
        display.SetProgress(100, L"100%");
        seen.push_back(std::to_wstring(::SendMessageW(Control(ids::kProgressBar1), PBM_GETPOS, 0, 0)));
        return Outcome::Completed;
    });
    ::PostMessageW(Control(ids::kBtnUninstall), BM_CLICK, 0, 0);
    EXPECT_EQ(RunBounded(10s), 0);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"disabled", text::kStatusPaths, L"35 35%", L"100"}));
    EXPECT_EQ(Form().Hwnd(), nullptr);
}

TEST_F(Form1Test, RefusedRunLeavesTheWindowAsItWas) {
    int runs = 0;
    Open([&](StatusDisplay&) {
        ++runs;
        return Outcome::Refused;
    });
    ::SendMessageW(Control(ids::kBtnUninstall), BM_CLICK, 0, 0);
    testing::Pump();
    EXPECT_EQ(runs, 1);
    ASSERT_NE(Form().Hwnd(), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(Control(ids::kBtnUninstall)));
    ::PostMessageW(Control(ids::kBtnQuit), BM_CLICK, 0, 0);
    EXPECT_EQ(RunBounded(10s), 0);
}

TEST_F(Form1Test, MessageBoxesHaveOkOnlyAndTheProgramsTitle) {
    Open([](StatusDisplay&) { return Outcome::Refused; });
    const struct {
        MessageKind kind;
        bool icon;
    } cases[] = {{MessageKind::Plain, false}, {MessageKind::Warning, true}};
    for (const auto& c : cases) {
        testing::BoxAnswerer answerer;
        Form().Message(text::kDoneBox, c.kind);
        const auto& box = answerer.Seen();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->title, text::kTitle);
        EXPECT_EQ(box->text, text::kDoneBox);
        EXPECT_EQ(box->buttons, std::vector<std::wstring>{L"OK"});
        EXPECT_EQ(box->icon, c.icon);
    }
}

TEST_F(Form1Test, AFailingRunShowsTheErrorReportAndEndsTheProgram) {
    Open([](StatusDisplay& display) -> Outcome {
        display.DisableButtons();
        throw Error(kErrorTypeMismatch, L"Incompatibilité de type : abc");
    });
    testing::BoxAnswerer answerer;
    ::PostMessageW(Control(ids::kBtnUninstall), BM_CLICK, 0, 0);
    EXPECT_EQ(RunBounded(20s), 1);
    const auto& box = answerer.Seen();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, text::kTitle);
    EXPECT_NE(box->text.find(L"13"), std::wstring::npos);
    EXPECT_NE(box->text.find(L"Incompatibilité de type : abc"), std::wstring::npos);
    EXPECT_EQ(Form().Hwnd(), nullptr);
}

}  // namespace
}  // namespace orbelin::uninstall::win32
