#include "scripthost/memory_registry.h"

#include <cwctype>

#include "common/error.h"
#include "common/messages.h"

namespace orbelin::reg {
namespace {

std::wstring Lower(std::wstring_view text) {
    std::wstring out(text);
    for (auto& ch : out) ch = static_cast<wchar_t>(std::towlower(ch));
    return out;
}

}  // namespace

std::wstring MemoryRegistry::Canonical(Root root, std::wstring_view key) {
    if (root == Root::ClassesRoot)
        return Lower(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\" + std::wstring(key));
    return Lower(std::wstring(RootName(root)) + L"\\" + std::wstring(key));
}

std::optional<RawValue> MemoryRegistry::ReadRaw(const Path& path) {
    const auto key = keys_.find(Canonical(path.root, path.key));
    if (key == keys_.end()) return std::nullopt;
    const auto value = key->second.values.find(Lower(path.valueName));
    if (value == key->second.values.end()) return std::nullopt;
    return value->second;
}

void MemoryRegistry::WriteRaw(const Path& path, const RawValue& value) {
    if (failAt_ > 0 && ++writesSeen_ == failAt_) {
        throw Error(kErrorAccessDenied, messages::kRegistryAccessDenied + path.Text());
    }
    // Create the key and every missing parent, as the platform does.
    const auto canonical = Canonical(path.root, path.key);
    const auto rootEnd = canonical.find(L'\\');
    for (std::size_t sep = canonical.find(L'\\', rootEnd + 1); sep != std::wstring::npos;
         sep = canonical.find(L'\\', sep + 1)) {
        keys_.try_emplace(canonical.substr(0, sep));
    }
    keys_[canonical].values[Lower(path.valueName)] = value;
    writes_.push_back({path.Text(), value});
}

void MemoryRegistry::DeleteValue(const Path& path) {
    const auto key = keys_.find(Canonical(path.root, path.key));
    if (key != keys_.end()) key->second.values.erase(Lower(path.valueName));
}

void MemoryRegistry::DeleteKey(Root root, std::wstring_view key) {
    const auto canonical = Canonical(root, key);
    const auto prefix = canonical + L"\\";
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->first == canonical || it->first.starts_with(prefix)) {
            it = keys_.erase(it);
        } else {
            ++it;
        }
    }
}

bool MemoryRegistry::KeyExists(Root root, std::wstring_view key) {
    return keys_.contains(Canonical(root, key));
}

std::map<std::wstring, RawValue> MemoryRegistry::Dump() const {
    std::map<std::wstring, RawValue> out;
    for (const auto& [name, key] : keys_) {
        for (const auto& [valueName, value] : key.values) {
            std::wstring entry = name;
            entry.append(L"\\[").append(valueName).append(L"]");
            out[entry] = value;
        }
    }
    return out;
}

std::vector<std::wstring> MemoryRegistry::KeyNames() const {
    std::vector<std::wstring> out;
    for (const auto& entry : keys_) out.push_back(entry.first);
    return out;
}

}  // namespace orbelin::reg
