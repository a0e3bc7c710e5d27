#include "platform/user/user_services.h"

#include <algorithm>
#include <iostream>
#include <vector>

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

std::vector<const MessageBoxWatch*>& Watches() {
  static std::vector<const MessageBoxWatch*> watches;
  return watches;
}

void TellWatches(bool open) {
  const std::vector<const MessageBoxWatch*> watches = Watches();  // a watch may begin as another hears
  for (const MessageBoxWatch* watch : watches) watch->Hear(open);
}

}  // namespace

UserServices& User() { return *Installed(); }

int MsgBox(const std::string& prompt, int style, const std::string& title) {
  TellWatches(true);
  struct Answered {
    ~Answered() { TellWatches(false); }
  } answered;
  return User().MsgBox(prompt, style, title);
}

MessageBoxWatch::MessageBoxWatch(std::function<void(bool open)> heard) : heard_(std::move(heard)) {
  Watches().push_back(this);
}

MessageBoxWatch::~MessageBoxWatch() { std::erase(Watches(), this); }

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
