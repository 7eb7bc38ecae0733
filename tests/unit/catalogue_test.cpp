#include <gtest/gtest.h>

#include <set>

#include "viewer/catalogue.h"

namespace orbelin::viewer {
namespace {

const Viewer& Named(std::wstring_view name) {
    const Viewer* viewer = FindByName(name);
    EXPECT_NE(viewer, nullptr) << "no viewer named so";
    return *viewer;
}

TEST(Catalogue, DetectionMatchesExactTextOnly) {
    const struct {
        const wchar_t* progId;
        const wchar_t* viewer;  // nullptr: none
    } cases[] = {
        {L"Cortona.Control.1", L"Cortona"},
        {L"Cortona.Client", nullptr},
        {L"VRML.World", L"Blaxxun"},
        {L"X3D.World", L"BS Contact"},
        {L"Nexternet.NexternetPlayer.1", L"Pivoron"},
        {L"SGI.CosmoPlayer.2", L"CosmoPlayer"},
        {L"Octaga.Octaga.wrl", L"Octaga"},
        {L"Anima.AnimaCtrl.1", L"Flux"},
        {L"vrml.world", nullptr},
        {L"VRML.World ", nullptr},
        {L"", nullptr},
    };
    for (const auto& c : cases) {
        const Viewer* found = FindByDetectedProgId(c.progId);
        if (c.viewer == nullptr) {
            EXPECT_EQ(found, nullptr);
        } else {
            ASSERT_NE(found, nullptr);
            EXPECT_EQ(found->displayName, c.viewer);
        }
    }
}

TEST(Catalogue, EveryButtonAndMenuItemHasExactlyOneViewer) {
    std::set<int> buttons;
    std::set<int> items;
    for (const auto& v : kViewers) {
        EXPECT_EQ(FindByButton(v.button), &v);
        EXPECT_EQ(FindByMenuItem(v.menuItem), &v);
        buttons.insert(v.button);
        items.insert(v.menuItem);
    }
    EXPECT_EQ(buttons.size(), kViewerCount);
    EXPECT_EQ(items.size(), kViewerCount);
    EXPECT_EQ(FindByButton(ids::IDC_TEXT1), nullptr);
    EXPECT_EQ(FindByMenuItem(ids::IDM_MQUITTER), nullptr);
    EXPECT_EQ(std::set<int>(kMenuOrder.begin(), kMenuOrder.end()), items);
    EXPECT_EQ(std::set<int>(kCheckOrder.begin(), kCheckOrder.end()), items);
}

TEST(Catalogue, ViewerMenuIsAlphabetical) {
    for (std::size_t i = 1; i < kMenuOrder.size(); ++i) {
        std::wstring a(FindByMenuItem(kMenuOrder[i - 1])->displayName);
        std::wstring b(FindByMenuItem(kMenuOrder[i])->displayName);
        for (auto& ch : a) ch = static_cast<wchar_t>(towlower(ch));
        for (auto& ch : b) ch = static_cast<wchar_t>(towlower(ch));
        EXPECT_LT(a, b);
    }
}

TEST(Catalogue, X3dOnlyTypesAreThoseWithoutVrml) {
    for (const auto& type : kContentTypes) {
        EXPECT_EQ(type.x3dOnly, type.name.find(L"vrml") == std::wstring_view::npos) << type.name.size();
    }
}

TEST(Catalogue, CosmoPlayerTakesOctagasIdentifierForX3dTypes) {
    const Viewer& cosmo = Named(L"CosmoPlayer");
    for (const auto& type : kContentTypes) {
        EXPECT_EQ(ClassIdFor(cosmo, type), type.x3dOnly ? L"{660D0125-4C92-4EDD-B7B4-B36857F1449E}"
                                                        : L"{06646724-bcf3-11d0-9518-00c04fc2dd79}");
        EXPECT_EQ(ClassIdFor(Named(L"Blaxxun"), type), ClassIdFor(Named(L"BS Contact"), type));
    }
}

TEST(Catalogue, FileTypeValuesFollowTheExtensionSets) {
    // One row per viewer and root: the expected value for each extension of the table,
    // "" standing for the empty string.
    const struct {
        const wchar_t* viewer;
        FileRoot root;
        std::array<std::wstring_view, kExtensionCount> values;
    } cases[] = {
        {L"Blaxxun",
         FileRoot::ClassesRoot,
         {L"VRML.World", L"", L"VRML.World", L"", L"", L"", L"", L"", L""}},
        {L"Blaxxun", FileRoot::MachineClasses, {L"", L"", L"", L"", L"", L"", L"", L"", L""}},
        {L"Flux",
         FileRoot::MachineClasses,
         {L"", L"Anima.AnimaCtrl.1", L"", L"", L"Anima.AnimaCtrl.1", L"", L"Anima.AnimaCtrl.1", L"", L""}},
        {L"Cortona",
         FileRoot::ClassesRoot,
         {L"Cortona.Client", L"", L"Cortona.Client", L"Cortona.Client", L"", L"Cortona.Client", L"",
          L"Cortona.Client", L"Cortona.Client"}},
    };
    for (const auto& c : cases) {
        for (std::size_t e = 0; e < kExtensionCount; ++e) {
            EXPECT_EQ(FileTypeValue(Named(c.viewer), c.root, e), c.values[e]) << "extension " << e;
        }
    }
    for (std::size_t e = 0; e < kExtensionCount; ++e) {
        for (const auto root : {FileRoot::ClassesRoot, FileRoot::MachineClasses}) {
            EXPECT_EQ(FileTypeValue(Named(L"CosmoPlayer"), root, e), L"SGI.CosmoPlayer.2");
        }
    }
}

}  // namespace
}  // namespace orbelin::viewer
