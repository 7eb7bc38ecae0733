#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/error.h"
#include "scripthost/memory_registry.h"
#include "tests/uninstall/fake_file_system.h"
#include "uninstall/procedure.h"
#include "uninstall/texts.h"

namespace orbelin::uninstall {
namespace {

using testing::FakeFileSystem;
using Lines = std::vector<std::wstring>;

constexpr wchar_t kPF[] = L"C:\\Program Files";
constexpr wchar_t kSM[] = L"C:\\ProgramData\\Start Menu";
const std::wstring kExe = std::wstring(kPF) + L"\\Vantrel\\Orbelin\\Uninstall.exe";
constexpr wchar_t kArpRoot[] =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::wstring P(const wchar_t* root, const wchar_t* rest) { return std::wstring(root) + rest; }

class RecordingDisplay : public StatusDisplay {
  public:
    explicit RecordingDisplay(Lines& log) : log_(log) {}
    void DisableButtons() override { log_.push_back(L"disable"); }
    void SetStatus(std::wstring_view text) override { log_.push_back(L"status " + std::wstring(text)); }
    void SetProgress(int value, std::wstring_view percent) override {
        log_.push_back(L"progress " + std::to_wstring(value) + L" " + std::wstring(percent));
    }
    void Message(std::wstring_view text, MessageKind kind) override {
        log_.push_back((kind == MessageKind::Warning ? L"warning " : L"box ") + std::wstring(text));
    }

  private:
    Lines& log_;
};

class FakePlatform : public Platform {
  public:
    explicit FakePlatform(Lines& log) : log_(log) {}
    bool ClaimInstance() override {
        log_.push_back(L"claim");
        return !orbelinRuns;
    }
    std::wstring SpecialPath(int csidl) override { return folders[csidl]; }
    std::wstring RunningExecutable() override { return exe; }
    bool Fits(std::wstring_view text) override {
        return std::all_of(text.begin(), text.end(), [](wchar_t ch) { return ch < 0x100; });
    }
    std::wstring ShortPath(const std::wstring& path) override {
        const auto it = shortPaths.find(path);
        return it == shortPaths.end() ? std::wstring() : it->second;
    }
    void WriteBatch(const std::wstring& text) override {
        log_.push_back(L"write batch");
        batch = text;
    }
    void StartBatch() override { log_.push_back(L"start batch"); }

    bool orbelinRuns = false;
    std::map<int, std::wstring> folders{{kCsidlProgramFiles, kPF}, {kCsidlCommonStartMenu, kSM}};
    std::wstring exe = kExe;
    std::map<std::wstring, std::wstring> shortPaths;
    std::optional<std::wstring> batch;

