#pragma once
// A forward-only, read-only recordset. Like a client-side cursor it holds
// every row of its query from the moment it opens, so it neither keeps a
// statement busy nor depends on the connection afterwards: the engine may
// write, commit or roll back on the same connection while walking the rows.
//
// (The end test is Eof(): EOF is a macro of the C library.)
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/value.h"

namespace db {

class Recordset {
 public:
  Recordset() = default;  // closed
  Recordset(std::vector<std::string> fieldNames, std::vector<Value> cells);

  bool IsOpen() const { return open_; }
  int State() const { return open_ ? 1 : 0; }
  void Close();

  bool Eof() const;
  void MoveNext();
  int FieldCount() const;
  long RecordCount() const;
  const std::string& FieldName(int index) const;

  // The current row's field; 3265 for a field that does not exist, 3021 at
  // the end. Names compare case-insensitively.
  const Value& Field(int index) const;
  const Value& Field(std::string_view name) const;

 private:
  void RequireOpen() const;
  const Value& Current(size_t column) const;

  bool open_ = false;
  std::vector<std::string> names_;
  std::vector<Value> cells_;  // row after row
  size_t rows_ = 0;
  size_t position_ = 0;
};

}  // namespace db
