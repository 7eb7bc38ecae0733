// Orbelin's main window, created in-process under Wine and driven with messages.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/error.h"
#include "common/win32/dpi.h"
#include "scripthost/memory_registry.h"
#include "ui/command2.h"
#include "ui/texts.h"

namespace orbelin::ui {
namespace {

using viewer::FindByName;

class TestHost : public Host {
  public:
    void Quit() override { ++quits; }
    void ReportError(HWND) noexcept override {
        try {
            throw;
        } catch (const Error& error) {
            errors.push_back(error.Number());
        } catch (...) {
            errors.push_back(~0u);
        }
    }
    int quits = 0;
    std::vector<std::uint32_t> errors;
};

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[256] = {};
    ::GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

std::wstring ItemText(HMENU menu, UINT position) {
    wchar_t buffer[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING | MIIM_FTYPE;
    info.dwTypeData = buffer;
    info.cch = 128;
    ::GetMenuItemInfoW(menu, position, TRUE, &info);
    return (info.fType & MFT_SEPARATOR) ? L"-" : buffer;
}

std::vector<std::wstring> Items(HMENU menu) {
    std::vector<std::wstring> out;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) out.push_back(ItemText(menu, static_cast<UINT>(i)));
    return out;
}

bool Checked(HMENU menu, int command) {
    return (::GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// Whether the shell has our icon: modifying a missing icon fails.
bool IconPresent(const Command2& window) {
    NOTIFYICONDATAW record = window.TrayIcon()->Record();
    return ::Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".wrl");  // the real registry must not matter here
    }
    // Creates the window over the given registry content for ".wrl".
    Command2& Start(std::optional<reg::RawValue> wrl = std::nullopt) {
        if (wrl) registry.WriteRaw(reg::Path::Parse(viewer::kDetectPath), *wrl);
        registry.ClearLog();
        window = std::make_unique<Command2>(::GetModuleHandleW(nullptr), registry, host);
        EXPECT_TRUE(window->Create());
        Pump();
        return *window;
    }
    void TearDown() override {
        window.reset();
        Pump();
    }
    HMENU Menu() { return window->MenuBar(); }
    void Command(int id) {
        ::SendMessageW(window->Hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
    void Click(int control) {
        ::SendMessageW(window->Control(control), BM_CLICK, 0, 0);
        Pump();
    }
    std::vector<int> CheckedViewers() {
        std::vector<int> out;
        for (const auto& v : viewer::kViewers) {
            if (Checked(Menu(), v.menuItem)) out.push_back(v.menuItem);
        }
        return out;
    }

    reg::MemoryRegistry registry;
    TestHost host;
    std::unique_ptr<Command2> window;
};

TEST_F(MainWindowTest, ControlsStandWhereTheLayoutPutsThem) {
    auto& w = Start();
    const int dpi = win::ScreenDpi();
    RECT client{};
    ::GetClientRect(w.Hwnd(), &client);
    EXPECT_EQ(client.right, win::TwipsToPixels(1440, dpi));
    EXPECT_EQ(client.bottom, win::TwipsToPixels(4110, dpi));

    const struct {
        int id;
        win::TwipsRect where;
        const wchar_t* text;
    } controls[] = {
        {ids::IDC_COMMAND1, {45, 45, 1365, 510}, L"Cortona"},
        {ids::IDC_COMMAND3, {45, 575, 1365, 510}, L"Blaxxun"},
        {ids::IDC_COMMAND6, {45, 1080, 1365, 510}, L"BS Contact"},
        {ids::IDC_COMMAND4, {45, 1575, 1365, 510}, L"Pivoron"},
        {ids::IDC_COMMAND5, {45, 2040, 1365, 510}, L"CosmoPlayer"},
        {ids::IDC_COMMAND7, {45, 2530, 1365, 510}, L"Octaga"},
        {ids::IDC_COMMAND8, {45, 3040, 1365, 510}, L"Flux"},
        {ids::IDC_FRAME1, {45, 3560, 1365, 510}, L"En Cours"},
        {ids::IDC_TEXT1, {90, 3720, 1275, 285}, L""},
    };
    for (const auto& c : controls) {
        HWND control = w.Control(c.id);
        ASSERT_NE(control, nullptr) << c.id;
        RECT r{};
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, w.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
        const RECT expected = win::ToPixels(c.where, dpi);
        EXPECT_EQ(r.left, expected.left) << c.id;
        EXPECT_EQ(r.top, expected.top) << c.id;
        EXPECT_EQ(r.right, expected.right) << c.id;
        EXPECT_EQ(r.bottom, expected.bottom) << c.id;
        EXPECT_EQ(WindowText(control), c.text)
            << "a picture button keeps its viewer's name for screen readers";
    }
    EXPECT_EQ(WindowText(w.Hwnd()), L"Orbelin");
    EXPECT_EQ(::GetFocus(), w.Control(ids::IDC_COMMAND1));
}

TEST_F(MainWindowTest, TabOrderSkipsTheFrame) {
    auto& w = Start();
    const int order[] = {ids::IDC_COMMAND1, ids::IDC_COMMAND3, ids::IDC_COMMAND4,
                         ids::IDC_COMMAND5, ids::IDC_COMMAND7, ids::IDC_TEXT1,
                         ids::IDC_COMMAND6, ids::IDC_COMMAND8, ids::IDC_COMMAND1};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        EXPECT_EQ(::GetNextDlgTabItem(w.Hwnd(), w.Control(order[i]), FALSE), w.Control(order[i + 1]))
            << "after " << order[i];
    }
}

TEST_F(MainWindowTest, MenuHoldsItsItemsAndQuitterKeepsItsPicture) {
    auto& w = Start();
    ASSERT_EQ(::GetMenuItemCount(Menu()), 1);
    EXPECT_EQ(ItemText(Menu(), 0), L"Paramétres");
    const std::vector<std::wstring> closed = {L"Viewer", L"Options", L"Quitter", L"-", L"A propos de..."};
    EXPECT_EQ(Items(w.Popup()), closed);
    EXPECT_EQ(Items(::GetSubMenu(w.Popup(), 0)),
              (std::vector<std::wstring>{L"Blaxxun", L"BS Contact", L"Cortona", L"CosmoPlayer", L"Flux",
                                         L"Octaga", L"Pivoron"}));
    EXPECT_EQ(Items(::GetSubMenu(w.Popup(), 1)),
              (std::vector<std::wstring>{L"Toujours à l'écran", L"Reduire dans le systray"}));

    const auto quitterPicture = [&] {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_CHECKMARKS;
        ::GetMenuItemInfoW(w.Popup(), ids::IDM_MQUITTER, FALSE, &info);
        return info.hbmpUnchecked;
    };
    EXPECT_EQ(quitterPicture(), w.QuitterPicture());

    Command(ids::IDM_MSYSTRAY);  // shows "Ouvrir" and its separator
    std::vector<std::wstring> open = {L"Ouvrir", L"-"};
    open.insert(open.end(), closed.begin(), closed.end());
    EXPECT_EQ(Items(w.Popup()), open);
    EXPECT_EQ(quitterPicture(), w.QuitterPicture()) << "the picture follows the item, not the position";
    Command(ids::IDM_MOUVRIR);
    EXPECT_EQ(Items(w.Popup()), closed);
}

TEST_F(MainWindowTest, StartMarksTheViewerFoundInTheRegistry) {
    const struct {
        std::optional<reg::RawValue> value;
        const wchar_t* viewer;  // nullptr: none marked
    } cases[] = {
        {reg::StringValue(L"X3D.World"), L"BS Contact"},
        {reg::StringValue(L"VRML.World"), L"Blaxxun"},
        {reg::StringValue(L"Cortona.Control.1"), L"Cortona"},
        {reg::StringValue(L"Cortona.Client"), nullptr},
        {reg::StringValue(L"vrml.world"), nullptr},
        {reg::StringValue(L"VRML.World "), nullptr},
        {reg::StringValue(L""), nullptr},
        {reg::DwordValue(1), nullptr},
        {std::nullopt, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        registry = reg::MemoryRegistry();
        auto& w = Start(c.value);
        EXPECT_EQ(WindowText(w.Control(ids::IDC_TEXT1)), c.viewer ? c.viewer : L"");
        const std::vector<int> expected =
            c.viewer ? std::vector<int>{FindByName(c.viewer)->menuItem} : std::vector<int>{};
        EXPECT_EQ(CheckedViewers(), expected);
        // Start-up completes whatever it found: window open, icon there, tray mode.
        EXPECT_TRUE(::IsWindowVisible(w.Hwnd()));
        EXPECT_TRUE(IconPresent(w));
        EXPECT_TRUE(Checked(Menu(), ids::IDM_MSYSTRAY));
        EXPECT_FALSE(Checked(Menu(), ids::IDM_MVISIBLE));
        EXPECT_TRUE(registry.Writes().empty()) << "start-up writes nothing";
        EXPECT_TRUE(host.errors.empty());
        TearDown();
    }
}

TEST_F(MainWindowTest, ASecondInstanceIsRefused) {
    Start();
    TestHost otherHost;
    Command2 second(::GetModuleHandleW(nullptr), registry, otherHost);
    EXPECT_FALSE(second.Create());
    EXPECT_EQ(second.Hwnd(), nullptr);
    EXPECT_TRUE(otherHost.errors.empty());
    EXPECT_TRUE(::IsWindowVisible(window->Hwnd())) << "the running one is unchanged";
}

TEST_F(MainWindowTest, MenuAndButtonMakeTheSameSwitch) {
    Start();
    for (const auto& v : viewer::kViewers) {
        SCOPED_TRACE(testing::Message() << "viewer " << v.button);
        registry.ClearLog();
        Click(v.button);
        const auto byButton = registry.Writes();
        const auto textAfterButton = WindowText(window->Control(ids::IDC_TEXT1));
        const auto checksAfterButton = CheckedViewers();
        registry.ClearLog();
        Command(v.menuItem);
        EXPECT_EQ(registry.Writes(), byButton);
        EXPECT_EQ(byButton.size(), viewer::kSwitchWriteCount);
        EXPECT_EQ(WindowText(window->Control(ids::IDC_TEXT1)), v.displayName);
        EXPECT_EQ(textAfterButton, v.displayName);
        EXPECT_EQ(CheckedViewers(), std::vector<int>{v.menuItem});
        EXPECT_EQ(checksAfterButton, std::vector<int>{v.menuItem});
    }
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(MainWindowTest, AFailedSwitchIsReportedAndChangesNothing) {
    Start(reg::StringValue(L"X3D.World"));
    const auto before = registry.Dump();
    registry.FailWriteNumber(12);  // the first file-type write
    Click(ids::IDC_COMMAND7);
    EXPECT_EQ(host.errors, std::vector<std::uint32_t>{kErrorAccessDenied});
    EXPECT_EQ(registry.Dump(), before);
    EXPECT_EQ(WindowText(window->Control(ids::IDC_TEXT1)), L"BS Contact");
    EXPECT_EQ(CheckedViewers(), std::vector<int>{ids::IDM_MBS});
    EXPECT_EQ(host.quits, 0) << "Orbelin keeps running";

    registry.FailWriteNumber(0);
    Click(ids::IDC_COMMAND7);
    EXPECT_EQ(WindowText(window->Control(ids::IDC_TEXT1)), L"Octaga");
}

// The state the window-mode handlers change, read from the window itself.
struct ModeState {
    bool trayChecked;
    bool visibleChecked;
    bool openItemsShown;
    bool windowShown;
    bool iconPresent;
    friend bool operator==(const ModeState&, const ModeState&) = default;
};

std::ostream& operator<<(std::ostream& out, const ModeState& s) {
    return out << "{tray " << s.trayChecked << ", visible " << s.visibleChecked << ", Ouvrir "
               << s.openItemsShown << ", window " << s.windowShown << ", icon " << s.iconPresent << "}";
}

class WindowModeTest : public MainWindowTest {
  protected:
    ModeState State() {
        return {Checked(Menu(), ids::IDM_MSYSTRAY), Checked(Menu(), ids::IDM_MVISIBLE),
                ItemText(window->Popup(), 0) == L"Ouvrir", ::IsWindowVisible(window->Hwnd()) != FALSE,
                IconPresent(*window)};
    }
    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        ::SendMessageW(window->Hwnd(), message, wParam, lParam);
        Pump();
    }
    bool Topmost() { return (::GetWindowLongW(window->Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
};

constexpr ModeState kTrayOpen{true, false, false, true, true};
constexpr ModeState kTrayHidden{true, false, true, false, true};
constexpr ModeState kOnScreen{false, true, false, true, false};

TEST_F(WindowModeTest, HandlersMoveBetweenTheThreeStates) {
    const struct {
        std::vector<int> commands;  // menu commands, WM_CLOSE as 0
        ModeState expected;
    } cases[] = {
        {{}, kTrayOpen},
        {{ids::IDM_MSYSTRAY}, kTrayHidden},
        {{ids::IDM_MSYSTRAY, ids::IDM_MSYSTRAY}, kTrayHidden},
        {{ids::IDM_MSYSTRAY, ids::IDM_MOUVRIR}, kTrayOpen},
        {{ids::IDM_MVISIBLE}, kOnScreen},
        {{ids::IDM_MVISIBLE, ids::IDM_MVISIBLE}, kOnScreen},
        {{ids::IDM_MVISIBLE, ids::IDM_MSYSTRAY}, kTrayHidden},
        {{0}, kTrayHidden},
        {{ids::IDM_MSYSTRAY, 0}, kTrayHidden},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        Start();
        for (const int command : c.commands) {
            if (command == 0) {
                Send(WM_CLOSE);
            } else {
                Command(command);
            }
        }
        ASSERT_TRUE(::IsWindow(window->Hwnd())) << "a close in tray mode is refused";
        EXPECT_EQ(State(), c.expected);
        EXPECT_EQ(host.quits, 0);
        EXPECT_TRUE(host.errors.empty());
        TearDown();
    }
}

TEST_F(WindowModeTest, OnScreenModeKeepsThePlaceAndStaysOnTop) {
    Start();
    RECT before{};
    ::GetWindowRect(window->Hwnd(), &before);
    EXPECT_FALSE(Topmost());
    Command(ids::IDM_MVISIBLE);
    RECT after{};
    ::GetWindowRect(window->Hwnd(), &after);
    EXPECT_TRUE(::EqualRect(&before, &after)) << "the window must not move";
    EXPECT_TRUE(Topmost());
    Command(ids::IDM_MSYSTRAY);
    Command(ids::IDM_MOUVRIR);
    EXPECT_TRUE(Topmost()) << "once on top, always on top";
}

TEST_F(WindowModeTest, CloseInOnScreenModeEndsOnceNoWindowIsLeft) {
    Start();
    Command(ids::IDM_PROPOS);
    Command(ids::IDM_PROPOS);
    int aboutWindows = 0;
    for (HWND h = nullptr; (h = ::FindWindowExW(nullptr, h, Form1::kClassName, nullptr)) != nullptr;)
        ++aboutWindows;
    EXPECT_EQ(aboutWindows, 1) << "one About window at most";
    ASSERT_NE(window->About(), nullptr);
    HWND about = window->About()->Hwnd();

    Command(ids::IDM_MVISIBLE);
    Send(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(window->Hwnd()));
    EXPECT_EQ(host.quits, 0) << "the About window keeps Orbelin running";
    ::SendMessageW(about, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(host.quits, 1);
}

TEST_F(WindowModeTest, QuitterDeletesTheIconAndEnds) {
    for (const int mode : {ids::IDM_MSYSTRAY, ids::IDM_MVISIBLE}) {
        Start();
        Command(mode);
        Command(ids::IDM_MQUITTER);
        EXPECT_FALSE(IconPresent(*window));
        EXPECT_EQ(host.quits, 1);
        EXPECT_TRUE(host.errors.empty());
        host.quits = 0;
        TearDown();
    }
}

TEST_F(WindowModeTest, SessionEndIsNeverRefusedAndTakesTheIcon) {
    Start();
    EXPECT_EQ(::SendMessageW(window->Hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    Send(WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(IconPresent(*window));
}

TEST_F(WindowModeTest, ANewTaskbarGetsTheIconBackInTrayModeOnly) {
    Start();
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    NOTIFYICONDATAW record = window->TrayIcon()->Record();
    ::Shell_NotifyIconW(NIM_DELETE, &record);  // what an Explorer restart does
    Send(taskbarCreated);
    EXPECT_TRUE(IconPresent(*window));

    Command(ids::IDM_MVISIBLE);
    Send(taskbarCreated);
    EXPECT_FALSE(IconPresent(*window));
}

// The pop-up menu runs its own loop: the test acts from a timer inside it.
struct PopupProbe {
    HWND main = nullptr;
    bool sawMenu = false;
    static PopupProbe* current;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        current->sawMenu = ::FindWindowW(L"#32768", nullptr) != nullptr;
        // Notifications while the pop-up is open are absorbed.
        ::SendMessageW(current->main, WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK);
        ::SendMessageW(current->main, WM_MOUSEMOVE, 1, WM_RBUTTONUP);
        ::EndMenu();
    }
};
PopupProbe* PopupProbe::current = nullptr;

TEST_F(WindowModeTest, TrayCodesOpenTheWindowOrPopUpTheMenu) {
    Start();
    Command(ids::IDM_MSYSTRAY);
    for (const int code : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK}) {
        Send(WM_MOUSEMOVE, 1, code);
        EXPECT_EQ(State(), kTrayHidden) << "code " << code;
    }

    PopupProbe probe{window->Hwnd()};
    PopupProbe::current = &probe;
    ::SetTimer(nullptr, 0, 200, PopupProbe::Tick);
    Send(WM_MOUSEMOVE, 1, WM_RBUTTONUP);
    EXPECT_TRUE(probe.sawMenu);
    EXPECT_EQ(State(), kTrayHidden) << "the double-click during the pop-up was absorbed";

    Send(WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(State(), kTrayOpen);
}

TEST_F(WindowModeTest, AboutWindowShowsVersionAndClosingItChangesNothing) {
    Start();
    const auto before = State();
    Command(ids::IDM_PROPOS);
    ASSERT_NE(window->About(), nullptr);
    HWND about = window->About()->Hwnd();
    EXPECT_EQ(WindowText(about), L"A Propos de...");
    RECT client{};
    ::GetClientRect(about, &client);
    const int dpi = win::ScreenDpi();
    EXPECT_EQ(client.right, win::TwipsToPixels(5595, dpi));
    EXPECT_EQ(client.bottom, win::TwipsToPixels(3840, dpi));
    bool sawVersion = false;
    for (HWND c = ::GetWindow(about, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (WindowText(c) != L"Orbelin 2.0.0") continue;
        sawVersion = true;
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(c, WM_GETFONT, 0, 0)), sizeof(font), &font);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_EQ(font.lfHeight, -::MulDiv(18, dpi, 72));
        EXPECT_TRUE(::GetWindowLongW(c, GWL_STYLE) & SS_CENTER);
    }
    EXPECT_TRUE(sawVersion);
    ::SendMessageW(about, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(window->About(), nullptr);
    EXPECT_EQ(State(), before);
    EXPECT_EQ(host.quits, 0);
}

}  // namespace
}  // namespace orbelin::ui
