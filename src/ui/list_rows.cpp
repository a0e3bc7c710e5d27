#include "ui/list_rows.h"

#include <algorithm>
#include <array>
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

// The characters of number and date texts (digits, signs, points, slashes,
// "E" and the "1.#INF" of an infinity), in their byte order; a character's
// code is its place + 1, 0 standing for the end of the text.
constexpr std::string_view kKeyCharacters = "#+-./0123456789EFIN";

constexpr std::array<uint8_t, 256> KeyCodes() {
  std::array<uint8_t, 256> codes{};
  for (auto& code : codes) code = 31;  // no such text is made: after every other
  for (size_t i = 0; i < kKeyCharacters.size(); ++i)
    codes[static_cast<uint8_t>(kKeyCharacters[i])] = static_cast<uint8_t>(i + 1);
  return codes;
}
constexpr std::array<uint8_t, 256> kKeyCodes = KeyCodes();

// The key of a number or date text: its first 24 characters in five bits
// each. Their order is the order of the texts' bytes (no character of them
// changes its order when case is ignored).
SortKey KeyOfText(std::string_view text) {
  unsigned __int128 bits = 0;
  for (size_t i = 0; i < 24; ++i) bits = bits << 5 | (i < text.size() ? kKeyCodes[static_cast<uint8_t>(text[i])] : 0);
  return {static_cast<uint32_t>(bits >> 96), static_cast<uint32_t>(bits >> 64), static_cast<uint32_t>(bits >> 32),
          static_cast<uint32_t>(bits)};
}

// A value, after a non-zero word so that it comes after an empty cell.
SortKey KeyOfValue(uint32_t value) { return {1, value, 0, 0}; }

size_t WidthOf(CellKind kind) {
  switch (kind) {
    case CellKind::kNumber: return sizeof(double);
    case CellKind::kSortDate: return 0;
    default: return sizeof(int32_t);
  }
}

constexpr uint32_t kBitsPerPage = ListPages::kPageBytes * 8;

}  // namespace

Cell Cell::Text(std::string_view text) {
  Cell cell(CellKind::kText);
  cell.text_ = text;
  return cell;
}

Cell Cell::Whole(int32_t value) {
  Cell cell(CellKind::kWhole);
  cell.whole_ = value;
  return cell;
}

Cell Cell::Number(double value) {
  Cell cell(CellKind::kNumber);
  cell.number_ = value;
  return cell;
}

Cell Cell::Single(float value) {
  Cell cell(CellKind::kSingle);
  cell.single_ = value;
  return cell;
}

Cell Cell::Date(rt::Date value) {
  Cell cell(CellKind::kDate);
  cell.whole_ = static_cast<int32_t>(value.DayNumber());
  return cell;
}

