#pragma once
// Runs one INSERT through the database layer (translation, literal lifting,
// prepared shapes) and its translated text through plain SQLite, and tells
// whether both stored the same values. Shared by the layer's test and its
// fuzz target.
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/db/connection.h"

namespace testsupport {

class InsertDifferential {
 public:
  // Two databases in the folder, each with a table [t] of one column without
  // a type, so that every value keeps the type it was given.
  explicit InsertDifferential(const std::filesystem::path& folder);
  ~InsertDifferential();
  InsertDifferential(const InsertDifferential&) = delete;
  InsertDifferential& operator=(const InsertDifferential&) = delete;

  // "INSERT INTO [t] VALUES " + values on both sides: "" when both refused the
  // statement or both stored the same rows; otherwise what differed. Texts
  // that ask for values of the moment (random(), 'now', changes()) compare
  // as "".
  std::string Compare(const std::string& values);

 private:
  std::unique_ptr<db::Connection> layer_;
  sqlite3* layerReader_ = nullptr;  // the layer's file, read without the layer
  sqlite3* plain_ = nullptr;
};

}  // namespace testsupport
