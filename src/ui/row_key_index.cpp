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

uint64_t RowKeyIndex::Hash(const Parts& parts) {
  // splitmix64's finaliser over the parts run together.
  uint64_t h =
      (static_cast<uint64_t>(parts[0]) << 32 | parts[1]) ^ (static_cast<uint64_t>(parts[2]) * 0x9e3779b97f4a7c15ull);
  h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ull;
  h = (h ^ (h >> 27)) * 0x94d049bb133111ebull;
  return h ^ (h >> 31);
}

size_t RowKeyIndex::SlotOf(const Parts& parts) const {
  const size_t mask = slots_.size() - 1;
  for (size_t slot = Hash(parts) & mask;; slot = (slot + 1) & mask)
    if (slots_[slot] == 0 || PartsOf(slots_[slot] - 1) == parts) return slot;
}

void RowKeyIndex::Grow() {
  std::vector<uint32_t> old = std::move(slots_);
  slots_.assign(old.empty() ? 1024 : old.size() * 2, 0);
  for (uint32_t entry : old)
    if (entry != 0) slots_[SlotOf(PartsOf(entry - 1))] = entry;
}

void RowKeyIndex::Add(uint32_t row) {
  if (made_) Insert(row);
}

void RowKeyIndex::Insert(uint32_t row) {
  if (2 * (used_ + 1) > slots_.size()) Grow();
  size_t slot = SlotOf(PartsOf(row));
  if (slots_[slot] != 0) return;
  slots_[slot] = row + 1;
  ++used_;
}

std::optional<uint32_t> RowKeyIndex::Find(std::span<const Cell> key) {
  if (columns_.empty() || key.size() != columns_.size() || rows_.Count() == 0) return std::nullopt;
  if (!made_) {
    for (uint32_t row = 0; row < rows_.Count(); ++row) Insert(row);
    made_ = true;
  }
  Parts parts{};
  for (size_t i = 0; i < key.size(); ++i) {
    std::optional<uint32_t> part = rows_.KeyPart(key[i]);
    if (!part) return std::nullopt;
    parts[i] = *part;
  }
  uint32_t entry = slots_[SlotOf(parts)];
  if (entry == 0) return std::nullopt;
  return entry - 1;
}

void RowKeyIndex::Clear() {
  slots_ = {};
  used_ = 0;
  made_ = false;
}

}  // namespace ui
