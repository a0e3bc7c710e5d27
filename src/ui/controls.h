#pragma once
// The windows' controls by their design names. A control that belongs to a
// control array keeps its index: its object name is "name_index"
// ("txtSimOption_5"), a single control's object name is its name ("chkUseMA").
// Each window registers its controls in creation order; that order is the
// order of the control lines in the settings files.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "platform/runtime/date.h"
#include "ui/date_picker.h"

namespace ui {

QString Q(const std::string& text);
std::string S(const QString& text);

rt::Date ToDate(const QDate& date);
QDate ToQDate(const rt::Date& date);

// A label's text colour.
void SetTextColour(QLabel* label, const QColor& colour);

// Holds a widget's drawing, for its life, until the window is next drawn:
// a progress bar draws itself at once whenever its value moves a pixel, and
// a run sets its bars far more often than the window is drawn, at the run's
// paced yields.
class DrawnLater {
 public:
  explicit DrawnLater(QWidget* widget) : widget_(widget->updatesEnabled() ? widget : nullptr) {
    if (widget_) widget_->setUpdatesEnabled(false);
  }
  ~DrawnLater() {
    if (widget_) widget_->setUpdatesEnabled(true);  // asks for the drawing
  }
  DrawnLater(const DrawnLater&) = delete;
  DrawnLater& operator=(const DrawnLater&) = delete;

 private:
  QWidget* widget_;
};

// "txtSimOption(5)" or "chkUseMA", as messages name a control.
std::string ControlDisplayName(const std::string& name, int index);
// The object name of a control: "txtSimOption_5" or "chkUseMA".
QString ControlObjectName(const std::string& name, int index);

// A check box with the three values of the design: 0 unchecked, 1 checked,
// 2 greyed. The user's click toggles between checked and unchecked; only the
// program (or a settings file) sets the grey value.
class CheckBox : public QCheckBox {
 public:
  explicit CheckBox(const QString& caption, QWidget* parent = nullptr);
  int Value() const;
  void SetValue(int value);

 protected:
  void nextCheckState() override;
};

// An option button. The buttons of one control array exclude each other (a
// button group), and the program may also clear the selected one so that
// none is selected.
class OptionButton : public QRadioButton {
 public:
  explicit OptionButton(const QString& caption, QWidget* parent = nullptr);
  bool Value() const { return isChecked(); }
  void SetValue(bool value);
};

// The five kinds that the settings files hold, and everything else.
enum class ControlKind { TextBox, ComboBox, OptionButton, CheckBox, DatePicker, Other };

struct FormControl {
  QWidget* widget = nullptr;
  std::string name;
  int index = -1;     // -1: not in a control array
  bool skip = false;  // Tag "skip": only the start-up settings file holds it
  ControlKind kind = ControlKind::Other;

  // "5" or "X", as the settings files write the index.
  std::string IndexText() const;
};

// Where a window keeps its controls by name and index.
class ControlCollection {
 public:
  // Registers a control (in creation order) and sets its object name.
  template <typename W>
  W* Add(W* widget, const std::string& name, int index = -1, bool skip = false) {
    Register(widget, name, index, skip);
    return widget;
  }

  // The control or nullptr.
  QWidget* Find(std::string_view name, int index = -1) const;
  // The control as a given type; throws rt::Error when it is missing.
  template <typename W>
  W* Get(std::string_view name, int index = -1) const {
    Recent& recent = recent_[RecentSlot(name.data(), index)];
    if (recent.data == name.data() && recent.index == index && recent.type == &typeid(W) && recent.name == name)
      return static_cast<W*>(recent.widget);
    auto* widget = dynamic_cast<W*>(Find(name, index));
    if (!widget) MissingControl(name, index);
    recent = {name.data(), std::string(name), index, &typeid(W), widget};
    return widget;
  }

  const std::vector<FormControl>& All() const { return controls_; }

 private:
  void Register(QWidget* widget, const std::string& name, int index, bool skip);
  [[noreturn]] static void MissingControl(std::string_view name, int index);

  std::vector<FormControl> controls_;
  // Name -> position in controls_ + 1 (0: none) of each index + 1, so that a
  // lookup, which the window makes for every field of every run (and a sweep
  // for every variation), builds no text: names are looked up as they stand.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
  };
  std::unordered_map<std::string, std::vector<size_t>, NameHash, std::equal_to<>> byName_;

  // The latest lookups, found again by the address of the name asked with
  // (the callers' literals keep theirs) and checked against the name itself:
  // the window looks its fields up on every run and every sweep variation,
  // and this spares it the hash and the cast.
  struct Recent {
    const char* data = nullptr;
    std::string name;
    int index = 0;
    const std::type_info* type = nullptr;
    QWidget* widget = nullptr;  // a `type`
  };
  static size_t RecentSlot(const char* name, int index) {
    const auto address = reinterpret_cast<uintptr_t>(name);
    return ((address ^ (address >> 8)) + static_cast<size_t>(index) * 31) % kRecentSlots;
  }
  static constexpr size_t kRecentSlots = 512;
  mutable std::array<Recent, kRecentSlots> recent_;
};

// The value of a settings-file control as its line holds it.
std::string ControlValueText(const FormControl& control);
// Puts a value text into a control; false (control unchanged) when the control
// refuses it.
bool SetControlValueText(const FormControl& control, const std::string& value);

}  // namespace ui
