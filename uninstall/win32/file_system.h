#pragma once
// The file system of the machine, for folder removal. Paths are used as given (no long-path
// prefix): every path the uninstaller removes lies in its own short folder tree.

#include "uninstall/file_system.h"

namespace orbelin::uninstall::win32 {

class Win32FileSystem : public FileSystem {
  public:
    std::vector<Entry> List(const std::wstring& folder) override;
    void RemoveFile(const std::wstring& path) override;
    void RemoveFolder(const std::wstring& path) override;
};

}  // namespace orbelin::uninstall::win32
