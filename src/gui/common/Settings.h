#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

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
// unit names), ShowPeaks, SlipAxis and AllSlipCurves (1 or 0); a missing or
// unknown value is the default. SlipAxis and AllSlipCurves are written once
// turned on, so a file that never had them keeps its bytes.
struct ViewSettings {
  QString TorqueUnit;
  QString PowerUnit;
  bool ShowPeaks = false;
  bool SlipAxis = false;
  bool AllSlipCurves = false;
};
ViewSettings ReadViewSettings();
// Failures are ignored, as for the folder.
void WriteViewSettings(const ViewSettings& view);

// The recent files as stored, newest first; a missing key is an empty entry.
// One key per file keeps every path whole, commas included. Another running
// copy may have changed the list: the file is read again when its size or
// time says it changed since this copy last read or wrote it.
QStringList ReadRecentFilesSetting();

// Replaces the stored list; keys beyond its end are removed. Failures are
// ignored, as for the folder.
void WriteRecentFilesSetting(const QStringList& files);

// A settings file larger than this is another program's business: it reads
// as absent and is never written.
constexpr qint64 MaxSettingsFileSize = 256 * 1024;

// How many times this run has read the settings file's bytes.
int SettingsFileReads();

// The text of a settings file, in the classic INI format that the platform's
// private profile functions read: "[section]" lines, "key=value" lines,
// comments starting with ";" or "#"; sections and keys are found whatever
// their letter case, blanks around them and around a value do not count.
// This program owns only its own keys in its own section; every other byte
// (other sections, keys above the first section, comments, unknown keys,
// line ends) stays as it is when it sets or removes one of them.
//
// A value is written as it is, or between double quotes where the line could
// not hold it as it is (blanks at its ends, quotes around it) or where readers
// that take ";" or "#" for the start of a comment would cut it. What stands
// between quotes is taken as it is, backslashes included, as those readers
// take it: "C:\Program Files\x.ini" is C:\Program Files\x.ini. Nothing on one
// line can hold a line break, so a value with one is not written.
class SettingsText {
 public:
  explicit SettingsText(const QByteArray& bytes = {});

  // The value of key in section "DynoforgeSettings" (its first line, when
  // the file repeats it), or nothing.
  std::optional<QString> Value(const QString& key) const;
  // Sets key in that section: its line changes in place, or a new line goes
  // into the section (among the program's keys in name order), or the
  // section is added at the end. False, changing nothing, for a value with a
  // line break.
  bool SetValue(const QString& key, const QString& value);
  void Remove(const QString& key);

  QByteArray Bytes() const;

 private:
  struct Line {
    QByteArray Text;  // without its line end
    QByteArray End;   // "\n", "\r\n", or empty for a last line without one
  };
  // The lines of this program's keys: those named key, in file order.
  std::vector<std::size_t> KeyLines(const QByteArray& key) const;
  QByteArray LineEnd() const;

  std::vector<Line> lines_;
};

}  // namespace dyno
