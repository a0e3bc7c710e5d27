#include "ui/tutorial_window.h"

#include <QVBoxLayout>

namespace ui {

frmTutorial::frmTutorial(QWidget* owner) : QDialog(owner) {
  setObjectName("frmTutorial");
  setWindowTitle("Tutorial");
  lblTutorial = new QLabel(
      "If you are a new user of Kestrovane, please review the tutorial to learn about the available features and "
      "functionality.  The tutorial can be found in Kestrovane's help feature.",
      this);
  lblTutorial->setObjectName("lblTutorial");
  lblTutorial->setWordWrap(true);
  chkNoMore = new QCheckBox("Do not display this message again", this);
  chkNoMore->setObjectName("chkNoMore");
  cmdOK = new QPushButton("&OK", this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblTutorial);
  layout->addWidget(chkNoMore);
  layout->addWidget(cmdOK, 0, Qt::AlignRight);
  resize(420, 160);
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

void frmTutorial::cmdOK_Click() {
  remembered_ = chkNoMore->isChecked() ? 1 : 0;
  accept();
}

}  // namespace ui
