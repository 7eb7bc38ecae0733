#pragma once
// The uninstaller window: the maker's logo, the status line in "Opération en cours :", the
// progress bar with its percentage, the buttons "Uninstall" and "Quitter", and the
// copyright line. Handlers keep the names of the window's design (btnuninstall_Click,
// btnquit_Click).
//
// The uninstall run happens inside btnuninstall_Click, on this thread, without handling
// messages between its steps: each change of the status line or the progress is painted at
// once. The program ends when the run has completed, when it fails (after the error
// report), on "Quitter", and when the window is closed; the run cannot be interrupted.

#include <windows.h>

#include <functional>

#include "common/win32/base_window.h"
#include "common/win32/handles.h"
#include "uninstall/procedure.h"

namespace orbelin::uninstall::win32 {

class Form1 : public win::BaseWindow<Form1>, public StatusDisplay {
  public:
    static constexpr wchar_t kClassName[] = L"Uninstall.Form1";
    using Action = std::function<Outcome(StatusDisplay&)>;

    Form1(HINSTANCE instance, Action uninstall) : instance_(instance), uninstall_(std::move(uninstall)) {}

    // Creates the window centred on the screen, shows it, and gives "Quitter" the focus.
    void Create();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnUnhandledError(UINT message) noexcept;

    void btnuninstall_Click();
    void btnquit_Click();

    [[nodiscard]] HWND Control(int id) const noexcept { return ::GetDlgItem(Hwnd(), id); }

    // StatusDisplay
    void DisableButtons() override;
    void SetStatus(std::wstring_view text) override;
    void SetProgress(int value, std::wstring_view percentText) override;
    void Message(std::wstring_view text, MessageKind kind) override;

  private:
    void CreateControls();
    // Ends the program: the window goes, and the message loop ends with exitCode.
    void EndProgram(int exitCode) noexcept;

    HINSTANCE instance_;
    Action uninstall_;
    int dpi_ = 96;
    int exitCode_ = 0;
    bool running_ = false;
    bool ending_ = false;
    HWND focus_ = nullptr;  // the control that had the focus when the window was deactivated
    win::UniqueFont font_;
    win::UniqueBitmap logo_;
    win::UniqueIcon iconBig_;
    win::UniqueIcon iconSmall_;
};

}  // namespace orbelin::uninstall::win32
