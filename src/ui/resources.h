#pragma once
// The program's own resources: the context-help strings and the files that
// seed a new application folder.
#include <string>

namespace ui {

// The help text of an id (101 to 169); "" for an unknown id.
std::string LoadResString(int id);

// Creates the application folder and its folders when missing and copies the
// seed files (the default symbol file, the help pages) that it lacks.
// Returns false when a folder cannot be created.
bool PrepareAppFolder();

}  // namespace ui
