// The window's side of working online: the connection test, the status
// label that shows the result, and the menu item that switches it.
#include "market_data/run_parameters.h"
#include "platform/user/user_services.h"
#include "ui/main_window.h"

namespace ui {

bool frmMain::TestInternet() {
  // Between an engine's release and the next one there is nothing to ask.
  bool connected = objResearch && objResearch->TestInternet();
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

void frmMain::mnuUseInternet_Click() {
  user::User().SetPointer(user::kPointerHourglass);
  user::DoEvents();
  QLabel* status = Label("lblStatus", 0);
  // The item has already changed its check mark.
  bool online = Menu("mnuUseInternet")->isChecked();
  if (online) {
    status->setText("Attempting to Connect...");
    status->repaint();  // seen while the test waits for the page
    Parms().blnUseInternet = TestInternet();
  } else {
    Parms().blnUseInternet = false;
  }
  if (!Parms().blnUseInternet) {
    status->setText("Not Connected to Internet");
    user::MsgBox(
        "You are not connected to the Internet, no data can be pulled. You will not be warned if there is missing "
        "data in a Simulation.");
  }
  ShowInternetState(Parms().blnUseInternet);
  Check("chkUpdateData")->SetValue(Parms().blnUseInternet ? 1 : 0);
  user::User().SetPointer(user::kPointerDefault);
  user::DoEvents();
}

}  // namespace ui
