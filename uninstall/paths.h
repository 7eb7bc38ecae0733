#pragma once
// Path text as the uninstaller compares it. Windows compares names without letter case;
// here only ASCII letters are folded, so two spellings that differ in the case of another
// letter count as different paths. That errs on the safe side: a file not recognised as
// the running uninstaller is not skipped, and its deletion fails instead.

#include <string>
#include <string_view>

namespace orbelin::uninstall {

[[nodiscard]] bool SamePath(std::wstring_view a, std::wstring_view b) noexcept;
// True when path lies below folder (not when it is folder itself).
[[nodiscard]] bool IsInside(std::wstring_view path, std::wstring_view folder) noexcept;
// "X:\..." or a UNC path "\\server\share\...".
[[nodiscard]] bool IsAbsolute(std::wstring_view path) noexcept;
// folder + suffix, where suffix starts with a backslash; a trailing backslash of folder
// (as in "C:\") is not doubled.
[[nodiscard]] std::wstring Join(std::wstring_view folder, std::wstring_view suffix);
// The folder part of path, without the trailing backslash; empty when there is none.
[[nodiscard]] std::wstring_view Parent(std::wstring_view path) noexcept;

}  // namespace orbelin::uninstall
