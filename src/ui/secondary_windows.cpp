// The main window's way to its chart, query and About windows.
#include "ui/about_window.h"
#include "ui/chart_window.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/query_window.h"

namespace ui {

void frmMain::ConnectSecondaryWindows() {
  connect(cmdGraph, &QPushButton::clicked, this, [this] { RunHandler([this] { cmdGraph_Click(); }); });
  connect(Menu("mnuAbout"), &QAction::triggered, this, [this] { RunHandler([this] { mnuAbout_Click(); }); });
  connect(Menu("mnuQuery"), &QAction::triggered, this, [this] { RunHandler([this] { mnuQuery_Click(); }); });
}

frmChart* frmMain::LoadedChartWindow() const {
  return chartWindow_ && !chartWindow_->Unloaded() ? chartWindow_.data() : nullptr;
}

frmChart& frmMain::ChartWindow() {
  if (!LoadedChartWindow()) chartWindow_ = new frmChart(*this);
  return *chartWindow_;
}

frmQuery* frmMain::LoadedQueryWindow() const { return queryWindow_.data(); }

frmQuery& frmMain::QueryWindow() {
  if (!queryWindow_) queryWindow_ = new frmQuery(*this);
  return *queryWindow_;
}

void frmMain::mnuAbout_Click() {
  frmAbout about(this);
  if (showAboutModally) showAboutModally(about);
  else about.exec();
}

void frmMain::mnuQuery_Click() {
  frmQuery& query = QueryWindow();
  query.show();
  query.raise();
  query.activateWindow();
}

}  // namespace ui
