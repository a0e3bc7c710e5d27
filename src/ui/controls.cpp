#include "ui/controls.h"

#include <QButtonGroup>

#include "platform/runtime/error.h"
#include "ui/field_input_rules.h"

namespace ui {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

rt::Date ToDate(const QDate& date) {
  if (!date.isValid()) return rt::Date();
  return rt::DateSerial(date.year(), date.month(), date.day());
}

QDate ToQDate(const rt::Date& date) { return QDate(date.Year(), date.Month(), date.Day()); }

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

std::string ControlDisplayName(const std::string& name, int index) {
  return index < 0 ? name : name + "(" + std::to_string(index) + ")";
}

QString ControlObjectName(const std::string& name, int index) {
  return Q(index < 0 ? name : name + "_" + std::to_string(index));
}

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) { setTristate(true); }

int CheckBox::Value() const {
  switch (checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
  }
}

void CheckBox::SetValue(int value) {
  if (value == 0) setCheckState(Qt::Unchecked);
  else if (value == 1) setCheckState(Qt::Checked);
  else if (value == 2) setCheckState(Qt::PartiallyChecked);
}

void CheckBox::nextCheckState() { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }

OptionButton::OptionButton(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {}

void OptionButton::SetValue(bool value) {
  if (value == isChecked()) return;
  if (value) {
    setChecked(true);
    return;
  }
  // The checked button of an exclusive group cannot be cleared directly.
  if (QButtonGroup* buttons = group(); buttons && buttons->exclusive()) {
    buttons->setExclusive(false);
    setChecked(false);
    buttons->setExclusive(true);
  } else {
    bool exclusive = autoExclusive();
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(exclusive);
  }
}

std::string FormControl::IndexText() const { return index < 0 ? "X" : std::to_string(index); }

void ControlCollection::Register(QWidget* widget, const std::string& name, int index, bool skip) {
  FormControl control;
  control.widget = widget;
  control.name = name;
  control.index = index;
  control.skip = skip;
  if (dynamic_cast<QLineEdit*>(widget) || dynamic_cast<QPlainTextEdit*>(widget)) control.kind = ControlKind::TextBox;
  else if (dynamic_cast<QComboBox*>(widget)) control.kind = ControlKind::ComboBox;
  else if (dynamic_cast<OptionButton*>(widget)) control.kind = ControlKind::OptionButton;
  else if (dynamic_cast<CheckBox*>(widget)) control.kind = ControlKind::CheckBox;
  else if (dynamic_cast<DatePicker*>(widget)) control.kind = ControlKind::DatePicker;
  widget->setObjectName(ControlObjectName(name, index));
  std::vector<size_t>& positions = byName_[name];
  const size_t slot = static_cast<size_t>(index < 0 ? 0 : index + 1);
  if (positions.size() <= slot) positions.resize(slot + 1, 0);
  positions[slot] = controls_.size() + 1;
  controls_.push_back(control);
  for (Recent& recent : recent_) recent.data = nullptr;  // the name may have named another control
}

QWidget* ControlCollection::Find(std::string_view name, int index) const {
  auto found = byName_.find(name);
  if (found == byName_.end() || index < -1) return nullptr;
  const size_t slot = static_cast<size_t>(index + 1);
  if (slot >= found->second.size() || found->second[slot] == 0) return nullptr;
  return controls_[found->second[slot] - 1].widget;
}

void ControlCollection::MissingControl(std::string_view name, int index) {
  throw rt::Error(340, "Control array element '" + ControlDisplayName(std::string(name), index) + "' doesn't exist");
}

std::string ControlValueText(const FormControl& control) {
  switch (control.kind) {
    case ControlKind::TextBox:
      if (auto* line = dynamic_cast<QLineEdit*>(control.widget)) return S(line->text());
      return S(static_cast<QPlainTextEdit*>(control.widget)->toPlainText());
    case ControlKind::ComboBox: return S(static_cast<QComboBox*>(control.widget)->currentText());
    case ControlKind::OptionButton: return static_cast<OptionButton*>(control.widget)->Value() ? "True" : "False";
    case ControlKind::CheckBox: return std::to_string(static_cast<CheckBox*>(control.widget)->Value());
    case ControlKind::DatePicker: return rt::FormatShortDate(static_cast<DatePicker*>(control.widget)->Value());
    case ControlKind::Other: break;
  }
  return "";
}

namespace {

bool SetComboText(QComboBox* combo, const std::string& value) {
  if (value.empty()) {
    combo->setCurrentIndex(-1);
    if (combo->isEditable()) combo->setEditText("");
    return true;
  }
  int item = combo->findText(Q(value), Qt::MatchExactly);
  if (item >= 0) {
    combo->setCurrentIndex(item);
    return true;
  }
  if (!combo->isEditable()) return false;
  combo->setCurrentIndex(-1);
  combo->setEditText(Q(value));
  return true;
}

}  // namespace

bool SetControlValueText(const FormControl& control, const std::string& value) {
  switch (control.kind) {
    case ControlKind::TextBox:
      if (auto* line = dynamic_cast<QLineEdit*>(control.widget)) SetStoredText(line, Q(value));
      else static_cast<QPlainTextEdit*>(control.widget)->setPlainText(Q(value));
      return true;
    case ControlKind::ComboBox: return SetComboText(static_cast<QComboBox*>(control.widget), value);
    case ControlKind::OptionButton: {
      QString text = Q(value).trimmed();
      if (text.compare("True", Qt::CaseInsensitive) == 0) static_cast<OptionButton*>(control.widget)->SetValue(true);
      else if (text.compare("False", Qt::CaseInsensitive) == 0)
        static_cast<OptionButton*>(control.widget)->SetValue(false);
      else return false;
      return true;
    }
    case ControlKind::CheckBox:
      if (value != "0" && value != "1" && value != "2") return false;
      static_cast<CheckBox*>(control.widget)->SetValue(value[0] - '0');
      return true;
    case ControlKind::DatePicker: {
      auto date = rt::ParseDate(value);
      if (!date) return false;
      QDate day = ToQDate(*date);
      auto* picker = static_cast<DatePicker*>(control.widget);
      if (!day.isValid() || day < picker->minimumDate() || day > picker->maximumDate()) return false;
      picker->SetValue(*date);
      return true;
    }
    case ControlKind::Other: break;
  }
  return false;
}

}  // namespace ui
