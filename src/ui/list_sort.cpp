#include "ui/list_sort.h"

#include <algorithm>
#include <queue>

namespace ui {
namespace {

struct Entry {
  SortKey key;
  uint32_t row;
};

// A row's key (turned over for a descending sort, so that every sort
// compares ascending) and its place in the current order: 20 bytes.
struct Placed {
  SortKey key;
  uint32_t position;
};

// Whether a goes before b: by their keys' words taken two at a time, then
// by their places, so that equal keys keep them.
bool PlacedBefore(const Placed& a, const Placed& b) {
  const uint64_t aHigh = uint64_t{a.key[0]} << 32 | a.key[1], bHigh = uint64_t{b.key[0]} << 32 | b.key[1];
  if (aHigh != bHigh) return aHigh < bHigh;
  const uint64_t aLow = uint64_t{a.key[2]} << 32 | a.key[3], bLow = uint64_t{b.key[2]} << 32 | b.key[3];
  if (aLow != bLow) return aLow < bLow;
  return a.position < b.position;
}

// Steps: keys made, entries sorted, or entries merged, between two calls of `between`.
constexpr size_t kKeysPerStep = 1 << 16;
constexpr size_t kRun = 1 << 16;

}  // namespace

std::optional<std::vector<uint32_t>> SortedOrder(uint32_t count, std::span<const uint32_t> order, const ListRows& rows,
                                                 int column, bool descending, const std::function<bool()>& between) {
  // A copy: `between` may let rows with new texts be appended.
  const std::vector<uint32_t> ranks = rows.TextRanks();
  // Filled as the keys are made, so that its pages are touched step by step too.
  std::vector<Placed> entries;
  entries.reserve(count);
  {
    std::vector<uint32_t> positionOf;  // by row; none while the order is the rows'
    if (!order.empty()) {
      positionOf.resize(count);
      for (uint32_t position = 0; position < count; ++position) positionOf[order[position]] = position;
    }
    for (uint32_t row = 0; row < count; ++row) {
      SortKey key = rows.KeyOf(row, column, ranks);
      if (descending)
        for (uint32_t& word : key) word = ~word;
      entries.push_back({key, positionOf.empty() ? row : positionOf[row]});
      if ((row + 1) % kKeysPerStep == 0 && !between()) return std::nullopt;
    }
  }
  // Runs sorted one at a time, then merged.
  std::vector<size_t> runStarts;
  for (size_t start = 0; start < entries.size(); start += kRun) {
    std::sort(entries.begin() + start, entries.begin() + std::min(entries.size(), start + kRun), PlacedBefore);
    runStarts.push_back(start);
    if (!between()) return std::nullopt;
  }
  struct Cursor {
    size_t next, end;
  };
  auto after = [&](const Cursor& a, const Cursor& b) { return PlacedBefore(entries[b.next], entries[a.next]); };
  std::priority_queue<Cursor, std::vector<Cursor>, decltype(after)> heads(after);
  for (size_t start : runStarts) heads.push({start, std::min(entries.size(), start + kRun)});
  std::vector<uint32_t> sorted;
  sorted.reserve(entries.size());
  while (!heads.empty()) {
    Cursor head = heads.top();
    heads.pop();
    const uint32_t position = entries[head.next].position;
    sorted.push_back(order.empty() ? position : order[position]);
    if (++head.next < head.end) heads.push(head);
    if (sorted.size() % kRun == 0 && !between()) return std::nullopt;
  }
  return sorted;
}

Arrivals ArrivalsOf(std::span<const uint32_t> order, uint32_t firstNew, const ListRows& rows, int column,
                    bool descending) {
  const std::vector<uint32_t>& ranks = rows.TextRanks();
  std::vector<Entry> entries;
  for (uint32_t row = firstNew; row < rows.Count(); ++row) entries.push_back({rows.KeyOf(row, column, ranks), row});
  auto before = [descending](const Entry& a, const Entry& b) { return KeyBefore(a.key, b.key, descending); };
  std::stable_sort(entries.begin(), entries.end(), before);

  Arrivals arrivals;
  size_t taken = 0;
  for (const Entry& entry : entries) {
    auto place = std::upper_bound(order.begin() + taken, order.end(), entry.key, [&](const SortKey& key, uint32_t row) {
      return KeyBefore(key, rows.KeyOf(row, column, ranks), descending);
    });
    taken = static_cast<size_t>(place - order.begin());
    arrivals.rows.push_back(entry.row);
    arrivals.places.push_back(taken);
  }
  return arrivals;
}

void InsertArrivals(std::vector<uint32_t>& order, const Arrivals& arrivals) {
  // From the back: each row of the old order moves once, to its final place.
  size_t end = order.size();  // the old rows [0, end) are still where they were
  order.resize(order.size() + arrivals.rows.size());
  size_t filled = order.size();  // positions [filled, size) hold their rows
  for (size_t i = arrivals.rows.size(); i-- > 0;) {
    const size_t place = arrivals.places[i];
    filled -= end - place;
    std::copy_backward(order.begin() + static_cast<ptrdiff_t>(place), order.begin() + static_cast<ptrdiff_t>(end),
                       order.begin() + static_cast<ptrdiff_t>(filled + (end - place)));
    end = place;
    order[--filled] = arrivals.rows[i];
  }
}

}  // namespace ui
