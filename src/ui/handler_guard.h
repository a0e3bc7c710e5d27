#pragma once
// What a window handler does with an error that escapes it: the error's text
// is shown and the window goes on. Nothing may escape into the event loop.
#include <exception>
#include <functional>
#include <string>

#include "platform/runtime/error.h"

namespace ui {

// A failure the user has already been shown (the engine's own message, or
// the check that refused a run): it ends what is running, and the handlers
// that catch it show nothing more.
class ShownError : public rt::Error {
 public:
  explicit ShownError(const std::string& description) : rt::Error(rt::kErrInvalidProcedureCall, description) {}
};

// The text a message shows for an error: its description.
std::string ErrorText(const std::exception& error);

// Shows an error's text in a plain message box (nothing for a ShownError). A
// failure of the message box itself is swallowed, so that reporting never throws.
void ShowError(const std::exception& error);
void ShowError(const std::string& text);

// Runs a handler body, showing any error that escapes it.
void RunHandler(const std::function<void()>& body);

}  // namespace ui
