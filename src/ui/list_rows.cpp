#include "ui/list_rows.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "platform/runtime/date.h"
#include "platform/runtime/number_text.h"

namespace ui {
namespace {

// An empty date cell's day: no date is this far from 1900.
constexpr int32_t kNoDay = INT32_MIN;

rt::Date DateOfDay(int32_t day) { return rt::Date(static_cast<double>(day)); }

// The key of a text of digits, signs, points and upper-case letters (the
// only characters of number and date texts): its bytes, since none of them
// changes its order when case is ignored.
SortKey KeyOfText(std::string_view text) {
  SortKey key{};
  std::memcpy(key.data(), text.data(), std::min(text.size(), key.size()));
  return key;
}

// A value in four bytes, most significant first, after a non-zero byte so
// that it comes after an empty cell.
SortKey KeyOfValue(uint32_t value) {
  SortKey key{};
  key[0] = 1;
  for (int i = 0; i < 4; ++i) key[1 + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
  return key;
}

}  // namespace

Cell Cell::Text(std::string_view text) {
  Cell cell;
  cell.kind_ = CellKind::kText;
  cell.empty_ = false;
  cell.text_ = text;
  return cell;
}

Cell Cell::Whole(int32_t value) {
  Cell cell;
  cell.kind_ = CellKind::kWhole;
  cell.empty_ = false;
  cell.whole_ = value;
  return cell;
}

Cell Cell::Number(double value) {
  Cell cell;
  cell.kind_ = CellKind::kNumber;
  cell.empty_ = false;
  cell.number_ = value;
  return cell;
}

Cell Cell::Single(float value) {
  Cell cell;
  cell.kind_ = CellKind::kSingle;
  cell.empty_ = false;
  cell.single_ = value;
  return cell;
}

Cell Cell::Date(rt::Date value) {
  Cell cell;
  cell.kind_ = CellKind::kDate;
  cell.empty_ = false;
  cell.whole_ = static_cast<int32_t>(value.DayNumber());
  return cell;
}

ListRows::ListRows(std::vector<ColumnKind> columns) {
  for (const ColumnKind& kind : columns) columns_.push_back({kind, {}, {}, {}, {}});
  Intern("");
}

uint32_t ListRows::Intern(std::string_view text) {
  auto found = textIds_.find(text);
  if (found != textIds_.end()) return found->second;
  const auto id = static_cast<uint32_t>(texts_.size());
  texts_.push_back(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  textIds_.emplace(std::string(text), id);
  return id;
}

bool ListRows::IsEmpty(const Column& column, uint32_t row) const {
  return row < column.empty.size() && column.empty[row];
}

void ListRows::Store(Column& column, uint32_t row, const Cell& cell, bool append) {
  const CellKind kind = column.kind.kind;
  if (kind == CellKind::kSortDate) return;
  if (!cell.empty_ && cell.kind_ != kind) throw std::invalid_argument("a list cell of another kind than its column");
  if (cell.empty_ && kind != CellKind::kText) {
    if (column.empty.size() <= row) column.empty.resize(row + 1);
    column.empty[row] = true;
  } else if (row < column.empty.size()) {
    column.empty[row] = false;
  }
  // An empty text is the text "" (id 0): it shows and sorts the same.
  auto put = [&](auto& values, auto value) {
    if (append) values.push_back(value);
    else values[row] = value;
  };
  switch (kind) {
    case CellKind::kText: put(column.ints, static_cast<int32_t>(cell.empty_ ? 0 : Intern(cell.text_))); break;
    case CellKind::kWhole: put(column.ints, cell.empty_ ? 0 : cell.whole_); break;
    case CellKind::kDate: put(column.ints, cell.empty_ ? kNoDay : cell.whole_); break;
    case CellKind::kNumber: put(column.numbers, cell.empty_ ? 0.0 : cell.number_); break;
    case CellKind::kSingle: put(column.singles, cell.empty_ ? 0.0f : cell.single_); break;
    case CellKind::kSortDate: break;
  }
}

void ListRows::Append(std::span<const Cell> cells) {
  if (cells.size() > columns_.size()) throw std::invalid_argument("a list row with more cells than columns");
  const Cell empty;
  for (size_t c = 0; c < columns_.size(); ++c) Store(columns_[c], count_, c < cells.size() ? cells[c] : empty, true);
  ++count_;
}

void ListRows::Set(uint32_t row, int column, const Cell& cell) { Store(columns_.at(column), row, cell, false); }

QString ListRows::Text(uint32_t row, int column) const {
  const Column& cells = columns_.at(column);
  if (cells.kind.kind == CellKind::kSortDate) {
    const Column& dates = columns_.at(cells.kind.dateColumn);
    return IsEmpty(dates, row) ? QString() : QString::fromStdString(rt::FormatYYYYMMDD(DateOfDay(dates.ints[row])));
  }
  if (IsEmpty(cells, row)) return QString();
  switch (cells.kind.kind) {
    case CellKind::kText: return texts_[cells.ints[row]];
    case CellKind::kWhole: return QString::number(cells.ints[row]);
    case CellKind::kNumber: return QString::fromStdString(rt::FormatNumber(cells.numbers[row]));
    case CellKind::kSingle: return QString::fromStdString(rt::FormatSingle(cells.singles[row]));
    case CellKind::kDate: return QString::fromStdString(rt::FormatShortDate(DateOfDay(cells.ints[row])));
    case CellKind::kSortDate: break;
  }
  return QString();
}

void ListRows::Clear() {
  for (Column& column : columns_) column = {column.kind, {}, {}, {}, {}};
  count_ = 0;
  texts_.clear();
  textIds_.clear();
  Intern("");
}

std::vector<uint32_t> ListRows::TextRanks() const {
  std::vector<uint32_t> byText(texts_.size());
  std::iota(byText.begin(), byText.end(), 0u);
  auto compare = [this](uint32_t a, uint32_t b) { return texts_[a].compare(texts_[b], Qt::CaseInsensitive); };
  std::sort(byText.begin(), byText.end(), [&](uint32_t a, uint32_t b) { return compare(a, b) < 0; });
  std::vector<uint32_t> ranks(texts_.size());
  uint32_t rank = 0;
  for (size_t i = 0; i < byText.size(); ++i) {
    if (i > 0 && compare(byText[i - 1], byText[i]) != 0) ++rank;
    ranks[byText[i]] = rank;
  }
  return ranks;
}

SortKey ListRows::KeyOf(uint32_t row, int column, std::span<const uint32_t> ranks) const {
  const Column& cells = columns_.at(column);
  if (cells.kind.kind == CellKind::kSortDate) {
    // Day numbers in the order of their "YYYYMMDD" texts.
    const Column& dates = columns_.at(cells.kind.dateColumn);
    return IsEmpty(dates, row) ? SortKey{} : KeyOfValue(static_cast<uint32_t>(dates.ints[row]) ^ 0x80000000u);
  }
  if (IsEmpty(cells, row)) return SortKey{};
  switch (cells.kind.kind) {
    case CellKind::kText: {
      // A text added since the ranks were made sorts after every other.
      const auto id = static_cast<uint32_t>(cells.ints[row]);
      return KeyOfValue(id < ranks.size() ? ranks[id] : UINT32_MAX);
    }
    case CellKind::kWhole: {
      char digits[16];
      return KeyOfText({digits, std::to_chars(digits, digits + sizeof digits, cells.ints[row]).ptr});
    }
    case CellKind::kNumber: return KeyOfText(rt::FormatNumber(cells.numbers[row]));
    case CellKind::kSingle: return KeyOfText(rt::FormatSingle(cells.singles[row]));
    case CellKind::kDate: return KeyOfText(rt::FormatShortDate(DateOfDay(cells.ints[row])));
    case CellKind::kSortDate: break;
  }
  return SortKey{};
}

std::optional<uint32_t> ListRows::KeyPart(const Cell& cell) const {
  if (cell.empty_) return cell.kind_ == CellKind::kDate ? static_cast<uint32_t>(kNoDay) : 0u;
  if (cell.kind_ != CellKind::kText) return static_cast<uint32_t>(cell.whole_);
  auto found = textIds_.find(cell.text_);
  if (found == textIds_.end()) return std::nullopt;
  return found->second;
}

uint32_t ListRows::KeyPartOf(uint32_t row, int column) const {
  return static_cast<uint32_t>(columns_[column].ints[row]);
}

}  // namespace ui
