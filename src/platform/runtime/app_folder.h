#pragma once
// The application folder: $KESTROVANE_HOME, else ~/.local/share/kestrovane.
// Every file the program keeps (database, settings, simulations, symbol lists,
// reports, error log, registry store) lives under it.
#include <filesystem>
#include <string>

namespace rt {

std::filesystem::path AppFolder();

// A location as the program's settings and messages write it, such as
// "\Reports\Portfolio Summary.csv" or "Vennorath.db", mapped into the
// application folder ("\" read as "/"). An absolute POSIX path is kept as given.
std::filesystem::path AppPath(const std::string& location);

// The folders the program writes into: Simulations, Symbols, Reports and the
// two sweep report folders. Creates the application folder and any of them
// that is missing; returns false when one cannot be created.
bool EnsureAppFolders();

}  // namespace rt
