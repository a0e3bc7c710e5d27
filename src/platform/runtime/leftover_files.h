#pragma once
// Files that writers killed before their rename leave behind: a file written
// anew goes to a temporary file beside it first, and a writer killed before
// the rename leaves that file for good unless a later writer removes it.
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>

namespace rt {

// Removes the regular files of the folder whose name isLeftover accepts. A
// file that cannot be removed now is passed over: the next call tries again.
void RemoveLeftoverFiles(const std::filesystem::path& folder,
                         const std::function<bool(const std::string& name)>& isLeftover);

// Whether the process with this id has ended (none of that id runs now).
bool ProcessGone(pid_t pid);

}  // namespace rt
