#include "ui/settings_files.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <unordered_map>

#include "platform/runtime/app_folder.h"
#include "platform/user/user_services.h"

namespace ui {
namespace {

bool IsSavedKind(ControlKind kind) { return kind != ControlKind::Other; }

std::string LineKey(const std::string& name, const std::string& indexText) { return name + "(" + indexText + ")"; }

}  // namespace

std::filesystem::path StartupFilePath() { return rt::AppPath("\\STARTUP"); }
std::filesystem::path PropertiesFilePath() { return rt::AppPath("\\PROPERTIES"); }

std::filesystem::path SimulationFilePath(const std::string& name, bool saveAs, const std::string& strSimFilePath) {
  if (name == "STARTUP") return StartupFilePath();
  if (strSimFilePath.empty() || saveAs) {
    std::string title = name.size() > 4 ? name.substr(4) : "";
    return rt::AppPath("\\Simulations\\" + title + ".sim");
  }
  return strSimFilePath;
}

std::vector<std::string> ControlLines(const ControlCollection& controls, bool includeSkipped) {
  std::vector<std::string> lines;
  for (const FormControl& control : controls.All()) {
    if (!IsSavedKind(control.kind) || (control.skip && !includeSkipped)) continue;
    lines.push_back(LineKey(control.name, control.IndexText()) + "=" + ControlValueText(control));
  }
  return lines;
}

std::string ControlStateText(const ControlCollection& controls, const std::optional<std::string>& simTable,
                             bool includeSkipped) {
  std::string text;
  if (simTable) text += std::string(kSimulationFileHeader) + "\r\n" + *simTable + "\r\n";
  for (const std::string& line : ControlLines(controls, includeSkipped)) text += line + "\r\n";
  return text;
}

bool SaveControlStateFile(const std::filesystem::path& path, const ControlCollection& controls,
                          const std::optional<std::string>& simTable, bool includeSkipped) {
  QByteArray bytes = QByteArray::fromStdString(ControlStateText(controls, simTable, includeSkipped));
  QSaveFile file(QString::fromStdString(path.string()));
  bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
  if (!written) {
    std::string reason = file.errorString().toStdString();
    user::MsgBox("The settings could not be saved to " + path.string() + (reason.empty() ? "." : ": " + reason),
                 user::kOKOnly | user::kExclamation);
  }
  return written;
}

std::optional<TextLines> ReadTextLines(const std::filesystem::path& path) {
  QFile file(QString::fromStdString(path.string()));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  // Files written by the program are UTF-8; older ones may be in a Windows code page.
  QStringDecoder decoder(QStringDecoder::Utf8);
  QString text = decoder(bytes);
  if (decoder.hasError()) text = QString::fromLatin1(bytes);

  TextLines read;
  QStringList lines = text.split('\n');
  // The text after the last line end: empty for a whole file.
  read.cutShort = !lines.takeLast().isEmpty();
  for (QString& line : lines) {
    if (line.endsWith('\r')) line.chop(1);
    read.lines.push_back(line.toStdString());
  }
  return read;
}

void ApplyControlLines(const std::vector<std::string>& lines, const ControlCollection& controls, bool includeSkipped,
                       size_t firstControlLine) {
  // The first line that names a control wins.
  std::unordered_map<std::string, std::string> values;
  for (size_t n = firstControlLine; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    size_t open = line.find('(');
    size_t close = line.find(')');
    size_t equals = line.find('=');
    if (open == std::string::npos || close == std::string::npos || close < open || equals == std::string::npos)
      continue;
    values.try_emplace(LineKey(line.substr(0, open), line.substr(open + 1, close - open - 1)), line.substr(equals + 1));
  }
  for (const FormControl& control : controls.All()) {
    if (!IsSavedKind(control.kind) || (control.skip && !includeSkipped)) continue;
    auto found = values.find(LineKey(control.name, control.IndexText()));
    if (found != values.end()) SetControlValueText(control, found->second);
  }
}

namespace {

bool HasSimulationHeader(const std::optional<TextLines>& read) {
  return read && read->lines.size() >= 2 && read->lines[0] == kSimulationFileHeader;
}

void TellCutShort(const std::filesystem::path& path, const std::string& whatHappened) {
  user::MsgBox("The settings file " + path.string() + " ends inside a line: it was cut short. " + whatHappened,
               user::kOKOnly | user::kExclamation);
}

}  // namespace

bool IsSimulationFile(const std::filesystem::path& path) { return HasSimulationHeader(ReadTextLines(path)); }

bool LoadSimulationFile(const std::filesystem::path& path, const ControlCollection& controls, std::string& simTable) {
  auto read = ReadTextLines(path);
  if (!HasSimulationHeader(read)) {
    user::MsgBox(kNotSimulationFileMessage);
    return false;
  }
  simTable = read->lines[1];
  const bool startup = path.string().find("STARTUP") != std::string::npos;
  ApplyControlLines(read->lines, controls, startup, 2);
  // The window was put back into its start state before a file is read, so
  // the settings the file does not hold have those values.
  if (read->cutShort)
    TellCutShort(path, startup ? "The settings it does not hold were reset to the program's defaults."
                               : "The settings it does not hold were reset to those of a new simulation.");
  return true;
}

bool LoadPropertiesFile(const std::filesystem::path& path, const ControlCollection& controls) {
  auto read = ReadTextLines(path);
  if (!read) {
    user::MsgBox(kNotPropertiesFileMessage);
    return false;
  }
  ApplyControlLines(read->lines, controls, false, 0);
  if (read->cutShort) TellCutShort(path, "The options it does not hold keep the values they had.");
  return true;
}

}  // namespace ui
