#pragma once
// Per-character input rules of the numeric and symbol fields. They keep a
// box's text in a shape the run-parameter copy can convert; they never check
// a range and never show a message. Any line edit can carry them: the
// parameter panel and the sweep set-up fields use the same rules.
#include <QLineEdit>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace ui {

// The digit filter: backspace (8) and the ten digits pass unchanged, every
// other code, control characters included, becomes 0 (the key is swallowed).
int16_t NumberTest(int16_t code);

// A box's text and selection (0-based start, length) as a key rule sees them.
struct FieldText {
  QString text;
  int selStart = 0;
  int selLength = 0;
};

// What a key does: the code that goes on to the box (0: swallowed) and, when
// set, the whole text the rule puts into the box first.
struct KeyOutcome {
  int16_t code = 0;
  std::optional<QString> newText;
};

enum class KeyRule {
  SignedDecimal,  // digits, one ".", a "-" that always lands in front
  Step,           // like SignedDecimal, but "-" only ever prefixes the text
  Digits,         // NumberTest alone
  Decimal,        // digits and one "."
  SymbolList,     // everything but digits and the punctuation of ",./:-\][']"
};
KeyOutcome ApplyKeyRule(KeyRule rule, int16_t code, const FieldText& field);

enum class ChangeRule {
  SignRepairUnselected,  // a "-" inside the text moves to the front, unless text is selected
  SignRepair,            // the same, whatever the selection
  NumericRepair,         // a text that is not a number becomes "0"
};
// The text and caret a change rule puts into the box after a change; nullopt
// when the text needs no repair.
struct Repair {
  QString text;
  std::optional<int> cursor;  // 0-based caret position, when the rule sets one
};
std::optional<Repair> ApplyChangeRule(ChangeRule rule, const FieldText& field);

enum class FocusRule {
  HelpAndSelectAll,
  SelectAll,
  Help,
};

// Attach a rule to a box. The key rule acts on each typed character (not on
// Tab, which moves the focus, nor on keys that type nothing); the change rule
// runs after every change of the text, typed, pasted or set by the program
// (but for a stored text put back by SetStoredText);
// the focus rule runs `showHelp` (when given and the rule asks for it) and
// selects the whole text whenever the box receives the focus.
void InstallKeyRule(QLineEdit* box, KeyRule rule);
void InstallChangeRule(QLineEdit* box, ChangeRule rule);
void InstallFocusRule(QLineEdit* box, FocusRule rule, std::function<void()> showHelp = {});

// Puts a saved text (a settings file's value) back into a box as it was
// saved: the change rule, which repairs what is typed, leaves it alone, so an
// empty value stays empty whatever the box held before.
void SetStoredText(QLineEdit* box, const QString& text);

}  // namespace ui
