#include "ui/qt_user_services.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QUrl>
#include <utility>
#include <vector>

namespace ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString TitleOrDefault(const std::string& title) { return Q(title.empty() ? user::kApplicationTitle : title); }

// The buttons of a message box style, each with the answer it gives.
std::vector<std::pair<QMessageBox::StandardButton, int>> Buttons(int style) {
  switch (style & 7) {
    case user::kOKCancel: return {{QMessageBox::Ok, user::kAnswerOK}, {QMessageBox::Cancel, user::kAnswerCancel}};
    case user::kAbortRetryIgnore:
      return {{QMessageBox::Abort, user::kAnswerAbort},
              {QMessageBox::Retry, user::kAnswerRetry},
              {QMessageBox::Ignore, user::kAnswerIgnore}};
    case user::kYesNoCancel:
      return {{QMessageBox::Yes, user::kAnswerYes},
              {QMessageBox::No, user::kAnswerNo},
              {QMessageBox::Cancel, user::kAnswerCancel}};
    case user::kYesNo: return {{QMessageBox::Yes, user::kAnswerYes}, {QMessageBox::No, user::kAnswerNo}};
    case user::kRetryCancel:
      return {{QMessageBox::Retry, user::kAnswerRetry}, {QMessageBox::Cancel, user::kAnswerCancel}};
    default: return {{QMessageBox::Ok, user::kAnswerOK}};
  }
}

QMessageBox::Icon IconOf(int style) {
  switch (style & 0x70) {
    case user::kCritical: return QMessageBox::Critical;
    case user::kQuestion: return QMessageBox::Question;
    case user::kExclamation: return QMessageBox::Warning;
    case user::kInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// Shows the normal arrow while a dialog waits for the user, whatever busy
// pointer a run has set.
class ArrowWhileAsking {
 public:
  ArrowWhileAsking() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~ArrowWhileAsking() { QApplication::restoreOverrideCursor(); }
};

QFileDialog::Options DialogOptions() { return QFileDialog::DontConfirmOverwrite; }

}  // namespace

QString QtNameFilters(const std::string& filter) {
  QStringList parts = Q(filter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    int bracket = description.indexOf('(');
    if (bracket > 0) description = description.left(bracket).trimmed();
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(';', ' ');
    patterns.replace("*.*", "*");
    filters << description + " (" + patterns + ")";
  }
  if (filters.isEmpty()) filters << "All Files (*)";
  return filters.join(";;");
}

QString DefaultSuffix(const std::string& filter) {
  QStringList parts = Q(filter).split('|');
  if (parts.size() < 2) return "";
  QString first = parts[1].split(';').first().trimmed();
  if (!first.startsWith("*.")) return "";
  QString suffix = first.mid(2);
  return suffix.contains('*') || suffix.contains('?') ? "" : suffix;
}

int QtUserServices::MsgBox(const std::string& prompt, int style, const std::string& title) {
  QMessageBox box(IconOf(style), TitleOrDefault(title), Q(prompt), QMessageBox::NoButton, QApplication::activeWindow());
  auto buttons = Buttons(style);
  std::vector<QPushButton*> made;
  for (auto& [button, answer] : buttons) made.push_back(box.addButton(button));
  size_t defaultIndex = static_cast<size_t>((style & 0x300) / 256);
  if (defaultIndex >= made.size()) defaultIndex = 0;
  box.setDefaultButton(made[defaultIndex]);
  for (size_t i = 0; i < buttons.size(); ++i)
    if (buttons[i].second == user::kAnswerCancel || buttons.size() == 1) box.setEscapeButton(made[i]);

  ArrowWhileAsking arrow;
  box.exec();
  for (size_t i = 0; i < made.size(); ++i)
    if (box.clickedButton() == made[i]) return buttons[i].second;
  // Closed without a button (a box without Cancel): the last button's answer.
  return buttons.back().second;
}

std::string QtUserServices::InputBox(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) {
  ArrowWhileAsking arrow;
  bool accepted = false;
  QString text = QInputDialog::getText(QApplication::activeWindow(), TitleOrDefault(title), Q(prompt),
                                       QLineEdit::Normal, Q(defaultText), &accepted);
  return accepted ? text.toStdString() : "";
}

std::string QtUserServices::OpenFileDialog(const user::FileDialogRequest& request) {
  ArrowWhileAsking arrow;
  QFileDialog dialog(QApplication::activeWindow(), Q(request.title), Q(request.startFolder),
                     QtNameFilters(request.filter));
  dialog.setOptions(DialogOptions());
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(DefaultSuffix(request.filter));
  if (!request.fileName.empty()) dialog.selectFile(Q(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
  return dialog.selectedFiles().first().toStdString();
}

std::string QtUserServices::SaveFileDialog(const user::FileDialogRequest& request) {
  ArrowWhileAsking arrow;
  QFileDialog dialog(QApplication::activeWindow(), Q(request.title), Q(request.startFolder),
                     QtNameFilters(request.filter));
  // The program asks its own overwrite question.
  dialog.setOptions(DialogOptions());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(DefaultSuffix(request.filter));
  if (!request.fileName.empty()) dialog.selectFile(Q(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
  return dialog.selectedFiles().first().toStdString();
}

void QtUserServices::DoEvents() {
  if (yieldPace_.Due()) QCoreApplication::processEvents();
}

void QtUserServices::SetPointer(int pointer) {
  pointer_ = pointer;
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  if (pointer == user::kPointerHourglass) QApplication::setOverrideCursor(Qt::WaitCursor);
  else if (pointer == user::kPointerArrowHourglass) QApplication::setOverrideCursor(Qt::BusyCursor);
}

bool QtUserServices::OpenWithDefaultApp(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
}

bool QtUserServices::ShowHelpContents(const std::string& helpFile) {
  // The help is an HTML page, shown by the desktop's browser.
  QString page = Q(helpFile);
  return QFileInfo::exists(page) && QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

}  // namespace ui
