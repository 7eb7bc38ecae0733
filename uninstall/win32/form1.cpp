#include "uninstall/win32/form1.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "common/win32/dpi.h"
#include "common/win32/error_report.h"
#include "common/win32/resources.h"
#include "resources/resource.h"
#include "uninstall/texts.h"
#include "uninstall/win32/ids.h"

namespace orbelin::uninstall::win32 {
namespace {

// Fixed single frame with a title bar, the system menu and a close box; no minimize or
// maximize box, no resizing. Not WS_CLIPCHILDREN: the window paints the inside of its
// frames, which a group box leaves to its parent.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr int kClientWidth = 5235;  // twips
constexpr int kClientHeight = 2640;

// Frames, in window coordinates; the controls inside them are placed relative to them.
constexpr win::TwipsRect kFrame1{1680, 0, 3495, 975};
constexpr win::TwipsRect kFrame2{1680, 1080, 3495, 615};

constexpr win::TwipsRect Inside(const win::TwipsRect& frame, win::TwipsRect r) {
    return {frame.left + r.left, frame.top + r.top, r.width, r.height};
}

struct ControlLayout {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    win::TwipsRect where;
};

// Creation order is tab order and drawing order (first created, drawn on top). The two
// buttons come first, "Quitter" before "Uninstall"; the frames come after the controls they
// hold so that they are drawn beneath them. The other controls take no focus, so their
// place in the order shows only in drawing.
const ControlLayout kControls[] = {
    {ids::kBtnQuit,
     L"BUTTON",
     text::kBtnQuit,
     BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP,
     {3600, 1800, 1455, 375}},
    {ids::kBtnUninstall, L"BUTTON", text::kBtnUninstall, BS_PUSHBUTTON | WS_TABSTOP, {1800, 1800, 1575, 375}},
    {ids::kProgressBar1, PROGRESS_CLASSW, L"", WS_GROUP, Inside(kFrame2, {120, 240, 2655, 255})},
    {ids::kNombre, L"STATIC", L"", SS_CENTER, Inside(kFrame2, {2760, 240, 615, 255})},
    {ids::kLabel1, L"STATIC", text::kLabel1Start, SS_LEFT, Inside(kFrame1, {120, 360, 3255, 495})},
    // Its box reaches 15 twips below the client area.
    {ids::kLabel3, L"STATIC", text::kCopyright, SS_CENTER, {1680, 2400, 3495, 255}},
    // The logo is scaled to fill its rectangle.
    {ids::kImage1, L"STATIC", L"", SS_BITMAP | SS_REALSIZECONTROL, {120, 120, 1455, 2460}},
    {ids::kFrame2, L"BUTTON", text::kFrame2, BS_GROUPBOX, kFrame2},
    {ids::kFrame1, L"BUTTON", text::kFrame1, BS_GROUPBOX, kFrame1},
};

}  // namespace

void Form1::Create() {
    RegisterClassOnce(instance_);
    dpi_ = win::ScreenDpi();
    logo_.reset(win::LoadBitmapResource(instance_, IDB_LOGO));
    iconBig_.reset(win::LoadIconResource(instance_, IDI_UNINSTALL, ::GetSystemMetrics(SM_CXICON)));
    iconSmall_.reset(win::LoadIconResource(instance_, IDI_UNINSTALL, ::GetSystemMetrics(SM_CXSMICON)));

    const SIZE client{win::TwipsToPixels(kClientWidth, dpi_), win::TwipsToPixels(kClientHeight, dpi_)};
    const RECT frame = win::CenteredWindowRect(client, kStyle, 0, false);
    CreateChecked(0, kClassName, text::kCaption, kStyle, frame, nullptr, instance_);
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::UpdateWindow(Hwnd());
    focus_ = Control(ids::kBtnQuit);
    ::SetFocus(focus_);
}

void Form1::CreateControls() {
    LOGFONTW face{};
    face.lfHeight = -::MulDiv(text::kFontPoints, dpi_, 72);
    face.lfWeight = FW_NORMAL;
    face.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(face.lfFaceName, text::kFontFace);
    font_.reset(::CreateFontIndirectW(&face));
    const auto font = reinterpret_cast<WPARAM>(font_ ? font_.get() : ::GetStockObject(DEFAULT_GUI_FONT));
    for (const auto& layout : kControls) {
        const RECT r = win::ToPixels(layout.where, dpi_);
        HWND control = ::CreateWindowExW(
            0, layout.className, layout.text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | layout.style, r.left,
            r.top, r.right - r.left, r.bottom - r.top, Hwnd(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance_, nullptr);
        if (control == nullptr) throw win::LastError(layout.className);
        ::SendMessageW(control, WM_SETFONT, font, FALSE);
        if (layout.id == ids::kImage1) {
            ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_.get()));
            // Setting the picture sizes the control to it; the rectangle wins.
            ::SetWindowPos(control, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    ::SendMessageW(Control(ids::kProgressBar1), PBM_SETRANGE32, 0, 100);
    ::SendMessageW(Control(ids::kProgressBar1), PBM_SETPOS, 0, 0);
    ::SetWindowTextW(Control(ids::kNombre), PercentText(0).c_str());
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(iconBig_.get()));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconSmall_.get()));
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                if (LOWORD(wParam) == ids::kBtnUninstall) btnuninstall_Click();
                if (LOWORD(wParam) == ids::kBtnQuit) btnquit_Click();
            }
            return 0;  // IDOK and IDCANCEL (Enter, Escape) do nothing
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == Control(ids::kLabel3)) {
                auto dc = reinterpret_cast<HDC>(wParam);
                ::SetTextColor(dc, ::GetSysColor(COLOR_APPWORKSPACE));
                ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_ACTIVATE:
            // Not a dialog: the focus of the controls is kept across deactivation by hand.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus != nullptr && ::IsChild(Hwnd(), focus)) focus_ = focus;
            } else if (focus_ != nullptr && ::IsWindowEnabled(focus_)) {
                ::SetFocus(focus_);
                return 0;
            }
            break;
        case WM_CLOSE:
            if (running_) return 0;  // the run cannot be interrupted
            break;
        case WM_DESTROY:
            ending_ = true;
            ::PostQuitMessage(exitCode_);
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

