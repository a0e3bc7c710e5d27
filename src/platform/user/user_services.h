#pragma once
// What the engine and the windows ask of the user: message boxes, an input
// box, file dialogs, yielding to the window system, the busy pointer, opening
// a file with the desktop's application and the help contents.
//
// The program installs the Qt implementation; tests install ScriptedUserServices
// (scripted_user_services.h). Without either, HeadlessUserServices answers
// every question with its default button and writes the prompt to stderr.
#include <functional>
#include <memory>
#include <string>

namespace user {

// Message box styles: buttons + icon + default button, added together.
inline constexpr int kOKOnly = 0;
inline constexpr int kOKCancel = 1;
inline constexpr int kAbortRetryIgnore = 2;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kRetryCancel = 5;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;
inline constexpr int kDefaultButton1 = 0;
inline constexpr int kDefaultButton2 = 256;
inline constexpr int kDefaultButton3 = 512;

// Answer codes.
inline constexpr int kAnswerOK = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerAbort = 3;
inline constexpr int kAnswerRetry = 4;
inline constexpr int kAnswerIgnore = 5;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// Screen pointers.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;
inline constexpr int kPointerArrowHourglass = 13;

// The title a message box shows when none is given.
inline constexpr const char* kApplicationTitle = "Kestrovane";

struct FileDialogRequest {
  std::string title;
  std::string startFolder;
  std::string filter;    // "Simulation Files (*.sim)|*.sim|All Files|*.*"
  std::string fileName;  // suggested name
};

class UserServices {
 public:
  virtual ~UserServices() = default;

  // Shows a message; returns the answer code of the button chosen.
  virtual int MsgBox(const std::string& prompt, int style = kOKOnly, const std::string& title = "") = 0;
  // Asks for a text; "" when cancelled.
  virtual std::string InputBox(const std::string& prompt, const std::string& title = "",
                               const std::string& defaultText = "") = 0;
  // The chosen path; "" when cancelled.
  virtual std::string OpenFileDialog(const FileDialogRequest& request) = 0;
  virtual std::string SaveFileDialog(const FileDialogRequest& request) = 0;

  // Lets the window system process pending events (input, repaints).
  virtual void DoEvents() = 0;
  virtual void SetPointer(int pointer) = 0;
  virtual int Pointer() const = 0;

  // Opens the file with the application the desktop associates with it;
  // false when none is registered or it could not be started.
  virtual bool OpenWithDefaultApp(const std::string& path) = 0;
  // Shows the contents page of the help file with the desktop's viewer;
  // false when it could not be shown.
  virtual bool ShowHelpContents(const std::string& helpFile) = 0;
};

// The installed services (HeadlessUserServices until something is installed).
UserServices& User();
// Installs services; returns the ones installed before.
std::shared_ptr<UserServices> InstallUserServices(std::shared_ptr<UserServices> services);

// Convenience forms of the calls every module makes. MsgBox tells the
// message box watches (below) as the message opens and once it is answered.
int MsgBox(const std::string& prompt, int style = kOKOnly, const std::string& title = "");
inline void DoEvents() { User().DoEvents(); }

// Hears, for as long as it lives, each message box open (true) and close
// (false): the time a message stands open is the user's, not the program's
// work (a run's clock stops meanwhile).
class MessageBoxWatch {
 public:
  explicit MessageBoxWatch(std::function<void(bool open)> heard);
  ~MessageBoxWatch();
  MessageBoxWatch(const MessageBoxWatch&) = delete;
  MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

  void Hear(bool open) const { heard_(open); }

 private:
  std::function<void(bool open)> heard_;
};

// Sets the pointer for a scope and restores the default at its end.
class BusyPointer {
 public:
  explicit BusyPointer(int pointer = kPointerHourglass) { User().SetPointer(pointer); }
  ~BusyPointer() { User().SetPointer(kPointerDefault); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

class HeadlessUserServices : public UserServices {
 public:
  int MsgBox(const std::string& prompt, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) override;
  std::string OpenFileDialog(const FileDialogRequest& request) override;
  std::string SaveFileDialog(const FileDialogRequest& request) override;
  void DoEvents() override {}
  void SetPointer(int pointer) override { pointer_ = pointer; }
  int Pointer() const override { return pointer_; }
  bool OpenWithDefaultApp(const std::string& path) override;
  bool ShowHelpContents(const std::string&) override { return false; }

 private:
  int pointer_ = kPointerDefault;
};

}  // namespace user
