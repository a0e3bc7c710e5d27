#pragma once
// The program started on an application folder, as a user starts it, and
// kept running until the trial kills it: the first of two programs on one
// folder.
#include <filesystem>

namespace crashtrial {

// Returns 1 at once when the start-up failed; 0 after five minutes.
int StartAndStayUp(const std::filesystem::path& folder);

}  // namespace crashtrial
