#pragma once
// The uninstall run behind the "Uninstall" button, over small interfaces: the window, the
// system facilities, the file system and the registry service. Its steps, texts and
// progress values are fixed here; the Windows layer only carries them out.
//
// The install counter (default value of HKEY_LOCAL_MACHINE\SOFTWARE\Vantrel\App) counts
// the maker's programs installed. At 1, Orbelin is the last: the maker's program folder,
// Start-menu folder and registry key go. Otherwise only Orbelin's folder and its two
// shortcuts go, and the counter is stored one lower, as text. Either way Orbelin's entry in
// the list of installed programs goes too, when the setup program made one.
//
// Safety rules on top of that:
// - nothing is removed while Orbelin runs; the user is asked to quit it first;
// - a system folder that cannot be found stops the run before anything is removed (its
//   empty path would otherwise name folders at the root of the current drive);
// - a counter that is not a whole number stops the run before anything is removed;
// - the running uninstaller, and the folders that hold it, are left to the self-delete
//   batch file, which is composed before anything is removed so that a path it cannot
//   carry stops the run early too.
// The first failure is thrown; what was removed before stays removed.

#include <cstdint>
#include <string>
#include <string_view>

#include "scripthost/registry.h"
#include "uninstall/batch.h"
#include "uninstall/file_system.h"

namespace orbelin::uninstall {

// System folder numbers (CSIDL) of the Program Files folder and of the all-users Start menu.
inline constexpr int kCsidlProgramFiles = 38;
inline constexpr int kCsidlCommonStartMenu = 22;

// What the installation consists of, below those folders and in the registry.
inline constexpr wchar_t kMakerFolder[] = L"\\Vantrel";
inline constexpr wchar_t kOrbelinFolder[] = L"\\Vantrel\\Orbelin";
inline constexpr wchar_t kOrbelinShortcut[] = L"\\Vantrel\\Orbelin.lnk";
inline constexpr wchar_t kUninstallShortcut[] = L"\\Vantrel\\Uninstall\\Uninstall Orbelin.lnk";
inline constexpr wchar_t kCounterPath[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel\\App\\";
inline constexpr wchar_t kMakerKeyPath[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel\\";
// The entry of the setup program in the list of installed programs, when there is one.
inline constexpr wchar_t kInstalledEntryPath[] =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel.Orbelin\\";

enum class MessageKind { Plain, Warning };

// The uninstaller window as the run sees it.
class StatusDisplay {
  public:
    virtual ~StatusDisplay() = default;
    virtual void DisableButtons() = 0;  // "Uninstall", then "Quitter"
    virtual void SetStatus(std::wstring_view text) = 0;
    virtual void SetProgress(int value, std::wstring_view percentText) = 0;
    // A modal box with an OK button; returns when the user has closed it.
    virtual void Message(std::wstring_view text, MessageKind kind) = 0;
};

class Platform : public ConsoleCodePage {
  public:
    // Takes the object a running Orbelin holds, and keeps it for the rest of the run so that
    // Orbelin cannot start meanwhile. False when Orbelin runs.
    [[nodiscard]] virtual bool ClaimInstance() = 0;
    // The file-system path of a system folder; empty when the system cannot give one.
    [[nodiscard]] virtual std::wstring SpecialPath(int csidl) = 0;
    // Full path of the running uninstaller, in its long form.
    [[nodiscard]] virtual std::wstring RunningExecutable() = 0;
    // Writes the batch text to a new file in the temp folder, in the console code page.
    virtual void WriteBatch(const std::wstring& text) = 0;
    // Starts the written batch file, hidden, and does not wait for it.
    virtual void StartBatch() = 0;
};

enum class Outcome {
    Refused,    // Orbelin runs: nothing done, the window stays as it was
    Completed,  // everything removed, the self-delete batch started: the program ends
};

// "N%".
[[nodiscard]] std::wstring PercentText(int value);

// The counter as a number: numbers as they are, text converted when it is a whole
// number (blanks around it allowed), else Error(kErrorTypeMismatch).
[[nodiscard]] std::int64_t CounterValue(const reg::Value& counter);

Outcome RunUninstall(StatusDisplay& window, Platform& platform, FileSystem& fs, reg::Registry& registry);

}  // namespace orbelin::uninstall
