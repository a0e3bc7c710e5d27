#include "platform/runtime/leftover_files.h"

#include <signal.h>

#include <cerrno>

namespace rt {

void RemoveLeftoverFiles(const std::filesystem::path& folder,
                         const std::function<bool(const std::string& name)>& isLeftover) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    std::error_code ignored;
    if (isLeftover(entry.path().filename().string()) && entry.is_regular_file(ignored))
      std::filesystem::remove(entry.path(), ignored);
  }
}

bool ProcessGone(pid_t pid) { return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace rt
