#pragma once
// Window positions and sizes are designed in twips (1/1440 inch); they become pixels here,
// with the screen's pixels per inch, in one place.

#include <windows.h>

namespace orbelin::win {

[[nodiscard]] int ScreenDpi() noexcept;
[[nodiscard]] constexpr int TwipsToPixels(int twips, int dpi) noexcept {
    return (twips * dpi + 720) / 1440;  // rounded to the nearest pixel
}

// A rectangle given in twips, converted.
struct TwipsRect {
    int left, top, width, height;
};
[[nodiscard]] RECT ToPixels(const TwipsRect& rect, int dpi) noexcept;

// The outer size of a window whose client area is client pixels, centred on the work
// area of the primary screen.
[[nodiscard]] RECT CenteredWindowRect(SIZE client, DWORD style, DWORD exStyle, bool hasMenu) noexcept;

}  // namespace orbelin::win
