#include "scripthost/reg_file.h"

#include <cwctype>
#include <optional>

#include "common/error.h"
#include "common/messages.h"

namespace orbelin::reg {
namespace {

constexpr std::wstring_view kHeader = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view kNewLine = L"\r\n";

std::wstring KeyName(const Path& path) {
    return std::wstring(RootName(path.root)).append(L"\\").append(path.key);
}

void AppendQuoted(std::wstring& out, std::wstring_view text) {
    out += L'"';
    for (const wchar_t ch : text) {
        if (ch == L'\\' || ch == L'"') out += L'\\';
        out += ch;
    }
    out += L'"';
}

wchar_t HexDigit(unsigned value) {
    return static_cast<wchar_t>(value < 10 ? L'0' + value : L'a' + value - 10);
}

// A value as regedit writes it: plain text for a string that round-trips exactly, dword:
// for a 4-byte number, hex(n): bytes for everything else.
std::wstring ValueText(const RawValue& raw, const Path& where) {
    std::wstring out;
    if (raw.type == kRegSz) {
        const auto text = std::get<std::wstring>(ToValue(raw, where));
        if (StringValue(text) == raw) {
            AppendQuoted(out, text);
            return out;
        }
    }
    if (raw.type == kRegDword && raw.data.size() == 4) {
        out = L"dword:";
        for (std::size_t i = 4; i-- > 0;) {
            out += HexDigit(raw.data[i] >> 4);
            out += HexDigit(raw.data[i] & 0xFu);
        }
        return out;
    }
    if (raw.type == kRegBinary) {
        out = L"hex:";
    } else {
        std::wstring type;
        for (std::uint32_t rest = raw.type; rest != 0 || type.empty(); rest >>= 4) {
            type.insert(type.begin(), HexDigit(rest & 0xFu));
        }
        out = L"hex(" + type + L"):";
    }
    for (std::size_t i = 0; i < raw.data.size(); ++i) {
        if (i > 0) out += L',';
        out += HexDigit(raw.data[i] >> 4);
        out += HexDigit(raw.data[i] & 0xFu);
    }
    return out;
}

[[noreturn]] void BadLine(std::size_t number, std::wstring_view line) {
    throw Error(kErrorInvalidData, messages::kRegFileBadLine + std::to_wstring(number) + L" : " +
                                       std::wstring(line.substr(0, 80)));
}

int HexValue(wchar_t ch) {
    if (ch >= L'0' && ch <= L'9') return ch - L'0';
    if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
    return -1;
}

// Reads a quoted string at text[pos] (pos on the opening quote); returns the position after
// the closing quote, or npos when malformed.
std::size_t ReadQuoted(std::wstring_view text, std::size_t pos, std::wstring& out) {
    if (pos >= text.size() || text[pos] != L'"') return std::wstring_view::npos;
    for (++pos; pos < text.size(); ++pos) {
        if (text[pos] == L'\\' && pos + 1 < text.size()) {
            out += text[++pos];
        } else if (text[pos] == L'"') {
            return pos + 1;
        } else {
            out += text[pos];
        }
    }
    return std::wstring_view::npos;
}

bool ParseHexBytes(std::wstring_view text, std::vector<std::uint8_t>& out) {
    int high = -1;
    for (const wchar_t ch : text) {
        if (ch == L',' || ch == L' ' || ch == L'\t') {
            if (high >= 0) return false;
            continue;
        }
        const int digit = HexValue(ch);
        if (digit < 0) return false;
        if (high < 0) {
            high = digit;
        } else {
            out.push_back(static_cast<std::uint8_t>((high << 4) | digit));
            high = -1;
        }
    }
    return high < 0;
}

bool ParseValue(std::wstring_view text, RawValue& raw) {
    if (!text.empty() && text.front() == L'"') {
        std::wstring value;
        if (ReadQuoted(text, 0, value) != text.size()) return false;
        raw = StringValue(value);
        return true;
    }
    if (text.starts_with(L"dword:")) {
        const auto digits = text.substr(6);
        if (digits.size() != 8) return false;
        std::uint32_t number = 0;
        for (const wchar_t ch : digits) {
            const int digit = HexValue(ch);
            if (digit < 0) return false;
            number = (number << 4) | static_cast<std::uint32_t>(digit);
        }
        raw = DwordValue(number);
        return true;
    }
    std::uint32_t type = kRegBinary;
    std::size_t bytesAt = 0;
    if (text.starts_with(L"hex:")) {
        bytesAt = 4;
    } else if (text.starts_with(L"hex(")) {
        const auto close = text.find(L"):");
        if (close == std::wstring_view::npos || close == 4) return false;
        type = 0;
        for (const wchar_t ch : text.substr(4, close - 4)) {
            const int digit = HexValue(ch);
            if (digit < 0) return false;
            type = (type << 4) | static_cast<std::uint32_t>(digit);
        }
        bytesAt = close + 2;
    } else {
        return false;
    }
    raw = RawValue{type, {}};
    return ParseHexBytes(text.substr(bytesAt), raw.data);
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::wstring WriteRegFile(const std::vector<RegFileEntry>& entries) {
    std::wstring out(kHeader);
    out += kNewLine;
    std::optional<std::wstring> currentKey;  // the key whose bracketed line was written last
    for (const auto& entry : entries) {
        const std::wstring name = KeyName(entry.path);
        if (entry.kind == RegFileEntry::Kind::DeleteKey) {
            out.append(kNewLine).append(L"[-").append(name).append(L"]").append(kNewLine);
            currentKey.reset();
            continue;
        }
        if (currentKey != name) {
            currentKey = name;
            out.append(kNewLine).append(L"[").append(name).append(L"]").append(kNewLine);
        }
        if (entry.path.IsDefaultValue()) {
            out += L'@';
        } else {
            AppendQuoted(out, entry.path.valueName);
        }
        out += L'=';
        out += entry.kind == RegFileEntry::Kind::DeleteValue ? std::wstring(L"-")
                                                             : ValueText(entry.value, entry.path);
        out += kNewLine;
    }
    return out;
}

std::vector<RegFileEntry> ParseRegFile(std::wstring_view text) {
    std::vector<RegFileEntry> entries;
    std::optional<Path> key;
    std::size_t number = 0;
    bool sawHeader = false;
    std::wstring pending;  // a line continued with a trailing backslash
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const auto end = std::min(text.find(L'\n', pos), text.size());
        std::wstring_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        // Long hex data is continued on the next line after a trailing backslash.
        const bool continued = !line.empty() && line.back() == L'\\' &&
                               (!pending.empty() || line.find(L"=hex") != std::wstring_view::npos);
        if (continued) {
            pending += Trim(line.substr(0, line.size() - 1));
            continue;
        }
        std::wstring joined(line);
        if (!pending.empty()) {
            joined = pending + std::wstring(Trim(line));
            pending.clear();
        }
        const auto trimmed = Trim(joined);
        if (trimmed.empty() || trimmed.front() == L';') continue;
        if (!sawHeader) {
            if (trimmed != kHeader) throw Error(kErrorInvalidData, messages::kRegFileBadHeader);
            sawHeader = true;
            continue;
        }
        if (trimmed.front() == L'[') {
            if (trimmed.back() != L']') BadLine(number, trimmed);
            auto name = trimmed.substr(1, trimmed.size() - 2);
            const bool remove = !name.empty() && name.front() == L'-';
            if (remove) name.remove_prefix(1);
            Path path;
            try {
                path = Path::Parse(std::wstring(name) + L"\\");
            } catch (const Error&) {
                BadLine(number, trimmed);
            }
            if (remove) {
                entries.push_back({RegFileEntry::Kind::DeleteKey, path, {}});
                key.reset();
            } else {
                key = path;
            }
            continue;
        }
        if (!key) BadLine(number, trimmed);
        Path path = *key;
        std::size_t after = 0;
        if (trimmed.front() == L'@') {
            after = 1;
        } else {
            after = ReadQuoted(trimmed, 0, path.valueName);
            if (after == std::wstring_view::npos || path.valueName.empty()) BadLine(number, trimmed);
        }
        auto rest = Trim(trimmed.substr(after));
        if (rest.empty() || rest.front() != L'=') BadLine(number, trimmed);
        rest = Trim(rest.substr(1));
        if (rest == L"-") {
            entries.push_back({RegFileEntry::Kind::DeleteValue, path, {}});
            continue;
        }
        RawValue raw;
        if (!ParseValue(rest, raw)) BadLine(number, trimmed);
        entries.push_back({RegFileEntry::Kind::SetValue, path, raw});
    }
    if (!sawHeader) throw Error(kErrorInvalidData, messages::kRegFileBadHeader);
    return entries;
}

void ApplyRegFile(Registry& registry, const std::vector<RegFileEntry>& entries) {
    for (const auto& entry : entries) {
        switch (entry.kind) {
            case RegFileEntry::Kind::SetValue:
                registry.WriteRaw(entry.path, entry.value);
                break;
            case RegFileEntry::Kind::DeleteValue:
                registry.DeleteValue(entry.path);
                break;
            case RegFileEntry::Kind::DeleteKey:
                registry.DeleteKey(entry.path.root, entry.path.key);
                break;
        }
    }
}

std::vector<std::uint8_t> EncodeUtf16File(std::wstring_view text) {
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    auto body = StringValue(text).data;
    body.resize(body.size() - 2);  // no terminating NUL in a file
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

std::wstring DecodeUtf16File(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE)
        throw Error(kErrorInvalidData, messages::kRegFileNoMark);
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    return text;
}

}  // namespace orbelin::reg
