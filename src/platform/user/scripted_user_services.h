#pragma once
// The user as tests play it: every question is answered from a queue of
// scripted answers, every prompt is recorded, yields and pointer changes are
// counted. A prompt nobody scripted (or one whose text or buttons do not match
// the script) throws UnscriptedPrompt with the prompt's text and is also kept
// in UnscriptedPrompts(), so a handler that swallows the exception still
// leaves the failure visible.
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/user/user_services.h"

namespace user {

class UnscriptedPrompt : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

enum class PromptKind { kMsgBox, kInputBox, kOpenFile, kSaveFile };

// One question the user was asked, and the answer given.
struct RecordedPrompt {
  PromptKind kind = PromptKind::kMsgBox;
  std::string text;  // the prompt, or the dialog's title
  int style = 0;     // message boxes
  std::string title;
  std::string defaultText;   // input boxes
  FileDialogRequest dialog;  // file dialogs
  int answer = 0;            // message boxes: the answer code
  std::string answerText;    // input boxes and file dialogs
};

class ScriptedUserServices : public UserServices {
 public:
  // Scripting, in the order the questions will come. `expected`, when given,
  // is a text the prompt (or the dialog's title) must contain.
  ScriptedUserServices& AnswerMsgBox(int answer, std::string expected = "");
  ScriptedUserServices& AnswerInputBox(std::string text, std::string expected = "");
  ScriptedUserServices& AnswerOpenFile(std::string path, std::string expected = "");
  ScriptedUserServices& AnswerSaveFile(std::string path, std::string expected = "");
  // Called on every DoEvents with the count so far (a test's Stop button).
  void OnDoEvents(std::function<void(int)> action) { onDoEvents_ = std::move(action); }
  // What OpenWithDefaultApp reports (true unless set).
  void SetOpenWithDefaultAppResult(bool result) { openResult_ = result; }
  // What ShowHelpContents reports (true unless set).
  void SetShowHelpContentsResult(bool result) { helpResult_ = result; }

  // What happened.
  const std::vector<RecordedPrompt>& Prompts() const { return prompts_; }
  std::vector<std::string> MessageTexts() const;  // the message boxes' prompts, in order
  const std::vector<std::string>& UnscriptedPrompts() const { return unscripted_; }
  size_t PendingAnswers() const { return script_.size(); }
  int DoEventsCount() const { return doEventsCount_; }
  const std::vector<int>& PointerChanges() const { return pointerChanges_; }
  const std::vector<std::string>& OpenedFiles() const { return openedFiles_; }
  const std::vector<std::string>& ShownHelpFiles() const { return shownHelpFiles_; }

  // UserServices
  int MsgBox(const std::string& prompt, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) override;
  std::string OpenFileDialog(const FileDialogRequest& request) override;
  std::string SaveFileDialog(const FileDialogRequest& request) override;
  void DoEvents() override;
  void SetPointer(int pointer) override;
  int Pointer() const override { return pointer_; }
  bool OpenWithDefaultApp(const std::string& path) override;
  bool ShowHelpContents(const std::string& helpFile) override;

 private:
  struct ScriptedAnswer {
    PromptKind kind;
    int answer = 0;
    std::string text;
    std::string expected;
  };

  // The next scripted answer for this prompt, or UnscriptedPrompt.
  ScriptedAnswer Take(PromptKind kind, const std::string& promptText);
  std::string AskForFile(PromptKind kind, const FileDialogRequest& request);
  [[noreturn]] void Fail(const std::string& why, const std::string& promptText);

  std::deque<ScriptedAnswer> script_;
  std::vector<RecordedPrompt> prompts_;
  std::vector<std::string> unscripted_;
  std::function<void(int)> onDoEvents_;
  int doEventsCount_ = 0;
  int pointer_ = kPointerDefault;
  std::vector<int> pointerChanges_;
  std::vector<std::string> openedFiles_;
  bool openResult_ = true;
  std::vector<std::string> shownHelpFiles_;
  bool helpResult_ = true;
};

// Installs scripted services for a scope and puts the previous ones back.
class ScopedScriptedUser {
 public:
  ScopedScriptedUser();
  ~ScopedScriptedUser();
  ScopedScriptedUser(const ScopedScriptedUser&) = delete;
  ScopedScriptedUser& operator=(const ScopedScriptedUser&) = delete;

  ScriptedUserServices& operator*() { return *scripted_; }
  ScriptedUserServices* operator->() { return scripted_.get(); }

 private:
  std::shared_ptr<ScriptedUserServices> scripted_;
  std::shared_ptr<UserServices> previous_;
};

}  // namespace user
