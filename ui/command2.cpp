#include "ui/command2.h"

#include "common/instance.h"
#include "common/win32/dpi.h"
#include "common/win32/error_report.h"
#include "common/win32/resources.h"
#include "resources/resource.h"
#include "ui/texts.h"

namespace orbelin::ui {
namespace {

using ids::Command;

// A fixed single frame with a title bar and a close box; the window cannot be resized.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kClientWidth = 1440;  // twips
constexpr int kClientHeight = 4110;

struct ControlSpec {
    int id;
    win::TwipsRect where;
};

// In tab order; creation order is tab order. Text1 comes before Frame1 and so is drawn in
// front of it.
constexpr ControlSpec kControls[] = {
    {ids::IDC_COMMAND1, {45, 45, 1365, 510}},   {ids::IDC_COMMAND3, {45, 575, 1365, 510}},
    {ids::IDC_COMMAND4, {45, 1575, 1365, 510}}, {ids::IDC_COMMAND5, {45, 2040, 1365, 510}},
    {ids::IDC_COMMAND7, {45, 2530, 1365, 510}}, {ids::IDC_TEXT1, {90, 3720, 1275, 285}},
    {ids::IDC_FRAME1, {45, 3560, 1365, 510}},   {ids::IDC_COMMAND6, {45, 1080, 1365, 510}},
    {ids::IDC_COMMAND8, {45, 3040, 1365, 510}},
};

// The badge of each viewer, in catalogue order.
constexpr int kBadges[viewer::kViewerCount] = {
    IDB_BADGE_CORTONA,   IDB_BADGE_BLAXXUN, IDB_BADGE_PIVORON, IDB_BADGE_COSMOPLAYER,
    IDB_BADGE_BSCONTACT, IDB_BADGE_OCTAGA,  IDB_BADGE_FLUX,
};

constexpr int kQuitterPosition = 2;  // in the pop-up, with "Ouvrir" and its separator hidden

void Append(HMENU menu, UINT flags, UINT_PTR id, const wchar_t* caption) {
    if (!::AppendMenuW(menu, flags, id, caption))
        throw win::LastError(caption != nullptr ? caption : L"menu");
}

}  // namespace

bool Command2::Create() {
    RegisterClassOnce(instance_);
    dpi_ = win::ScreenDpi();
    for (std::size_t i = 0; i < badges_.size(); ++i)
        badges_[i].reset(win::LoadBitmapResource(instance_, kBadges[i]));
    imageList1_.reset(win::LoadBitmapResource(instance_, IDB_POWER));
    iconBig_.reset(win::LoadIconResource(instance_, IDI_ORBELIN, ::GetSystemMetrics(SM_CXICON)));
    image1_.reset(win::LoadIconResource(instance_, IDI_ORBELIN, ::GetSystemMetrics(SM_CXSMICON)));
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");

    win::UniqueMenu menu(BuildMenu());
    const SIZE client{win::TwipsToPixels(kClientWidth, dpi_), win::TwipsToPixels(kClientHeight, dpi_)};
    const RECT frame = win::CenteredWindowRect(client, kStyle, 0, true);
    try {
        CreateChecked(0, kClassName, text::kTitle, kStyle, frame, menu.get(), instance_);
        menu.release();  // the window owns it now
    } catch (...) {
        if (!::IsMenu(menu.get())) menu.release();  // destroyed with the failed window
        if (alreadyRunning_) return false;
        throw;
    }
    return true;
}

HMENU Command2::BuildMenu() {
    win::UniqueMenu viewers(::CreatePopupMenu());
    for (const auto item : viewer::kMenuOrder) {
        const std::wstring caption(viewer::FindByMenuItem(item)->displayName);
        Append(viewers.get(), MF_STRING, item, caption.c_str());
    }
    win::UniqueMenu options(::CreatePopupMenu());
    Append(options.get(), MF_STRING, ids::IDM_MVISIBLE, text::kMenuVisible);
    Append(options.get(), MF_STRING, ids::IDM_MSYSTRAY, text::kMenuSystray);

    // "Ouvrir" and its separator start hidden: they are not in the pop-up at all, so
    // positions count the shown items only.
    win::UniqueMenu popup(::CreatePopupMenu());
    Append(popup.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(viewers.release()), text::kMenuViewer);
    Append(popup.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(options.release()), text::kMenuOptions);
    Append(popup.get(), MF_STRING, ids::IDM_MQUITTER, text::kMenuQuitter);
    Append(popup.get(), MF_SEPARATOR, 0, nullptr);
    Append(popup.get(), MF_STRING, ids::IDM_PROPOS, text::kMenuPropos);

    win::UniqueMenu bar(::CreateMenu());
    Append(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.release()), text::kMenuParametres);
    return bar.release();
}

