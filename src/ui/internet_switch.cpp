// The window's side of working online: the connection test and the status
// label that shows the result.
#include "platform/user/user_services.h"
#include "ui/main_window.h"

namespace ui {

bool frmMain::TestInternet() {
  bool connected = objResearch->TestInternet();
  user::DoEvents();
  return connected;
}

void frmMain::ShowInternetState(bool connected) {
  QLabel* status = Label("lblStatus", 0);
  status->setText(connected ? "Connected to Internet" : "Not Connected to Internet");
  QPalette palette = status->palette();
  palette.setColor(QPalette::WindowText, connected ? QColor(0, 64, 0) : QColor(192, 0, 0));
  status->setPalette(palette);
  status->setVisible(true);
}

}  // namespace ui
