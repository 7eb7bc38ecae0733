// Speed of a viewer switch, measured side by side in one run under the same conditions:
//   switch  - Orbelin's all-or-nothing switch through its registry service
//   bare    - the same 29 values written by a plain loop (create key, set value, close)
//   script  - the same 29 values written by a VBScript through WScript.Shell (cscript)
//   reg     - the same 29 values written by 29 "reg add" commands
// It prints the time per switch of each and the ratios.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "scripthost/registry.h"
#include "scripthost/win32_registry.h"
#include "tests/bench/run_command.h"
#include "viewer/catalogue.h"
#include "viewer/switch.h"

namespace {

using Clock = std::chrono::steady_clock;
using orbelin::viewer::PlannedWrite;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void Bare(const std::vector<PlannedWrite>& plan) {
    for (const auto& write : plan) {
        const auto path = orbelin::reg::Path::Parse(write.path);
        HKEY root = path.root == orbelin::reg::Root::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
        HKEY key = nullptr;
        ::RegCreateKeyExW(root, path.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        ::RegSetValueExW(key, path.valueName.empty() ? nullptr : path.valueName.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(write.value.c_str()),
                         static_cast<DWORD>((write.value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(key);
    }
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace

int wmain() {
    const auto& viewer = *orbelin::viewer::FindByName(L"Octaga");
    const auto plan = orbelin::viewer::PlanSwitch(viewer);
    orbelin::reg::Win32Registry registry;
    constexpr int kRounds = 200;
    constexpr int kScriptRuns = 5;
    constexpr int kRegRuns = 2;

    // Warm up: keys exist, caches are filled, as on a machine that has switched before.
    orbelin::viewer::ApplySwitch(registry, viewer);
    Bare(plan);

    // The two in-process ways, interleaved so that both see the same machine state.
    Clock::duration switchTime{}, bareTime{};
    for (int round = 0; round < kRounds; ++round) {
        auto start = Clock::now();
        orbelin::viewer::ApplySwitch(registry, viewer);
        switchTime += Clock::now() - start;
        start = Clock::now();
        Bare(plan);
        bareTime += Clock::now() - start;
    }

    // The scripting host: one cscript run makes one switch.
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring scriptPath = std::wstring(temp) + L"orbelin-bench.vbs";
    {
        std::wofstream script(scriptPath.c_str());
        script << L"Set s = CreateObject(\"WScript.Shell\")\n";
        for (const auto& write : plan)
            script << L"s.RegWrite \"" << write.path << L"\", \"" << write.value << L"\"\n";
    }
    bool scriptOk = true;
    auto start = Clock::now();
    for (int run = 0; run < kScriptRuns; ++run)
        scriptOk &= orbelin::bench::RunCommand(L"cscript.exe //nologo " + Quoted(scriptPath));
    const auto scriptTime = Clock::now() - start;
    ::DeleteFileW(scriptPath.c_str());

    // reg.exe: one process per value.
    bool regOk = true;
    start = Clock::now();
    for (int run = 0; run < kRegRuns; ++run) {
        for (const auto& write : plan) {
            const auto path = orbelin::reg::Path::Parse(write.path);
            std::wstring key = std::wstring(orbelin::reg::RootName(path.root)) + L"\\" + path.key;
            std::wstring command = L"reg.exe add " + Quoted(key) +
                                   (path.valueName.empty() ? L" /ve" : L" /v " + Quoted(path.valueName)) +
                                   L" /t REG_SZ /d " + Quoted(write.value) + L" /f";
            regOk &= orbelin::bench::RunCommand(command);
        }
    }
    const auto regTime = Clock::now() - start;

    const double perSwitch = Seconds(switchTime) / kRounds;
    const double perBare = Seconds(bareTime) / kRounds;
    const double perScript = Seconds(scriptTime) / kScriptRuns;
    const double perReg = Seconds(regTime) / kRegRuns;
    std::printf("time per switch of 29 values (ms)\n");
    std::printf("  switch (Orbelin, with undo record)  %9.3f\n", perSwitch * 1e3);
    std::printf("  bare RegSetValueExW loop            %9.3f\n", perBare * 1e3);
    std::printf("  VBScript WScript.Shell (cscript)    %9.3f%s\n", perScript * 1e3,
                scriptOk ? "" : "  (failed)");
    std::printf("  29 x reg add                        %9.3f%s\n", perReg * 1e3, regOk ? "" : "  (failed)");
    std::printf("ratios\n");
    std::printf("  switch / bare    %7.2f   (target <= 1.5)\n", perSwitch / perBare);
    std::printf("  script / switch  %7.1f   (target >= 20)\n", perScript / perSwitch);
    std::printf("  reg add / switch %7.1f\n", perReg / perSwitch);
    return 0;
}