void Command2::CreateControls() {
    const HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    for (const auto& spec : kControls) {
        const RECT r = win::ToPixels(spec.where, dpi_);
        const wchar_t* className = L"BUTTON";
        const wchar_t* caption = L"";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
        DWORD exStyle = 0;
        const viewer::Viewer* viewer = viewer::FindByButton(spec.id);
        if (viewer != nullptr) {
            // The face shows only the badge; the caption stays the viewer's name so that
            // screen readers can name the button.
            style |= BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP;
            caption = viewer->displayName.data();
        } else if (spec.id == ids::IDC_TEXT1) {
            className = L"EDIT";
            style |= ES_AUTOHSCROLL | WS_TABSTOP;
            exStyle = WS_EX_CLIENTEDGE;
        } else {
            style |= BS_GROUPBOX;
            caption = text::kFrameEnCours;
        }
        HWND control =
            ::CreateWindowExW(exStyle, className, caption, style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, Hwnd(), reinterpret_cast<HMENU>(spec.id), instance_, nullptr);
        if (control == nullptr) throw win::LastError(className);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (viewer != nullptr) {
            const auto index = static_cast<std::size_t>(viewer - viewer::kViewers.data());
            ::SendMessageW(control, BM_SETIMAGE, IMAGE_BITMAP,
                           reinterpret_cast<LPARAM>(badges_[index].get()));
        }
    }
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(iconBig_.get()));
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(image1_.get()));
}

void Command2::Form_Load() {
    // One Orbelin per log-on session: a second start ends here, silently.
    instanceMutex_.reset(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    if (!instanceMutex_) throw win::LastError(kInstanceMutexName);
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        alreadyRunning_ = true;
        return;
    }

    menuHandle_ = ::GetMenu(Hwnd());
    popupHandle_ = ::GetSubMenu(menuHandle_, 0);
    // The picture belongs to the item, not to the position: it stays on "Quitter" when
    // "Ouvrir" and its separator are inserted above it later.
    ::SetMenuItemBitmaps(popupHandle_, kQuitterPosition, MF_BYPOSITION, imageList1_.get(), nullptr);

    if (const auto* inForce = viewer::DetectViewer(registry_)) viewer::ShowViewer(*this, *inForce);

    msystray_Click();
    Mouvrir_Click();
    ::SetFocus(Control(ids::IDC_COMMAND1));
}

void Command2::ViewerButton_Click(const viewer::Viewer& viewer) {
    try {
        viewer::ApplySwitch(registry_, viewer);
    } catch (const Error&) {
        // The switch has put back what it wrote: report and carry on, the display unchanged.
        host_.ReportError(Hwnd());
        return;
    }
    viewer::ShowViewer(*this, viewer);
}

void Command2::ViewerMenu_Click(const viewer::Viewer& viewer) {
    ViewerButton_Click(*viewer::FindByButton(viewer.button));
}

void Command2::msystray_Click() {
    SetChecked(ids::IDM_MSYSTRAY, true);
    SetChecked(ids::IDM_MVISIBLE, false);
    SetOpenItemsVisible(true);
    if (!tray_) tray_.emplace(Hwnd(), image1_.get(), text::kTrayTip);
    tray_->Add();
    ::ShowWindow(Hwnd(), SW_HIDE);
}

void Command2::mvisible_Click() {
    SetChecked(ids::IDM_MSYSTRAY, false);
    SetChecked(ids::IDM_MVISIBLE, true);
    SetOpenItemsVisible(false);
    if (tray_) tray_->Delete();
    ::ShowWindow(Hwnd(), SW_SHOW);
    PlaceOnTop(HWND_TOPMOST);
}

