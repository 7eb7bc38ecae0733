#pragma once
// The About window: product and version, the maker's logo and copyright line, and the
// viewer versions Orbelin is known to work with. Pure display; it closes with its close box.

#include <windows.h>

#include "common/win32/base_window.h"
#include "common/win32/handles.h"
#include "ui/host.h"

namespace orbelin::ui {

class Form1 : public win::BaseWindow<Form1> {
  public:
    static constexpr wchar_t kClassName[] = L"Orbelin.Form1";

    Form1(HINSTANCE instance, Host& host) : instance_(instance), host_(host) {}

    // Creates the window centred on the screen and shows it.
    void Create();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnUnhandledError(UINT message) noexcept;

  protected:
    void OnDestroyed() noexcept override;

  private:
    void CreateControls();
    HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& where);

    HINSTANCE instance_;
    Host& host_;
    bool opened_ = false;
    int dpi_ = 96;
    win::UniqueBitmap logo_;
    win::UniqueIcon iconBig_;
    win::UniqueIcon iconSmall_;
    win::UniqueFont versionFont_;
    HWND copyrightLabel_ = nullptr;
};

}  // namespace orbelin::ui
