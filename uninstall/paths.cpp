#include "uninstall/paths.h"

namespace orbelin::uninstall {
namespace {

constexpr wchar_t FoldAscii(wchar_t ch) noexcept {
    return ch >= L'a' && ch <= L'z' ? static_cast<wchar_t>(ch - L'a' + L'A') : ch;
}

}  // namespace

bool SamePath(std::wstring_view a, std::wstring_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

bool IsInside(std::wstring_view path, std::wstring_view folder) noexcept {
    if (folder.empty() || path.size() <= folder.size() + 1) return false;
    return path[folder.size()] == L'\\' && SamePath(path.substr(0, folder.size()), folder);
}

bool IsAbsolute(std::wstring_view path) noexcept {
    const bool drive = path.size() >= 3 && FoldAscii(path[0]) >= L'A' && FoldAscii(path[0]) <= L'Z' &&
                       path[1] == L':' && path[2] == L'\\';
    const bool unc = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
    return drive || unc;
}

std::wstring Join(std::wstring_view folder, std::wstring_view suffix) {
    if (!folder.empty() && folder.back() == L'\\') folder.remove_suffix(1);
    std::wstring joined(folder);
    joined += suffix;
    return joined;
}

std::wstring_view Parent(std::wstring_view path) noexcept {
    const auto sep = path.rfind(L'\\');
    return sep == std::wstring_view::npos ? std::wstring_view{} : path.substr(0, sep);
}

}  // namespace orbelin::uninstall