LRESULT Form1::OnUnhandledError(UINT) noexcept {
    win::ReportCurrentException(Hwnd(), text::kTitle);
    running_ = false;
    EndProgram(1);
    return 0;
}

void Form1::btnuninstall_Click() {
    if (running_) return;
    running_ = true;
    const Outcome outcome = uninstall_(*this);
    running_ = false;
    if (outcome == Outcome::Completed) EndProgram(0);
}

void Form1::btnquit_Click() { EndProgram(0); }

void Form1::EndProgram(int exitCode) noexcept {
    if (ending_ || Hwnd() == nullptr) return;
    exitCode_ = exitCode;
    ::DestroyWindow(Hwnd());
}

void Form1::DisableButtons() {
    for (const int id : {ids::kBtnUninstall, ids::kBtnQuit}) {
        ::EnableWindow(Control(id), FALSE);
        ::UpdateWindow(Control(id));
    }
}

void Form1::SetStatus(std::wstring_view text) {
    HWND label = Control(ids::kLabel1);
    ::SetWindowTextW(label, std::wstring(text).c_str());
    ::UpdateWindow(label);
}

void Form1::SetProgress(int value, std::wstring_view percentText) {
    HWND bar = Control(ids::kProgressBar1);
    // A themed bar glides towards a higher value on timer messages, which do not come while
    // the run holds the thread; a lower value is drawn at once. So go one past, then back.
    if (value < 100) ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(value + 1), 0);
    ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(value), 0);
    ::UpdateWindow(bar);
    HWND nombre = Control(ids::kNombre);
    ::SetWindowTextW(nombre, std::wstring(percentText).c_str());
    ::UpdateWindow(nombre);
}

void Form1::Message(std::wstring_view text, MessageKind kind) {
    const UINT icon = kind == MessageKind::Warning ? MB_ICONEXCLAMATION : 0;
    ::MessageBoxW(Hwnd(), std::wstring(text).c_str(), text::kTitle, MB_OK | icon);
}

}  // namespace orbelin::uninstall::win32
