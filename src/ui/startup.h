#pragma once
// The program's start: splash, the Internet question, the main window's load,
// the connection test, then the results window and the main window.
#include <memory>
#include <string>

namespace ui {

class frmMain;

// The help file the Contents command opens: the help page in the
// application folder, recorded at start-up ("" before).
std::string& AppHelpFile();

struct StartUpOptions {
  // The splash stays until more than this many whole seconds have passed.
  long long splashSeconds = 3;
};

// Runs the start-up sequence with the installed user services. Returns the
// shown main window, or nullptr when start-up failed (after its message):
// also when another program holds the application folder, which is then
// left alone (its database is not opened).
std::unique_ptr<frmMain> StartUp(const StartUpOptions& options = {});

// The entry procedure: installs the Qt user services, starts up and runs the
// event loop until the program ends. Returns the exit code.
int Main();

}  // namespace ui
