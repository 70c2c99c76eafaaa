#pragma once

#include <QString>

namespace dyno {

// The settings file "Dynoforge.ini" in the user's configuration folder keeps
// one value: the folder of the last opened or imported file, under "PATH" in
// section "DynoforgeSettings".
QString SettingsFilePath();

// The remembered folder, or the default (the home folder here) when the file,
// section or key is absent.
QString ReadWorkFolderSetting();

// Failures are ignored: losing the last folder is not worth a message.
void WriteWorkFolderSetting(const QString& folder);

}  // namespace dyno
