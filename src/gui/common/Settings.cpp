#include "gui/common/Settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "core/document/Limits.h"

namespace dyno {

namespace {

const QString Key = QStringLiteral("DynoforgeSettings/PATH");

// The keys of the recent files: "DynoforgeSettings/RecentFile1", ...
QString RecentFileKey(int index) { return QStringLiteral("DynoforgeSettings/RecentFile%1").arg(index + 1); }

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

ViewSettings ReadViewSettings() {
  const QSettings settings(SettingsFilePath(), QSettings::IniFormat);
  return {settings.value(QStringLiteral("DynoforgeSettings/TorqueUnit")).toString(),
          settings.value(QStringLiteral("DynoforgeSettings/PowerUnit")).toString(),
          settings.value(QStringLiteral("DynoforgeSettings/ShowPeaks")).toString() == QStringLiteral("1")};
}

void WriteViewSettings(const ViewSettings& view) {
  QSettings settings(SettingsFilePath(), QSettings::IniFormat);
  settings.setValue(QStringLiteral("DynoforgeSettings/TorqueUnit"), view.TorqueUnit);
  settings.setValue(QStringLiteral("DynoforgeSettings/PowerUnit"), view.PowerUnit);
  settings.setValue(QStringLiteral("DynoforgeSettings/ShowPeaks"), QString(view.ShowPeaks ? QStringLiteral("1") : QStringLiteral("0")));
  settings.sync();
}

QStringList ReadRecentFilesSetting() {
  const QSettings settings(SettingsFilePath(), QSettings::IniFormat);
  QStringList files;
  for (int i = 0; i < MaxRecentFiles; ++i) {
    const QVariant value = settings.value(RecentFileKey(i));
    // Written values are quoted; one edited by hand with a bare comma reads
    // as a list, whose parts are joined back (without the spaces around the
    // commas, which the reading drops).
    files << (value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString());
  }
  return files;
}

void WriteRecentFilesSetting(const QStringList& files) {
  QSettings settings(SettingsFilePath(), QSettings::IniFormat);
  for (int i = 0; i < MaxRecentFiles; ++i) {
    if (i < files.size()) {
      settings.setValue(RecentFileKey(i), files[i]);
    } else {
      settings.remove(RecentFileKey(i));
    }
  }
  settings.sync();
}

}  // namespace dyno
