#pragma once
// Finds a list row by the cells of its key columns (a winner by its day,
// side and symbol) in constant time: an open-addressing table of row numbers
// beside their keys' hashes, eight bytes a slot and at most three quarters
// full. Rows are read back only to confirm a slot whose hash matches, so the
// look-ups and the table's growth seldom bring a page of rows back from the
// file (see ListPages). The first row of a key is the one found. The table
// is made at the first look-up (the Trade stage's), so that a Select, which
// looks nothing up, does not pay for it.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "ui/list_rows.h"

namespace ui {

class RowKeyIndex {
 public:
  static constexpr size_t kMaxKeyColumns = 3;

  explicit RowKeyIndex(const ListRows& rows) : rows_(rows) {}

  // Finds rows by these columns (none: by nothing).
  void SetColumns(std::vector<int> columns);
  // Takes in a row just appended.
  void Add(uint32_t row);
  bool Made() const { return made_; }
  // Makes the table of every row, calling `between` every so many rows so
  // that the window is served while millions go in; false, the table not
  // made, as soon as `between` answers false (the rows went away meanwhile:
  // then nothing of this object is touched again).
  bool Make(const std::function<bool()>& between);
  // The row of this key; nullopt when there is none or the table is not made.
  std::optional<uint32_t> Find(std::span<const Cell> key);
  // Forgets every row.
  void Clear();

 private:
  using Parts = std::array<uint32_t, kMaxKeyColumns>;

  struct Slot {
    uint32_t row;   // row + 1; 0 is a free slot
    uint32_t hash;  // of the row's key
  };

  Parts PartsOf(uint32_t row) const;
  static uint32_t Hash(const Parts& parts);
  // The slot holding the row of these parts, or the free slot where it would go.
  size_t SlotOf(const Parts& parts, uint32_t hash) const;
  void Grow();
  void Insert(uint32_t row);

  const ListRows& rows_;
  std::vector<int> columns_;
  std::vector<Slot> slots_;
  size_t used_ = 0;
  bool made_ = false;  // the table holds every row
};

}  // namespace ui
