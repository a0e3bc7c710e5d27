#include "ui/startup.h"

#include <QApplication>
#include <chrono>
#include <thread>

#include "market_data/run_parameters.h"
#include "platform/runtime/app_folder.h"
#include "platform/runtime/program_lock.h"
#include "platform/user/user_services.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/qt_user_services.h"
#include "ui/resources.h"
#include "ui/results_window.h"
#include "ui/splash_window.h"

namespace ui {

std::string& AppHelpFile() {
  static std::string path;
  return path;
}

namespace {

// Two programs on one application folder would write into each other's
// simulation tables and files: the folder is held by the first for as long
// as it runs, and a second one is told so and goes no further.
bool ClaimAppFolder() {
  static std::unique_ptr<rt::ProgramLock> held;
  held.reset();  // a start-up run again in this process (tests) claims anew
  const std::filesystem::path folder = rt::AppFolder();
  auto lock = std::make_unique<rt::ProgramLock>(folder / "kestrovane.lock");
  if (!lock->Held()) {
    user::MsgBox(lock->InUse()
                     ? "The application folder " + folder.string() +
                           " is in use by another Kestrovane program. Close that program first."
                     : "The application folder " + folder.string() + " could not be locked: " + lock->Failure() + ".",
                 user::kOKOnly | user::kCritical, "Kestrovane");
    return false;
  }
  held = std::move(lock);
  return true;
}

}  // namespace

std::unique_ptr<frmMain> StartUp(const StartUpOptions& options) {
  if (!ClaimAppFolder()) return nullptr;  // before the database is opened
  auto* splash = new frmSplash;
  splash->show();
  QCoreApplication::processEvents();
  rt::Date start = rt::Now();

  int answer = user::MsgBox("Would you like to use an active Internet Connection?", user::kYesNo | user::kQuestion,
                            "Kestrovane");
  user::DoEvents();

  auto window = std::make_unique<frmMain>();
  try {
    window->Form_Load();
    if (answer == user::kAnswerYes) {
      Parms().blnUseInternet = window->TestInternet();
      window->ShowInternetState(Parms().blnUseInternet);
      window->Menu("mnuUseInternet")->setEnabled(true);
      window->Menu("mnuUseInternet")->setChecked(Parms().blnUseInternet);
      window->Check("chkUpdateData")->SetValue(Parms().blnUseInternet ? 1 : 0);
    }
    user::DoEvents();
  } catch (const std::exception& error) {
    ShowError(error);  // the window still has its engine: go on
  }

  while (rt::SecondsBetween(start, rt::Now()) <= options.splashSeconds) {
    user::DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  try {
    AppHelpFile() = (rt::AppFolder() / "help" / "index.html").string();
    ResultsWindow().show();
    window->show();
    user::DoEvents();
    splash->close();
  } catch (const std::exception& error) {
    try {
      user::MsgBox("Error occurred initializing application: " + ErrorText(error));
    } catch (...) {
    }
    splash->close();
    return nullptr;
  }
  return window;
}

int Main() {
  user::InstallUserServices(std::make_shared<QtUserServices>());
  if (!PrepareAppFolder()) {
    user::MsgBox("The application folder " + rt::AppFolder().string() + " could not be created.",
                 user::kOKOnly | user::kCritical);
    return 1;
  }
  std::unique_ptr<frmMain> window = StartUp();
  if (!window) return 1;
  return QApplication::exec();
}

}  // namespace ui
