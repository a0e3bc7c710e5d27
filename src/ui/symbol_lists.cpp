// File > Open and Save Symbols List and Tools > Import Stock Symbols: symbol
// list files (*.smb, one entry per line, CR LF) in the Symbols folder that
// fill the listed symbols of the Select tab, and the symbol file that the
// engine adds to the master list.
#include <QFileInfo>
#include <filesystem>

#include "platform/runtime/app_folder.h"
#include "platform/runtime/error.h"
#include "platform/runtime/text_file.h"
#include "platform/user/user_services.h"
#include "simulation/engine_reports.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/symbol_list_file.h"

namespace ui {
namespace {

constexpr const char* kSymbolFilter = "Symbol File (*.smb)|*.smb";

std::filesystem::path SymbolsFolder() { return rt::AppFolder() / "Symbols"; }

user::FileDialogRequest SymbolDialog(const std::string& title, const std::string& filter) {
  user::FileDialogRequest request;
  request.title = title;
  request.startFolder = SymbolsFolder().string();
  request.filter = filter;
  return request;
}

}  // namespace

void frmMain::mnuOpenSymbols_Click() {
  std::string path = user::User().OpenFileDialog(SymbolDialog("Open Symbols List", kSymbolFilter));
  if (path.empty()) return;
  std::optional<std::string> text = rt::ReadTextFile(path);
  if (!text) throw rt::Error(rt::kErrFileNotFound, "File not found: " + path);

  QString selection;
  for (const std::string& field : SymbolListFields(*text))
    if (!field.empty()) selection += Q(field) + " ; ";
  Text("txtSelection")->setText(selection.toUpper());
  Option("optStockSelection", 2)->SetValue(true);

  QString title = QFileInfo(Q(path)).fileName();
  QLabel* listName = Label("lblSymbolList");
  listName->setText(title.left(title.indexOf('.')));  // the whole title when it has no "."
  listName->setVisible(true);
}

void frmMain::mnuSaveSymbols_Click() {
  // The run scans the stock list that this command rebuilds.
  if (RefusedDuringRun("Save Symbols List")) return;
  std::string chosen = user::User().SaveFileDialog(SymbolDialog("Save Symbols List", kSymbolFilter));
  if (chosen.empty()) return;

  // The list always goes into the Symbols folder, so the question is about
  // the file there, whatever folder the dialog showed. A failed existence
  // test counts as an existing file.
  std::string title = std::filesystem::path(chosen).filename().string();
  std::filesystem::path target = SymbolsFolder() / title;
  std::error_code ec;
  bool exists = std::filesystem::exists(target, ec) || ec;
  if (exists && user::MsgBox("The Symbol List " + title + " already exists.\r\nAre you sure you wish to overwrite?",
                             user::kYesNo | user::kDefaultButton2) != user::kAnswerYes)
    return;

  CreateStockList();
  // Written whole or not at all: a list cut short would be read back as
  // other symbols (CVR cut after its C selects C).
  try {
    simulation::WriteReportFile(target.string(), astrStockList);
  } catch (const rt::Error& failed) {
    throw rt::Error(failed.Number(), failed.Description() + " The Symbol List " + title +
                                         (exists ? " there is as it was." : " was not saved."));
  }
}

void frmMain::mnuImportStocks_Click() {
  if (RefusedDuringRun("Import Stock Symbols")) return;
  std::string path = user::User().OpenFileDialog(SymbolDialog("Import Stock Symbols", "All Files|*.*"));
  if (path.empty()) return;
  bool imported = false;
  RunEngineWork([&](clsResearch& engine) { imported = engine.ImportNewStocks(path); });
  // A failed import was reported by the engine: no confirmation then.
  if (!imported) return;
  user::MsgBox("Stock symbols have been imported.\r\nYou may now run simulations on them!", user::kOKOnly,
               user::kApplicationTitle);
}

void frmMain::ImportSymbols() {
  RunHandler([this] { mnuImportStocks_Click(); });
}

}  // namespace ui
