#pragma once

#include <QString>
#include <QStringList>

namespace dyno {

// The settings file "Dynoforge.ini" in the user's configuration folder keeps,
// in section "DynoforgeSettings", the folder of the last opened or imported
// file under "PATH" and the recent files under "RecentFile1" (the newest) to
// "RecentFile8".
QString SettingsFilePath();

// The remembered folder, or the default (the home folder here) when the file,
// section or key is absent.
QString ReadWorkFolderSetting();

// Failures are ignored: losing the last folder is not worth a message.
void WriteWorkFolderSetting(const QString& folder);

// The View menu's choices, kept beside PATH as TorqueUnit, PowerUnit (the
// unit names) and ShowPeaks (1 or 0); a missing or unknown value is the
// default.
struct ViewSettings {
  QString TorqueUnit;
  QString PowerUnit;
  bool ShowPeaks = false;
};
ViewSettings ReadViewSettings();
// Failures are ignored, as for the folder.
void WriteViewSettings(const ViewSettings& view);

// The recent files as stored, newest first; a missing key is an empty entry.
// One key per file keeps every path whole, commas included.
QStringList ReadRecentFilesSetting();

// Replaces the stored list; keys beyond its end are removed. Failures are
// ignored, as for the folder.
void WriteRecentFilesSetting(const QStringList& files);

}  // namespace dyno
