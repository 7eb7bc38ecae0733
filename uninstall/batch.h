#pragma once
// The batch file that removes the uninstaller after its process has ended.
//
// A running executable cannot be deleted, so the uninstaller leaves that to a batch file
// it starts just before it ends. The batch file tries to delete the executable until the
// deletion succeeds (that is, until the process has gone), then removes the folders that
// held it and were kept for that reason, deepest first (each only if empty), and finally
// deletes itself. Its waiting is bounded: after about a minute it gives up and only
// deletes itself.
//
// The command interpreter reads a batch file in the console (OEM) code page and expands
// %...% in it: paths are written with % doubled, between double quotes (which protect
// blanks, &, ^ and parentheses), and a path with a character the code page lacks is
// written in its short 8.3 form instead.

#include <string>
#include <string_view>
#include <vector>

namespace orbelin::uninstall {

struct SelfDeletePlan {
    std::wstring executable;            // full path of the running uninstaller
    std::vector<std::wstring> folders;  // to remove once empty, deepest first
    friend bool operator==(const SelfDeletePlan&, const SelfDeletePlan&) = default;
};

// The folders from the executable's own folder up to root, deepest first, when the
// executable lies inside root; none otherwise. They are spelt as in executable.
[[nodiscard]] std::vector<std::wstring> FoldersHolding(std::wstring_view executable, std::wstring_view root);

// What the batch text needs from the console's code page.
class ConsoleCodePage {
  public:
    virtual ~ConsoleCodePage() = default;
    // True when every character of text exists in the code page.
    [[nodiscard]] virtual bool Fits(std::wstring_view text) = 0;
    // The 8.3 form of an existing path; empty when there is none.
    [[nodiscard]] virtual std::wstring ShortPath(const std::wstring& path) = 0;
};

// The plan with every path in a form the code page can carry. Throws
// Error(kErrorBadPathName) naming the path when neither form fits.
[[nodiscard]] SelfDeletePlan ForConsole(const SelfDeletePlan& plan, ConsoleCodePage& codePage);

// A path as written inside the batch file: between double quotes, % doubled.
[[nodiscard]] std::wstring BatchQuoted(std::wstring_view path);

// The batch text, lines ended by CR LF.
[[nodiscard]] std::wstring ComposeBatch(const SelfDeletePlan& plan);

}  // namespace orbelin::uninstall
