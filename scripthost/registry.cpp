#include "scripthost/registry.h"

#include <array>
#include <cwctype>
#include <type_traits>

#include "common/error.h"
#include "common/messages.h"

namespace orbelin::reg {
namespace {

struct RootEntry {
    std::wstring_view longName;
    std::wstring_view shortName;
    Root root;
};

constexpr std::array<RootEntry, 3> kRoots{{
    {L"HKEY_CLASSES_ROOT", L"HKCR", Root::ClassesRoot},
    {L"HKEY_CURRENT_USER", L"HKCU", Root::CurrentUser},
    {L"HKEY_LOCAL_MACHINE", L"HKLM", Root::LocalMachine},
}};

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    }
    return true;
}

[[noreturn]] void BadPath(std::wstring_view text) {
    throw Error(kErrorBadPathName, messages::kBadRegistryPath + std::wstring(text));
}

}  // namespace

std::wstring_view RootName(Root root) {
    for (const auto& r : kRoots) {
        if (r.root == root) return r.longName;
    }
    return {};
}

Path Path::Parse(std::wstring_view text) {
    const auto firstSep = text.find(L'\\');
    if (firstSep == std::wstring_view::npos) BadPath(text);
    const auto rootText = text.substr(0, firstSep);
    const RootEntry* found = nullptr;
    for (const auto& r : kRoots) {
        if (EqualsNoCase(rootText, r.longName) || EqualsNoCase(rootText, r.shortName)) found = &r;
    }
    if (found == nullptr) throw Error(kErrorBadPathName, messages::kUnknownRoot + std::wstring(text));

    Path path;
    path.root = found->root;
    auto rest = text.substr(firstSep + 1);
    const bool isDefault = !rest.empty() && rest.back() == L'\\';
    if (isDefault) {
        rest.remove_suffix(1);
    } else {
        const auto lastSep = rest.rfind(L'\\');
        if (lastSep == std::wstring_view::npos) BadPath(text);  // a value needs a key
        path.valueName = rest.substr(lastSep + 1);
        rest = rest.substr(0, lastSep);
    }
    if (rest.empty() || rest.front() == L'\\' || rest.back() == L'\\' ||
        rest.find(L"\\\\") != std::wstring_view::npos) {
        BadPath(text);
    }
    path.key = rest;
    return path;
}

std::wstring Path::Text() const {
    std::wstring text(RootName(root));
    text += L'\\';
    text += key;
    text += L'\\';
    text += valueName;
    return text;
}

RawValue StringValue(std::wstring_view text) {
    RawValue raw{kRegSz, {}};
    raw.data.reserve((text.size() + 1) * 2);
    auto put = [&raw](std::uint32_t unit) {
        raw.data.push_back(static_cast<std::uint8_t>(unit & 0xFFu));
        raw.data.push_back(static_cast<std::uint8_t>((unit >> 8) & 0xFFu));
    };
    for (const wchar_t ch : text) {
        // wchar_t is unsigned 16 bits on Windows, signed 32 bits elsewhere.
        const auto code = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(ch));
        if (code > 0xFFFFu) {  // only where wchar_t is 32 bits wide
            put(0xD800u + ((code - 0x10000u) >> 10));
            put(0xDC00u + ((code - 0x10000u) & 0x3FFu));
        } else {
            put(code);
        }
    }
    put(0);
    return raw;
}

RawValue DwordValue(std::uint32_t number) {
    return RawValue{kRegDword,
                    {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                     static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

Value ToValue(const RawValue& raw, const Path& where) {
    switch (raw.type) {
        case kRegSz:
        case kRegExpandSz: {
            std::wstring text;
            for (std::size_t i = 0; i + 1 < raw.data.size(); i += 2) {
                const auto unit = static_cast<wchar_t>(raw.data[i] | (raw.data[i + 1] << 8));
                if (unit == L'\0') break;  // the stored terminator, or garbage after it
                text += unit;
            }
            return text;
        }
        case kRegDword:
        case kRegQword: {
            const std::size_t width = raw.type == kRegDword ? 4 : 8;
            if (raw.data.size() != width) break;
            std::uint64_t number = 0;
            for (std::size_t i = width; i-- > 0;) number = (number << 8) | raw.data[i];
            return static_cast<std::int64_t>(number);
        }
        default:
            break;
    }
    throw Error(kErrorTypeMismatch, messages::kRegistryWrongType + where.Text());
}

Value Registry::Read(const Path& path) {
    auto raw = ReadRaw(path);
    if (!raw) throw Error(kErrorFileNotFound, messages::kRegistryNotFound + path.Text());
    return ToValue(*raw, path);
}

void Registry::Write(const Path& path, const Value& value) {
    if (const auto* text = std::get_if<std::wstring>(&value)) {
        WriteRaw(path, StringValue(*text));
    } else {
        WriteRaw(path, StringValue(std::to_wstring(std::get<std::int64_t>(value))));
    }
}

void Registry::Delete(const Path& path) {
    if (!path.IsDefaultValue()) {
        if (!ReadRaw(path)) throw Error(kErrorFileNotFound, messages::kRegistryNotFound + path.Text());
        DeleteValue(path);
        return;
    }
    if (!KeyExists(path.root, path.key)) {
        throw Error(kErrorFileNotFound, messages::kRegistryNotFound + path.Text());
    }
    DeleteKey(path.root, path.key);
}

Prior Registry::Peek(const Path& path) {
    Prior prior;
    if (KeyExists(path.root, path.key)) {
        prior.value = ReadRaw(path);
        return prior;
    }
    std::size_t end = 0;
    do {
        end = path.key.find(L'\\', end + 1);
        const auto prefix = path.key.substr(0, end);
        if (!KeyExists(path.root, prefix)) {
            prior.createdKey = prefix;
            break;
        }
    } while (end != std::wstring::npos);
    return prior;
}

Prior Registry::Exchange(const Path& path, const RawValue& value) {
    Prior prior = Peek(path);
    WriteRaw(path, value);
    return prior;
}

}  // namespace orbelin::reg
