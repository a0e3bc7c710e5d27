#include "ui/row_key_index.h"

#include <stdexcept>

namespace ui {

void RowKeyIndex::SetColumns(std::vector<int> columns) {
  if (columns.size() > kMaxKeyColumns) throw std::invalid_argument("too many key columns");
  columns_ = std::move(columns);
  Clear();
}

RowKeyIndex::Parts RowKeyIndex::PartsOf(uint32_t row) const {
  Parts parts{};
  for (size_t i = 0; i < columns_.size(); ++i) parts[i] = rows_.KeyPartOf(row, columns_[i]);
  return parts;
}

uint32_t RowKeyIndex::Hash(const Parts& parts) {
  // splitmix64's finaliser over the parts run together.
  uint64_t h =
      (static_cast<uint64_t>(parts[0]) << 32 | parts[1]) ^ (static_cast<uint64_t>(parts[2]) * 0x9e3779b97f4a7c15ull);
  h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ull;
  h = (h ^ (h >> 27)) * 0x94d049bb133111ebull;
  return static_cast<uint32_t>((h ^ (h >> 31)) >> 32);
}

size_t RowKeyIndex::SlotOf(const Parts& parts, uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const Slot& at = slots_[slot];
    if (at.row == 0 || (at.hash == hash && PartsOf(at.row - 1) == parts)) return slot;
  }
}

void RowKeyIndex::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{0, 0});
  // The rows are all apart: their places come from the hashes alone.
  const size_t mask = slots_.size() - 1;
  for (const Slot& entry : old) {
    if (entry.row == 0) continue;
    size_t slot = entry.hash & mask;
    while (slots_[slot].row != 0) slot = (slot + 1) & mask;
    slots_[slot] = entry;
  }
}

void RowKeyIndex::Add(uint32_t row) {
  if (made_) Insert(row);
}

void RowKeyIndex::Insert(uint32_t row) {
  if (4 * (used_ + 1) > 3 * slots_.size()) Grow();
  const Parts parts = PartsOf(row);
  const uint32_t hash = Hash(parts);
  Slot& slot = slots_[SlotOf(parts, hash)];
  if (slot.row != 0) return;
  slot = {row + 1, hash};
  ++used_;
}

bool RowKeyIndex::Make(const std::function<bool()>& between) {
  // Rows between two calls of `between`: a few milliseconds' work.
  constexpr uint32_t kRowsPerStep = 1u << 16;
  Clear();
  // Room for every row at once, so that the table does not grow as they go in.
  size_t room = 1024;
  while (4 * (static_cast<size_t>(rows_.Count()) + 1) > 3 * room) room *= 2;
  slots_.assign(room, Slot{0, 0});
  for (uint32_t row = 0; row < rows_.Count(); ++row) {
    if (row % kRowsPerStep == kRowsPerStep - 1 && !between()) return false;
    Insert(row);
  }
  made_ = true;
  return true;
}

std::optional<uint32_t> RowKeyIndex::Find(std::span<const Cell> key) {
  if (!made_ || columns_.empty() || key.size() != columns_.size() || rows_.Count() == 0) return std::nullopt;
  Parts parts{};
  for (size_t i = 0; i < key.size(); ++i) {
    std::optional<uint32_t> part = rows_.KeyPart(key[i]);
    if (!part) return std::nullopt;
    parts[i] = *part;
  }
  const Slot& slot = slots_[SlotOf(parts, Hash(parts))];
  if (slot.row == 0) return std::nullopt;
  return slot.row - 1;
}

void RowKeyIndex::Clear() {
  slots_ = {};
  used_ = 0;
  made_ = false;
}

}  // namespace ui
