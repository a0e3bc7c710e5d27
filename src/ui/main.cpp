// Until the windows arrive, the program prepares its application folder and
// reports that the windows are not built yet.
#include <iostream>

#include "platform/runtime/app_folder.h"

int main() {
  if (!rt::EnsureAppFolders()) {
    std::cerr << "Cannot create the application folder " << rt::AppFolder() << "\n";
    return 1;
  }
  std::cout << "Kestrovane: application folder " << rt::AppFolder().string() << "\n"
            << "The windows are not built yet.\n";
  return 0;
}
