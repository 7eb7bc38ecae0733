#include <gtest/gtest.h>

#include <vector>

#include "common/error.h"
#include "scripthost/memory_registry.h"
#include "viewer/switch.h"

namespace orbelin::viewer {
namespace {

constexpr std::wstring_view kMime = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\MIME\\Database\\Content Type\\";
constexpr std::wstring_view kCortonaId = L"{86A88967-7A20-11D2-8EDA-00600818EDB1}";

std::wstring S(std::wstring_view a, std::wstring_view b = {}, std::wstring_view c = {}) {
    return std::wstring(a).append(b).append(c);
}

TEST(Switch, CortonaWritesTheTwentyNineValuesInOrder) {
    const std::vector<PlannedWrite> expected = {
        {S(kMime, L"model/vrml\\CLSID"), S(kCortonaId)},
        {S(kMime, L"model/x3d\\CLSID"), S(kCortonaId)},
        {S(kMime, L"model/fx3d\\CLSID"), S(kCortonaId)},
        {S(kMime, L"model/x3d+xml\\CLSID"), S(kCortonaId)},
        {S(kMime, L"model/x3d+vrml\\CLSID"), S(kCortonaId)},
        {S(kMime, L"model/x3d-vrml\\CLSID"), S(kCortonaId)},
        {S(kMime, L"x-world/x-vrml\\CLSID"), S(kCortonaId)},
        {S(kMime, L"x-world/x-x3d\\CLSID"), S(kCortonaId)},
        {S(kMime, L"x-world/x-fx3d\\CLSID"), S(kCortonaId)},
        {S(kMime, L"x-world/x-x3d+xml\\CLSID"), S(kCortonaId)},
        {S(kMime, L"x-world/x-x3d-vrml\\CLSID"), S(kCortonaId)},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.wrl\\", L""},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.wrl.gz\\", L""},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.wrz\\", L""},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.x3d\\", L""},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.x3d.gz\\", L""},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.x3dv\\", L""},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.x3dv.gz\\", L""},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.x3dvz\\", L""},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.x3dz\\", L""},
        {L"HKEY_CLASSES_ROOT\\.wrl\\", L"Cortona.Client"},
        {L"HKEY_CLASSES_ROOT\\.wrl.gz\\", L""},
        {L"HKEY_CLASSES_ROOT\\.wrz\\", L"Cortona.Client"},
        {L"HKEY_CLASSES_ROOT\\.x3d\\", L"Cortona.Client"},
        {L"HKEY_CLASSES_ROOT\\.x3d.gz\\", L""},
        {L"HKEY_CLASSES_ROOT\\.x3dv\\", L"Cortona.Client"},
        {L"HKEY_CLASSES_ROOT\\.x3dv.gz\\", L""},
        {L"HKEY_CLASSES_ROOT\\.x3dvz\\", L"Cortona.Client"},
        {L"HKEY_CLASSES_ROOT\\.x3dz\\", L"Cortona.Client"},
    };
    EXPECT_EQ(PlanSwitch(*FindByName(L"Cortona")), expected);
}

// The other six viewers: the MIME values in write order, then the nine machine values and
// the nine classes-root values in extension order.
struct SwitchCase {
    const wchar_t* viewer;
    std::vector<std::pair<std::wstring_view, std::wstring_view>> mime;  // content type, identifier
    std::array<std::wstring_view, kExtensionCount> machine;
    std::array<std::wstring_view, kExtensionCount> root;
};

std::vector<std::pair<std::wstring_view, std::wstring_view>> AllTypes(std::wstring_view id) {
    std::vector<std::pair<std::wstring_view, std::wstring_view>> out;
    for (const auto& t : kContentTypes) out.emplace_back(t.name, id);
    return out;
}

constexpr std::array<std::wstring_view, kExtensionCount> kEmpty{};
constexpr std::array<std::wstring_view, kExtensionCount> All(std::wstring_view v) {
    return {v, v, v, v, v, v, v, v, v};
}

