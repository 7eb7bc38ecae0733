#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/error.h"

namespace orbelin::win {

// An Error for a Win32 code: the system's description of the code, then the context
// (usually the path concerned).
[[nodiscard]] Error Win32Error(DWORD code, std::wstring_view context);
[[nodiscard]] Error LastError(std::wstring_view context);

// The report text: "Erreur d'exécution 'N' :" and the description.
[[nodiscard]] std::wstring ReportText(const Error& error);

// Shows the report in a modal message box. Call it only inside a catch block: it
// describes the exception being handled, whatever its type.
void ReportCurrentException(HWND owner, std::wstring_view title) noexcept;

}  // namespace orbelin::win
