// Orbelin: makes one of seven VRML/X3D viewers the machine's default, from a small window
// and a notification-area icon.

#include <windows.h>

#include "common/win32/error_report.h"
#include "scripthost/win32_registry.h"
#include "ui/command2.h"
#include "ui/texts.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        orbelin::reg::Win32Registry registry;
        orbelin::ui::Host host;
        orbelin::ui::Command2 window(instance, registry, host);
        if (!window.Create()) return 0;  // another Orbelin runs already

        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            // Tab, arrow keys and the space bar move between and press the controls.
            HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
            if (root != nullptr && ::IsDialogMessageW(root, &msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        return static_cast<int>(msg.wParam);
    } catch (...) {
        orbelin::win::ReportCurrentException(nullptr, orbelin::text::kTitle);
        return 1;
    }
}
