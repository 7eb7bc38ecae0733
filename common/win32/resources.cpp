#include "common/win32/resources.h"

#include <string>

#include "common/win32/error_report.h"

namespace orbelin::win {

HBITMAP LoadBitmapResource(HINSTANCE instance, int id) {
    auto bitmap = static_cast<HBITMAP>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) throw LastError(L"bitmap " + std::to_wstring(id));
    return bitmap;
}

HICON LoadIconResource(HINSTANCE instance, int id, int size) {
    auto icon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
    if (icon == nullptr) throw LastError(L"icon " + std::to_wstring(id));
    return icon;
}

}  // namespace orbelin::win
