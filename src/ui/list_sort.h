#pragma once
// Orders list rows by one column, the way a header click does: by the
// column's keys (the cells' texts without regard to case), ascending or
// descending, rows with equal keys keeping the order they had. Each key is
// made once; the work goes in steps of a few tens of milliseconds, between
// which `between` runs (it serves the event loop) and may give the sort up.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "ui/list_rows.h"

namespace ui {

// Below, equal to or above zero as key a comes before, with or after key b
// in ascending order; written out, since the library's comparison of arrays
// calls memcmp, which a sort of millions of keys notices.
inline int CompareKeys(const SortKey& a, const SortKey& b) {
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

// Whether key a goes before key b in the order asked.
inline bool KeyBefore(const SortKey& a, const SortKey& b, bool descending) {
  const int order = CompareKeys(a, b);
  return descending ? order > 0 : order < 0;
}

// The rows [0, count) in the column's order, those with equal keys in the
// order they have now: `order` (row numbers), or as added when it is empty.
// nullopt when `between` answered false. `between` may let rows be appended,
// but not removed. The keys are made in the rows' stored order, so that
// each page of the column is read once whatever the order is now.
std::optional<std::vector<uint32_t>> SortedOrder(uint32_t count, std::span<const uint32_t> order, const ListRows& rows,
                                                 int column, bool descending, const std::function<bool()>& between);

// The rows appended since the order was made (rows from firstNew on), each
// with the place in `order` it goes to: after every row whose key goes
// before or equals its own, as if they had been placed one by one in the
// order they were appended. The places ascend.
struct Arrivals {
  std::vector<uint32_t> rows;
  std::vector<size_t> places;  // before order[place], in the order as it was
};
Arrivals ArrivalsOf(std::span<const uint32_t> order, uint32_t firstNew, const ListRows& rows, int column,
                    bool descending);
// Puts the arrivals in their places, moving only the rows after the first.
void InsertArrivals(std::vector<uint32_t>& order, const Arrivals& arrivals);

}  // namespace ui
