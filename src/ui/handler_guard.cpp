#include "ui/handler_guard.h"

#include "platform/runtime/error.h"
#include "platform/user/user_services.h"

namespace ui {

std::string ErrorText(const std::exception& error) {
  if (const auto* runtimeError = dynamic_cast<const rt::Error*>(&error)) return runtimeError->Description();
  return error.what();
}

void ShowError(const std::string& text) {
  try {
    user::MsgBox(text);
  } catch (...) {
  }
}

void ShowError(const std::exception& error) {
  if (dynamic_cast<const ShownError*>(&error)) return;
  ShowError(ErrorText(error));
}

void RunHandler(const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& error) {
    ShowError(error);
  } catch (...) {
    ShowError("An unexpected error occurred.");
  }
}

}  // namespace ui
