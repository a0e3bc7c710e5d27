#pragma once
// frmTutorial: the first-start notice that points new users to the tutorial.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace ui {

class frmTutorial : public QDialog {
 public:
  explicit frmTutorial(QWidget* owner);

  QLabel* lblTutorial = nullptr;
  QCheckBox* chkNoMore = nullptr;
  QPushButton* cmdOK = nullptr;

  void cmdOK_Click();
  // The "Do not display this message again" value remembered at OK (0 or 1);
  // 0 when the window was closed otherwise.
  int ShowMessage() const { return remembered_; }

 private:
  int remembered_ = 0;
};

}  // namespace ui
