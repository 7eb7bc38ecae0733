#pragma once
// Control identifiers of the uninstaller window. They stay clear of IDOK and IDCANCEL,
// which the dialog manager sends for Enter and Escape: neither button is the window's
// default or cancel button.

namespace orbelin::uninstall::ids {

inline constexpr int kBtnQuit = 101;
inline constexpr int kBtnUninstall = 102;
inline constexpr int kFrame2 = 103;
inline constexpr int kProgressBar1 = 104;
inline constexpr int kNombre = 105;
inline constexpr int kFrame1 = 106;
inline constexpr int kLabel1 = 107;
inline constexpr int kLabel3 = 108;
inline constexpr int kImage1 = 109;

}  // namespace orbelin::uninstall::ids
