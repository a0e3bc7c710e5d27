#include "ui/field_input_rules.h"

#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "platform/runtime/conversions.h"
#include "ui/focus_watch.h"

namespace ui {
namespace {

constexpr int16_t kBackspace = 8;
constexpr int16_t kMinus = '-';
constexpr int16_t kPoint = '.';
// Set on a box while a saved text is put back into it.
constexpr const char* kStoredTextProperty = "storedTextBeingSet";

// The characters a symbol list never holds.
const QString kNotInSymbols = QStringLiteral(",./:1234567890-\\][\'");

bool Holds(const FieldText& field, QChar c) { return field.text.contains(c); }
bool AllSelected(const FieldText& field) { return field.selLength >= field.text.size(); }

// The decimal point: one per box, wherever the selection lies.
KeyOutcome Point(const FieldText& field) { return {Holds(field, '.') ? int16_t(0) : kPoint, std::nullopt}; }

KeyOutcome SignedMinus(const FieldText& field) {
  if (AllSelected(field)) return {kMinus, std::nullopt};  // typed normally, replacing the selection
  if (Holds(field, '-')) return {0, std::nullopt};
  return {0, "-" + field.text};
}

KeyOutcome StepMinus(const FieldText& field) {
  if (Holds(field, '-')) return {0, std::nullopt};
  return {0, "-" + field.text};
}

// The character codes a key press types; empty for keys that type nothing
// (arrows, Delete, function keys) and for Tab, which moves the focus.
std::vector<int16_t> TypedCodes(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) return {};
  Qt::KeyboardModifiers mods = key.modifiers();
  // Control with a letter types its control character (Ctrl+V is 22), as
  // the platforms without a text for it would otherwise hide.
  if ((mods & Qt::ControlModifier) && !(mods & (Qt::AltModifier | Qt::MetaModifier)) && key.key() >= Qt::Key_A &&
      key.key() <= Qt::Key_Z)
    return {static_cast<int16_t>(key.key() - Qt::Key_A + 1)};
  std::vector<int16_t> codes;
  for (QChar c : key.text()) codes.push_back(static_cast<int16_t>(c.unicode()));
  return codes;
}

FieldText StateOf(const QLineEdit& box) {
  FieldText field;
  field.text = box.text();
  field.selStart = box.hasSelectedText() ? box.selectionStart() : box.cursorPosition();
  field.selLength = static_cast<int>(box.selectedText().size());
  return field;
}

class KeyRuleFilter : public QObject {
 public:
  KeyRuleFilter(QLineEdit* box, KeyRule rule) : QObject(box), box_(box), rule_(rule) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    for (int16_t code : TypedCodes(static_cast<const QKeyEvent&>(*event))) {
      KeyOutcome outcome = ApplyKeyRule(rule_, code, StateOf(*box_));
      if (outcome.newText) box_->setText(*outcome.newText);
      if (outcome.code == 0) return true;
    }
    return false;
  }

 private:
  QLineEdit* box_;
  KeyRule rule_;
};

}  // namespace

int16_t NumberTest(int16_t code) {
  if (code == kBackspace) return kBackspace;
  if (code >= '0' && code <= '9') return code;
  return 0;
}

KeyOutcome ApplyKeyRule(KeyRule rule, int16_t code, const FieldText& field) {
  switch (rule) {
    case KeyRule::SignedDecimal:
      if (code == kPoint) return Point(field);
      if (code == kMinus) return SignedMinus(field);
      break;
    case KeyRule::Step:
      if (code == kPoint) return Point(field);
      if (code == kMinus) return StepMinus(field);
      break;
    case KeyRule::Decimal:
      if (code == kPoint) return Point(field);
      break;
    case KeyRule::Digits: break;
    case KeyRule::SymbolList: {
      bool refused = code > 0 && kNotInSymbols.contains(QChar(static_cast<char16_t>(code)));
      return {refused ? int16_t(0) : code, std::nullopt};
    }
  }
  return {NumberTest(code), std::nullopt};
}

std::optional<Repair> ApplyChangeRule(ChangeRule rule, const FieldText& field) {
  switch (rule) {
    case ChangeRule::SignRepairUnselected:
      if (field.selLength != 0) return std::nullopt;
      [[fallthrough]];
    case ChangeRule::SignRepair: {
      qsizetype minus = field.text.indexOf('-');
      if (minus <= 0) return std::nullopt;  // none, or already in front
      QString digits = field.text;
      digits.remove('-');
      return Repair{"-" + digits, 2};
    }
    case ChangeRule::NumericRepair:
      if (rt::IsNumeric(field.text.toStdString())) return std::nullopt;
      return Repair{"0", std::nullopt};
  }
  return std::nullopt;
}

void InstallKeyRule(QLineEdit* box, KeyRule rule) { box->installEventFilter(new KeyRuleFilter(box, rule)); }

void InstallChangeRule(QLineEdit* box, ChangeRule rule) {
  QObject::connect(box, &QLineEdit::textChanged, box, [box, rule] {
    if (box->property(kStoredTextProperty).toBool()) return;
    std::optional<Repair> repair = ApplyChangeRule(rule, StateOf(*box));
    if (!repair) return;
    box->setText(repair->text);  // runs the rule once more, which finds nothing to repair
    if (repair->cursor) box->setCursorPosition(std::min<int>(*repair->cursor, box->text().size()));
  });
}

void SetStoredText(QLineEdit* box, const QString& text) {
  box->setProperty(kStoredTextProperty, true);
  box->setText(text);
  box->setProperty(kStoredTextProperty, false);
}

void InstallFocusRule(QLineEdit* box, FocusRule rule, std::function<void()> showHelp) {
  WatchFocus(box, QEvent::FocusIn, [box, rule, showHelp](const QFocusEvent& focus) {
    if (rule != FocusRule::SelectAll && showHelp) showHelp();
    if (rule == FocusRule::Help) return;
    box->setSelection(0, static_cast<int>(box->text().size()));
    // A click places the caret after the focus arrives; select again once it has.
    if (focus.reason() == Qt::MouseFocusReason) QTimer::singleShot(0, box, [box] { box->selectAll(); });
  });
}

}  // namespace ui
