// OrbelinCtl: the viewer choice from the command line, for scripts and deployment tools.

#include <windows.h>

#include <string>
#include <vector>

#include "common/win32/error_report.h"
#include "common/win32/handles.h"
#include "ctl/ctl.h"
#include "scripthost/win32_registry.h"

namespace {

using orbelin::ctl::Environment;

class ConsoleEnvironment : public Environment {
  public:
    void Out(std::wstring_view text) override { Write(::GetStdHandle(STD_OUTPUT_HANDLE), text); }
    void Err(std::wstring_view text) override { Write(::GetStdHandle(STD_ERROR_HANDLE), text); }

    std::vector<std::uint8_t> ReadFile(const std::wstring& path) override {
        orbelin::win::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            (void)file.release();
            throw orbelin::win::LastError(path);
        }
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > (16 << 20))
            throw orbelin::win::LastError(path);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (!bytes.empty() &&
            (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
             read != bytes.size())) {
            throw orbelin::win::LastError(path);
        }
        return bytes;
    }

    void WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) override {
        orbelin::win::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            (void)file.release();
            throw orbelin::win::LastError(path);
        }
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size()) {
            throw orbelin::win::LastError(path);
        }
    }

    Installed IsInstalled(const orbelin::viewer::Viewer& viewer) override {
        return {ServerExists(viewer.mimeClsid, KEY_WOW64_32KEY),
                ServerExists(viewer.mimeClsid, KEY_WOW64_64KEY)};
    }

  private:
    // A console gets UTF-16 as it is; a pipe or a file gets UTF-8.
    static void Write(HANDLE handle, std::wstring_view text) {
        DWORD mode = 0;
        DWORD written = 0;
        if (::GetConsoleMode(handle, &mode)) {
            ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            return;
        }
        const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                               nullptr, 0, nullptr, nullptr);
        std::string bytes(static_cast<std::size_t>(size), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                              nullptr, nullptr);
        ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }

    // The class is registered in that view with an in-process or local server whose file
    // exists.
    static bool ServerExists(std::wstring_view clsid, REGSAM view) {
        for (const wchar_t* server : {L"InprocServer32", L"LocalServer32"}) {
            const std::wstring key = L"CLSID\\" + std::wstring(clsid) + L"\\" + server;
            wchar_t raw[MAX_PATH * 2] = {};
            DWORD size = sizeof(raw);
            if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr,
                               RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | view, nullptr, raw,
                               &size) != ERROR_SUCCESS) {
                continue;
            }
            std::wstring file = raw;
            if (!file.empty() && file.front() == L'"') {
                file = file.substr(1, file.find(L'"', 1) - 1);
            } else if (const auto space = file.find(L' '); space != std::wstring::npos && server[0] == L'L') {
                file.resize(space);  // a local server's command line may carry arguments
            }
            if (::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        }
        return false;
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ConsoleEnvironment env;
    try {
        orbelin::reg::Win32Registry registry;
        return orbelin::ctl::Run(std::vector<std::wstring>(argv + 1, argv + argc), registry, env);
    } catch (const std::exception&) {
        env.Err(L"Erreur inattendue\n");
        return orbelin::ctl::kFailure;
    }
}
