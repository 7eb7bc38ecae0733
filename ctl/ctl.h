#pragma once
// OrbelinCtl: the viewer choice from the command line. Everything but console, file and
// installation look-ups is here, over interfaces, so that it is tested natively.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scripthost/reg_file.h"
#include "scripthost/registry.h"
#include "viewer/catalogue.h"

namespace orbelin::ctl {

enum ExitCode : int { kOk = 0, kUsage = 2, kAccessDenied = 3, kFailure = 4, kShadowed = 5 };

// The values a switch to the viewer writes, as registry-file entries in the same order.
[[nodiscard]] std::vector<reg::RegFileEntry> ExportEntries(const viewer::Viewer& viewer);

// What puts back the values a switch would touch as they are now: in the reverse order of
// a switch, a value that exists is written back, an absent value is deleted, a key that does
// not exist is removed.
[[nodiscard]] std::vector<reg::RegFileEntry> BackupEntries(reg::Registry& registry);

struct StatusRow {
    std::wstring name;  // content type or extension
    std::optional<reg::RawValue> machine;
    std::optional<reg::RawValue> user;  // the per-user value that wins, if any
    bool fromUserChoice = false;        // that value is Explorer's per-user choice
    bool shadowed = false;              // a per-user value differs from the machine's
};

// For each of the eleven content types and nine extensions.
[[nodiscard]] std::vector<StatusRow> Status(reg::Registry& registry);

class Environment {
  public:
    virtual ~Environment() = default;
    virtual void Out(std::wstring_view text) = 0;
    virtual void Err(std::wstring_view text) = 0;
    virtual std::vector<std::uint8_t> ReadFile(const std::wstring& path) = 0;  // throws Error
    virtual void WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) = 0;
    // Which registry views have the viewer's class registered with a server file that exists.
    struct Installed {
        bool view32 = false;
        bool view64 = false;
    };
    virtual Installed IsInstalled(const viewer::Viewer& viewer) = 0;
};

// Runs one command line (without the program name) and returns the exit code.
[[nodiscard]] int Run(const std::vector<std::wstring>& args, reg::Registry& registry, Environment& env);

}  // namespace orbelin::ctl
