#include "uninstall/procedure.h"

#include <limits>

#include "common/error.h"
#include "common/messages.h"
#include "uninstall/deldir.h"
#include "uninstall/paths.h"
#include "uninstall/texts.h"

namespace orbelin::uninstall {
namespace {

[[noreturn]] void NotANumber(const std::wstring& text) {
    throw Error(kErrorTypeMismatch, messages::kNotANumber + text);
}

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

std::int64_t ParseWhole(const std::wstring& text) {
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;
    bool negative = false;
    if (i < end && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    if (i == end) NotANumber(text);
    std::int64_t number = 0;
    for (; i < end; ++i) {
        if (text[i] < L'0' || text[i] > L'9') NotANumber(text);
        const int digit = text[i] - L'0';
        if (number > (std::numeric_limits<std::int64_t>::max() - digit) / 10) NotANumber(text);
        number = number * 10 + digit;
    }
    return negative ? -number : number;
}

// An empty path would make every suffix a folder at the root of the current drive.
std::wstring RequireFolder(const std::wstring& path, int csidl) {
    if (!IsAbsolute(path)) throw Error(kErrorBadPathName, text::kNoSpecialFolder + std::to_wstring(csidl));
    return path;
}

class Run {
  public:
    Run(StatusDisplay& window, Platform& platform, FileSystem& fs, reg::Registry& registry)
        : window_(window), platform_(platform), fs_(fs), registry_(registry) {}

    Outcome Go() {
        if (!platform_.ClaimInstance()) {
            window_.Message(text::kOrbelinRunning, MessageKind::Warning);
            return Outcome::Refused;
        }
        window_.DisableButtons();
        window_.SetStatus(text::kStatusPaths);
        const auto programFiles =
            RequireFolder(platform_.SpecialPath(kCsidlProgramFiles), kCsidlProgramFiles);
        Progress(2);
        Progress(4);
        Progress(6);
        const auto startMenu =
            RequireFolder(platform_.SpecialPath(kCsidlCommonStartMenu), kCsidlCommonStartMenu);
        Progress(8);

        window_.SetStatus(text::kStatusRegistryRead);
        const auto counterPath = reg::Path::Parse(kCounterPath);
        const reg::Value counter = registry_.Read(counterPath);
        Progress(10);
        const std::int64_t installed = CounterValue(counter);
        const bool last = installed == 1;

        const auto exe = platform_.RunningExecutable();
        const auto removedRoot = Join(programFiles, last ? kMakerFolder : kOrbelinFolder);
        const auto batch = ComposeBatch(ForConsole({exe, FoldersHolding(exe, removedRoot)}, platform_));

        if (last) {
            window_.SetStatus(text::kStatusApplication);
            DelDir(fs_, removedRoot, exe);
            Progress(40);
            window_.SetStatus(text::kStatusShortcuts);
            DelDir(fs_, Join(startMenu, kMakerFolder), exe);
            Progress(80);
            window_.SetStatus(text::kStatusRegistryDelete);
            registry_.Delete(reg::Path::Parse(kMakerKeyPath));  // with the App key below it
            RemoveInstalledEntry();
            Progress(90);
        } else {
            window_.SetStatus(text::kStatusApplication);
            DelDir(fs_, removedRoot, exe);
            Progress(35);
            Progress(60);
            window_.SetStatus(text::kStatusShortcuts);
            fs_.RemoveFile(Join(startMenu, kOrbelinShortcut));
            fs_.RemoveFile(Join(startMenu, kUninstallShortcut));
            Progress(85);
            window_.SetStatus(text::kStatusRegistryDelete);
            Progress(90);
            if (installed == std::numeric_limits<std::int64_t>::min()) NotANumber(std::to_wstring(installed));
            registry_.Write(counterPath, reg::Value(installed - 1));  // stored as text
            RemoveInstalledEntry();
            Progress(95);
        }

        platform_.WriteBatch(batch);
        window_.SetStatus(text::kStatusDone);
        Progress(100);
        window_.Message(text::kDoneBox, MessageKind::Plain);
        platform_.StartBatch();
        return Outcome::Completed;
    }

  private:
    void Progress(int value) { window_.SetProgress(value, PercentText(value)); }

    // Left behind, it would list Orbelin as installed, with an uninstall command that is gone.
    void RemoveInstalledEntry() {
        const auto entry = reg::Path::Parse(kInstalledEntryPath);
        if (registry_.KeyExists(entry.root, entry.key)) registry_.Delete(entry);
    }

    StatusDisplay& window_;
    Platform& platform_;
    FileSystem& fs_;
    reg::Registry& registry_;
};

}  // namespace

std::wstring PercentText(int value) { return std::to_wstring(value) + text::kPercentSign; }

std::int64_t CounterValue(const reg::Value& counter) {
    if (const auto* number = std::get_if<std::int64_t>(&counter)) return *number;
    return ParseWhole(std::get<std::wstring>(counter));
}

Outcome RunUninstall(StatusDisplay& window, Platform& platform, FileSystem& fs, reg::Registry& registry) {
    return Run(window, platform, fs, registry).Go();
}

}  // namespace orbelin::uninstall
