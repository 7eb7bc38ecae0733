#include "ctl/ctl.h"

#include <map>

#include "common/error.h"
#include "ctl/texts.h"
#include "viewer/switch.h"

namespace orbelin::ctl {
namespace {

constexpr std::wstring_view kUserMimePrefix =
    L"HKEY_CURRENT_USER\\Software\\Classes\\MIME\\Database\\Content Type\\";
constexpr std::wstring_view kUserClassesPrefix = L"HKEY_CURRENT_USER\\Software\\Classes\\";
constexpr std::wstring_view kUserChoicePrefix =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

reg::Path P(std::wstring_view a, std::wstring_view b, std::wstring_view c) {
    return reg::Path::Parse(std::wstring(a).append(b).append(c));
}

// What a person reads for a value.
std::wstring Shown(const std::optional<reg::RawValue>& raw, const reg::Path& where) {
    if (!raw) return text::kAbsent;
    try {
        const auto value = reg::ToValue(*raw, where);
        if (const auto* s = std::get_if<std::wstring>(&value)) return s->empty() ? L"\"\"" : *s;
        return std::to_wstring(std::get<std::int64_t>(value));
    } catch (const Error&) {
        return L"(type " + std::to_wstring(raw->type) + L")";
    }
}

std::wstring Padded(std::wstring text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), L' ');
    return text;
}

int ExitCodeFor(const Error& error) {
    return error.Number() == kErrorAccessDenied ? kAccessDenied : kFailure;
}

// A file that cannot be read or written is a failure of its own (4), whatever its number:
// access denied (3) is kept for the registry.
struct FileError {
    Error error;
};

void Save(Environment& env, const std::wstring& path, const std::vector<reg::RegFileEntry>& entries) {
    const auto bytes = reg::EncodeUtf16File(reg::WriteRegFile(entries));
    try {
        env.WriteFile(path, bytes);
    } catch (const Error& error) {
        throw FileError{error};
    }
}

std::vector<std::uint8_t> Load(Environment& env, const std::wstring& path) {
    try {
        return env.ReadFile(path);
    } catch (const Error& error) {
        throw FileError{error};
    }
}

void Report(Environment& env, const Error& error) {
    env.Err(std::wstring(text::kErrorPrefix) + std::to_wstring(error.Number()) + L" : " +
            error.Description() + L"\n");
}

const viewer::Viewer* ViewerArgument(const std::wstring& name, Environment& env) {
    const auto* found = viewer::FindByName(name);
    if (found == nullptr) env.Err(std::wstring(text::kUnknownViewer) + name + L"\n" + text::kUsage);
    return found;
}

int List(reg::Registry& registry, Environment& env) {
    const viewer::Viewer* inForce = viewer::DetectViewer(registry);
    for (const auto& v : viewer::kViewers) {
        const auto installed = env.IsInstalled(v);
        const wchar_t* state = installed.view32 && installed.view64 ? text::kInstalledBoth
                               : installed.view32                   ? text::kInstalled32
                               : installed.view64                   ? text::kInstalled64
                                                                    : text::kNotInstalled;
        env.Out(Padded(std::wstring(v.displayName), 14) + state + (&v == inForce ? text::kInForce : L"") +
                L"\n");
    }
    return kOk;
}

int PrintStatus(reg::Registry& registry, Environment& env) {
    env.Out(Padded(text::kColumnName, 20) + Padded(text::kColumnMachine, 42) + Padded(text::kColumnUser, 42) +
            text::kColumnEffective + L"\n");
    bool anyShadowed = false;
    const auto where = reg::Path::Parse(viewer::kDetectPath);
    for (const auto& row : Status(registry)) {
        std::wstring line = Padded(row.name, 20) + Padded(Shown(row.machine, where), 42);
        std::wstring user = row.user
                                ? Shown(row.user, where) + L" (" +
                                      (row.fromUserChoice ? text::kUserChoice : text::kUserClasses) + L")"
                                : std::wstring(L"-");
        line += Padded(user, 42);
        line += row.user ? Shown(row.user, where) : Shown(row.machine, where);
        if (row.shadowed) line += text::kShadowed;
        env.Out(line + L"\n");
        anyShadowed |= row.shadowed;
    }
    if (anyShadowed) env.Out(text::kShadowedSummary);
    return anyShadowed ? kShadowed : kOk;
}

}  // namespace

std::vector<reg::RegFileEntry> ExportEntries(const viewer::Viewer& viewer) {
    std::vector<reg::RegFileEntry> entries;
    for (const auto& write : viewer::PlanSwitch(viewer)) {
        entries.push_back(
            {reg::RegFileEntry::Kind::SetValue, reg::Path::Parse(write.path), reg::StringValue(write.value)});
    }
    return entries;
}