TEST(Switch, OtherViewersWriteWhatTheirRecordsSay) {
    constexpr std::wstring_view kBlaxxunId = L"{4B6E3013-6E45-11D0-9309-0020AFE05CC8}";
    constexpr std::wstring_view kOctagaId = L"{660D0125-4C92-4EDD-B7B4-B36857F1449E}";
    constexpr std::wstring_view kCosmoId = L"{06646724-bcf3-11d0-9518-00c04fc2dd79}";
    constexpr std::wstring_view kFlux = L"Anima.AnimaCtrl.1";
    const SwitchCase cases[] = {
        {L"Blaxxun",
         AllTypes(kBlaxxunId),
         kEmpty,
         {L"VRML.World", L"", L"VRML.World", L"", L"", L"", L"", L"", L""}},
        {L"Pivoron", AllTypes(L"{332F83AF-3367-45C8-819F-9F7AE87410F8}"), kEmpty,
         All(L"Nexternet.NexternetPlayer.1")},
        {L"CosmoPlayer",
         {{L"model/vrml", kCosmoId},
          {L"model/x3d", kOctagaId},
          {L"x-world/x-vrml", kCosmoId},
          {L"x-world/x-x3d", kOctagaId},
          {L"model/fx3d", kOctagaId},
          {L"model/x3d+xml", kOctagaId},
          {L"model/x3d+vrml", kCosmoId},
          {L"model/x3d-vrml", kCosmoId},
          {L"x-world/x-fx3d", kOctagaId},
          {L"x-world/x-x3d+xml", kOctagaId},
          {L"x-world/x-x3d-vrml", kCosmoId}},
         All(L"SGI.CosmoPlayer.2"),
         All(L"SGI.CosmoPlayer.2")},
        {L"BS Contact", AllTypes(kBlaxxunId), kEmpty, All(L"X3D.World")},
        {L"Octaga", AllTypes(kOctagaId), kEmpty, All(L"Octaga.Octaga.wrl")},
        {L"Flux",
         AllTypes(L"{918B202D-8E8F-4649-A70B-E9B178FEDC58}"),
         {L"", kFlux, L"", L"", kFlux, L"", kFlux, L"", L""},
         All(kFlux)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "viewer " << (&c - cases));
        std::vector<PlannedWrite> expected;
        for (const auto& [type, id] : c.mime) expected.push_back({S(kMime, type, L"\\CLSID"), S(id)});
        for (std::size_t e = 0; e < kExtensionCount; ++e) {
            expected.push_back(
                {S(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\", kExtensions[e], L"\\"), S(c.machine[e])});
        }
        for (std::size_t e = 0; e < kExtensionCount; ++e) {
            expected.push_back({S(L"HKEY_CLASSES_ROOT\\", kExtensions[e], L"\\"), S(c.root[e])});
        }
        EXPECT_EQ(PlanSwitch(*FindByName(c.viewer)), expected);
    }
}

// A registry as a machine might have it before a switch: some keys there with values of
// several kinds, some missing.
reg::MemoryRegistry LivedInRegistry() {
    reg::MemoryRegistry registry;
    registry.WriteRaw(reg::Path::Parse(S(kMime, L"model/vrml\\CLSID")), reg::StringValue(L"{OLD}"));
    registry.WriteRaw(reg::Path::Parse(S(kMime, L"model/vrml\\Extension")), reg::StringValue(L".wrl"));
    registry.WriteRaw(reg::Path::Parse(L"HKCR\\.wrl\\"), reg::StringValue(L"X3D.World"));
    registry.WriteRaw(reg::Path::Parse(L"HKCR\\.wrl\\Content Type"), reg::StringValue(L"model/vrml"));
    registry.WriteRaw(reg::Path::Parse(L"HKCR\\.x3d\\"), reg::DwordValue(1));
    registry.WriteRaw(reg::Path::Parse(L"HKCR\\.wrz\\ShellNew\\NullFile"), reg::StringValue(L""));
    registry.ClearLog();
    return registry;
}

TEST(Switch, AFailureAtAnyWriteLeavesTheRegistryAsItWas) {
    for (const auto& viewer : kViewers) {
        for (int failing = 1; failing <= static_cast<int>(kSwitchWriteCount); ++failing) {
            SCOPED_TRACE(testing::Message() << "write " << failing);
            auto registry = LivedInRegistry();
            const auto before = registry.Dump();
            const auto keysBefore = registry.KeyNames();
            registry.FailWriteNumber(failing);
            try {
                ApplySwitch(registry, viewer);
                ADD_FAILURE() << "the switch did not report the failure";
            } catch (const Error& error) {
                EXPECT_EQ(error.Number(), kErrorAccessDenied);
            }
            ASSERT_EQ(registry.Dump(), before);
            ASSERT_EQ(registry.KeyNames(), keysBefore);
        }
    }
}

TEST(Switch, WritesEveryValueEveryTimeAndCreatesMissingKeys) {
    reg::MemoryRegistry registry;  // none of the keys exists
    const Viewer& octaga = *FindByName(L"Octaga");
    ApplySwitch(registry, octaga);
    ApplySwitch(registry, octaga);  // already in force: all 29 again
    ASSERT_EQ(registry.Writes().size(), 2 * kSwitchWriteCount);
    const auto plan = PlanSwitch(octaga);
    for (std::size_t i = 0; i < registry.Writes().size(); ++i) {
        EXPECT_EQ(registry.Writes()[i].path, plan[i % kSwitchWriteCount].path);
        EXPECT_EQ(registry.Writes()[i].value, reg::StringValue(plan[i % kSwitchWriteCount].value));
    }
    // The classes-root write comes last, so ".wrl" holds the ProgID, not the machine's empty value.
    EXPECT_EQ(registry.Read(reg::Path::Parse(kDetectPath)), reg::Value(std::wstring(L"Octaga.Octaga.wrl")));
    EXPECT_EQ(DetectViewer(registry), &octaga);
}

TEST(Switch, BlaxxunEmptiesTheExtensionsAnEarlierSwitchSet) {
    auto registry = LivedInRegistry();
    ApplySwitch(registry, *FindByName(L"BS Contact"));
    ApplySwitch(registry, *FindByName(L"Blaxxun"));
    for (std::size_t e = 0; e < kExtensionCount; ++e) {
        const auto value = registry.Read(reg::Path::Parse(S(L"HKEY_CLASSES_ROOT\\", kExtensions[e], L"\\")));
        const bool wrlOrWrz = e == 0 || e == 2;
        EXPECT_EQ(value, reg::Value(std::wstring(wrlOrWrz ? L"VRML.World" : L"")));
    }
    // Values that are not the switch's stay.
    EXPECT_EQ(registry.Read(reg::Path::Parse(L"HKCR\\.wrl\\Content Type")),
              reg::Value(std::wstring(L"model/vrml")));
}

TEST(Detection, RecognisesOnlyExactTextValues) {
    const struct {
        std::optional<reg::RawValue> value;  // empty: key absent
        const wchar_t* viewer;
    } cases[] = {
        {reg::StringValue(L"X3D.World"), L"BS Contact"},
        {reg::StringValue(L"VRML.World"), L"Blaxxun"},
        {reg::StringValue(L"Cortona.Control.1"), L"Cortona"},
        {reg::StringValue(L"Cortona.Client"), nullptr},
        {reg::StringValue(L"vrml.world"), nullptr},
        {reg::StringValue(L"VRML.World "), nullptr},
        {reg::StringValue(L""), nullptr},
        {reg::DwordValue(1), nullptr},
        {reg::RawValue{reg::kRegBinary, {'V', 0}}, nullptr},
        {std::nullopt, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        reg::MemoryRegistry registry;
        if (c.value) registry.WriteRaw(reg::Path::Parse(kDetectPath), *c.value);
        const Viewer* found = DetectViewer(registry);
        EXPECT_EQ(found, c.viewer ? FindByName(c.viewer) : nullptr);
    }
    reg::MemoryRegistry keyWithoutDefault;
    keyWithoutDefault.WriteRaw(reg::Path::Parse(L"HKCR\\.wrl\\Content Type"),
                               reg::StringValue(L"model/vrml"));
    EXPECT_EQ(DetectViewer(keyWithoutDefault), nullptr);
}

class RecordingDisplay : public ViewerDisplay {
  public:
    void SetCurrentViewerText(std::wstring_view text) override {
        calls.push_back(L"text " + std::wstring(text));
    }
    void SetViewerChecked(ids::Command item, bool checked) override {
        calls.push_back(std::wstring(FindByMenuItem(item)->displayName) + (checked ? L" on" : L" off"));
    }
    std::vector<std::wstring> calls;
};

TEST(Switch, ShowsTheNameThenTheCheckMarksInTheirOrder) {
    RecordingDisplay display;
    ShowViewer(display, *FindByName(L"Octaga"));
    const std::vector<std::wstring> expected = {
        L"text Octaga", L"Cortona off", L"Blaxxun off",    L"CosmoPlayer off",
        L"Pivoron off", L"Octaga on",   L"BS Contact off", L"Flux off",
    };
    EXPECT_EQ(display.calls, expected);
}

}  // namespace
}  // namespace orbelin::viewer
