#include "platform/db/recordset.h"

#include <strings.h>

#include "platform/db/db_error.h"

namespace db {
namespace {

[[noreturn]] void RaiseItemNotFound() {
  Raise(kErrItemNotFound, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

}  // namespace

Recordset::Recordset(std::vector<std::string> fieldNames, std::vector<Value> cells)
    : open_(true), names_(std::move(fieldNames)), cells_(std::move(cells)) {
  rows_ = names_.empty() ? 0 : cells_.size() / names_.size();
}

void Recordset::Close() {
  RequireOpen();
  open_ = false;
  names_.clear();
  cells_.clear();
  rows_ = position_ = 0;
}

void Recordset::RequireOpen() const {
  if (!open_) Raise(kErrObjectClosed, kObjectClosedText);
}

bool Recordset::Eof() const {
  RequireOpen();
  return position_ >= rows_;
}

void Recordset::MoveNext() {
  if (Eof()) Raise(kErrNoCurrentRecord, kNoCurrentRecordText);
  ++position_;
}

int Recordset::FieldCount() const {
  RequireOpen();
  return static_cast<int>(names_.size());
}

long Recordset::RecordCount() const {
  RequireOpen();
  return static_cast<long>(rows_);
}

const std::string& Recordset::FieldName(int index) const {
  RequireOpen();
  if (index < 0 || static_cast<size_t>(index) >= names_.size()) RaiseItemNotFound();
  return names_[static_cast<size_t>(index)];
}

const Value& Recordset::Current(size_t column) const {
  if (position_ >= rows_) Raise(kErrNoCurrentRecord, kNoCurrentRecordText);
  return cells_[position_ * names_.size() + column];
}

const Value& Recordset::Field(int index) const {
  RequireOpen();
  if (index < 0 || static_cast<size_t>(index) >= names_.size()) RaiseItemNotFound();
  return Current(static_cast<size_t>(index));
}

const Value& Recordset::Field(std::string_view name) const {
  RequireOpen();
  for (size_t i = 0; i < names_.size(); ++i)
    if (names_[i].size() == name.size() && strncasecmp(names_[i].data(), name.data(), name.size()) == 0)
      return Current(i);
  RaiseItemNotFound();
}

}  // namespace db
