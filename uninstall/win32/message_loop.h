#pragma once
// The program's message loop. The dialog manager gives the window the keyboard behaviour
// of a dialog: Tab moves between the buttons and the space bar presses the focused one.

namespace orbelin::uninstall::win32 {

// Runs until the quit message; returns its exit code.
int RunMessageLoop();

}  // namespace orbelin::uninstall::win32
