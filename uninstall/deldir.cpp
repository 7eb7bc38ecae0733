#include "uninstall/deldir.h"

#include "common/error.h"
#include "uninstall/paths.h"
#include "uninstall/texts.h"

namespace orbelin::uninstall {

bool DelDir(FileSystem& fs, const std::wstring& folder, const std::wstring& keep) {
    const bool holdsKeep = IsInside(keep, folder);
    std::wstring unlisted;  // the first hidden or system entry met
    for (const Entry& entry : fs.List(folder)) {
        if (entry.name.empty() || entry.name == L"." || entry.name == L"..") continue;
        std::wstring path = folder;
        path += L'\\';
        path += entry.name;
        if (holdsKeep && SamePath(path, keep)) continue;
        if ((entry.attributes & (attr::kHidden | attr::kSystem)) != 0) {
            if (unlisted.empty()) unlisted = std::move(path);
            continue;
        }
        if ((entry.attributes & attr::kDirectory) == 0) {
            fs.RemoveFile(path);
        } else if ((entry.attributes & attr::kReparsePoint) != 0) {
            // Entering a link would empty the folder it points to, which is not ours.
            fs.RemoveFolder(path);
        } else {
            DelDir(fs, path, keep);
        }
    }
    if (!unlisted.empty()) throw Error(kErrorDirNotEmpty, text::kHiddenEntry + unlisted);
    if (holdsKeep) return false;
    fs.RemoveFolder(folder);
    return true;
}

}  // namespace orbelin::uninstall
