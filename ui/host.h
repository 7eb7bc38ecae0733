#pragma once
// What Orbelin's windows need from the program around them: it ends when "Quitter" is
// chosen or when no window of it is left open, and it reports errors. Tests replace it.

#include <windows.h>

#include "common/win32/error_report.h"
#include "ui/texts.h"

namespace orbelin::ui {

class Host {
  public:
    virtual ~Host() = default;
    virtual void WindowOpened() { ++open_; }
    virtual void WindowClosed() {
        if (--open_ == 0) Quit();
    }
    virtual void Quit() { ::PostQuitMessage(0); }
    // Called inside a catch block: shows the error report for the exception in flight.
    virtual void ReportError(HWND owner) noexcept { win::ReportCurrentException(owner, text::kTitle); }

  private:
    int open_ = 0;
};

}  // namespace orbelin::ui
