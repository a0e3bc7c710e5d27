#pragma once
// The settings files that keep the state of a window's controls: simulation
// files (*.sim) and STARTUP for the main window, PROPERTIES for the options
// window. One control per line, "name(index)=value" ("X" for a control that is
// not in an array); simulation files and STARTUP start with the two lines
// "Simulation File" and the simulation table's name. CR LF line ends.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace ui {

inline constexpr const char* kSimulationFileHeader = "Simulation File";
inline constexpr const char* kNotSimulationFileMessage = "Error occurred or file is not a Simulation File.";
inline constexpr const char* kNotPropertiesFileMessage = "Error occurred or file is not a Properties File.";

std::filesystem::path StartupFilePath();
std::filesystem::path PropertiesFilePath();
// Where a simulation named after its table (name = "sim_" + title) is saved:
// STARTUP for the name "STARTUP", else the Simulations folder while no file
// has been chosen (or for save-as), else the chosen file.
std::filesystem::path SimulationFilePath(const std::string& name, bool saveAs, const std::string& strSimFilePath);

// One line per control of the five saved kinds, in collection order.
// Controls tagged "skip" are written only when includeSkipped is set.
std::vector<std::string> ControlLines(const ControlCollection& controls, bool includeSkipped);
// The text of a settings file: the optional header (simulation table name)
// and the control lines, each ended by CR LF.
std::string ControlStateText(const ControlCollection& controls, const std::optional<std::string>& simTable,
                             bool includeSkipped);

// Writes a settings file through a temporary file, so that a failed save
// leaves the old file whole; a failure is shown in a message naming the path.
// Returns whether the file was written.
bool SaveControlStateFile(const std::filesystem::path& path, const ControlCollection& controls,
                          const std::optional<std::string>& simTable, bool includeSkipped);

// The whole lines of a text file (CR LF or LF). A last line without its line
// end is a file cut short: its value may be cut too, so it is left out and
// cutShort is set. nullopt when the file cannot be read.
struct TextLines {
  std::vector<std::string> lines;
  bool cutShort = false;
};
std::optional<TextLines> ReadTextLines(const std::filesystem::path& path);

// Puts the control lines (from firstControlLine on, after any header) into
// the controls: for each control (collection order, skip rule as for saving)
// the first line naming it wins; a line that names no control is ignored, a
// value a control refuses leaves it as it was.
void ApplyControlLines(const std::vector<std::string>& lines, const ControlCollection& controls, bool includeSkipped,
                       size_t firstControlLine);

// Whether the file reads as a simulation file: the header line and a table name.
bool IsSimulationFile(const std::filesystem::path& path);
// Reads a simulation file or STARTUP into the controls. Without the header
// it shows the simulation-file message and changes nothing; otherwise the
// table name of line 2 goes into simTable. A file cut short is read up to its
// last whole line and named in a message. Returns whether the file was read.
bool LoadSimulationFile(const std::filesystem::path& path, const ControlCollection& controls, std::string& simTable);
// Reads PROPERTIES into the controls; shows the properties-file message when
// it cannot be read, and names it when it was cut short.
bool LoadPropertiesFile(const std::filesystem::path& path, const ControlCollection& controls);

}  // namespace ui
