#pragma once
// What a sweep writes into the window's fields is put back as the user typed
// it on every way out of the sweep: its end, a Pause, a Stop or an error. A
// resumed sweep then sets up the same ranges again.
#include <QComboBox>
#include <QLineEdit>
#include <utility>
#include <vector>

namespace optimiser {

class TypedFieldsGuard {
 public:
  TypedFieldsGuard() = default;
  TypedFieldsGuard(const TypedFieldsGuard&) = delete;
  TypedFieldsGuard& operator=(const TypedFieldsGuard&) = delete;
  ~TypedFieldsGuard() {
    for (const auto& [field, text] : fields_)
      if (field->text() != text) field->setText(text);
    for (QComboBox* list : lists_)
      if (list->count() > 0) list->setCurrentIndex(0);
  }

  // Remembers the field's text as it stands now.
  void Keep(QLineEdit* field) { fields_.emplace_back(field, field->text()); }
  // A swept list goes back to its first entry.
  void KeepList(QComboBox* list) { lists_.push_back(list); }

 private:
  std::vector<std::pair<QLineEdit*, QString>> fields_;
  std::vector<QComboBox*> lists_;
};

}  // namespace optimiser
