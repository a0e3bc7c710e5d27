// The run's clock stands still while a message stands open: a run that ends
// with a message shows the time its work took, however long the message
// waits for its answer.
#include "ui/main_window.h"

namespace ui {

void frmMain::HoldRunClock(bool messageOpen) {
  if (messageOpen) {
    if (messagesOpen_++ == 0) heldElapsed_ = rt::Now() - datRunStart;
  } else if (messagesOpen_ > 0 && --messagesOpen_ == 0) {
    datRunStart = rt::Now() - heldElapsed_;
  }
}

}  // namespace ui