std::vector<reg::RegFileEntry> BackupEntries(reg::Registry& registry) {
    // The paths are the same for every viewer; only CosmoPlayer orders its MIME writes
    // differently, which does not matter for distinct keys.
    const auto plan = viewer::PlanSwitch(viewer::kViewers.front());
    std::vector<reg::RegFileEntry> entries;
    for (std::size_t i = plan.size(); i-- > 0;) {
        const auto path = reg::Path::Parse(plan[i].path);
        const reg::Prior prior = registry.Peek(path);
        if (prior.createdKey) {
            reg::Path key = path;
            key.key = *prior.createdKey;
            key.valueName.clear();
            entries.push_back({reg::RegFileEntry::Kind::DeleteKey, key, {}});
        } else if (prior.value) {
            entries.push_back({reg::RegFileEntry::Kind::SetValue, path, *prior.value});
        } else {
            entries.push_back({reg::RegFileEntry::Kind::DeleteValue, path, {}});
        }
    }
    return entries;
}

std::vector<StatusRow> Status(reg::Registry& registry) {
    std::vector<StatusRow> rows;
    const auto finish = [&](StatusRow row) {
        row.shadowed = row.user.has_value() && row.user != row.machine;
        rows.push_back(std::move(row));
    };
    for (const auto& type : viewer::kContentTypes) {
        StatusRow row;
        row.name = type.name;
        row.machine = registry.ReadRaw(P(viewer::kMimeKeyPrefix, type.name, viewer::kMimeValueSuffix));
        row.user = registry.ReadRaw(P(kUserMimePrefix, type.name, viewer::kMimeValueSuffix));
        finish(std::move(row));
    }
    for (const auto extension : viewer::kExtensions) {
        StatusRow row;
        row.name = extension;
        row.machine = registry.ReadRaw(P(viewer::kMachineClassesPrefix, extension, L"\\"));
        row.user = registry.ReadRaw(P(kUserChoicePrefix, extension, L"\\UserChoice\\ProgId"));
        row.fromUserChoice = row.user.has_value();
        if (!row.user) row.user = registry.ReadRaw(P(kUserClassesPrefix, extension, L"\\"));
        finish(std::move(row));
    }
    return rows;
}

int Run(const std::vector<std::wstring>& args, reg::Registry& registry, Environment& env) {
    static const std::map<std::wstring, std::size_t> kArity = {
        {L"list", 0}, {L"status", 0}, {L"set", 1}, {L"export", 2}, {L"backup", 1}, {L"restore", 1},
    };
    if (args.empty()) {
        env.Err(text::kUsage);
        return kUsage;
    }
    const auto command = kArity.find(args[0]);
    if (command == kArity.end()) {
        env.Err(std::wstring(text::kUnknownCommand) + args[0] + L"\n" + text::kUsage);
        return kUsage;
    }
    if (args.size() != command->second + 1) {
        env.Err(std::wstring(text::kWrongArguments) + args[0] + L"\n" + text::kUsage);
        return kUsage;
    }
    try {
        const std::wstring& verb = args[0];
        if (verb == L"list") return List(registry, env);
        if (verb == L"status") return PrintStatus(registry, env);
        if (verb == L"set" || verb == L"export") {
            const auto* viewer = ViewerArgument(args[1], env);
            if (viewer == nullptr) return kUsage;
            if (verb == L"set") {
                viewer::ApplySwitch(registry, *viewer);
                env.Out(std::wstring(text::kSetDone) + std::wstring(viewer->displayName) + L"\n");
            } else {
                Save(env, args[2], ExportEntries(*viewer));
                env.Out(std::wstring(text::kExportDone) + args[2] + L"\n");
            }
            return kOk;
        }
        if (verb == L"backup") {
            Save(env, args[1], BackupEntries(registry));
            env.Out(std::wstring(text::kBackupDone) + args[1] + L"\n");
            return kOk;
        }
        // restore: the whole file is read and checked before anything is written.
        const auto entries = reg::ParseRegFile(reg::DecodeUtf16File(Load(env, args[1])));
        reg::ApplyRegFile(registry, entries);
        env.Out(std::wstring(text::kRestoreDone) + args[1] + L"\n");
        return kOk;
    } catch (const FileError& failure) {
        Report(env, failure.error);
        return kFailure;
    } catch (const Error& error) {
        Report(env, error);
        return ExitCodeFor(error);
    }
}

}  // namespace orbelin::ctl
