#pragma once
// The error that every layer raises: a number the callers test and the text
// that the messages show, as the program's handlers expect of a runtime error.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace rt {

class Error : public std::runtime_error {
 public:
  Error(int32_t number, const std::string& description) : std::runtime_error(description), number_(number) {}
  int32_t Number() const { return number_; }
  std::string Description() const { return what(); }

 private:
  int32_t number_;
};

// Runtime error numbers the program tests for or shows.
inline constexpr int32_t kErrOverflow = 6;
inline constexpr int32_t kErrDivisionByZero = 11;
inline constexpr int32_t kErrSubscriptOutOfRange = 9;
inline constexpr int32_t kErrTypeMismatch = 13;
inline constexpr int32_t kErrFileNotFound = 53;
inline constexpr int32_t kErrPathFileAccess = 75;
inline constexpr int32_t kErrPathNotFound = 76;
inline constexpr int32_t kErrInvalidUseOfNull = 94;
inline constexpr int32_t kErrInvalidProcedureCall = 5;

[[noreturn]] inline void RaiseOverflow() { throw Error(kErrOverflow, "Overflow"); }
[[noreturn]] inline void RaiseTypeMismatch() { throw Error(kErrTypeMismatch, "Type mismatch"); }
[[noreturn]] inline void RaiseInvalidUseOfNull() { throw Error(kErrInvalidUseOfNull, "Invalid use of Null"); }
[[noreturn]] inline void RaiseDivisionByZero() { throw Error(kErrDivisionByZero, "Division by zero"); }
[[noreturn]] inline void RaiseSubscript() { throw Error(kErrSubscriptOutOfRange, "Subscript out of range"); }

}  // namespace rt
