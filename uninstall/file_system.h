#pragma once
// The file-system operations folder removal needs, so that the removal itself can be run
// and checked without a disk. Failures are orbelin::Error naming the path.

#include <cstdint>
#include <string>
#include <vector>

namespace orbelin::uninstall {

// Entry attributes, numbered as the platform numbers them.
namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x1;
inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kReparsePoint = 0x400;  // a junction or symbolic link, among others
}  // namespace attr

struct Entry {
    std::wstring name;  // within its folder
    std::uint32_t attributes = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Every entry of the folder, hidden ones included, in the order the system gives them.
    // "." and ".." may be among them. Throws when the folder cannot be listed.
    [[nodiscard]] virtual std::vector<Entry> List(const std::wstring& folder) = 0;
    // Deletes a file (or a link to a file); throws when it cannot, or when it does not exist.
    virtual void RemoveFile(const std::wstring& path) = 0;
    // Removes an empty folder, or a link to a folder without touching what it points to.
    virtual void RemoveFolder(const std::wstring& path) = 0;
};

}  // namespace orbelin::uninstall
