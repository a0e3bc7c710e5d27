#pragma once
// The rows of a results list, kept compactly: each column holds its cells as
// values of its kind (numbers as numbers, dates as day numbers, texts as ids
// into one pool of the distinct texts), and a cell's text is made only when
// it is shown. A winner row takes under a hundred bytes, on pages (see
// ListPages) of which only those in use stay in memory: ten million winners
// keep a few megabytes there, the rest in a temporary file.
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/runtime/date.h"
#include "ui/list_pages.h"

namespace ui {

// What a column holds and how its cells read as text: kText as given, kWhole
// as integer text, kNumber as number text (up to 15 significant digits),
// kSingle as short number text (7), kDate as short date text, kSortDate as
// the "YYYYMMDD" text of another column's date (it stores nothing itself).
enum class CellKind : uint8_t { kText, kWhole, kNumber, kSingle, kDate, kSortDate };

// One cell as a caller hands it over; a text is only looked at, not kept.
class Cell {
 public:
  Cell() = default;  // empty
  static Cell Empty() { return Cell(); }
  static Cell Text(std::string_view text);
  static Cell Whole(int32_t value);
  static Cell Number(double value);
  static Cell Single(float value);
  static Cell Date(rt::Date value);

 private:
  friend class ListRows;
  explicit Cell(CellKind kind) : kind_(kind), empty_(false) {}
  CellKind kind_ = CellKind::kText;
  bool empty_ = true;
  int32_t whole_ = 0;  // also a date's day number
  double number_ = 0;
  float single_ = 0;
  std::string_view text_;
};

// Words whose order (compared in turn) is the order of the cells' texts
// compared without regard to case, up to their 24th character; an empty
// cell's are all zero, before every text. 16 bytes: a sort of ten million
// rows holds its keys in memory.
using SortKey = std::array<uint32_t, 4>;

class ListRows {
 public:
  struct ColumnKind {
    CellKind kind;
    int dateColumn = -1;  // kSortDate: the column whose date it writes
  };

  explicit ListRows(std::vector<ColumnKind> columns);

  uint32_t Count() const { return count_; }

  // Appends a row; cells missing at its end are empty. A cell of another
  // kind than its column's is a program fault (std::invalid_argument).
  void Append(std::span<const Cell> cells);
  void Set(uint32_t row, int column, const Cell& cell);
  // A cell's text; kUnreadable for a cell whose page was lost (see ListPages).
  QString Text(uint32_t row, int column) const;
  static constexpr const char* kUnreadable = "(unreadable)";
  // Called with the cause whenever a page of the rows is lost.
  void OnPageLost(std::function<void(const std::string& cause)> handler) { pages_.OnLost(std::move(handler)); }
  // Removes every row and gives the memory back.
  void Clear();

  // The place of every pool text in the order of the texts compared without
  // regard to case, by text id (equal texts share a place). Made again only
  // when the pool has grown: a sorted list places new rows at every tick.
  const std::vector<uint32_t>& TextRanks() const;
  SortKey KeyOf(uint32_t row, int column, std::span<const uint32_t> ranks) const;

  // The 32-bit value that identifies a cell of a kText, kWhole or kDate
  // column in a key (the text's id, the number, the day); nullopt for a text
  // no row holds.
  std::optional<uint32_t> KeyPart(const Cell& cell) const;
  uint32_t KeyPartOf(uint32_t row, int column) const;

 private:
  // A column's cells in rows of pages: kText ids, kWhole values and kDate
  // days as int32, kNumber as double, kSingle as float; a kSortDate column
  // has none. A bit per row tells an empty cell, on pages made at the first
  // empty cell they cover (a row without one is not empty).
  struct Column {
    ColumnKind kind;
    size_t width;                     // bytes a cell
    std::vector<uint32_t> pages;      // of the cells, in row order
    std::vector<uint32_t> emptyBits;  // page + 1 of the bits, 0 for none
  };
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };

  bool IsEmpty(const Column& column, uint32_t row) const;
  // The text of a cell as its pages hold it; `kind` is the column's own
  // (a kSortDate column's cells are those of its date column).
  QString StoredText(const Column& cells, CellKind kind, uint32_t row) const;
  // Whether a page the cell was read from was lost.
  bool Lost(const Column& column, uint32_t row) const;
  void MarkEmpty(Column& column, uint32_t row, bool empty);
  void Store(Column& column, uint32_t row, const Cell& cell, bool append);
  template <class T>
  T Value(const Column& column, uint32_t row) const;
  template <class T>
  void SetValue(Column& column, uint32_t row, T value);
  uint32_t Intern(std::string_view text);

  mutable ListPages pages_;  // reading a cell may bring its page back from the file
  std::vector<Column> columns_;
  uint32_t count_ = 0;
  std::vector<QString> texts_;  // by id; id 0 is ""
  std::unordered_map<std::string, uint32_t, TextHash, std::equal_to<>> textIds_;
  mutable std::vector<uint32_t> ranks_;  // TextRanks, for as many texts as it holds
};

}  // namespace ui
