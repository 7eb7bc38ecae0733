#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/error.h"
#include "uninstall/batch.h"

namespace orbelin::uninstall {
namespace {

using Lines = std::vector<std::wstring>;

Lines SplitCrLf(const std::wstring& text) {
    Lines lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    EXPECT_EQ(text.find_first_of(L"\r\n", start), std::wstring::npos);
    return lines;
}

TEST(Batch, WaitsForTheExecutableThenRemovesItsFoldersThenItself) {
    const SelfDeletePlan plan{L"C:\\Program Files\\Vantrel\\Orbelin\\Uninstall.exe",
                              {L"C:\\Program Files\\Vantrel\\Orbelin", L"C:\\Program Files\\Vantrel"}};
    const Lines expected = {
        L"@echo off",
        L"setlocal DisableDelayedExpansion",
        L"set tries=0",
        L":wait",
        L"if exist \"C:\\Program Files\\Vantrel\\Orbelin\\Uninstall.exe\" del "
        L"\"C:\\Program Files\\Vantrel\\Orbelin\\Uninstall.exe\" >nul 2>&1",
        L"if exist \"C:\\Program Files\\Vantrel\\Orbelin\\Uninstall.exe\" goto later",
        L"rd \"C:\\Program Files\\Vantrel\\Orbelin\" >nul 2>&1",
        L"rd \"C:\\Program Files\\Vantrel\" >nul 2>&1",
        L"if exist \"C:\\Program Files\\Vantrel\\Orbelin\\\" goto later",
        L"goto end",
        L":later",
        L"set /a tries+=1",
        L"if %tries% geq 60 goto end",
        L"ping -n 2 127.0.0.1 >nul",
        L"goto wait",
        L":end",
        L"del \"%~f0\"",
    };
    EXPECT_EQ(SplitCrLf(ComposeBatch(plan)), expected);
}

TEST(Batch, WithoutFoldersOnlyTheExecutableGoes) {
    const auto lines = SplitCrLf(ComposeBatch({L"D:\\Tools\\Uninstall.exe", {}}));
    for (const auto& line : lines) {
        EXPECT_FALSE(line.starts_with(L"rd ")) << line;
        EXPECT_EQ(line.find(L"D:\\Tools\\\""), std::wstring::npos) << line;
    }
    EXPECT_EQ(std::count(lines.begin(), lines.end(), L"if exist \"D:\\Tools\\Uninstall.exe\" goto later"), 1);
}

// Between double quotes the interpreter takes blanks, &, ^, ! (delayed expansion is off)
// and parentheses literally; only % has to be doubled.
TEST(Batch, QuotesAwkwardPaths) {
    const struct {
        std::wstring path, written;
    } cases[] = {
        {L"C:\\Program Files (x86)\\a b", L"\"C:\\Program Files (x86)\\a b\""},
        {L"C:\\100%\\x", L"\"C:\\100%%\\x\""},
        {L"C:\\%PATH%\\%1\\%~f0", L"\"C:\\%%PATH%%\\%%1\\%%~f0\""},
        {L"C:\\a&b^c!d\\Uninstall.exe", L"\"C:\\a&b^c!d\\Uninstall.exe\""},
        {L"C:\\Programmes\\Vantrel\\Désinstaller.exe", L"\"C:\\Programmes\\Vantrel\\Désinstaller.exe\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BatchQuoted(c.path), c.written);
        const auto batch = ComposeBatch({c.path + L"\\u.exe", {c.path}});
        const auto exe = BatchQuoted(c.path + L"\\u.exe");
        EXPECT_NE(batch.find(L"if exist " + exe + L" del " + exe + L" >nul 2>&1\r\n"), std::wstring::npos)
            << batch;
        EXPECT_NE(batch.find(L"rd " + c.written + L" >nul 2>&1\r\n"), std::wstring::npos) << batch;
    }
}

TEST(Batch, FoldersHoldingTheExecutable) {
    const struct {
        const wchar_t* exe;
        const wchar_t* root;
        std::vector<std::wstring> folders;
    } cases[] = {
        {L"C:\\P\\Vantrel\\Orbelin\\Uninstall.exe",
         L"C:\\P\\Vantrel",
         {L"C:\\P\\Vantrel\\Orbelin", L"C:\\P\\Vantrel"}},
        {L"C:\\P\\Vantrel\\Orbelin\\Uninstall.exe", L"C:\\P\\Vantrel\\Orbelin", {L"C:\\P\\Vantrel\\Orbelin"}},
        {L"C:\\P\\Vantrel\\Orbelin\\bin\\x\\Uninstall.exe",
         L"C:\\P\\Vantrel\\Orbelin",
         {L"C:\\P\\Vantrel\\Orbelin\\bin\\x", L"C:\\P\\Vantrel\\Orbelin\\bin", L"C:\\P\\Vantrel\\Orbelin"}},
        // Spelt as the executable's path spells them.
        {L"c:\\p\\VANTREL\\Orbelin\\u.exe",
         L"C:\\P\\Vantrel",
         {L"c:\\p\\VANTREL\\Orbelin", L"c:\\p\\VANTREL"}},
        {L"C:\\Users\\me\\Desktop\\Uninstall.exe", L"C:\\P\\Vantrel\\Orbelin", {}},
        {L"C:\\P\\Vantrel\\Orbelin2\\Uninstall.exe", L"C:\\P\\Vantrel\\Orbelin", {}},
        {L"C:\\P\\Vantrel\\Orbelin", L"C:\\P\\Vantrel\\Orbelin", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(FoldersHolding(c.exe, c.root), c.folders) << c.exe;
}

// A code page with the first 256 characters only, and 8.3 names for some paths.
class Latin1CodePage : public ConsoleCodePage {
  public:
    bool Fits(std::wstring_view text) override {
        return std::all_of(text.begin(), text.end(), [](wchar_t ch) { return ch < 0x100; });
    }
    std::wstring ShortPath(const std::wstring& path) override {
        const auto it = shortPaths.find(path);
        return it == shortPaths.end() ? std::wstring() : it->second;
    }
    std::map<std::wstring, std::wstring> shortPaths;
};

TEST(Batch, PathsTheCodePageLacksAreWrittenInShortForm) {
    Latin1CodePage codePage;
    codePage.shortPaths = {{L"C:\\P\\Жук\\u.exe", L"C:\\P\\8F3A~1\\u.exe"},
                           {L"C:\\P\\Жук", L"C:\\P\\8F3A~1"}};
    const SelfDeletePlan plan{L"C:\\P\\Жук\\u.exe", {L"C:\\P\\Жук", L"C:\\P"}};
    const SelfDeletePlan expected{L"C:\\P\\8F3A~1\\u.exe", {L"C:\\P\\8F3A~1", L"C:\\P"}};
    EXPECT_EQ(ForConsole(plan, codePage), expected);

    const SelfDeletePlan fits{L"C:\\Désinstaller\\u.exe", {L"C:\\Désinstaller"}};
    EXPECT_EQ(ForConsole(fits, codePage), fits);
}

TEST(Batch, PathWithNoFormTheCodePageCarriesIsAnError) {
    Latin1CodePage codePage;
    codePage.shortPaths = {{L"C:\\日本\\u.exe", L"C:\\日本~1\\u.exe"}};  // short names off, or not fitting
    for (const auto& plan :
         {SelfDeletePlan{L"C:\\日本\\u.exe", {}}, SelfDeletePlan{L"C:\\x\\u.exe", {L"C:\\Жук"}}}) {
        try {
            (void)ForConsole(plan, codePage);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.Number(), kErrorBadPathName);
            EXPECT_NE(error.Description().find(plan.folders.empty() ? plan.executable : plan.folders[0]),
                      std::wstring::npos);
        }
    }
}

}  // namespace
}  // namespace orbelin::uninstall
