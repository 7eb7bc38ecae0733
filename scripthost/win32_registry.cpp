#include "scripthost/win32_registry.h"

#include <windows.h>

#include "common/error.h"
#include "common/messages.h"
#include "common/win32/error_report.h"
#include "common/win32/handles.h"

namespace orbelin::reg {
namespace {

HKEY RootKey(Root root) {
    switch (root) {
        case Root::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case Root::CurrentUser:
            return HKEY_CURRENT_USER;
        case Root::LocalMachine:
            break;
    }
    return HKEY_LOCAL_MACHINE;
}

std::wstring KeyText(Root root, std::wstring_view key) {
    return std::wstring(RootName(root)).append(L"\\").append(key).append(L"\\");
}

[[noreturn]] void Fail(LSTATUS status, const std::wstring& where) {
    throw win::Win32Error(static_cast<DWORD>(status), where);
}

// Opens an existing key; empty when it does not exist.
win::UniqueKey OpenKey(Root root, std::wstring_view key, REGSAM access) {
    HKEY handle = nullptr;
    const std::wstring name(key);
    const LSTATUS status = ::RegOpenKeyExW(RootKey(root), name.c_str(), 0, access, &handle);
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS) Fail(status, KeyText(root, key));
    return win::UniqueKey(handle);
}

win::UniqueKey CreateKey(Root root, std::wstring_view key) {
    HKEY handle = nullptr;
    const std::wstring name(key);
    const LSTATUS status = ::RegCreateKeyExW(RootKey(root), name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (status != ERROR_SUCCESS) Fail(status, KeyText(root, key));
    return win::UniqueKey(handle);
}

std::optional<RawValue> QueryValue(HKEY key, const Path& path) {
    const wchar_t* name = path.valueName.empty() ? nullptr : path.valueName.c_str();
    RawValue raw;
    DWORD type = 0;
    DWORD size = 256;
    for (;;) {
        raw.data.resize(size);
        LSTATUS status = ::RegQueryValueExW(key, name, nullptr, &type, raw.data.data(), &size);
        if (status == ERROR_MORE_DATA) continue;  // size now holds what it needs
        if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
        if (status != ERROR_SUCCESS) Fail(status, path.Text());
        raw.data.resize(size);
        raw.type = type;
        return raw;
    }
}

void SetValue(HKEY key, const Path& path, const RawValue& value) {
    const wchar_t* name = path.valueName.empty() ? nullptr : path.valueName.c_str();
    const LSTATUS status =
        ::RegSetValueExW(key, name, 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
    if (status != ERROR_SUCCESS) Fail(status, path.Text());
}

}  // namespace

std::optional<RawValue> Win32Registry::ReadRaw(const Path& path) {
    const auto key = OpenKey(path.root, path.key, KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    return QueryValue(key.get(), path);
}

void Win32Registry::WriteRaw(const Path& path, const RawValue& value) {
    const auto key = CreateKey(path.root, path.key);
    SetValue(key.get(), path, value);
}

void Win32Registry::DeleteValue(const Path& path) {
    const auto key = OpenKey(path.root, path.key, KEY_SET_VALUE);
    if (!key) return;
    const wchar_t* name = path.valueName.empty() ? nullptr : path.valueName.c_str();
    const LSTATUS status = ::RegDeleteValueW(key.get(), name);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) Fail(status, path.Text());
}

void Win32Registry::DeleteKey(Root root, std::wstring_view key) {
    const std::wstring name(key);
    const LSTATUS status = ::RegDeleteTreeW(RootKey(root), name.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) Fail(status, KeyText(root, key));
}

bool Win32Registry::KeyExists(Root root, std::wstring_view key) {
    return static_cast<bool>(OpenKey(root, key, KEY_QUERY_VALUE));
}

Prior Win32Registry::Exchange(const Path& path, const RawValue& value) {
    // The common case, the key exists: one handle serves the read and the write.
    if (const auto key = OpenKey(path.root, path.key, KEY_QUERY_VALUE | KEY_SET_VALUE)) {
        Prior prior{QueryValue(key.get(), path), std::nullopt};
        SetValue(key.get(), path, value);
        return prior;
    }
    return Registry::Exchange(path, value);
}

}  // namespace orbelin::reg
