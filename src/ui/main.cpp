// The program: the Qt application and the start-up procedure.
#include <QApplication>

#include "ui/startup.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Kestrovane");
  return ui::Main();
}
