#pragma once
// Pictures from the program's resources; a missing one is an error naming its number.

#include <windows.h>

namespace orbelin::win {

[[nodiscard]] HBITMAP LoadBitmapResource(HINSTANCE instance, int id);
[[nodiscard]] HICON LoadIconResource(HINSTANCE instance, int id, int size);

}  // namespace orbelin::win
