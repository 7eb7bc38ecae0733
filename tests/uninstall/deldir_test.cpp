#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "common/error.h"
#include "tests/uninstall/fake_file_system.h"
#include "uninstall/deldir.h"

namespace orbelin::uninstall {
namespace {

using testing::FakeFileSystem;
using Lines = std::vector<std::wstring>;

struct Item {
    enum Kind { File, Folder, Link } kind;
    std::wstring path;
    std::uint32_t attributes = 0;
    std::wstring target = {};
};

void Build(FakeFileSystem& fs, const std::vector<Item>& items) {
    for (const auto& item : items) {
        switch (item.kind) {
            case Item::File:
                fs.AddFile(item.path, item.attributes);
                break;
            case Item::Folder:
                fs.AddFolder(item.path, item.attributes);
                break;
            case Item::Link:
                fs.AddLink(item.path, item.target);
                break;
        }
    }
}

struct TreeCase {
    const char* name;
    std::vector<Item> tree;
    std::wstring keep;
    bool removed;   // what DelDir returns
    Lines log;      // every operation, in order
    Lines remains;  // what is left, in creation order
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TreeCase& c, std::ostream* out) { *out << c.name; }

class DelDirTree : public ::testing::TestWithParam<TreeCase> {};

TEST_P(DelDirTree, RemovesDepthFirstListingEachFolderOnce) {
    const auto& c = GetParam();
    FakeFileSystem fs;
    Build(fs, c.tree);
    EXPECT_EQ(DelDir(fs, L"C:\\R", c.keep), c.removed);
    EXPECT_EQ(fs.Log(), c.log);
    EXPECT_EQ(fs.Paths(), c.remains);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DelDirTree,
    ::testing::Values(
        TreeCase{"EmptyFolder", {{Item::Folder, L"C:\\R"}}, {}, true, {L"list C:\\R", L"rd C:\\R"}, {}},
        TreeCase{"FilesOnlyInListingOrder",
                 {{Item::File, L"C:\\R\\b.txt"}, {Item::File, L"C:\\R\\a.txt"}},
                 {},
                 true,
                 {L"list C:\\R", L"del C:\\R\\b.txt", L"del C:\\R\\a.txt", L"rd C:\\R"},
                 {}},
        TreeCase{"NestedFoldersDeepestFirst",
                 {{Item::File, L"C:\\R\\a"},
                  {Item::File, L"C:\\R\\S\\T\\x"},
                  {Item::File, L"C:\\R\\S\\y"},
                  {Item::File, L"C:\\R\\b"},
                  {Item::Folder, L"C:\\R\\U"}},
                 {},
                 true,
                 {L"list C:\\R", L"del C:\\R\\a", L"list C:\\R\\S", L"list C:\\R\\S\\T",
                  L"del C:\\R\\S\\T\\x", L"rd C:\\R\\S\\T", L"del C:\\R\\S\\y", L"rd C:\\R\\S",
                  L"del C:\\R\\b", L"list C:\\R\\U", L"rd C:\\R\\U", L"rd C:\\R"},
                 {}},
        // A link is removed as a link; the folder it points to, outside R, keeps its data.
        TreeCase{"LinkToFolderOutsideIsNotEntered",
                 {{Item::File, L"C:\\Outside\\data.txt"},
                  {Item::Link, L"C:\\R\\L", 0, L"C:\\Outside"},
                  {Item::File, L"C:\\R\\f"}},
                 {},
                 true,
                 {L"list C:\\R", L"rd C:\\R\\L", L"del C:\\R\\f", L"rd C:\\R"},
                 {L"C:\\Outside", L"C:\\Outside\\data.txt"}},
        // The running uninstaller stays, with the folders that hold it; all else goes.
        TreeCase{"KeptFileAndItsFolders",
                 {{Item::File, L"C:\\R\\Orbelin\\Orbelin.exe"},
                  {Item::File, L"C:\\R\\Orbelin\\Uninstall.exe"},
                  {Item::File, L"C:\\R\\Orbelin\\Sub\\y"},
                  {Item::File, L"C:\\R\\Other\\z"}},
                 L"C:\\R\\Orbelin\\Uninstall.exe",
                 false,
                 {L"list C:\\R", L"list C:\\R\\Orbelin", L"del C:\\R\\Orbelin\\Orbelin.exe",
                  L"list C:\\R\\Orbelin\\Sub", L"del C:\\R\\Orbelin\\Sub\\y", L"rd C:\\R\\Orbelin\\Sub",
                  L"list C:\\R\\Other", L"del C:\\R\\Other\\z", L"rd C:\\R\\Other"},
                 {L"C:\\R", L"C:\\R\\Orbelin", L"C:\\R\\Orbelin\\Uninstall.exe"}},
        TreeCase{"KeptFileMatchedWithoutLetterCase",
                 {{Item::File, L"C:\\R\\Uninstall.exe"}, {Item::File, L"C:\\R\\x"}},
                 L"c:\\r\\UNINSTALL.EXE",
                 false,
                 {L"list C:\\R", L"del C:\\R\\x"},
                 {L"C:\\R", L"C:\\R\\Uninstall.exe"}},
        // A file elsewhere with the same name is no reason to keep anything.
        TreeCase{"KeepOutsideChangesNothing",
                 {{Item::File, L"C:\\R\\Uninstall.exe"}, {Item::File, L"C:\\R2\\Uninstall.exe"}},
                 L"C:\\R2\\Uninstall.exe",
                 true,
                 {L"list C:\\R", L"del C:\\R\\Uninstall.exe", L"rd C:\\R"},
                 {L"C:\\R2", L"C:\\R2\\Uninstall.exe"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
    const char* name;
    std::vector<Item> tree;
    std::wstring failOn;  // an operation on this path fails as for a file in use
    std::uint32_t number;
    std::wstring named;  // the path the error names
    Lines remains;
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class DelDirFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(DelDirFailure, StopsAtTheFirstFailureKeepingWhatWasRemoved) {
    const auto& c = GetParam();
    FakeFileSystem fs;
    Build(fs, c.tree);
    if (!c.failOn.empty()) fs.FailOn(c.failOn);
    try {
        (void)DelDir(fs, L"C:\\R");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.Number(), c.number);
        EXPECT_NE(error.Description().find(c.named), std::wstring::npos) << error.Description();
    }
    EXPECT_EQ(fs.Paths(), c.remains);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DelDirFailure,
    ::testing::Values(
        // Hidden and system entries stay; the rest of their folder goes, the folder stays.
        FailureCase{"HiddenFile",
                    {{Item::File, L"C:\\R\\a"},
                     {Item::File, L"C:\\R\\h", attr::kHidden},
                     {Item::File, L"C:\\R\\S\\b"}},
                    {},
                    kErrorDirNotEmpty,
                    L"C:\\R\\h",
                    {L"C:\\R", L"C:\\R\\h"}},
        FailureCase{"SystemFolderDeepInside",
                    {{Item::Folder, L"C:\\R\\S\\sys", attr::kSystem},
                     {Item::File, L"C:\\R\\S\\sys\\x"},
                     {Item::File, L"C:\\R\\z"}},
                    {},
                    kErrorDirNotEmpty,
                    L"C:\\R\\S\\sys",
                    {L"C:\\R", L"C:\\R\\S", L"C:\\R\\S\\sys", L"C:\\R\\S\\sys\\x", L"C:\\R\\z"}},
        // What came before the read-only file is gone, what comes after stays.
        FailureCase{"ReadOnlyFileInTheMiddle",
                    {{Item::File, L"C:\\R\\A\\a1"},
                     {Item::File, L"C:\\R\\ro", attr::kReadOnly},
                     {Item::File, L"C:\\R\\z"}},
                    {},
                    kErrorAccessDenied,
                    L"C:\\R\\ro",
                    {L"C:\\R", L"C:\\R\\ro", L"C:\\R\\z"}},
        FailureCase{
            "FileInUseDeepInside",
            {{Item::File, L"C:\\R\\A\\B\\a"}, {Item::File, L"C:\\R\\A\\B\\b"}, {Item::File, L"C:\\R\\c"}},
            L"C:\\R\\A\\B\\b",
            32,
            L"C:\\R\\A\\B\\b",
            {L"C:\\R", L"C:\\R\\A", L"C:\\R\\A\\B", L"C:\\R\\A\\B\\b", L"C:\\R\\c"}},
        FailureCase{"MissingFolder", {{Item::Folder, L"C:\\Other"}}, {}, 3, L"C:\\R", {L"C:\\Other"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orbelin::uninstall