ListRows::ListRows(std::vector<ColumnKind> columns) {
  for (const ColumnKind& kind : columns) columns_.push_back({kind, WidthOf(kind.kind), {}, {}});
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

template <class T>
T ListRows::Value(const Column& column, uint32_t row) const {
  const size_t perPage = ListPages::kPageBytes / sizeof(T);
  T value;
  std::memcpy(&value, pages_.Read(column.pages[row / perPage]) + row % perPage * sizeof(T), sizeof(T));
  return value;
}

template <class T>
void ListRows::SetValue(Column& column, uint32_t row, T value) {
  const size_t perPage = ListPages::kPageBytes / sizeof(T);
  std::memcpy(pages_.Write(column.pages[row / perPage]) + row % perPage * sizeof(T), &value, sizeof(T));
}

bool ListRows::IsEmpty(const Column& column, uint32_t row) const {
  const uint32_t page = row / kBitsPerPage;
  if (page >= column.emptyBits.size() || column.emptyBits[page] == 0) return false;
  const uint32_t bit = row % kBitsPerPage;
  return (static_cast<uint8_t>(pages_.Read(column.emptyBits[page] - 1)[bit / 8]) >> (bit % 8) & 1) != 0;
}

void ListRows::MarkEmpty(Column& column, uint32_t row, bool empty) {
  const uint32_t page = row / kBitsPerPage;
  if (page >= column.emptyBits.size() || column.emptyBits[page] == 0) {
    if (!empty) return;
    if (page >= column.emptyBits.size()) column.emptyBits.resize(page + 1);
    column.emptyBits[page] = pages_.Add() + 1;
  }
  const uint32_t bit = row % kBitsPerPage;
  std::byte& bits = pages_.Write(column.emptyBits[page] - 1)[bit / 8];
  const auto mask = static_cast<std::byte>(1u << (bit % 8));
  bits = empty ? bits | mask : bits & ~mask;
}

void ListRows::Store(Column& column, uint32_t row, const Cell& cell, bool append) {
  const CellKind kind = column.kind.kind;
  if (kind == CellKind::kSortDate) return;
  if (!cell.empty_ && cell.kind_ != kind) throw std::invalid_argument("a list cell of another kind than its column");
  // An empty text is the text "" (id 0): it shows and sorts the same.
  if (kind != CellKind::kText) MarkEmpty(column, row, cell.empty_);
  if (append && row % (ListPages::kPageBytes / column.width) == 0) column.pages.push_back(pages_.Add());
  switch (kind) {
    case CellKind::kText:
      SetValue<int32_t>(column, row, cell.empty_ ? 0 : static_cast<int32_t>(Intern(cell.text_)));
      break;
    case CellKind::kWhole: SetValue<int32_t>(column, row, cell.empty_ ? 0 : cell.whole_); break;
    case CellKind::kDate: SetValue<int32_t>(column, row, cell.empty_ ? kNoDay : cell.whole_); break;
    case CellKind::kNumber: SetValue<double>(column, row, cell.empty_ ? 0.0 : cell.number_); break;
    case CellKind::kSingle: SetValue<float>(column, row, cell.empty_ ? 0.0f : cell.single_); break;
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
  const Column& own = columns_.at(column);
  const Column& cells = own.kind.kind == CellKind::kSortDate ? columns_.at(own.kind.dateColumn) : own;
  QString text = StoredText(cells, own.kind.kind, row);  // brings the pages back, or finds them lost
  return Lost(cells, row) ? QString(kUnreadable) : text;
}

bool ListRows::Lost(const Column& column, uint32_t row) const {
  const uint32_t bits = row / kBitsPerPage;
  if (bits < column.emptyBits.size() && column.emptyBits[bits] != 0 && pages_.Lost(column.emptyBits[bits] - 1))
    return true;
  return column.width != 0 && pages_.Lost(column.pages[row / (ListPages::kPageBytes / column.width)]);
}

QString ListRows::StoredText(const Column& cells, CellKind kind, uint32_t row) const {
  if (IsEmpty(cells, row)) return QString();
  switch (kind) {
    case CellKind::kSortDate: return QString::fromStdString(rt::FormatYYYYMMDD(DateOfDay(Value<int32_t>(cells, row))));
    case CellKind::kText: return texts_[Value<int32_t>(cells, row)];
    case CellKind::kWhole: return QString::number(Value<int32_t>(cells, row));
    case CellKind::kNumber: return QString::fromStdString(rt::FormatNumber(Value<double>(cells, row)));
    case CellKind::kSingle: return QString::fromStdString(rt::FormatSingle(Value<float>(cells, row)));
    case CellKind::kDate: return QString::fromStdString(rt::FormatShortDate(DateOfDay(Value<int32_t>(cells, row))));
  }
  return QString();
}

void ListRows::Clear() {
  for (Column& column : columns_) column = {column.kind, column.width, {}, {}};
  pages_.Clear();
  count_ = 0;
  texts_.clear();
  textIds_.clear();
  ranks_ = {};
  Intern("");
}

const std::vector<uint32_t>& ListRows::TextRanks() const {
  if (ranks_.size() == texts_.size()) return ranks_;
  std::vector<uint32_t> byText(texts_.size());
  std::iota(byText.begin(), byText.end(), 0u);
  auto compare = [this](uint32_t a, uint32_t b) { return texts_[a].compare(texts_[b], Qt::CaseInsensitive); };
  std::sort(byText.begin(), byText.end(), [&](uint32_t a, uint32_t b) { return compare(a, b) < 0; });
  ranks_.assign(texts_.size(), 0);
  uint32_t rank = 0;
  for (size_t i = 0; i < byText.size(); ++i) {
    if (i > 0 && compare(byText[i - 1], byText[i]) != 0) ++rank;
    ranks_[byText[i]] = rank;
  }
  return ranks_;
}

SortKey ListRows::KeyOf(uint32_t row, int column, std::span<const uint32_t> ranks) const {
  const Column& cells = columns_.at(column);
  if (cells.kind.kind == CellKind::kSortDate) {
    // Day numbers in the order of their "YYYYMMDD" texts.
    const Column& dates = columns_.at(cells.kind.dateColumn);
    return IsEmpty(dates, row) ? SortKey{}
                               : KeyOfValue(static_cast<uint32_t>(Value<int32_t>(dates, row)) ^ 0x80000000u);
  }
  if (IsEmpty(cells, row)) return SortKey{};
  switch (cells.kind.kind) {
    case CellKind::kText: {
      // A text added since the ranks were made sorts after every other.
      const auto id = static_cast<uint32_t>(Value<int32_t>(cells, row));
      return KeyOfValue(id < ranks.size() ? ranks[id] : UINT32_MAX);
    }
    case CellKind::kWhole: {
      char digits[16];
      return KeyOfText({digits, std::to_chars(digits, digits + sizeof digits, Value<int32_t>(cells, row)).ptr});
    }
    case CellKind::kNumber: return KeyOfText(rt::FormatNumber(Value<double>(cells, row)));
    case CellKind::kSingle: return KeyOfText(rt::FormatSingle(Value<float>(cells, row)));
    case CellKind::kDate: return KeyOfText(rt::FormatShortDate(DateOfDay(Value<int32_t>(cells, row))));
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
  return static_cast<uint32_t>(Value<int32_t>(columns_[column], row));
}

}  // namespace ui
