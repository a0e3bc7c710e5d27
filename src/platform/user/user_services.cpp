#include "platform/user/user_services.h"

#include <iostream>

namespace user {
namespace {

std::shared_ptr<UserServices>& Installed() {
  static std::shared_ptr<UserServices> services = std::make_shared<HeadlessUserServices>();
  return services;
}

// The answer of the default button of a message box style.
int DefaultAnswer(int style) {
  int buttons = style & 7;
  int defaultIndex = (style & 768) / 256;  // 0, 1 or 2
  static const int kAnswers[6][3] = {
      {kAnswerOK, kAnswerOK, kAnswerOK},           {kAnswerOK, kAnswerCancel, kAnswerCancel},
      {kAnswerAbort, kAnswerRetry, kAnswerIgnore}, {kAnswerYes, kAnswerNo, kAnswerCancel},
      {kAnswerYes, kAnswerNo, kAnswerNo},          {kAnswerRetry, kAnswerCancel, kAnswerCancel},
  };
  if (buttons > 5) buttons = 0;
  return kAnswers[buttons][defaultIndex];
}

}  // namespace

UserServices& User() { return *Installed(); }

std::shared_ptr<UserServices> InstallUserServices(std::shared_ptr<UserServices> services) {
  std::shared_ptr<UserServices> previous = Installed();
  Installed() = services ? std::move(services) : std::make_shared<HeadlessUserServices>();
  return previous;
}

int HeadlessUserServices::MsgBox(const std::string& prompt, int style, const std::string& title) {
  std::cerr << (title.empty() ? kApplicationTitle : title) << ": " << prompt << "\n";
  return DefaultAnswer(style);
}

std::string HeadlessUserServices::InputBox(const std::string& prompt, const std::string& title,
                                           const std::string& defaultText) {
  std::cerr << (title.empty() ? kApplicationTitle : title) << ": " << prompt << "\n";
  return defaultText;
}

std::string HeadlessUserServices::OpenFileDialog(const FileDialogRequest&) { return ""; }
std::string HeadlessUserServices::SaveFileDialog(const FileDialogRequest&) { return ""; }
bool HeadlessUserServices::OpenWithDefaultApp(const std::string&) { return false; }

}  // namespace user
