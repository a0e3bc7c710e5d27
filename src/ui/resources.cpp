#include "ui/resources.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <map>

#include "platform/runtime/app_folder.h"

// The resources are compiled into a static library, so they are registered
// explicitly before first use.
static void InitKestrovaneResources() { Q_INIT_RESOURCE(kestrovane); }

namespace ui {
namespace {

void EnsureResources() {
  static bool done = (InitKestrovaneResources(), true);
  (void)done;
}

const std::map<int, std::string>& HelpStrings() {
  static const std::map<int, std::string> strings = [] {
    EnsureResources();
    std::map<int, std::string> table;
    QFile file(":/help_strings.txt");
    if (!file.open(QIODevice::ReadOnly)) return table;
    for (const QByteArray& line : file.readAll().split('\n')) {
      int tab = line.indexOf('\t');
      if (tab <= 0) continue;
      table[line.left(tab).toInt()] = line.mid(tab + 1).toStdString();
    }
    return table;
  }();
  return strings;
}

}  // namespace

std::string LoadResString(int id) {
  auto found = HelpStrings().find(id);
  return found == HelpStrings().end() ? "" : found->second;
}

bool PrepareAppFolder() {
  if (!rt::EnsureAppFolders()) return false;
  EnsureResources();
  const QString root = QString::fromStdString(rt::AppFolder().string());
  QDirIterator seeds(":/seed", QDir::Files, QDirIterator::Subdirectories);
  while (seeds.hasNext()) {
    QString source = seeds.next();
    QString target = root + source.mid(QString(":/seed").size());
    if (QFileInfo::exists(target)) continue;  // never replace the user's copy
    QFileInfo(target).dir().mkpath(".");
    if (QFile::copy(source, target))
      QFile::setPermissions(
          target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
  }
  return true;
}

}  // namespace ui
