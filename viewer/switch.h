#pragma once
// Making a viewer the machine's default: eleven MIME class identifiers, then nine file-type
// values under HKEY_LOCAL_MACHINE\SOFTWARE\Classes, then the same nine under
// HKEY_CLASSES_ROOT. Where the second is a view of the first, the classes-root value is the
// one that stays. The switch is all or nothing.

#include <string>
#include <string_view>
#include <vector>

#include "scripthost/registry.h"
#include "viewer/catalogue.h"

namespace orbelin::viewer {

inline constexpr std::size_t kSwitchWriteCount = kContentTypeCount + 2 * kExtensionCount;

struct PlannedWrite {
    std::wstring path;
    std::wstring value;
    friend bool operator==(const PlannedWrite&, const PlannedWrite&) = default;
};

// The 29 writes of a switch to the viewer, in the order they are made.
[[nodiscard]] std::vector<PlannedWrite> PlanSwitch(const Viewer& viewer);

// Writes the plan. When a write fails, every value already written is put back (values and
// keys that did not exist are removed again) and the error is rethrown.
void ApplySwitch(reg::Registry& registry, const Viewer& viewer);

// Where the viewer in force is shown: the current-viewer box and the check marks.
class ViewerDisplay {
  public:
    virtual ~ViewerDisplay() = default;
    virtual void SetCurrentViewerText(std::wstring_view text) = 0;
    virtual void SetViewerChecked(ids::Command item, bool checked) = 0;
};

// The box names the viewer; its menu item alone is checked.
void ShowViewer(ViewerDisplay& display, const Viewer& viewer);

// The viewer in force according to the registry, or none. A missing key or value, or a
// value that is not text, means none.
[[nodiscard]] const Viewer* DetectViewer(reg::Registry& registry);

}  // namespace orbelin::viewer
