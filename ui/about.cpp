#include "ui/about.h"

#include "common/win32/dpi.h"
#include "common/win32/error_report.h"
#include "common/win32/resources.h"
#include "resources/resource.h"
#include "ui/texts.h"

namespace orbelin::ui {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr int kClientWidth = 5595;  // twips
constexpr int kClientHeight = 3840;
constexpr int kFrameLeft = 2160;
constexpr int kFrameTop = 120;

struct FrameLabel {
    win::TwipsRect where;  // relative to the frame
    const wchar_t* text;
};

// In display order, top to bottom. The heading's box reaches under the list column, so the
// list is created first and stays above it.
constexpr FrameLabel kListLabels[] = {
    {{1680, 315, 1305, 195}, text::kAboutCortona}, {{1680, 480, 1320, 285}, text::kAboutBlaxxun},
    {{1680, 675, 1365, 330}, text::kAboutCosmo},   {{1680, 855, 690, 285}, text::kAboutPivoron},
    {{1680, 1035, 1575, 285}, text::kAboutOctaga}, {{1680, 1250, 1575, 375}, text::kAboutBsContact},
    {{1680, 1440, 1575, 195}, text::kAboutFlux},
};
constexpr FrameLabel kOtherLabels[] = {
    {{240, 315, 2700, 285}, text::kAboutViewersHeading},
    {{240, 1800, 1935, 255}, text::kAboutBugsHeading},
    {{240, 2040, 2775, 255}, text::kAboutConflict},
};

// A label whose text is wider than its box on this system's fonts gets the width it needs,
// rather than wrapping into a box one line high.
void WidenToFit(HWND label) {
    wchar_t text[128] = {};
    const int length = ::GetWindowTextW(label, text, 128);
    HDC dc = ::GetDC(label);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text, length, &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    RECT r{};
    ::GetClientRect(label, &r);
    if (extent.cx > r.right) {
        ::SetWindowPos(label, nullptr, 0, 0, extent.cx + 1, r.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

void Form1::Create() {
    RegisterClassOnce(instance_);
    dpi_ = win::ScreenDpi();
    const SIZE client{win::TwipsToPixels(kClientWidth, dpi_), win::TwipsToPixels(kClientHeight, dpi_)};
    const RECT frame = win::CenteredWindowRect(client, kStyle, 0, false);
    CreateChecked(0, kClassName, text::kAboutCaption, kStyle, frame, nullptr, instance_);
    opened_ = true;
    host_.WindowOpened();
    ::ShowWindow(Hwnd(), SW_SHOW);
}

// Some label boxes overlap by design; labels draw on a transparent background and do not
// clip each other, so that every text stays visible.
HWND Form1::AddControl(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& where) {
    HWND control = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, where.left, where.top,
                                     where.right - where.left, where.bottom - where.top, Hwnd(), nullptr,
                                     instance_, nullptr);
    if (control == nullptr) throw win::LastError(className);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void Form1::CreateControls() {
    const auto px = [this](const win::TwipsRect& r) { return win::ToPixels(r, dpi_); };
    const auto inFrame = [&](const win::TwipsRect& r) {
        return px({kFrameLeft + r.left, kFrameTop + r.top, r.width, r.height});
    };

    iconBig_.reset(win::LoadIconResource(instance_, IDI_ORBELIN, ::GetSystemMetrics(SM_CXICON)));
    iconSmall_.reset(win::LoadIconResource(instance_, IDI_ORBELIN, ::GetSystemMetrics(SM_CXSMICON)));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(iconBig_.get()));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconSmall_.get()));

    for (const auto& label : kListLabels)
        WidenToFit(AddControl(L"STATIC", label.text, SS_LEFT, inFrame(label.where)));
    for (const auto& label : kOtherLabels)
        WidenToFit(AddControl(L"STATIC", label.text, SS_LEFT, inFrame(label.where)));

    HWND version = AddControl(L"STATIC", text::kAboutVersion, SS_CENTER, px({2760, 2640, 2205, 915}));
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(18, dpi_, 72);
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(font.lfFaceName, text::kAboutVersionFont);
    versionFont_.reset(::CreateFontIndirectW(&font));
    ::SendMessageW(version, WM_SETFONT, reinterpret_cast<WPARAM>(versionFont_.get()), FALSE);

    copyrightLabel_ = AddControl(L"STATIC", text::kCopyright, SS_CENTER, px({2160, 3600, 3375, 255}));

    // The logo is scaled to fill its rectangle, proportions not kept.
    HWND image = AddControl(L"STATIC", nullptr, SS_BITMAP | SS_REALSIZECONTROL, px({120, 90, 1935, 3645}));
    logo_.reset(win::LoadBitmapResource(instance_, IDB_LOGO));
    ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_.get()));
    const RECT imageRect = px({120, 90, 1935, 3645});
    ::SetWindowPos(image, nullptr, 0, 0, imageRect.right - imageRect.left, imageRect.bottom - imageRect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Last, so that it lies under the labels it holds.
    AddControl(L"BUTTON", text::kAboutFrame, BS_GROUPBOX, px({kFrameLeft, kFrameTop, 3360, 2445}));
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateControls();
            return 0;
        case WM_CTLCOLORSTATIC: {
            auto dc = reinterpret_cast<HDC>(wParam);
            if (reinterpret_cast<HWND>(lParam) == copyrightLabel_) {
                ::SetTextColor(dc, ::GetSysColor(COLOR_APPWORKSPACE));
            }
            ::SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        }
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

LRESULT Form1::OnUnhandledError(UINT) noexcept {
    host_.ReportError(Hwnd());
    return 0;
}

void Form1::OnDestroyed() noexcept {
    if (opened_) {
        opened_ = false;
        host_.WindowClosed();
    }
}

}  // namespace orbelin::ui
