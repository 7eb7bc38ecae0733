#include "uninstall/batch.h"

#include "common/error.h"
#include "uninstall/paths.h"
#include "uninstall/texts.h"

namespace orbelin::uninstall {
namespace {

// One try a second (ping waits one second between its two echoes), a minute at most.
constexpr int kMaxTries = 60;

std::wstring ConsoleForm(const std::wstring& path, ConsoleCodePage& codePage) {
    if (codePage.Fits(path)) return path;
    std::wstring shortForm = codePage.ShortPath(path);
    if (!shortForm.empty() && codePage.Fits(shortForm)) return shortForm;
    throw Error(kErrorBadPathName, text::kNoConsoleForm + path);
}

}  // namespace

std::vector<std::wstring> FoldersHolding(std::wstring_view executable, std::wstring_view root) {
    std::vector<std::wstring> folders;
    if (!IsInside(executable, root)) return folders;
    for (auto folder = Parent(executable); folder.size() >= root.size(); folder = Parent(folder)) {
        folders.emplace_back(folder);
    }
    return folders;
}

SelfDeletePlan ForConsole(const SelfDeletePlan& plan, ConsoleCodePage& codePage) {
    SelfDeletePlan out;
    out.executable = ConsoleForm(plan.executable, codePage);
    for (const auto& folder : plan.folders) out.folders.push_back(ConsoleForm(folder, codePage));
    return out;
}

std::wstring BatchQuoted(std::wstring_view path) {
    std::wstring quoted = L"\"";
    for (const wchar_t ch : path) {
        quoted += ch;
        if (ch == L'%') quoted += L'%';
    }
    quoted += L'"';
    return quoted;
}

std::wstring ComposeBatch(const SelfDeletePlan& plan) {
    std::wstring batch;
    const auto line = [&batch](std::wstring_view a, std::wstring_view b = {}, std::wstring_view c = {},
                               std::wstring_view d = {}) {
        batch.append(a).append(b).append(c).append(d).append(L"\r\n");
    };
    const auto exe = BatchQuoted(plan.executable);

    line(L"@echo off");
    // A machine may turn delayed expansion on for every command interpreter; then "!" in a
    // path would be read as a variable marker.
    line(L"setlocal DisableDelayedExpansion");
    line(L"set tries=0");
    line(L":wait");
    line(L"if exist ", exe, L" del ", exe + L" >nul 2>&1");
    line(L"if exist ", exe, L" goto later");
    for (const auto& folder : plan.folders) line(L"rd ", BatchQuoted(folder), L" >nul 2>&1");
    if (!plan.folders.empty()) {
        // The process's current folder may be among them, and is released only as it ends.
        line(L"if exist ", BatchQuoted(plan.folders.front() + L"\\"), L" goto later");
    }
    line(L"goto end");
    line(L":later");
    line(L"set /a tries+=1");
    line(L"if %tries% geq ", std::to_wstring(kMaxTries), L" goto end");
    line(L"ping -n 2 127.0.0.1 >nul");
    line(L"goto wait");
    line(L":end");
    line(L"del \"%~f0\"");
    return batch;
}

}  // namespace orbelin::uninstall
