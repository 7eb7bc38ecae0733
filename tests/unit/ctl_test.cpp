#include <gtest/gtest.h>

#include <map>

#include "common/error.h"
#include "ctl/ctl.h"
#include "scripthost/memory_registry.h"
#include "viewer/switch.h"

namespace orbelin::ctl {
namespace {

class FakeEnvironment : public Environment {
  public:
    void Out(std::wstring_view text) override { out += text; }
    void Err(std::wstring_view text) override { err += text; }
    std::vector<std::uint8_t> ReadFile(const std::wstring& path) override {
        const auto file = files.find(path);
        if (file == files.end()) throw Error(kErrorFileNotFound, path);
        return file->second;
    }
    void WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) override {
        if (path.starts_with(L"R:")) throw Error(kErrorAccessDenied, path);  // a read-only place
        files[path] = bytes;
    }
    Installed IsInstalled(const viewer::Viewer& viewer) override { return installed[viewer.displayName]; }

    std::wstring out, err;
    std::map<std::wstring, std::vector<std::uint8_t>> files;
    std::map<std::wstring_view, Installed> installed;
};

reg::MemoryRegistry SomeMachine() {
    reg::MemoryRegistry registry;
    registry.WriteRaw(reg::Path::Parse(L"HKCR\\.wrl\\"), reg::StringValue(L"X3D.World"));
    registry.WriteRaw(reg::Path::Parse(L"HKCR\\.x3d\\"), reg::DwordValue(4));
    registry.WriteRaw(reg::Path::Parse(L"HKCR\\.wrz\\Content Type"), reg::StringValue(L"model/vrml"));
    registry.WriteRaw(
        reg::Path::Parse(L"HKLM\\SOFTWARE\\Classes\\MIME\\Database\\Content Type\\model/vrml\\CLSID"),
        reg::StringValue(L"{OLD}"));
    registry.ClearLog();
    return registry;
}

TEST(OrbelinCtl, BadCommandLinesChangeNothing) {
    const std::vector<std::vector<std::wstring>> cases = {
        {},
        {L"frobnicate"},
        {L"set"},
        {L"set", L"Nope"},
        {L"set", L"Octaga", L"extra"},
        {L"export", L"Octaga"},
        {L"export", L"Nope", L"f.reg"},
        {L"backup"},
        {L"restore"},
        {L"list", L"x"},
    };
    for (const auto& args : cases) {
        auto registry = SomeMachine();
        const auto before = registry.Dump();
        FakeEnvironment env;
        EXPECT_EQ(ctl::Run(args, registry, env), kUsage) << args.size();
        EXPECT_NE(env.err.find(L"Usage"), std::wstring::npos);
        EXPECT_EQ(registry.Dump(), before);
        EXPECT_TRUE(env.files.empty());
    }
}

TEST(OrbelinCtl, SetIgnoresLetterCaseAndIsAllOrNothing) {
    auto registry = SomeMachine();
    FakeEnvironment env;
    EXPECT_EQ(ctl::Run({L"set", L"bs contact"}, registry, env), kOk);
    EXPECT_EQ(viewer::DetectViewer(registry), viewer::FindByName(L"BS Contact"));
    EXPECT_EQ(registry.Writes().size(), viewer::kSwitchWriteCount);

    const auto before = registry.Dump();
    registry.FailWriteNumber(20);
    EXPECT_EQ(ctl::Run({L"set", L"OCTAGA"}, registry, env), kAccessDenied);
    EXPECT_NE(env.err.find(L"Erreur 5"), std::wstring::npos);
    EXPECT_EQ(registry.Dump(), before);
}

TEST(OrbelinCtl, AnExportedFileWritesWhatASwitchWrites) {
    for (const auto& viewer : viewer::kViewers) {
        auto switched = SomeMachine();
        viewer::ApplySwitch(switched, viewer);

        FakeEnvironment env;
        auto imported = SomeMachine();
        ASSERT_EQ(ctl::Run({L"export", std::wstring(viewer.displayName), L"v.reg"}, imported, env), kOk);
        const auto bytes = env.files.at(L"v.reg");
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes[0], 0xFF) << "UTF-16LE with its byte-order mark";
        EXPECT_EQ(bytes[1], 0xFE);
        reg::ApplyRegFile(imported, reg::ParseRegFile(reg::DecodeUtf16File(bytes)));
        EXPECT_EQ(imported.Dump(), switched.Dump());
    }
}

