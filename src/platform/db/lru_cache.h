#pragma once
// A small least-recently-used map from text to a value. The engine pastes
// values into its statements, so most texts are seen once; a bounded cache
// keeps the ones that repeat without growing with the ones that do not.
#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace db {

template <typename V>
class LruCache {
 public:
  explicit LruCache(size_t capacity) : capacity_(capacity < 1 ? 1 : capacity) {}

  V* Find(std::string_view key) {
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return &it->second->second;
  }

  // Adds an entry for a key that is not held; returns the value pushed out
  // to make room, if any, for the caller to dispose of.
  std::optional<V> Add(std::string key, V value) {
    order_.emplace_front(std::move(key), std::move(value));
    index_[order_.front().first] = order_.begin();
    if (order_.size() <= capacity_) return std::nullopt;
    auto last = std::prev(order_.end());
    std::optional<V> evicted(std::move(last->second));
    index_.erase(last->first);
    order_.pop_back();
    return evicted;
  }

  // Empties the cache, handing every value to dispose.
  template <typename F>
  void Clear(F&& dispose) {
    for (auto& entry : order_) dispose(entry.second);
    index_.clear();
    order_.clear();
  }

  size_t Size() const { return order_.size(); }

 private:
  using Entry = std::pair<std::string, V>;
  size_t capacity_;
  std::list<Entry> order_;  // most recent first; list nodes keep the keys' addresses stable
  std::unordered_map<std::string_view, typename std::list<Entry>::iterator> index_;
};

}  // namespace db
