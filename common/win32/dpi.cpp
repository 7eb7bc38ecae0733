#include "common/win32/dpi.h"

namespace orbelin::win {

int ScreenDpi() noexcept {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

RECT ToPixels(const TwipsRect& rect, int dpi) noexcept {
    const int left = TwipsToPixels(rect.left, dpi);
    const int top = TwipsToPixels(rect.top, dpi);
    return RECT{left, top, left + TwipsToPixels(rect.width, dpi), top + TwipsToPixels(rect.height, dpi)};
}

RECT CenteredWindowRect(SIZE client, DWORD style, DWORD exStyle, bool hasMenu) noexcept {
    RECT frame{0, 0, client.cx, client.cy};
    ::AdjustWindowRectEx(&frame, style, hasMenu ? TRUE : FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + ((work.right - work.left) - width) / 2;
    const int y = work.top + ((work.bottom - work.top) - height) / 2;
    return RECT{x, y, x + width, y + height};
}

}  // namespace orbelin::win
