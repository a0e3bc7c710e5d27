#pragma once
// The user services of the running program: Qt message boxes, input box and
// file dialogs, yielding to the event loop, override cursors, and the
// desktop's applications for files and help.
#include <QString>

#include "platform/user/user_services.h"
#include "ui/pace.h"

namespace ui {

class QtUserServices : public user::UserServices {
 public:
  int MsgBox(const std::string& prompt, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) override;
  std::string OpenFileDialog(const user::FileDialogRequest& request) override;
  std::string SaveFileDialog(const user::FileDialogRequest& request) override;
  // Processes pending events, at most about every 20 ms: a hot loop that
  // yields on every step pays only for a clock reading.
  void DoEvents() override;
  void SetPointer(int pointer) override;
  int Pointer() const override { return pointer_; }
  bool OpenWithDefaultApp(const std::string& path) override;
  bool ShowHelpContents(const std::string& helpFile) override;

 private:
  Pace yieldPace_{kDisplayInterval};
  int pointer_ = user::kPointerDefault;
};

// "Simulation File (*.sim)|*.sim|All Files|*.*" as a Qt name filter list.
QString QtNameFilters(const std::string& filter);
// The default suffix a dialog adds: the extension of the filter's first
// pattern ("sim" for "*.sim"), "" when it has none.
QString DefaultSuffix(const std::string& filter);

}  // namespace ui
