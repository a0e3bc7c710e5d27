// Settings files (STARTUP, simulation files, PROPERTIES) as a user or an old
// version may have left them: reading into the controls ends without a
// fault, and the settings then saved read back to the very same text.
#include <unistd.h>

#include <QApplication>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/user/user_services.h"
#include "ui/controls.h"
#include "ui/settings_files.h"

namespace {

// Messages about a file that is not a settings file are expected here.
class QuietUser : public user::HeadlessUserServices {
 public:
  int MsgBox(const std::string&, int, const std::string&) override { return user::kAnswerOK; }
};

// One control of each saved kind, some in arrays, one kept only in STARTUP.
struct Controls {
  QWidget window;
  ui::ControlCollection collection;

  Controls() {
    for (int i = 0; i < 3; ++i) collection.Add(new QLineEdit(&window), "txtSimOption", i);
    auto* combo = collection.Add(new QComboBox(&window), "cboMarket");
    combo->addItems({"ny", "ns", "am"});
    for (int i = 0; i < 3; ++i) collection.Add(new ui::OptionButton("option", &window), "optStockSelection", i);
    collection.Add(new ui::CheckBox("check", &window), "chkUseMA");
    collection.Add(new ui::DatePicker(&window), "dteSimDate", 0, true);
  }
};

struct Fixture {
  std::unique_ptr<QApplication> application;
  std::unique_ptr<Controls> controls;
  std::filesystem::path file;
};

Fixture& Setup() {
  static Fixture fixture = [] {
    Fixture f;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "settings_files_fuzz";
    static char* argv[] = {name, nullptr};
    f.application = std::make_unique<QApplication>(argc, argv);
    user::InstallUserServices(std::make_shared<QuietUser>());
    f.controls = std::make_unique<Controls>();
    f.file = std::filesystem::temp_directory_path() / ("kestrovane-fuzz-STARTUP-" + std::to_string(::getpid()));
    return f;
  }();
  return fixture;
}

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Fixture& f = Setup();
  const ui::ControlCollection& controls = f.controls->collection;
  Write(f.file, std::string(reinterpret_cast<const char*>(data), size));
  std::string table;
  ui::LoadSimulationFile(f.file, controls, table);  // the file's name holds "STARTUP"
  ui::LoadPropertiesFile(f.file, controls);

  std::string saved = ui::ControlStateText(controls, table, true);
  Write(f.file, saved);
  std::string tableAgain;
  if (!ui::LoadSimulationFile(f.file, controls, tableAgain) || tableAgain != table ||
      ui::ControlStateText(controls, tableAgain, true) != saved)
    std::abort();
  std::filesystem::remove(f.file);
  return 0;
}
