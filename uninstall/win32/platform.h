#pragma once
// The system facilities of the uninstall run on Windows: the object a running Orbelin
// holds, system folders, the uninstaller's own path, the console code page, and the
// self-delete batch file in the temp folder.

#include <string>

#include "common/win32/handles.h"
#include "uninstall/procedure.h"

namespace orbelin::uninstall::win32 {

// text in the console (OEM) code page, in which the command interpreter reads batch files.
// Throws Error(kErrorBadPathName) when a character has no equivalent there.
[[nodiscard]] std::string ToConsoleCodePage(std::wstring_view text);

class Win32Platform : public Platform {
  public:
    bool ClaimInstance() override;
    std::wstring SpecialPath(int csidl) override;
    std::wstring RunningExecutable() override;
    bool Fits(std::wstring_view text) override;
    std::wstring ShortPath(const std::wstring& path) override;
    void WriteBatch(const std::wstring& text) override;
    void StartBatch() override;

    // Where WriteBatch put the file: the temp folder (with its trailing backslash) and the
    // file's name.
    [[nodiscard]] const std::wstring& BatchFolder() const noexcept { return batchFolder_; }
    [[nodiscard]] const std::wstring& BatchName() const noexcept { return batchName_; }

  private:
    win::UniqueHandle instance_;
    std::wstring batchFolder_;
    std::wstring batchName_;
};

}  // namespace orbelin::uninstall::win32
