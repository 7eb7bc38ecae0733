#pragma once
// The registry service: keys and values addressed by a textual path such as
// "HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.wrl\" (a trailing backslash names the key's
// default value) or "...\Content Type\model/x3d+xml\CLSID" (a named value). Only the
// backslash separates components: "model/x3d+xml" is one key name.
//
// Read, Write and Delete are the operations both programs use. The raw layer below them
// (exact value types and bytes, key existence) lets a caller put back precisely what it
// replaced. Every failure is an orbelin::Error whose description names the path.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orbelin::reg {

enum class Root { ClassesRoot, CurrentUser, LocalMachine };

struct Path {
    Root root = Root::LocalMachine;
    std::wstring key;        // below the root, components joined by single backslashes
    std::wstring valueName;  // empty: the key's default value

    // Throws Error(kErrorBadPathName) for an unknown root, an empty component or a
    // path that names no key.
    static Path Parse(std::wstring_view text);
    [[nodiscard]] bool IsDefaultValue() const { return valueName.empty(); }
    [[nodiscard]] std::wstring Text() const;
    friend bool operator==(const Path&, const Path&) = default;
};

[[nodiscard]] std::wstring_view RootName(Root root);

// Value types as the platform numbers them.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

struct RawValue {
    std::uint32_t type = kRegSz;
    std::vector<std::uint8_t> data;
    friend bool operator==(const RawValue&, const RawValue&) = default;
};

// What a value read through the service is: text for string values, a number for
// numeric ones.
using Value = std::variant<std::wstring, std::int64_t>;

[[nodiscard]] RawValue StringValue(std::wstring_view text);  // REG_SZ, UTF-16LE, NUL-terminated
[[nodiscard]] RawValue DwordValue(std::uint32_t number);
// Converts string and numeric types; throws Error(kErrorTypeMismatch) for any other type.
[[nodiscard]] Value ToValue(const RawValue& raw, const Path& where);

// What a write replaced, so that it can be put back.
struct Prior {
    std::optional<RawValue> value;           // absent: the value did not exist
    std::optional<std::wstring> createdKey;  // the topmost key the write had to create
};

class Registry {
  public:
    virtual ~Registry() = default;

    // The service's three operations.
    [[nodiscard]] Value Read(const Path& path);        // throws when absent
    void Write(const Path& path, const Value& value);  // a string value; numbers as decimal text
    void Delete(const Path& path);  // default-value path: the key with all its subkeys; else the value

    // The raw layer.
    [[nodiscard]] virtual std::optional<RawValue> ReadRaw(const Path& path) = 0;  // empty when absent
    virtual void WriteRaw(const Path& path, const RawValue& value) = 0;           // creates missing keys
    virtual void DeleteValue(const Path& path) = 0;                               // absent: no error
    virtual void DeleteKey(Root root, std::wstring_view key) = 0;  // with subkeys; absent: no error
    [[nodiscard]] virtual bool KeyExists(Root root, std::wstring_view key) = 0;

    // What a write to the path would replace: the value there now, and the topmost key the
    // write would have to create.
    [[nodiscard]] Prior Peek(const Path& path);
    // Writes and reports what was there before. The default combines the calls above;
    // an implementation may do it in fewer round trips.
    virtual Prior Exchange(const Path& path, const RawValue& value);
};

}  // namespace orbelin::reg
