#include "ui/splash_window.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace ui {

std::string VersionText() {
  return "Version " + std::to_string(KESTROVANE_VERSION_MAJOR) + "." + std::to_string(KESTROVANE_VERSION_MINOR) + "." +
         std::to_string(KESTROVANE_VERSION_PATCH);
}

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("frmSplash");
  setAttribute(Qt::WA_DeleteOnClose);

  auto* fraMainFrame = new QFrame(this);
  fraMainFrame->setObjectName("fraMainFrame");
  fraMainFrame->setFrameShape(QFrame::Box);
  fraMainFrame->setLineWidth(2);

  auto* picLogo = new QLabel(fraMainFrame);
  picLogo->setObjectName("picLogo");
  picLogo->setText("KESTROVANE");
  QFont logoFont = picLogo->font();
  logoFont.setPointSize(logoFont.pointSize() * 3);
  logoFont.setBold(true);
  picLogo->setFont(logoFont);
  picLogo->setAlignment(Qt::AlignCenter);

  lblProductName = new QLabel(fraMainFrame);
  lblProductName->setObjectName("lblProductName");
  lblProductName->setAlignment(Qt::AlignCenter);
  lblCompanyProduct = new QLabel(fraMainFrame);
  lblCompanyProduct->setObjectName("lblCompanyProduct");
  lblCompanyProduct->setAlignment(Qt::AlignCenter);
  lblVersion = new QLabel("Version", fraMainFrame);
  lblVersion->setObjectName("lblVersion");
  lblVersion->setAlignment(Qt::AlignRight);

  auto* inner = new QVBoxLayout(fraMainFrame);
  inner->setContentsMargins(30, 30, 30, 20);
  inner->addWidget(picLogo);
  inner->addWidget(lblProductName);
  inner->addWidget(lblCompanyProduct);
  inner->addStretch();
  inner->addWidget(lblVersion);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(fraMainFrame);

  // Load: the version. The product and company labels stay empty; the logo names the program.
  lblVersion->setText(QString::fromStdString(VersionText()));
  resize(480, 260);
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
}

}  // namespace ui
