#pragma once
// Reading a symbol list file (*.smb) field by field.
#include <string>
#include <vector>

namespace ui {

// The fields of a symbol list file's text: a line end (CR LF, LF or CR) or a
// comma ends a field; blanks around a field are dropped, and a field in
// double quotes is the text between them (commas included). Empty fields
// (empty lines) are kept as "".
std::vector<std::string> SymbolListFields(const std::string& text);

}  // namespace ui
