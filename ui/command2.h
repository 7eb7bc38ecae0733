#pragma once
// Orbelin's main window: seven picture buttons, one per viewer, the current-viewer box, and
// the menu "Paramétres" that is also the pop-up of the notification-area icon.
//
// Handlers keep the names of the window's design (Form_Load, msystray_Click, ...). The
// window mode is the check mark of "Reduire dans le systray": tray mode while it is
// checked, on-screen mode while "Toujours à l'écran" is.

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "common/win32/base_window.h"
#include "common/win32/handles.h"
#include "scripthost/registry.h"
#include "ui/about.h"
#include "ui/host.h"
#include "ui/notification_icon.h"
#include "viewer/catalogue.h"
#include "viewer/switch.h"

namespace orbelin::ui {

class Command2 : public win::BaseWindow<Command2>, private viewer::ViewerDisplay {
  public:
    static constexpr wchar_t kClassName[] = L"Orbelin.Command2";

    Command2(HINSTANCE instance, reg::Registry& registry, Host& host)
        : instance_(instance), registry_(registry), host_(host) {}

    // Creates the window; Form_Load runs inside. Returns false when another Orbelin runs
    // already (the window then does not exist). Errors of start-up are thrown.
    [[nodiscard]] bool Create();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnUnhandledError(UINT message) noexcept;

    // Handlers, callable directly, as the menu and the icon call them.
    void Form_Load();
    void ViewerButton_Click(const viewer::Viewer& viewer);  // Command1_Click ... Command8_Click
    void ViewerMenu_Click(const viewer::Viewer& viewer);    // mCortona_Click ... mFlux_Click
    void msystray_Click();
    void mvisible_Click();
    void Mouvrir_Click();
    void mquitter_Click();
    void propos_Click();
    void Form_MouseMove(int trayCode);
    [[nodiscard]] bool Form_QueryUnload();  // true: the close is refused

    // What the tests look at.
    [[nodiscard]] HMENU MenuBar() const noexcept { return menuHandle_; }
    [[nodiscard]] HMENU Popup() const noexcept { return popupHandle_; }
    [[nodiscard]] HWND Control(int id) const noexcept { return ::GetDlgItem(Hwnd(), id); }
    [[nodiscard]] Form1* About() const noexcept { return about_ && about_->Hwnd() ? about_.get() : nullptr; }
    [[nodiscard]] bool InTrayMode() const noexcept;
    [[nodiscard]] const NotificationIcon* TrayIcon() const noexcept { return tray_ ? &*tray_ : nullptr; }
    [[nodiscard]] HBITMAP QuitterPicture() const noexcept { return imageList1_.get(); }

  protected:
    void OnDestroyed() noexcept override;

  private:
    void CreateControls();
    HMENU BuildMenu();
    void SetOpenItemsVisible(bool visible);
    void SetChecked(int command, bool checked) noexcept;
    void OnCommand(int id);
    void PlaceOnTop(HWND insertAfter) noexcept;

    // ViewerDisplay
    void SetCurrentViewerText(std::wstring_view text) override;
    void SetViewerChecked(ids::Command item, bool checked) override;

    HINSTANCE instance_;
    reg::Registry& registry_;
    Host& host_;
    bool opened_ = false;
    bool alreadyRunning_ = false;
    int dpi_ = 96;

    win::UniqueHandle instanceMutex_;
    HMENU menuHandle_ = nullptr;   // owned by the window
    HMENU popupHandle_ = nullptr;  // pop-up of "Paramétres"
    bool openItemsVisible_ = false;
    std::array<win::UniqueBitmap, viewer::kViewerCount> badges_;
    win::UniqueBitmap imageList1_;  // the picture beside "Quitter"
    win::UniqueIcon iconBig_;
    win::UniqueIcon image1_;  // small icon: title bar and notification area
    std::optional<NotificationIcon> tray_;
    UINT taskbarCreated_ = 0;
    bool busy_ = false;
    std::unique_ptr<Form1> about_;
};

}  // namespace orbelin::ui
