#include "ui/about_window.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QProcess>
#include <QStyle>
#include <QVBoxLayout>
#include <filesystem>

#include "platform/registry/registry_access.h"
#include "platform/user/user_services.h"
#include "ui/controls.h"
#include "ui/splash_window.h"

namespace ui {
namespace {

constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";
constexpr const char* kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kSysInfoPathValue = "PATH";
constexpr const char* kSysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* kSysInfoLocationValue = "MSINFO";
constexpr const char* kSysInfoProgram = "MSINFO32.EXE";
constexpr size_t kValueBufferSize = 1024;

constexpr const char* kDescription =
    "Research and back-testing of rules for trading stocks on daily prices: select candidates, trade them and "
    "replay a portfolio over the stored history.";
constexpr const char* kDisclaimer =
    "Warning: simulated results are no guarantee of future returns. Nothing this program shows is investment "
    "advice.";
constexpr const char* kWarning =
    "This program simulates trading rules on historical prices. Past prices, and any result computed from them, "
    "do not predict future prices. Simulations leave out costs and market conditions that real trading meets, "
    "and the price history may hold errors or gaps. Any decision to buy or sell a security is yours alone; the "
    "makers of this program accept no liability for losses that follow from its use.";

QFrame* PlainLine() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Plain);
  return line;
}

bool StartDetached(const std::string& commandLine) {
  QStringList parts = QProcess::splitCommand(Q(commandLine));
  if (parts.isEmpty()) return false;
  QString program = parts.takeFirst();
  return QProcess::startDetached(program, parts);
}

}  // namespace

frmAbout::frmAbout(QWidget* owner) : QDialog(owner), startProgram(StartDetached) {
  setObjectName("frmAbout");
  setWindowTitle("About Kestrovane");

  picIcon = new QLabel(this);
  picIcon->setObjectName("picIcon");
  picIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
  lblTitle = new QLabel("Application Title", this);
  lblTitle->setObjectName("lblTitle");
  QFont titleFont = lblTitle->font();
  titleFont.setPointSize(titleFont.pointSize() * 3 / 2);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);
  lblVersion = new QLabel("Version", this);
  lblVersion->setObjectName("lblVersion");
  lblDescription = new QLabel(kDescription, this);
  lblDescription->setObjectName("lblDescription");
  lblDescription->setWordWrap(true);
  lblDisclaimer = new QLabel(kDisclaimer, this);
  lblDisclaimer->setObjectName("lblDisclaimer");
  lblDisclaimer->setWordWrap(true);
  txtWarning = new QPlainTextEdit(kWarning, this);
  txtWarning->setObjectName("txtWarning");
  txtWarning->setReadOnly(true);
  cmdOK = new QPushButton("OK", this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);
  cmdSysInfo = new QPushButton("&System Info...", this);
  cmdSysInfo->setObjectName("cmdSysInfo");

  auto* heading = new QGridLayout;
  heading->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
  heading->addWidget(lblTitle, 0, 1);
  heading->addWidget(lblVersion, 1, 1);
  heading->addWidget(lblDescription, 2, 1);
  heading->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdSysInfo);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(heading);
  layout->addWidget(PlainLine());
  layout->addWidget(txtWarning, 1);
  layout->addWidget(PlainLine());
  layout->addWidget(lblDisclaimer);
  layout->addLayout(buttons);
  resize(460, 360);

  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

  // Load: the version, then the title.
  lblVersion->setText(Q(VersionText()));
  lblTitle->setText(user::kApplicationTitle);
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() {
  try {
    std::string path;
    bool found = GetKeyValue(registry::HKEY_LOCAL_MACHINE, kSysInfoKey, kSysInfoPathValue, path);
    if (!found) {
      std::string folder;
      if (GetKeyValue(registry::HKEY_LOCAL_MACHINE, kSysInfoLocationKey, kSysInfoLocationValue, folder)) {
        std::filesystem::path program = std::filesystem::path(folder) / kSysInfoProgram;
        std::error_code ec;
        if (std::filesystem::is_regular_file(program, ec)) {
          path = program.string();
          found = true;
        }
      }
    }
    if (found && startProgram && startProgram(path)) return;
  } catch (const std::exception&) {
    // Any failure ends in the message below.
  }
  user::MsgBox(kSysInfoUnavailable, user::kOKOnly, user::kApplicationTitle);
}

bool frmAbout::GetKeyValue(int32_t keyRoot, const std::string& keyName, const std::string& subKeyRef,
                           std::string& keyValue) {
  int32_t key = registry::OpenRegKey(keyRoot, keyName);
  if (key == 0) {
    keyValue.clear();
    return false;
  }
  int32_t type = 0;
  std::string data;
  // A text needs room for its closing NUL as well.
  bool read = registry::QueryRegValueEx(key, subKeyRef, type, data) &&
              data.size() + (type == registry::REG_SZ ? 1 : 0) <= kValueBufferSize;
  registry::CloseRegKey(key);
  if (!read) {
    keyValue.clear();
    return false;
  }
  data = data.substr(0, data.find('\0'));
  if (type == registry::REG_SZ) {
    keyValue = data;
  } else if (type == registry::REG_DWORD) {
    for (auto byte = data.rbegin(); byte != data.rend(); ++byte)
      keyValue += S(QString::number(static_cast<unsigned char>(*byte), 16).toUpper());
    keyValue = "&h" + keyValue;
  }
  return true;
}

}  // namespace ui
