#pragma once
// A registry held in memory, for tests of the code above the service. Key and value names
// compare without letter case, and HKEY_CLASSES_ROOT is a view of
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes, as on the machines we run on. A write can be made to
// fail on purpose to exercise the callers' error paths.

#include <map>
#include <string>
#include <vector>

#include "scripthost/registry.h"

namespace orbelin::reg {

class MemoryRegistry : public Registry {
  public:
    struct LoggedWrite {
        std::wstring path;
        RawValue value;
        friend bool operator==(const LoggedWrite&, const LoggedWrite&) = default;
    };

    std::optional<RawValue> ReadRaw(const Path& path) override;
    void WriteRaw(const Path& path, const RawValue& value) override;
    void DeleteValue(const Path& path) override;
    void DeleteKey(Root root, std::wstring_view key) override;
    bool KeyExists(Root root, std::wstring_view key) override;

    // The n-th call of WriteRaw from now on (1 for the next) throws an access-denied error
    // and writes nothing; 0 turns this off.
    void FailWriteNumber(int n) {
        failAt_ = n;
        writesSeen_ = 0;
    }
    // Every successful WriteRaw, in order, with its path as text.
    [[nodiscard]] const std::vector<LoggedWrite>& Writes() const { return writes_; }
    void ClearLog() { writes_.clear(); }

    // The whole content as "ROOT\key\[name]" -> value, with canonical key names, for
    // comparing two states.
    [[nodiscard]] std::map<std::wstring, RawValue> Dump() const;
    // Keys present, including empty ones.
    [[nodiscard]] std::vector<std::wstring> KeyNames() const;

  private:
    struct Key {
        std::map<std::wstring, RawValue> values;  // by lower-case name; "" is the default value
    };
    [[nodiscard]] static std::wstring Canonical(Root root, std::wstring_view key);
    std::map<std::wstring, Key> keys_;  // by canonical lower-case path
    std::vector<LoggedWrite> writes_;
    int failAt_ = 0;
    int writesSeen_ = 0;
};

}  // namespace orbelin::reg