  private:
    Lines& log_;
};

// An installation with a neighbour program of the same maker, and one of another maker
// whose names start alike.
struct World {
    World() {
        fs.AddFile(P(kPF, L"\\Vantrel\\Orbelin\\Orbelin.exe"));
        fs.AddFile(kExe);
        fs.AddFile(P(kPF, L"\\Vantrel\\Orbelin\\pictures\\logo.bmp"));
        fs.AddFile(P(kPF, L"\\Vantrel\\Other\\other.exe"));
        fs.AddFile(P(kPF, L"\\VantrelTools\\keep.txt"));
        fs.AddFile(P(kSM, L"\\Vantrel\\Orbelin.lnk"));
        fs.AddFile(P(kSM, L"\\Vantrel\\Uninstall\\Uninstall Orbelin.lnk"));
        fs.AddFile(P(kSM, L"\\Vantrel\\Other.lnk"));
        fs.AddFile(P(kSM, L"\\Vantrel\\Uninstall\\Uninstall Other.lnk"));
        registry.Write(reg::Path::Parse(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel\\Other\\Path"),
                       std::wstring(L"x"));
        registry.Write(reg::Path::Parse(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\VantrelTools\\"), std::wstring(L"y"));
        registry.Write(reg::Path::Parse(std::wstring(kInstalledEntryPath) + L"DisplayName"),
                       std::wstring(L"Orbelin"));
        registry.Write(reg::Path::Parse(std::wstring(kInstalledEntryPath) + L"UninstallString"), kExe);
        registry.Write(reg::Path::Parse(std::wstring(kArpRoot) + L"Other\\DisplayName"),
                       std::wstring(L"Other"));
    }
    [[nodiscard]] bool Listed() {
        return registry.KeyExists(reg::Root::LocalMachine, reg::Path::Parse(kInstalledEntryPath).key);
    }

    void SetCounter(const reg::RawValue& raw) { registry.WriteRaw(reg::Path::Parse(kCounterPath), raw); }

    Outcome Go() { return RunUninstall(display, platform, fs, registry); }

    [[nodiscard]] std::vector<int> ProgressValues() const {
        std::vector<int> values;
        for (const auto& line : log) {
            if (line.starts_with(L"progress ")) values.push_back(std::stoi(line.substr(9)));
        }
        return values;
    }
    [[nodiscard]] std::wstring LastStatus() const {
        for (auto it = log.rbegin(); it != log.rend(); ++it) {
            if (it->starts_with(L"status ")) return it->substr(7);
        }
        return {};
    }
    [[nodiscard]] std::optional<reg::RawValue> Counter() {
        return registry.ReadRaw(reg::Path::Parse(kCounterPath));
    }

    Lines log;
    Lines fsLog;
    RecordingDisplay display{log};
    FakePlatform platform{log};
    FakeFileSystem fs{&fsLog};
    reg::MemoryRegistry registry;
};

const std::vector<int> kLastSequence = {2, 4, 6, 8, 10, 40, 80, 90, 100};
const std::vector<int> kOtherSequence = {2, 4, 6, 8, 10, 35, 60, 85, 90, 95, 100};

TEST(UninstallRun, LastProgramRemovesTheMakersFoldersAndKey) {
    World w;
    w.SetCounter(reg::DwordValue(1));
    ASSERT_EQ(w.Go(), Outcome::Completed);

    const Lines expected = {
        L"claim",
        L"disable",
        L"status Recherche des Chemins des Dossiers...",
        L"progress 2 2%",
        L"progress 4 4%",
        L"progress 6 6%",
        L"progress 8 8%",
        L"status Lecture dans la Base de registre...",
        L"progress 10 10%",
        L"status Effacement Application...",
        L"progress 40 40%",
        L"status Effacement Raccourcis...",
        L"progress 80 80%",
        L"status Effacement Dans la Base de Registre...",
        L"progress 90 90%",
        L"write batch",
        L"status Désinstallation Terminée.",
        L"progress 100 100%",
        L"box Désinstallation Terminée...",
        L"start batch",
    };
    EXPECT_EQ(w.log, expected);
    // The running uninstaller and its folders are left to the batch file; nothing outside
    // the maker's folders is touched.
    const Lines remains = {kPF,
                           P(kPF, L"\\Vantrel"),
                           P(kPF, L"\\Vantrel\\Orbelin"),
                           kExe,
                           P(kPF, L"\\VantrelTools"),
                           P(kPF, L"\\VantrelTools\\keep.txt"),
                           L"C:\\ProgramData",
                           kSM};
    EXPECT_EQ(w.fs.Paths(), remains);
    // The maker's key goes with its App key, and Orbelin's installed-programs entry goes;
    // the other maker's key and the other entries stay.
    const std::wstring arp = L"hkey_local_machine\\software\\microsoft\\windows\\currentversion\\uninstall";
    const std::map<std::wstring, reg::RawValue> values = {
        {arp + L"\\other\\[displayname]", reg::StringValue(L"Other")},
        {L"hkey_local_machine\\software\\vantreltools\\[]", reg::StringValue(L"y")}};
    EXPECT_EQ(w.registry.Dump(), values);
    EXPECT_EQ(w.registry.KeyNames(),
              (Lines{L"hkey_local_machine\\software", L"hkey_local_machine\\software\\microsoft",
                     L"hkey_local_machine\\software\\microsoft\\windows",
                     L"hkey_local_machine\\software\\microsoft\\windows\\currentversion", arp,
                     arp + L"\\other", L"hkey_local_machine\\software\\vantreltools"}));
    EXPECT_EQ(w.platform.batch, ComposeBatch({kExe, {P(kPF, L"\\Vantrel\\Orbelin"), P(kPF, L"\\Vantrel")}}));
}

TEST(UninstallRun, OtherProgramsLeftRemovesOnlyOrbelinAndCountsOneLess) {
    World w;
    w.SetCounter(reg::StringValue(L"2"));
    ASSERT_EQ(w.Go(), Outcome::Completed);

    const Lines expected = {
        L"claim",
        L"disable",
        L"status Recherche des Chemins des Dossiers...",
        L"progress 2 2%",
        L"progress 4 4%",
        L"progress 6 6%",
        L"progress 8 8%",
        L"status Lecture dans la Base de registre...",
        L"progress 10 10%",
        L"status Effacement Application...",
        L"progress 35 35%",
        L"progress 60 60%",
        L"status Effacement Raccourcis...",
        L"progress 85 85%",
        L"status Effacement Dans la Base de Registre...",
        L"progress 90 90%",
        L"progress 95 95%",
        L"write batch",
        L"status Désinstallation Terminée.",
        L"progress 100 100%",
        L"box Désinstallation Terminée...",
        L"start batch",
    };
    EXPECT_EQ(w.log, expected);
    const Lines remains = {kPF,
                           P(kPF, L"\\Vantrel"),
                           P(kPF, L"\\Vantrel\\Orbelin"),
                           kExe,
                           P(kPF, L"\\Vantrel\\Other"),
                           P(kPF, L"\\Vantrel\\Other\\other.exe"),
                           P(kPF, L"\\VantrelTools"),
                           P(kPF, L"\\VantrelTools\\keep.txt"),
                           L"C:\\ProgramData",
                           kSM,
                           P(kSM, L"\\Vantrel"),
                           P(kSM, L"\\Vantrel\\Uninstall"),
                           P(kSM, L"\\Vantrel\\Other.lnk"),
                           P(kSM, L"\\Vantrel\\Uninstall\\Uninstall Other.lnk")};
    EXPECT_EQ(w.fs.Paths(), remains);
    EXPECT_EQ(w.Counter(), reg::StringValue(L"1"));
    EXPECT_EQ(w.registry.ReadRaw(reg::Path::Parse(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel\\Other\\Path")),
              reg::StringValue(L"x"));
    EXPECT_FALSE(w.Listed());
    EXPECT_TRUE(w.registry.KeyExists(reg::Root::LocalMachine,
                                     L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other"));
    EXPECT_EQ(w.platform.batch, ComposeBatch({kExe, {P(kPF, L"\\Vantrel\\Orbelin")}}));
}

TEST(UninstallRun, CounterIsComparedAsANumberAndStoredOneLessAsText) {
    const struct {
        const char* name;
        reg::RawValue counter;
        std::optional<std::wstring> written;  // none: the branch of the last program
    } cases[] = {
        {"dword 1", reg::DwordValue(1), std::nullopt},
        {"text 1", reg::StringValue(L"1"), std::nullopt},
        {"text 1 with blanks", reg::StringValue(L" 1 "), std::nullopt},
        {"qword 1", reg::RawValue{reg::kRegQword, {1, 0, 0, 0, 0, 0, 0, 0}}, std::nullopt},
        {"text 2", reg::StringValue(L"2"), L"1"},
        {"dword 2", reg::DwordValue(2), L"1"},
        {"text 0", reg::StringValue(L"0"), L"-1"},
        {"dword 3 becomes text", reg::DwordValue(3), L"2"},
        {"text -3", reg::StringValue(L"-3"), L"-4"},
        {"expandable text 7", reg::RawValue{reg::kRegExpandSz, reg::StringValue(L"7").data}, L"6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        w.SetCounter(c.counter);
        ASSERT_EQ(w.Go(), Outcome::Completed);
        EXPECT_FALSE(w.Listed());
        if (c.written) {
            EXPECT_EQ(w.ProgressValues(), kOtherSequence);
            EXPECT_EQ(w.Counter(), reg::StringValue(*c.written));
            EXPECT_TRUE(w.fs.Exists(P(kPF, L"\\Vantrel\\Other\\other.exe")));
        } else {
            EXPECT_EQ(w.ProgressValues(), kLastSequence);
            EXPECT_FALSE(w.registry.KeyExists(reg::Root::LocalMachine, L"SOFTWARE\\Vantrel"));
            EXPECT_FALSE(w.fs.Exists(P(kSM, L"\\Vantrel")));
        }
    }
}

struct FailureCase {
    const char* name;
    std::function<void(World&)> arrange;
    std::uint32_t number;
    int lastProgress;  // 0: none shown
    const wchar_t* lastStatus;
    bool removesNothing;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class UninstallFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(UninstallFailure, StopsWithTheErrorAndStartsNoBatch) {
    const auto& c = GetParam();
    World w;
    c.arrange(w);
    const auto pathsBefore = w.fs.Paths();
    const auto registryBefore = w.registry.Dump();
    try {
        (void)w.Go();
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Number(), c.number);
    }
    const auto progress = w.ProgressValues();
    EXPECT_EQ(progress.empty() ? 0 : progress.back(), c.lastProgress);
    EXPECT_EQ(w.LastStatus(), c.lastStatus);
    EXPECT_EQ(w.log.at(1), L"disable");
    EXPECT_FALSE(w.platform.batch.has_value());
    EXPECT_EQ(std::count(w.log.begin(), w.log.end(), L"start batch"), 0);
    if (c.removesNothing) {
        EXPECT_EQ(w.fs.Paths(), pathsBefore);
        EXPECT_EQ(w.registry.Dump(), registryBefore);
        for (const auto& op : w.fsLog)
            EXPECT_TRUE(op.starts_with(L"list ")) << std::string(op.begin(), op.end());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UninstallFailure,
    ::testing::Values(
        FailureCase{"CounterNotANumber", [](World& w) { w.SetCounter(reg::StringValue(L"abc")); },
                    kErrorTypeMismatch, 10, text::kStatusRegistryRead, true},
        FailureCase{"CounterEmptyText", [](World& w) { w.SetCounter(reg::StringValue(L"")); },
                    kErrorTypeMismatch, 10, text::kStatusRegistryRead, true},
        FailureCase{"CounterNotWhole", [](World& w) { w.SetCounter(reg::StringValue(L"1.5")); },
                    kErrorTypeMismatch, 10, text::kStatusRegistryRead, true},
        FailureCase{"CounterBinary",
                    [](World& w) {
                        w.SetCounter(reg::RawValue{reg::kRegBinary, {1}});
                    },
                    kErrorTypeMismatch, 8, text::kStatusRegistryRead, true},
        FailureCase{"CounterMissing", [](World&) {}, kErrorFileNotFound, 8, text::kStatusRegistryRead, true},
        FailureCase{"NoProgramFilesFolder",
                    [](World& w) {
                        w.SetCounter(reg::DwordValue(1));
                        w.platform.folders[kCsidlProgramFiles] = L"";
                    },
                    kErrorBadPathName, 0, text::kStatusPaths, true},
        FailureCase{"NoStartMenuFolder",
                    [](World& w) {
                        w.SetCounter(reg::DwordValue(1));
                        w.platform.folders[kCsidlCommonStartMenu] = L"";
                    },
                    kErrorBadPathName, 6, text::kStatusPaths, true},
        // The batch file could not name the uninstaller: found out before removing anything.
        FailureCase{"UninstallerPathTheConsoleCannotCarry",
                    [](World& w) {
                        w.SetCounter(reg::DwordValue(1));
                        w.platform.exe = P(kPF, L"\\Vantrel\\Orbelin\\Жук.exe");
                        w.fs.AddFile(w.platform.exe);
                    },
                    kErrorBadPathName, 10, text::kStatusRegistryRead, true},
        FailureCase{"HiddenFileInOrbelinsFolder",
                    [](World& w) {
                        w.SetCounter(reg::DwordValue(2));
                        w.fs.AddFile(P(kPF, L"\\Vantrel\\Orbelin\\desktop.ini"),
                                     attr::kHidden | attr::kSystem);
                    },
                    kErrorDirNotEmpty, 10, text::kStatusApplication, false},
        FailureCase{"ShortcutMissing",
                    [](World& w) {
                        w.SetCounter(reg::DwordValue(2));
                        w.fs.RemoveFile(P(kSM, L"\\Vantrel\\Orbelin.lnk"));
                    },
                    kErrorFileNotFound, 60, text::kStatusShortcuts, false},
        FailureCase{"CounterCannotBeWritten",
                    [](World& w) {
                        w.SetCounter(reg::DwordValue(2));
                        w.registry.FailWriteNumber(1);
                    },
                    kErrorAccessDenied, 90, text::kStatusRegistryDelete, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Installed without the setup program: there is no entry to remove, and that is fine.
TEST(UninstallRun, NoInstalledProgramsEntry) {
    for (const auto counter : {1u, 2u}) {
        World w;
        w.registry.DeleteKey(reg::Root::LocalMachine, reg::Path::Parse(kInstalledEntryPath).key);
        w.SetCounter(reg::DwordValue(counter));
        EXPECT_EQ(w.Go(), Outcome::Completed) << counter;
    }
}

TEST(UninstallRun, MissingShortcutLeavesTheCounterAsItWas) {
    World w;
    w.SetCounter(reg::DwordValue(2));
    w.fs.RemoveFile(P(kSM, L"\\Vantrel\\Uninstall\\Uninstall Orbelin.lnk"));
    EXPECT_THROW((void)w.Go(), Error);
    EXPECT_FALSE(w.fs.Exists(P(kPF, L"\\Vantrel\\Orbelin\\Orbelin.exe")));
    EXPECT_FALSE(w.fs.Exists(P(kSM, L"\\Vantrel\\Orbelin.lnk")));
    EXPECT_EQ(w.Counter(), reg::DwordValue(2));
    EXPECT_TRUE(w.Listed());
}

TEST(UninstallRun, WhileOrbelinRunsNothingIsTouched) {
    World w;
    w.SetCounter(reg::DwordValue(1));
    w.platform.orbelinRuns = true;
    const auto pathsBefore = w.fs.Paths();
    const auto registryBefore = w.registry.Dump();
    EXPECT_EQ(w.Go(), Outcome::Refused);
    EXPECT_EQ(w.log, (Lines{L"claim", std::wstring(L"warning ") + text::kOrbelinRunning}));
    EXPECT_TRUE(w.fsLog.empty());
    EXPECT_EQ(w.fs.Paths(), pathsBefore);
    EXPECT_EQ(w.registry.Dump(), registryBefore);
}

// Run from a copy elsewhere: Orbelin's folder goes whole, and the batch file has no
// folder to remove.
TEST(UninstallRun, UninstallerOutsideTheInstallation) {
    World w;
    w.SetCounter(reg::DwordValue(2));
    w.platform.exe = L"C:\\Users\\me\\Desktop\\Uninstall.exe";
    ASSERT_EQ(w.Go(), Outcome::Completed);
    EXPECT_FALSE(w.fs.Exists(P(kPF, L"\\Vantrel\\Orbelin")));
    EXPECT_TRUE(w.fs.Exists(P(kPF, L"\\Vantrel\\Other\\other.exe")));
    EXPECT_EQ(w.platform.batch, ComposeBatch({w.platform.exe, {}}));
}

// Where the console lacks a letter of the path, the batch names it by its short form.
TEST(UninstallRun, BatchUsesShortFormsWhereNeeded) {
    World w;
    const std::wstring folder = P(kPF, L"\\Vantrel\\Orbelin\\Жук");
    const std::wstring exe = folder + L"\\Uninstall.exe";
    w.fs.AddFile(exe);
    w.platform.exe = exe;
    w.platform.shortPaths = {{exe, P(kPF, L"\\Vantrel\\Orbelin\\8F3A~1\\Uninstall.exe")},
                             {folder, P(kPF, L"\\Vantrel\\Orbelin\\8F3A~1")}};
    w.SetCounter(reg::DwordValue(2));
    ASSERT_EQ(w.Go(), Outcome::Completed);
    EXPECT_TRUE(w.fs.Exists(exe));
    EXPECT_FALSE(w.fs.Exists(kExe));
    EXPECT_EQ(w.platform.batch,
              ComposeBatch({P(kPF, L"\\Vantrel\\Orbelin\\8F3A~1\\Uninstall.exe"),
                            {P(kPF, L"\\Vantrel\\Orbelin\\8F3A~1"), P(kPF, L"\\Vantrel\\Orbelin")}}));
}

}  // namespace
}  // namespace orbelin::uninstall