TEST(OrbelinCtl, RestoreAfterBackupGivesBackTheRegistryAsItWas) {
    for (bool emptyMachine : {true, false}) {
        auto registry = emptyMachine ? reg::MemoryRegistry() : SomeMachine();
        const auto before = registry.Dump();
        const auto keysBefore = registry.KeyNames();
        FakeEnvironment env;
        ASSERT_EQ(ctl::Run({L"backup", L"b.reg"}, registry, env), kOk);
        ASSERT_EQ(ctl::Run({L"set", L"CosmoPlayer"}, registry, env), kOk);
        ASSERT_EQ(ctl::Run({L"restore", L"b.reg"}, registry, env), kOk)
            << std::string(env.err.begin(), env.err.end());
        EXPECT_EQ(registry.Dump(), before);
        EXPECT_EQ(registry.KeyNames(), keysBefore) << "keys that did not exist are removed again";
    }
}

TEST(OrbelinCtl, FileProblemsAreFailuresAndWriteNothing) {
    auto registry = SomeMachine();
    const auto before = registry.Dump();
    FakeEnvironment env;
    EXPECT_EQ(ctl::Run({L"export", L"Flux", L"R:\\flux.reg"}, registry, env), kFailure);
    EXPECT_EQ(ctl::Run({L"backup", L"R:\\b.reg"}, registry, env), kFailure);
    EXPECT_EQ(ctl::Run({L"restore", L"missing.reg"}, registry, env), kFailure);
    env.files[L"bad.reg"] = reg::EncodeUtf16File(
        L"Windows Registry Editor Version "
        L"5.00\r\n[HKEY_CLASSES_ROOT\\.wrl]\r\n@=\"Octaga\"\r\n@=nonsense\r\n");
    EXPECT_EQ(ctl::Run({L"restore", L"bad.reg"}, registry, env), kFailure);
    EXPECT_EQ(registry.Dump(), before) << "a file is checked whole before anything is written";
    EXPECT_NE(env.err.find(L"R:\\flux.reg"), std::wstring::npos);
}

TEST(OrbelinCtl, StatusTellsWhenAPerUserValueShadowsTheMachine) {
    auto registry = SomeMachine();
    viewer::ApplySwitch(registry, *viewer::FindByName(L"Octaga"));
    FakeEnvironment env;
    EXPECT_EQ(ctl::Run({L"status"}, registry, env), kOk);

    // Same value per user: no shadow. Another value: shadow, and Explorer's choice wins.
    registry.WriteRaw(reg::Path::Parse(L"HKCU\\Software\\Classes\\.wrl\\"),
                      reg::StringValue(L"Octaga.Octaga.wrl"));
    EXPECT_EQ(ctl::Run({L"status"}, registry, env), kOk);
    registry.WriteRaw(reg::Path::Parse(L"HKCU\\Software\\Classes\\.x3d\\"), reg::StringValue(L"X3D.World"));
    registry.WriteRaw(reg::Path::Parse(L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileEx"
                                       L"ts\\.x3d\\UserChoice\\ProgId"),
                      reg::StringValue(L"Other.Viewer"));
    registry.WriteRaw(
        reg::Path::Parse(L"HKCU\\Software\\Classes\\MIME\\Database\\Content Type\\model/x3d\\CLSID"),
        reg::StringValue(L"{USER}"));
    env.out.clear();
    EXPECT_EQ(ctl::Run({L"status"}, registry, env), kShadowed);

    const auto rows = Status(registry);
    std::map<std::wstring, StatusRow> byName;
    for (const auto& row : rows) byName[row.name] = row;
    EXPECT_EQ(rows.size(), viewer::kContentTypeCount + viewer::kExtensionCount);
    EXPECT_FALSE(byName[L".wrl"].shadowed);
    EXPECT_TRUE(byName[L".x3d"].shadowed);
    EXPECT_TRUE(byName[L".x3d"].fromUserChoice);
    EXPECT_EQ(byName[L".x3d"].user, reg::StringValue(L"Other.Viewer"));
    EXPECT_TRUE(byName[L"model/x3d"].shadowed);
    EXPECT_FALSE(byName[L"model/vrml"].shadowed);
    EXPECT_NE(env.out.find(L"Other.Viewer"), std::wstring::npos);
}

TEST(OrbelinCtl, ListMarksInstalledViewersAndTheOneInForce) {
    auto registry = SomeMachine();  // ".wrl" holds X3D.World
    FakeEnvironment env;
    env.installed[L"Octaga"] = {true, false};
    env.installed[L"BS Contact"] = {true, true};
    EXPECT_EQ(ctl::Run({L"list"}, registry, env), kOk);
    EXPECT_NE(env.out.find(L"Octaga        installé (32 bits)\n"), std::wstring::npos)
        << std::string(env.out.begin(), env.out.end());
    EXPECT_NE(env.out.find(L"BS Contact    installé (32 et 64 bits)  <- en vigueur\n"), std::wstring::npos);
    EXPECT_NE(env.out.find(L"Flux          non installé\n"), std::wstring::npos);
}

}  // namespace
}  // namespace orbelin::ctl