void Command2::PlaceOnTop(HWND insertAfter) noexcept {
    // Joins the topmost windows where it stands: no move, whatever the screen's DPI.
    ::SetWindowPos(Hwnd(), insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
}

void Command2::Mouvrir_Click() {
    ::ShowWindow(Hwnd(), SW_SHOW);
    ::SetForegroundWindow(Hwnd());
    SetOpenItemsVisible(false);
}

void Command2::mquitter_Click() {
    if (tray_) tray_->Delete();
    host_.Quit();
}

void Command2::propos_Click() {
    if (About() == nullptr) {
        about_ = std::make_unique<Form1>(instance_, host_);
        about_->Create();
    }
    ::ShowWindow(about_->Hwnd(), SW_SHOW);
    ::SetForegroundWindow(about_->Hwnd());
}

void Command2::Form_MouseMove(int trayCode) {
    // The pop-up menu runs a nested message loop; notifications that arrive meanwhile
    // are absorbed here.
    if (busy_) return;
    busy_ = true;
    struct ClearBusy {
        bool& flag;
        ~ClearBusy() { flag = false; }
    } clearBusy{busy_};

    if (trayCode == WM_LBUTTONDBLCLK) {
        Mouvrir_Click();
    } else if (trayCode == WM_RBUTTONUP) {
        // The window must be in the foreground, or the pop-up would not close when the
        // user clicks elsewhere; WM_NULL afterwards lets it close on the next click.
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::SetForegroundWindow(Hwnd());
        ::TrackPopupMenu(popupHandle_, 0, cursor.x, cursor.y, 0, Hwnd(), nullptr);
        ::PostMessageW(Hwnd(), WM_NULL, 0, 0);
    }
}

bool Command2::Form_QueryUnload() {
    ::ShowWindow(Hwnd(), SW_HIDE);
    const bool cancel = InTrayMode();
    SetOpenItemsVisible(true);
    return cancel;
}

bool Command2::InTrayMode() const noexcept {
    return (::GetMenuState(menuHandle_, ids::IDM_MSYSTRAY, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void Command2::SetOpenItemsVisible(bool visible) {
    if (visible == openItemsVisible_) return;
    if (visible) {
        if (!::InsertMenuW(popupHandle_, 0, MF_BYPOSITION | MF_STRING, ids::IDM_MOUVRIR, text::kMenuOuvrir) ||
            !::InsertMenuW(popupHandle_, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr)) {
            throw win::LastError(text::kMenuOuvrir);
        }
    } else {
        ::DeleteMenu(popupHandle_, ids::IDM_MOUVRIR, MF_BYCOMMAND);
        ::DeleteMenu(popupHandle_, 0, MF_BYPOSITION);  // its separator, now first
    }
    openItemsVisible_ = visible;
}

void Command2::SetChecked(int command, bool checked) noexcept {
    ::CheckMenuItem(menuHandle_, static_cast<UINT>(command),
                    MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Command2::SetCurrentViewerText(std::wstring_view text) {
    const std::wstring value(text);
    ::SetWindowTextW(Control(ids::IDC_TEXT1), value.c_str());
}

void Command2::SetViewerChecked(ids::Command item, bool checked) { SetChecked(item, checked); }

void Command2::OnCommand(int id) {
    if (const auto* viewer = viewer::FindByButton(id)) return ViewerButton_Click(*viewer);
    if (const auto* viewer = viewer::FindByMenuItem(id)) return ViewerMenu_Click(*viewer);
    switch (id) {
        case ids::IDM_MOUVRIR:
            return Mouvrir_Click();
        case ids::IDM_MSYSTRAY:
            return msystray_Click();
        case ids::IDM_MVISIBLE:
            return mvisible_Click();
        case ids::IDM_MQUITTER:
            return mquitter_Click();
        case ids::IDM_PROPOS:
            return propos_Click();
        default:
            break;
    }
}

LRESULT Command2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // Explorer restarted: the icon is gone with the old taskbar.
        if (tray_) tray_->Lost();
        if (InTrayMode() && tray_) tray_->Add();
        return 0;
    }
    switch (message) {
        case WM_CREATE: {
            // The size asked for was clamped to the minimum of a window with a title bar
            // before this window could answer WM_GETMINMAXINFO; ask again now that it can.
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowPos(Hwnd(), nullptr, create->x, create->y, create->cx, create->cy,
                           SWP_NOZORDER | SWP_NOACTIVATE);
            // A program running elevated does not otherwise receive these from Explorer.
            ::ChangeWindowMessageFilterEx(Hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
            ::ChangeWindowMessageFilterEx(Hwnd(), NotificationIcon::kCallbackMessage, MSGFLT_ALLOW, nullptr);
            CreateControls();
            Form_Load();
            if (alreadyRunning_) return -1;
            opened_ = true;
            host_.WindowOpened();
            return 0;
        }
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_GETMINMAXINFO: {
            // A window with a title bar is otherwise kept wider than this narrow column.
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = POINT{1, 1};
            return 0;
        }
        case WM_MOUSEMOVE:
            // Icon notifications carry the mouse message number in the low word; real
            // movement over the narrow client area never reaches those numbers.
            Form_MouseMove(LOWORD(lParam));
            return 0;
        case WM_CLOSE:
            if (!Form_QueryUnload()) ::DestroyWindow(Hwnd());
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;  // never stand in the way of shutdown or log-off
        case WM_ENDSESSION:
            if (wParam && tray_) tray_->Delete();
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

LRESULT Command2::OnUnhandledError(UINT) noexcept {
    host_.ReportError(Hwnd());
    if (tray_) tray_->Delete();
    host_.Quit();
    return 0;
}

void Command2::OnDestroyed() noexcept {
    if (tray_) tray_->Delete();
    if (opened_) {
        opened_ = false;
        host_.WindowClosed();
    }
}

}  // namespace orbelin::ui
