// Uninstall: removes Orbelin from the machine, then itself.
//
// Errors travel as orbelin::Error exceptions (number and description). None crosses a
// Win32 frame: the window procedure catches what a handler throws, shows the error report
// and ends the program; wWinMain catches what start-up throws.

#include <windows.h>
#include <commctrl.h>

#include "common/win32/error_report.h"
#include "scripthost/win32_registry.h"
#include "uninstall/texts.h"
#include "uninstall/win32/file_system.h"
#include "uninstall/win32/form1.h"
#include "uninstall/win32/message_loop.h"
#include "uninstall/win32/platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace orbelin::uninstall;
    try {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);

        // The platform object holds Orbelin's single-instance object once the run has begun,
        // until the program ends.
        win32::Win32Platform platform;
        win32::Win32FileSystem fileSystem;
        orbelin::reg::Win32Registry registry;
        win32::Form1 window(instance, [&](StatusDisplay& display) {
            return RunUninstall(display, platform, fileSystem, registry);
        });
        window.Create();
        return win32::RunMessageLoop();
    } catch (...) {
        orbelin::win::ReportCurrentException(nullptr, text::kTitle);
        return 1;
    }
}
