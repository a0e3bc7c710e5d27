#pragma once
// frmAbout: the program's title, version and legal notice, and a button that
// starts the System Information tool when one is configured in the registry.
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdint>
#include <functional>
#include <string>

namespace ui {

class frmAbout : public QDialog {
 public:
  explicit frmAbout(QWidget* owner);

  QLabel* picIcon = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblDescription = nullptr;
  QLabel* lblDisclaimer = nullptr;
  QPlainTextEdit* txtWarning = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdSysInfo = nullptr;

  void cmdOK_Click();
  void cmdSysInfo_Click();
  // Starts the tool named by the registry value PATH of
  // "SOFTWARE\Microsoft\Shared Tools\MSINFO", else MSINFO32.EXE in the folder
  // of the value MSINFO of "SOFTWARE\Microsoft\Shared Tools Location" (both
  // under HKEY_LOCAL_MACHINE), without waiting for it; otherwise tells the
  // user that System Information is unavailable.
  void StartSysInfo();
  // Reads one registry value into keyValue: a text as it is; a DWORD as "&h"
  // and the hexadecimal codes of its bytes up to the first zero byte, the
  // last byte first, appended to what keyValue held; any other type leaves
  // keyValue alone. False, with keyValue emptied, when the key or the value
  // is missing or the value does not fit 1024 characters.
  static bool GetKeyValue(int32_t keyRoot, const std::string& keyName, const std::string& subKeyRef,
                          std::string& keyValue);

  // Starts a program by its command line; false when it could not be
  // started. Tests put their own in place.
  std::function<bool(const std::string& commandLine)> startProgram;
};

}  // namespace ui
