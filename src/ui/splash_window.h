#pragma once
// frmSplash: the window shown while the program starts.
#include <QLabel>
#include <QWidget>
#include <string>

namespace ui {

// "Version 1.0.0": major, minor and revision of the build.
std::string VersionText();

class frmSplash : public QWidget {
 public:
  frmSplash();

  QLabel* lblProductName = nullptr;
  QLabel* lblCompanyProduct = nullptr;
  QLabel* lblVersion = nullptr;
};

}  // namespace ui
