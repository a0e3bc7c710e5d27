#include "platform/user/scripted_user_services.h"

namespace user {
namespace {

const char* KindName(PromptKind kind) {
  switch (kind) {
    case PromptKind::kMsgBox: return "message box";
    case PromptKind::kInputBox: return "input box";
    case PromptKind::kOpenFile: return "open dialog";
    case PromptKind::kSaveFile: return "save dialog";
  }
  return "prompt";
}

// Whether a message box of this style shows a button with this answer.
bool OffersAnswer(int style, int answer) {
  switch (style & 7) {
    case kOKOnly: return answer == kAnswerOK;
    case kOKCancel: return answer == kAnswerOK || answer == kAnswerCancel;
    case kAbortRetryIgnore: return answer == kAnswerAbort || answer == kAnswerRetry || answer == kAnswerIgnore;
    case kYesNoCancel: return answer == kAnswerYes || answer == kAnswerNo || answer == kAnswerCancel;
    case kYesNo: return answer == kAnswerYes || answer == kAnswerNo;
    case kRetryCancel: return answer == kAnswerRetry || answer == kAnswerCancel;
    default: return false;
  }
}

}  // namespace

ScriptedUserServices& ScriptedUserServices::AnswerMsgBox(int answer, std::string expected) {
  script_.push_back({PromptKind::kMsgBox, answer, "", std::move(expected)});
  return *this;
}

ScriptedUserServices& ScriptedUserServices::AnswerInputBox(std::string text, std::string expected) {
  script_.push_back({PromptKind::kInputBox, 0, std::move(text), std::move(expected)});
  return *this;
}

ScriptedUserServices& ScriptedUserServices::AnswerOpenFile(std::string path, std::string expected) {
  script_.push_back({PromptKind::kOpenFile, 0, std::move(path), std::move(expected)});
  return *this;
}

ScriptedUserServices& ScriptedUserServices::AnswerSaveFile(std::string path, std::string expected) {
  script_.push_back({PromptKind::kSaveFile, 0, std::move(path), std::move(expected)});
  return *this;
}

std::vector<std::string> ScriptedUserServices::MessageTexts() const {
  std::vector<std::string> texts;
  for (const RecordedPrompt& prompt : prompts_)
    if (prompt.kind == PromptKind::kMsgBox) texts.push_back(prompt.text);
  return texts;
}

void ScriptedUserServices::Fail(const std::string& why, const std::string& promptText) {
  std::string message = why + ": \"" + promptText + "\"";
  unscripted_.push_back(message);
  throw UnscriptedPrompt(message);
}

ScriptedUserServices::ScriptedAnswer ScriptedUserServices::Take(PromptKind kind, const std::string& promptText) {
  if (script_.empty()) Fail(std::string("unscripted ") + KindName(kind), promptText);
  ScriptedAnswer next = script_.front();
  if (next.kind != kind)
    Fail(std::string("a ") + KindName(kind) + " came where the script expects a " + KindName(next.kind), promptText);
  if (!next.expected.empty() && promptText.find(next.expected) == std::string::npos)
    Fail(std::string("the script expects a ") + KindName(kind) + " containing \"" + next.expected + "\", got",
         promptText);
  script_.pop_front();
  return next;
}

int ScriptedUserServices::MsgBox(const std::string& prompt, int style, const std::string& title) {
  ScriptedAnswer answer = Take(PromptKind::kMsgBox, prompt);
  if (!OffersAnswer(style, answer.answer))
    Fail("the scripted answer " + std::to_string(answer.answer) + " is not a button of style " + std::to_string(style),
         prompt);
  RecordedPrompt record;
  record.kind = PromptKind::kMsgBox;
  record.text = prompt;
  record.style = style;
  record.title = title;
  record.answer = answer.answer;
  prompts_.push_back(std::move(record));
  return answer.answer;
}

std::string ScriptedUserServices::InputBox(const std::string& prompt, const std::string& title,
                                           const std::string& defaultText) {
  ScriptedAnswer answer = Take(PromptKind::kInputBox, prompt);
  RecordedPrompt record;
  record.kind = PromptKind::kInputBox;
  record.text = prompt;
  record.title = title;
  record.defaultText = defaultText;
  record.answerText = answer.text;
  prompts_.push_back(std::move(record));
  return answer.text;
}

std::string ScriptedUserServices::AskForFile(PromptKind kind, const FileDialogRequest& request) {
  ScriptedAnswer answer = Take(kind, request.title);
  RecordedPrompt record;
  record.kind = kind;
  record.text = request.title;
  record.title = request.title;
  record.dialog = request;
  record.answerText = answer.text;
  prompts_.push_back(std::move(record));
  return answer.text;
}

std::string ScriptedUserServices::OpenFileDialog(const FileDialogRequest& request) {
  return AskForFile(PromptKind::kOpenFile, request);
}

std::string ScriptedUserServices::SaveFileDialog(const FileDialogRequest& request) {
  return AskForFile(PromptKind::kSaveFile, request);
}

void ScriptedUserServices::DoEvents() {
  ++doEventsCount_;
  if (onDoEvents_) onDoEvents_(doEventsCount_);
}

void ScriptedUserServices::SetPointer(int pointer) {
  pointer_ = pointer;
  pointerChanges_.push_back(pointer);
}

bool ScriptedUserServices::OpenWithDefaultApp(const std::string& path) {
  openedFiles_.push_back(path);
  return openResult_;
}

bool ScriptedUserServices::ShowHelpContents(const std::string& helpFile) {
  shownHelpFiles_.push_back(helpFile);
  return helpResult_;
}

ScopedScriptedUser::ScopedScriptedUser()
    : scripted_(std::make_shared<ScriptedUserServices>()), previous_(InstallUserServices(scripted_)) {}

ScopedScriptedUser::~ScopedScriptedUser() { InstallUserServices(previous_); }

}  // namespace user
