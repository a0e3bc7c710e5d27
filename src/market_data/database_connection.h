#pragma once
// The one database connection that every engine object shares, and where
// the configured database file lives.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/db/connection.h"

// The shared connection. Each engine object opens a new one into it when it
// is created; the last live engine object closes and releases it, so it is
// nullptr before the first engine and after the last.
extern std::shared_ptr<db::Connection> cnDatabase;

// The database file of a configured location: an absolute POSIX path is used
// as given; any other text lies under the application folder ("\" read as
// "/"); the old default "c:\data\Vennorath.mdb" is "Vennorath.db" there.
std::filesystem::path ResolveDatabasePath(const std::string& location);

// Holds the database file for this program: a lock on the file itself, by
// whatever name it is reached, that one program at a time may hold. Taken before a
// connection opens on the database and kept while the program stays on it,
// also while no engine exists (New Simulation, Compact and Repair); let go
// when the program opens another database. Raises a lasting failure naming
// the database when another program holds it.
void HoldDatabaseFile(const std::filesystem::path& database);

// Puts a new file (the compacted copy) in the held database's place: the
// copy is held and on the disk before it takes the database's name, so that
// no other program can open the database between the two files. Raises the
// system's error when it cannot.
void ReplaceHeldDatabase(const std::filesystem::path& replacement, const std::filesystem::path& database);

// The shared connection for a database call. Without one it raises 3704 with
// a clear text; a closed one raises the same at its first call.
db::Connection& SharedConnection();
