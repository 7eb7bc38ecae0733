// OrbelinCtl's way against the platform's: `set` of each of the seven viewers in one
// process, against seven `reg import` runs of the files OrbelinCtl exports, in one run.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ctl/ctl.h"
#include "scripthost/win32_registry.h"
#include "tests/bench/run_command.h"

namespace {

using Clock = std::chrono::steady_clock;

class QuietEnvironment : public orbelin::ctl::Environment {
  public:
    void Out(std::wstring_view) override {}
    void Err(std::wstring_view) override {}
    std::vector<std::uint8_t> ReadFile(const std::wstring&) override { return {}; }
    void WriteFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) override {
        std::ofstream(path.c_str(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Installed IsInstalled(const orbelin::viewer::Viewer&) override { return {}; }
};

}  // namespace

int wmain() {
    orbelin::reg::Win32Registry registry;
    QuietEnvironment env;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::vector<std::wstring> files;
    for (const auto& viewer : orbelin::viewer::kViewers) {
        files.push_back(std::wstring(temp) + L"orbelin-" + std::to_wstring(files.size()) + L".reg");
        (void)orbelin::ctl::Run({L"export", std::wstring(viewer.displayName), files.back()}, registry, env);
    }

    bool setOk = true;
    auto start = Clock::now();
    for (const auto& viewer : orbelin::viewer::kViewers) {
        setOk &= orbelin::ctl::Run({L"set", std::wstring(viewer.displayName)}, registry, env) == 0;
    }
    const double set = std::chrono::duration<double>(Clock::now() - start).count();

    bool importOk = true;
    start = Clock::now();
    for (const auto& file : files)
        importOk &= orbelin::bench::RunCommand(L"reg.exe import \"" + file + L"\"");
    const double import = std::chrono::duration<double>(Clock::now() - start).count();
    for (const auto& file : files) ::DeleteFileW(file.c_str());

    std::printf("seven viewers, one after the other (ms)\n");
    std::printf("  OrbelinCtl set, in one process   %9.1f%s\n", set * 1e3, setOk ? "" : "  (failed)");
    std::printf("  reg import of the exported files %9.1f%s\n", import * 1e3, importOk ? "" : "  (failed)");
    std::printf("  ratio import / set               %9.1f\n", import / set);
    return 0;
}
