#pragma once
// The registry service on Windows. It calls the registry API directly rather than going
// through the scripting host's WScript.Shell object: the host is often disabled by policy,
// and starting a COM server for a handful of values costs more than the values themselves.
// Paths and behaviour are the same: a default-value path ends in a backslash, writes create
// missing keys, a deleted key goes with its subkeys.

#include "scripthost/registry.h"

namespace orbelin::reg {

class Win32Registry : public Registry {
  public:
    std::optional<RawValue> ReadRaw(const Path& path) override;
    void WriteRaw(const Path& path, const RawValue& value) override;
    void DeleteValue(const Path& path) override;
    void DeleteKey(Root root, std::wstring_view key) override;
    bool KeyExists(Root root, std::wstring_view key) override;
    Prior Exchange(const Path& path, const RawValue& value) override;
};

}  // namespace orbelin::reg
