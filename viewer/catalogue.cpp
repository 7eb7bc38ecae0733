#include "viewer/catalogue.h"

#include <cwctype>

namespace orbelin::viewer {

const Viewer* FindByButton(int control) {
    for (const auto& v : kViewers) {
        if (v.button == control) return &v;
    }
    return nullptr;
}

const Viewer* FindByMenuItem(int command) {
    for (const auto& v : kViewers) {
        if (v.menuItem == command) return &v;
    }
    return nullptr;
}

const Viewer* FindByDetectedProgId(std::wstring_view progId) {
    for (const auto& v : kViewers) {
        if (v.detectProgId == progId) return &v;
    }
    return nullptr;
}

const Viewer* FindByName(std::wstring_view displayName) {
    for (const auto& v : kViewers) {
        if (v.displayName.size() != displayName.size()) continue;
        bool same = true;
        for (std::size_t i = 0; same && i < displayName.size(); ++i) {
            same = std::towlower(v.displayName[i]) == std::towlower(displayName[i]);
        }
        if (same) return &v;
    }
    return nullptr;
}

std::wstring_view ClassIdFor(const Viewer& viewer, const ContentType& type) {
    return type.x3dOnly ? viewer.x3dMimeClsid : viewer.mimeClsid;
}

std::wstring_view FileTypeValue(const Viewer& viewer, FileRoot root, std::size_t extension) {
    const ExtensionSet set = root == FileRoot::ClassesRoot ? viewer.rootExtensions : viewer.machineExtensions;
    return (set >> extension) & 1u ? viewer.fileProgId : std::wstring_view{};
}

}  // namespace orbelin::viewer
