#include "viewer/switch.h"

#include "scripthost/transaction.h"

namespace orbelin::viewer {

std::vector<PlannedWrite> PlanSwitch(const Viewer& viewer) {
    std::vector<PlannedWrite> plan;
    plan.reserve(kSwitchWriteCount);
    for (const auto index : viewer.mimeOrder) {
        const auto& type = kContentTypes[index];
        plan.push_back({std::wstring(kMimeKeyPrefix).append(type.name).append(kMimeValueSuffix),
                        std::wstring(ClassIdFor(viewer, type))});
    }
    for (const auto root : {FileRoot::MachineClasses, FileRoot::ClassesRoot}) {
        const auto prefix = root == FileRoot::MachineClasses ? kMachineClassesPrefix : kClassesRootPrefix;
        for (std::size_t e = 0; e < kExtensionCount; ++e) {
            plan.push_back({std::wstring(prefix).append(kExtensions[e]).append(L"\\"),
                            std::wstring(FileTypeValue(viewer, root, e))});
        }
    }
    return plan;
}

void ApplySwitch(reg::Registry& registry, const Viewer& viewer) {
    std::vector<std::pair<reg::Path, reg::Value>> writes;
    writes.reserve(kSwitchWriteCount);
    for (auto& write : PlanSwitch(viewer)) {
        writes.emplace_back(reg::Path::Parse(write.path), std::move(write.value));
    }
    reg::WriteAll(registry, writes);
}

void ShowViewer(ViewerDisplay& display, const Viewer& viewer) {
    display.SetCurrentViewerText(viewer.displayName);
    for (const auto item : kCheckOrder) display.SetViewerChecked(item, item == viewer.menuItem);
}

const Viewer* DetectViewer(reg::Registry& registry) {
    const auto path = reg::Path::Parse(kDetectPath);
    const auto raw = registry.ReadRaw(path);
    if (!raw || (raw->type != reg::kRegSz && raw->type != reg::kRegExpandSz)) return nullptr;
    const auto value = reg::ToValue(*raw, path);
    return FindByDetectedProgId(std::get<std::wstring>(value));
}

}  // namespace orbelin::viewer
