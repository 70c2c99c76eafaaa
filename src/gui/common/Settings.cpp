#include "gui/common/Settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace dyno {

namespace {

const QString Key = QStringLiteral("DynoforgeSettings/PATH");

QString DefaultFolder() {
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\Program Files");
#else
  return QDir::homePath();
#endif
}

}  // namespace

QString SettingsFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Dynoforge.ini");
}

QString ReadWorkFolderSetting() {
  const QSettings settings(SettingsFilePath(), QSettings::IniFormat);
  return settings.value(Key, DefaultFolder()).toString();
}

void WriteWorkFolderSetting(const QString& folder) {
  QSettings settings(SettingsFilePath(), QSettings::IniFormat);
  settings.setValue(Key, folder);
  settings.sync();
}

}  // namespace dyno
