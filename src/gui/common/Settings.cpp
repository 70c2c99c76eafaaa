#include "gui/common/Settings.h"

#include <QDir>
#include <QIODevice>
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

// The settings file is a plain INI file, read and written as the platform's
// private profile files are: a value is the rest of its line, blanks around
// it dropped, and a value in double quotes is what stands between them. (Qt's
// own INI format would read "PATH=/data/cars,old" as a list, lose the
// backslashes of "C:\Program Files", and write them back changed.) A value
// that a plain line cannot hold as it is (blanks at its ends, a line break,
// quotes around it) is written in quotes, with backslash escapes for the
// quote, the backslash and the line breaks inside them.

QString Unquoted(const QString& value) {
  QString out;
  for (qsizetype i = 1; i + 1 < value.size(); ++i) {
    QChar c = value[i];
    if (c == QLatin1Char('\\') && i + 2 < value.size()) {
      const QChar next = value[++i];
      c = next == QLatin1Char('n') ? QChar('\n') : next == QLatin1Char('r') ? QChar('\r') : next;
    }
    out += c;
  }
  return out;
}

QString Quoted(const QString& value) {
  const bool plain = !value.isEmpty() && !value.front().isSpace() && !value.back().isSpace() &&
                     !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')) &&
                     !(value.front() == QLatin1Char('"') && value.back() == QLatin1Char('"'));
  if (plain || value.isEmpty()) return value;
  QString out = QStringLiteral("\"");
  for (const QChar c : value) {
    if (c == QLatin1Char('\n')) {
      out += QStringLiteral("\\n");
    } else if (c == QLatin1Char('\r')) {
      out += QStringLiteral("\\r");
    } else {
      if (c == QLatin1Char('"') || c == QLatin1Char('\\')) out += QLatin1Char('\\');
      out += c;
    }
  }
  return out + QLatin1Char('"');
}

bool ReadProfile(QIODevice& device, QSettings::SettingsMap& map) {
  QString section;
  for (const QString& raw : QString::fromUtf8(device.readAll()).split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))) continue;
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      section = line.mid(1, line.size() - 2).trimmed();
      continue;
    }
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0) continue;
    const QString key = line.left(equals).trimmed();
    QString value = line.mid(equals + 1).trimmed();
    if (value.size() >= 2 && value.front() == QLatin1Char('"') && value.back() == QLatin1Char('"')) {
      value = Unquoted(value);
    }
    map.insert(section.isEmpty() ? key : section + QLatin1Char('/') + key, value);
  }
  return true;
}

bool WriteProfile(QIODevice& device, const QSettings::SettingsMap& map) {
#ifdef Q_OS_WIN
  const QString end = QStringLiteral("\r\n");
#else
  const QString end = QStringLiteral("\n");
#endif
  QString text;
  QString section;
  bool first = true;
  // Keys without a section first, then each section's keys together (the
  // map is sorted by section).
  for (auto it = map.begin(); it != map.end(); ++it) {
    const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
    const QString keySection = slash < 0 ? QString() : it.key().left(slash);
    if (first || keySection != section) {
      if (!first) text += end;
      if (!keySection.isEmpty()) text += QLatin1Char('[') + keySection + QLatin1Char(']') + end;
      section = keySection;
      first = false;
    }
    const QVariant& value = it.value();
    const QString plain = value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                                   : value.toString();
    text += it.key().mid(slash + 1) + QLatin1Char('=') + Quoted(plain) + end;
  }
  return device.write(text.toUtf8()) >= 0;
}

// The settings file as the platform's profile functions see it.
QSettings::Format ProfileFormat() {
  static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("ini"), ReadProfile, WriteProfile);
  return format;
}

}  // namespace

QString SettingsFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Dynoforge.ini");
}

QString ReadWorkFolderSetting() {
  const QSettings settings(SettingsFilePath(), ProfileFormat());
  return settings.value(Key, DefaultFolder()).toString();
}

void WriteWorkFolderSetting(const QString& folder) {
  QSettings settings(SettingsFilePath(), ProfileFormat());
  settings.setValue(Key, folder);
  settings.sync();
}

ViewSettings ReadViewSettings() {
  const QSettings settings(SettingsFilePath(), ProfileFormat());
  return {settings.value(QStringLiteral("DynoforgeSettings/TorqueUnit")).toString(),
          settings.value(QStringLiteral("DynoforgeSettings/PowerUnit")).toString(),
          settings.value(QStringLiteral("DynoforgeSettings/ShowPeaks")).toString() == QStringLiteral("1")};
}

void WriteViewSettings(const ViewSettings& view) {
  QSettings settings(SettingsFilePath(), ProfileFormat());
  settings.setValue(QStringLiteral("DynoforgeSettings/TorqueUnit"), view.TorqueUnit);
  settings.setValue(QStringLiteral("DynoforgeSettings/PowerUnit"), view.PowerUnit);
  settings.setValue(QStringLiteral("DynoforgeSettings/ShowPeaks"), QString(view.ShowPeaks ? QStringLiteral("1") : QStringLiteral("0")));
  settings.sync();
}

QStringList ReadRecentFilesSetting() {
  const QSettings settings(SettingsFilePath(), ProfileFormat());
  QStringList files;
  for (int i = 0; i < MaxRecentFiles; ++i) files << settings.value(RecentFileKey(i)).toString();
  return files;
}

void WriteRecentFilesSetting(const QStringList& files) {
  QSettings settings(SettingsFilePath(), ProfileFormat());
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
