#pragma once
// The seven viewers Orbelin can make the machine's default, and the two ordered tables
// every switch walks: the MIME content types and the file extensions.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "ui/ids.h"

namespace orbelin::viewer {

inline constexpr std::size_t kContentTypeCount = 11;
inline constexpr std::size_t kExtensionCount = 9;
inline constexpr std::size_t kViewerCount = 7;

struct ContentType {
    std::wstring_view name;
    bool x3dOnly;
};

// Bit i stands for extension i of kExtensions.
using ExtensionSet = std::uint16_t;

struct Viewer {
    std::wstring_view displayName;
    ids::Control button;
    ids::Command menuItem;
    std::wstring_view mimeClsid;
    std::wstring_view x3dMimeClsid;
    std::wstring_view fileProgId;
    ExtensionSet rootExtensions;
    ExtensionSet machineExtensions;
    std::wstring_view detectProgId;
    // The order in which the switch writes the content types (indices into kContentTypes).
    std::array<std::uint8_t, kContentTypeCount> mimeOrder;
};

// Which file-type keys a value is for.
enum class FileRoot { ClassesRoot, MachineClasses };

inline constexpr std::wstring_view kMimeKeyPrefix =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\MIME\\Database\\Content Type\\";
inline constexpr std::wstring_view kMimeValueSuffix = L"\\CLSID";
inline constexpr std::wstring_view kMachineClassesPrefix = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";
inline constexpr std::wstring_view kClassesRootPrefix = L"HKEY_CLASSES_ROOT\\";
// The default value start-up reads to find the viewer in force.
inline constexpr std::wstring_view kDetectPath = L"HKEY_CLASSES_ROOT\\.wrl\\";

inline constexpr std::array<ContentType, kContentTypeCount> kContentTypes{{
    {L"model/vrml", false},
    {L"model/x3d", true},
    {L"model/fx3d", true},
    {L"model/x3d+xml", true},
    {L"model/x3d+vrml", false},
    {L"model/x3d-vrml", false},
    {L"x-world/x-vrml", false},
    {L"x-world/x-x3d", true},
    {L"x-world/x-fx3d", true},
    {L"x-world/x-x3d+xml", true},
    {L"x-world/x-x3d-vrml", false},
}};

inline constexpr std::array<std::wstring_view, kExtensionCount> kExtensions{
    L".wrl", L".wrl.gz", L".wrz", L".x3d", L".x3d.gz", L".x3dv", L".x3dv.gz", L".x3dvz", L".x3dz",
};

inline constexpr ExtensionSet kAllExtensions = 0x1FF;
inline constexpr ExtensionSet kNoExtension = 0;
inline constexpr ExtensionSet kGzExtensions = (1u << 1) | (1u << 4) | (1u << 6);  // the three ".gz"
inline constexpr ExtensionSet kWrlWrz = (1u << 0) | (1u << 2);

inline constexpr std::array<std::uint8_t, kContentTypeCount> kTableOrder{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
// CosmoPlayer's switch pairs each "model/" type with its "x-world/" twin first.
inline constexpr std::array<std::uint8_t, kContentTypeCount> kCosmoOrder{0, 1, 6, 7, 2, 3, 4, 5, 8, 9, 10};

// In the order of the buttons, top to bottom.
inline constexpr std::array<Viewer, kViewerCount> kViewers{{
    {L"Cortona", ids::IDC_COMMAND1, ids::IDM_MCORTONA, L"{86A88967-7A20-11D2-8EDA-00600818EDB1}",
     L"{86A88967-7A20-11D2-8EDA-00600818EDB1}", L"Cortona.Client",
     static_cast<ExtensionSet>(kAllExtensions & ~kGzExtensions), kNoExtension, L"Cortona.Control.1",
     kTableOrder},
    {L"Blaxxun", ids::IDC_COMMAND3, ids::IDM_MBLAXXUN, L"{4B6E3013-6E45-11D0-9309-0020AFE05CC8}",
     L"{4B6E3013-6E45-11D0-9309-0020AFE05CC8}", L"VRML.World", kWrlWrz, kNoExtension, L"VRML.World",
     kTableOrder},
    {L"Pivoron", ids::IDC_COMMAND4, ids::IDM_MPIVORON, L"{332F83AF-3367-45C8-819F-9F7AE87410F8}",
     L"{332F83AF-3367-45C8-819F-9F7AE87410F8}", L"Nexternet.NexternetPlayer.1", kAllExtensions, kNoExtension,
     L"Nexternet.NexternetPlayer.1", kTableOrder},
    {L"CosmoPlayer", ids::IDC_COMMAND5, ids::IDM_MCOSMO, L"{06646724-bcf3-11d0-9518-00c04fc2dd79}",
     L"{660D0125-4C92-4EDD-B7B4-B36857F1449E}", L"SGI.CosmoPlayer.2", kAllExtensions, kAllExtensions,
     L"SGI.CosmoPlayer.2", kCosmoOrder},
    {L"BS Contact", ids::IDC_COMMAND6, ids::IDM_MBS, L"{4B6E3013-6E45-11D0-9309-0020AFE05CC8}",
     L"{4B6E3013-6E45-11D0-9309-0020AFE05CC8}", L"X3D.World", kAllExtensions, kNoExtension, L"X3D.World",
     kTableOrder},
    {L"Octaga", ids::IDC_COMMAND7, ids::IDM_MOCTAGA, L"{660D0125-4C92-4EDD-B7B4-B36857F1449E}",
     L"{660D0125-4C92-4EDD-B7B4-B36857F1449E}", L"Octaga.Octaga.wrl", kAllExtensions, kNoExtension,
     L"Octaga.Octaga.wrl", kTableOrder},
    {L"Flux", ids::IDC_COMMAND8, ids::IDM_MFLUX, L"{918B202D-8E8F-4649-A70B-E9B178FEDC58}",
     L"{918B202D-8E8F-4649-A70B-E9B178FEDC58}", L"Anima.AnimaCtrl.1", kAllExtensions, kGzExtensions,
     L"Anima.AnimaCtrl.1", kTableOrder},
}};

// The viewer items of the "Viewer" sub-menu in display order (alphabetical by caption).
inline constexpr std::array<ids::Command, kViewerCount> kMenuOrder{
    ids::IDM_MBLAXXUN, ids::IDM_MBS,     ids::IDM_MCORTONA, ids::IDM_MCOSMO,
    ids::IDM_MFLUX,    ids::IDM_MOCTAGA, ids::IDM_MPIVORON,
};

// The order in which a switch sets the check marks of the viewer items.
inline constexpr std::array<ids::Command, kViewerCount> kCheckOrder{
    ids::IDM_MCORTONA, ids::IDM_MBLAXXUN, ids::IDM_MCOSMO, ids::IDM_MPIVORON,
    ids::IDM_MOCTAGA,  ids::IDM_MBS,      ids::IDM_MFLUX,
};

[[nodiscard]] const Viewer* FindByButton(int control);
[[nodiscard]] const Viewer* FindByMenuItem(int command);
[[nodiscard]] const Viewer* FindByDetectedProgId(std::wstring_view progId);  // exact, letter case included
[[nodiscard]] const Viewer* FindByName(std::wstring_view displayName);       // letter case ignored

[[nodiscard]] std::wstring_view ClassIdFor(const Viewer& viewer, const ContentType& type);
[[nodiscard]] std::wstring_view FileTypeValue(const Viewer& viewer, FileRoot root, std::size_t extension);

}  // namespace orbelin::viewer
