#pragma once
// The error numbers and texts of the database layer. Every failure is an
// rt::Error carrying the provider code the engine tests for, so callers tell
// "table missing" (create it) from "statement failed" and "conversion failed".
#include <cstdint>
#include <exception>
#include <string>

#include "platform/runtime/error.h"

namespace db {

inline constexpr int32_t kErrTableMissing = static_cast<int32_t>(0x80040E37);
inline constexpr int32_t kErrStatementFailed = static_cast<int32_t>(0x80040E14);
inline constexpr int32_t kErrConversionFailed = static_cast<int32_t>(0x80040E07);
inline constexpr int32_t kErrNoCommandText = static_cast<int32_t>(0x80040E0C);
// Duplicate keys, Nulls in a key, a locked or unreadable file, I/O failures.
inline constexpr int32_t kErrProviderFailure = static_cast<int32_t>(0x80004005);
inline constexpr int32_t kErrNoTransaction = static_cast<int32_t>(0x8004D00E);
// Object-level errors of the recordset and connection objects.
inline constexpr int32_t kErrNoCurrentRecord = 3021;
inline constexpr int32_t kErrItemNotFound = 3265;
inline constexpr int32_t kErrObjectClosed = 3704;
inline constexpr int32_t kErrObjectOpen = 3705;

inline constexpr const char* kDuplicateValuesText =
    "The changes you requested to the table were not successful because they would create duplicate values "
    "in the index, primary key, or relationship.";
inline constexpr const char* kNoCurrentRecordText =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a "
    "current record.";
inline constexpr const char* kObjectClosedText = "Operation is not allowed when the object is closed.";
inline constexpr const char* kConversionText = "Data type mismatch in criteria expression.";

[[noreturn]] inline void Raise(int32_t number, const std::string& description) { throw rt::Error(number, description); }

// A failure that will not go away by itself while the program runs: the file
// is read-only, the disk is full, another connection keeps the write lock
// past the busy timeout, the file cannot be read or written, the connection
// is closed. A loop that writes many rows ends at the first of these instead
// of failing every row after it. It carries the same number and text as any
// other error of its cause.
class LastingFailure : public rt::Error {
 public:
  using rt::Error::Error;
};

inline bool IsLastingFailure(const std::exception& e) { return dynamic_cast<const LastingFailure*>(&e) != nullptr; }

// True for a failure of the database layer (one of the numbers above), not
// of the runtime, such as a value's conversion.
inline bool IsDatabaseError(const std::exception& e) {
  const auto* error = dynamic_cast<const rt::Error*>(&e);
  if (!error) return false;
  for (int32_t number :
       {kErrTableMissing, kErrStatementFailed, kErrConversionFailed, kErrNoCommandText, kErrProviderFailure,
        kErrNoTransaction, kErrNoCurrentRecord, kErrItemNotFound, kErrObjectClosed, kErrObjectOpen})
    if (error->Number() == number) return true;
  return false;
}

}  // namespace db
