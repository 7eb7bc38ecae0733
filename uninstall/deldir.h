#pragma once
// Removal of a folder with everything in it, depth first: every folder goes after its
// content.
//
// - Hidden and system entries are never removed: a folder holding one is left in place and
//   the removal stops with an error naming the entry.
// - A link to a folder (an entry with both the directory and the reparse-point attribute) is
//   removed as a link; it is never entered, so what it points to stays untouched.
// - keep, when not empty, is a file that must stay (the running uninstaller, which cannot
//   be deleted while it runs). It is skipped, and the folders that hold it are emptied of
//   everything else but not removed.
// - The first failure stops everything and is thrown; what was removed before stays
//   removed.
//
// Each folder is listed once: its own listing is walked to the end, whatever the nested
// calls for its sub-folders did.

#include <string>

#include "uninstall/file_system.h"

namespace orbelin::uninstall {

// Returns true when folder is gone, false when it was kept because it holds keep.
bool DelDir(FileSystem& fs, const std::wstring& folder, const std::wstring& keep = {});

}  // namespace orbelin::uninstall
