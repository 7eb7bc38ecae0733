#pragma once
// Registry files in the format the platform's registry editor writes ("Windows Registry
// Editor Version 5.00", UTF-16LE with a byte-order mark): keys in brackets, a leading minus
// to delete a key, "name"=... or @=... for values, =- to delete a value. Files written here
// import with `reg import` and with any deployment tool that takes registry files.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scripthost/registry.h"

namespace orbelin::reg {

struct RegFileEntry {
    enum class Kind { SetValue, DeleteValue, DeleteKey };
    Kind kind = Kind::SetValue;
    Path path;  // for DeleteKey only root and key count
    RawValue value;
    friend bool operator==(const RegFileEntry&, const RegFileEntry&) = default;
};

// The file's text, header included, lines ending in CR LF. Consecutive entries of one key
// share its bracketed line.
[[nodiscard]] std::wstring WriteRegFile(const std::vector<RegFileEntry>& entries);

// Parses what WriteRegFile writes, and the common forms regedit writes (line continuations
// in hex data, comments, dword and hex(n) values). Throws Error(kErrorInvalidData) naming the
// line for anything else.
[[nodiscard]] std::vector<RegFileEntry> ParseRegFile(std::wstring_view text);

// Carries the entries out in file order.
void ApplyRegFile(Registry& registry, const std::vector<RegFileEntry>& entries);

// File bytes: UTF-16LE with its byte-order mark, and back (a file without the mark is
// refused).
[[nodiscard]] std::vector<std::uint8_t> EncodeUtf16File(std::wstring_view text);
[[nodiscard]] std::wstring DecodeUtf16File(const std::vector<std::uint8_t>& bytes);

}  // namespace orbelin::reg
