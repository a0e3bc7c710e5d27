#pragma once
// The Jet SQL the engine builds, rewritten into SQLite text that does the same:
//  - #date# literals (outside quotes and brackets) become quoted stored dates
//    ('2004-03-05', ' 13:45:00' added only for a time of day);
//  - SELECT [DISTINCT] TOP n becomes a LIMIT n at the end;
//  - "/" divides in floating point, as Jet's does, also between whole numbers;
//  - CREATE TABLE with the Jet types becomes a STRICT table: DATETIME as text
//    that must hold a stored date, MONEY and DOUBLE as REAL (division stays
//    floating point), INTEGER, TEXT compared case-insensitively; a table with
//    a primary key is stored in key order (CREATE TEMP TABLE the same, for
//    a table of the connection's own).
// Comments ("--" to the line end, "/* */") become a blank, as SQLite reads them.
// [Bracketed] names pass unchanged (SQLite reads them). A malformed date
// literal or field definition fails with the statement error.
#include <string>
#include <string_view>

namespace db {

std::string TranslateJetSql(std::string_view jet);

}  // namespace db
