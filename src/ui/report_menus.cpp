// The Reports menu: the two switches of the Portfolio stage's report logs,
// the per-symbol summary of the current simulation, and the opening of a
// report with the desktop's application for its type.
#include <filesystem>
#include <string>

#include "market_data/calendar_and_log.h"
#include "market_data/run_parameters.h"
#include "platform/runtime/error.h"
#include "platform/user/user_services.h"
#include "simulation/engine_reports.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"

namespace ui {
namespace {

// Copies x_tmp1.csv, x_tmp2.csv, ... that are still open elsewhere are
// passed over; past this many the folder is taken to refuse every copy.
constexpr int kMostCopies = 100;

namespace fs = std::filesystem;

// Whether a file name is one the copies of a report are given: its stem,
// "_tmp", a number (1, 2, ... without leading zeros) and its extension.
bool IsNumberedCopy(const std::string& name, const std::string& stem, const std::string& extension) {
  const std::string prefix = stem + "_tmp";
  if (name.size() <= prefix.size() + extension.size() || name.compare(0, prefix.size(), prefix) != 0 ||
      name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
    return false;
  const std::string number = name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
  return number[0] != '0' && number.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

void frmMain::SwitchReport(const std::string& item, bool& flag, void (*startFile)()) {
  QAction* menu = Menu(item);
  if (flag) {
    flag = false;
    menu->setChecked(false);
    return;
  }
  // The file is started before the switch goes on, so that a file that
  // cannot be made leaves the switch off.
  menu->setChecked(false);
  startFile();
  flag = true;
  menu->setChecked(true);
}

void frmMain::mnuReportAllStocks_Click() {
  SwitchReport("mnuReportAllStocks", Parms().blnAllStocksReport, simulation::CreateAllStocksReport);
}

void frmMain::mnuReportStockperDay_Click() {
  SwitchReport("mnuReportStockperDay", Parms().blnPerDayReport, simulation::CreatePerDayReport);
}

void frmMain::mnuReportSimSum_Click() {
  // The summary uses the engine's record set, which a running stage walks.
  if (RefusedDuringRun("Simulation Summary by Symbol")) return;
  std::string path;
  RunEngineWork([&](clsResearch& engine) {
    LoadParms();
    path = engine.CreateSimulationSummary();  // "" after its own message
  });
  if (!path.empty()) OpenFileWithDefaultApp(path, false);
}

bool frmMain::OpenFileWithDefaultApp(const std::string& path, bool makeCopy) {
  try {
    std::error_code ec;
    if (path.empty() || !fs::exists(path, ec)) return true;
    const fs::path file(path);
    // The extension is taken from the file name only, never from a folder.
    const std::string name = file.filename().string();
    const size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    const std::string stem = name.substr(0, dot);
    const fs::path folder = file.parent_path();

    fs::path toOpen = file;
    if (makeCopy) {
      // A copy, so that the report itself stays writable while it is open.
      for (int n = 1;; ++n) {
        if (n > kMostCopies) throw rt::Error(rt::kErrPathFileAccess, "No copy of " + path + " could be made.");
        toOpen = folder / (stem + "_tmp" + std::to_string(n) + extension);
        ec.clear();
        if (fs::exists(toOpen, ec) || ec) fs::remove(toOpen, ec);
        if (!ec) break;
      }
      fs::copy_file(file, toOpen, fs::copy_options::overwrite_existing);
    } else {
      // The copies of earlier calls go, when they can; other files of the
      // folder, the user's own among them, stay.
      for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        std::error_code ignored;
        if (IsNumberedCopy(entry.path().filename().string(), stem, extension) && entry.is_regular_file(ignored))
          fs::remove(entry.path(), ignored);
      }
    }

    if (!user::User().OpenWithDefaultApp(toOpen.string())) {
      // Say where the report is, so that the user can open it another way.
      user::MsgBox(
          "No application is registered for " + extension + " files.\r\nThe report was written to " + path + ".",
          user::kOKOnly | user::kInformation, user::kApplicationTitle);
      return false;
    }
    return true;
  } catch (const std::exception& error) {
    const auto* runtimeError = dynamic_cast<const rt::Error*>(&error);
    LogError("Progress report could not be displayed.  " + std::to_string(runtimeError ? runtimeError->Number() : 0) +
             " - " + ErrorText(error));
    user::MsgBox("An error occurred attempting to display progress report.", user::kOKOnly | user::kInformation,
                 user::kApplicationTitle);
    return false;
  }
}

}  // namespace ui
