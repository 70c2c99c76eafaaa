#include "gui/common/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include <algorithm>
#include <functional>

#include "core/document/Limits.h"
#include "gui/common/FileNames.h"

namespace dyno {

namespace {

const QByteArray Section = QByteArrayLiteral("DynoforgeSettings");

QString RecentFileKey(int index) { return QStringLiteral("RecentFile%1").arg(index + 1); }

QString DefaultFolder() {
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\Program Files");
#else
  return QDir::homePath();
#endif
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

QByteArray Trimmed(QByteArrayView text) {
  qsizetype from = 0;
  qsizetype to = text.size();
  while (from < to && IsBlank(text[from])) ++from;
  while (to > from && IsBlank(text[to - 1])) --to;
  return text.sliced(from, to - from).toByteArray();
}

bool SameName(const QByteArray& a, const QByteArray& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The keys this program writes; other keys in its section are left alone.
bool OwnKey(const QByteArray& key) {
  for (const char* own : {"PATH", "TorqueUnit", "PowerUnit", "ShowPeaks", "SlipAxis", "AllSlipCurves"}) {
    if (SameName(key, own)) return true;
  }
  for (int i = 0; i < MaxRecentFiles; ++i) {
    if (SameName(key, "RecentFile" + QByteArray::number(i + 1))) return true;
  }
  return false;
}

// The name of a section line, "[name]" (what follows the bracket does not
// count); nothing for other lines.
std::optional<QByteArray> SectionName(const QByteArray& line, bool first) {
  QByteArray text = Trimmed(line);
  // A byte-order mark before the first line is not part of it.
  if (first && text.startsWith("\xEF\xBB\xBF")) text = text.sliced(3);
  if (!text.startsWith('[')) return std::nullopt;
  const qsizetype close = text.indexOf(']');
  if (close < 0) return std::nullopt;
  return Trimmed(QByteArrayView(text).sliced(1, close - 1));
}

// The key and the value as written of a "key=value" line; nothing for a
// comment, a section or a line without a key.
std::optional<std::pair<QByteArray, QByteArray>> KeyAndValue(const QByteArray& line) {
  const QByteArray text = Trimmed(line);
  if (text.startsWith(';') || text.startsWith('#') || text.startsWith('[')) return std::nullopt;
  const qsizetype equals = text.indexOf('=');
  if (equals <= 0) return std::nullopt;
  return std::pair{Trimmed(QByteArrayView(text).first(equals)), Trimmed(QByteArrayView(text).sliced(equals + 1))};
}

bool Quoted(const QByteArray& value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

QByteArray ReadValue(const QByteArray& written) { return Quoted(written) ? written.sliced(1, written.size() - 2) : written; }

std::optional<QByteArray> WrittenValue(const QByteArray& value) {
  if (value.contains('\n') || value.contains('\r')) return std::nullopt;
  const bool plain = value.isEmpty() || (!IsBlank(value.front()) && !IsBlank(value.back()) && !Quoted(value) &&
                                         !value.contains(';') && !value.contains('#'));
  return plain ? value : QByteArray('"' + value + '"');
}

}  // namespace

SettingsText::SettingsText(const QByteArray& bytes) {
  qsizetype from = 0;
  while (from < bytes.size()) {
    const qsizetype newline = bytes.indexOf('\n', from);
    if (newline < 0) {
      lines_.push_back({bytes.sliced(from), {}});
      break;
    }
    const qsizetype end = newline > from && bytes[newline - 1] == '\r' ? newline - 1 : newline;
    lines_.push_back({bytes.sliced(from, end - from), bytes.sliced(end, newline + 1 - end)});
    from = newline + 1;
  }
}

QByteArray SettingsText::Bytes() const {
  QByteArray out;
  for (const Line& line : lines_) out += line.Text + line.End;
  return out;
}

std::vector<std::size_t> SettingsText::KeyLines(const QByteArray& key) const {
  std::vector<std::size_t> found;
  bool ours = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (const std::optional<QByteArray> name = SectionName(lines_[i].Text, i == 0)) {
      ours = SameName(*name, Section);
    } else if (ours) {
      const auto pair = KeyAndValue(lines_[i].Text);
      if (pair && SameName(pair->first, key)) found.push_back(i);
    }
  }
  return found;
}

QByteArray SettingsText::LineEnd() const {
  // New lines end as the file's lines do.
  for (const Line& line : lines_) {
    if (!line.End.isEmpty()) return line.End;
  }
#ifdef Q_OS_WIN
  return QByteArrayLiteral("\r\n");
#else
  return QByteArrayLiteral("\n");
#endif
}

std::optional<QString> SettingsText::Value(const QString& key) const {
  const std::vector<std::size_t> found = KeyLines(key.toUtf8());
  if (found.empty()) return std::nullopt;
  const QByteArray value = ReadValue(KeyAndValue(lines_[found.front()].Text)->second);
  return DecodedName(value.toStdString());
}

bool SettingsText::SetValue(const QString& key, const QString& value) {
  const QByteArray name = key.toUtf8();
  const std::optional<QByteArray> written = WrittenValue(QByteArray::fromStdString(EncodedName(value)));
  if (!written) return false;
  const QByteArray text = name + '=' + *written;
  std::vector<std::size_t> found = KeyLines(name);
  if (!found.empty()) {
    lines_[found.front()].Text = text;
    // Later lines of the same key would come back when this one is removed.
    for (auto it = found.rbegin(); it + 1 != found.rend(); ++it) lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*it));
    return true;
  }
  const QByteArray end = LineEnd();
  std::optional<std::size_t> header;
  for (std::size_t i = 0; i < lines_.size() && !header; ++i) {
    const std::optional<QByteArray> section = SectionName(lines_[i].Text, i == 0);
    if (section && SameName(*section, Section)) header = i;
  }
  if (!header) {
    if (!lines_.empty()) {
      if (lines_.back().End.isEmpty()) lines_.back().End = end;
      if (!Trimmed(lines_.back().Text).isEmpty()) lines_.push_back({{}, end});
    }
    lines_.push_back({'[' + Section + ']', end});
    lines_.push_back({text, end});
    return true;
  }
  // Into the section: before the first of the program's keys that sorts
  // after this one, else after the section's last key (not after comments
  // that may head the next section).
  std::size_t at = *header + 1;
  for (std::size_t i = *header + 1; i < lines_.size() && !SectionName(lines_[i].Text, false); ++i) {
    const auto pair = KeyAndValue(lines_[i].Text);
    if (!pair) continue;
    if (OwnKey(pair->first) && pair->first > name) {
      at = i;
      break;
    }
    at = i + 1;
  }
  if (lines_[at - 1].End.isEmpty()) lines_[at - 1].End = end;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), {text, end});
  return true;
}

void SettingsText::Remove(const QString& key) {
  const std::vector<std::size_t> found = KeyLines(key.toUtf8());
  for (auto it = found.rbegin(); it != found.rend(); ++it) lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*it));
}

namespace {

int reads = 0;

// What says that the file changed: another copy writes a new file and
// renames it over this one, or writes it in place.
struct FileStamp {
  bool Exists = false;
  qint64 Size = 0;
  qint64 ModifiedNs = 0;
  quint64 Identity = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const QString& path) {
#ifdef Q_OS_WIN
  const QFileInfo info(path);
  if (!info.exists()) return {};
  return {true, info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000, 0};
#else
  struct stat status {};
  if (::stat(QFile::encodeName(path).constData(), &status) != 0) return {};
  return {true, static_cast<qint64>(status.st_size),
          static_cast<qint64>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
          static_cast<quint64>(status.st_ino)};
#endif
}

// The file as this run last read or wrote it.
struct LoadedFile {
  QString Path;
  FileStamp Stamp;
  bool Loaded = false;
  // Read whole, or absent: only then may it be written.
  bool Writable = false;
  SettingsText Text;
  // When the bytes were read or written. A file changed within the same tick
  // of the file system's clock may keep its size and time: the stamp is
  // trusted only for a file that was already older than a second then.
  qint64 CheckedNs = 0;

  bool Fresh(const QString& path, const FileStamp& stamp) const {
    return Loaded && Path == path && Stamp == stamp && Stamp.ModifiedNs + 1000000000 < CheckedNs;
  }
};

qint64 NowNs() { return QDateTime::currentMSecsSinceEpoch() * 1000000; }

LoadedFile& Loaded() {
  static LoadedFile file;
  return file;
}

// The file's text, read again only when it changed since.
const LoadedFile& Current() {
  LoadedFile& file = Loaded();
  const QString path = SettingsFilePath();
  const FileStamp stamp = StampOf(path);
  if (file.Fresh(path, stamp)) return file;
  file = {path, stamp, true, !stamp.Exists, SettingsText(), NowNs()};
  if (!stamp.Exists || stamp.Size > MaxSettingsFileSize) return file;
  QFile in(path);
  if (!in.open(QIODevice::ReadOnly)) return file;
  ++reads;
  // The file may have grown since it was looked at.
  const QByteArray bytes = in.read(MaxSettingsFileSize + 1);
  if (bytes.size() > MaxSettingsFileSize || in.error() != QFileDevice::NoError) return file;
  file.Writable = true;
  file.Text = SettingsText(bytes);
  return file;
}

// Applies change to the file as it is now on disk and writes it when that
// changes anything. The lock keeps two running copies from each writing
// over what the other just wrote.
void ChangeFile(const std::function<void(SettingsText&)>& change) {
  const QString path = SettingsFilePath();
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return;
  QLockFile lock(path + QStringLiteral(".lock"));
  if (!lock.tryLock(5000)) return;
  const LoadedFile& current = Current();
  if (!current.Writable) return;
  SettingsText text = current.Text;
  change(text);
  const QByteArray bytes = text.Bytes();
  if (bytes == current.Text.Bytes()) return;
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) return;
  LoadedFile& file = Loaded();
  file.Stamp = StampOf(path);
  file.Text = std::move(text);
  file.CheckedNs = NowNs();
}

}  // namespace

QString SettingsFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Dynoforge.ini");
}

int SettingsFileReads() { return reads; }

QString ReadWorkFolderSetting() { return Current().Text.Value(QStringLiteral("PATH")).value_or(DefaultFolder()); }

void WriteWorkFolderSetting(const QString& folder) {
  ChangeFile([&](SettingsText& text) { text.SetValue(QStringLiteral("PATH"), folder); });
}

ViewSettings ReadViewSettings() {
  const SettingsText& text = Current().Text;
  return {text.Value(QStringLiteral("TorqueUnit")).value_or(QString()),
          text.Value(QStringLiteral("PowerUnit")).value_or(QString()),
          text.Value(QStringLiteral("ShowPeaks")) == QStringLiteral("1"),
          text.Value(QStringLiteral("SlipAxis")) == QStringLiteral("1"),
          text.Value(QStringLiteral("AllSlipCurves")) == QStringLiteral("1")};
}

void WriteViewSettings(const ViewSettings& view) {
  ChangeFile([&](SettingsText& text) {
    text.SetValue(QStringLiteral("TorqueUnit"), view.TorqueUnit);
    text.SetValue(QStringLiteral("PowerUnit"), view.PowerUnit);
    text.SetValue(QStringLiteral("ShowPeaks"), view.ShowPeaks ? QStringLiteral("1") : QStringLiteral("0"));
    for (const auto& [key, on] : {std::pair{QStringLiteral("SlipAxis"), view.SlipAxis},
                                  std::pair{QStringLiteral("AllSlipCurves"), view.AllSlipCurves}}) {
      if (on || text.Value(key)) text.SetValue(key, on ? QStringLiteral("1") : QStringLiteral("0"));
    }
  });
}

QStringList ReadRecentFilesSetting() {
  const SettingsText& text = Current().Text;
  QStringList files;
  for (int i = 0; i < MaxRecentFiles; ++i) files << text.Value(RecentFileKey(i)).value_or(QString());
  return files;
}

void WriteRecentFilesSetting(const QStringList& files) {
  ChangeFile([&](SettingsText& text) {
    // A name no line can hold is left out; the newer ones keep their places.
    int index = 0;
    for (const QString& file : files) {
      if (index < MaxRecentFiles && text.SetValue(RecentFileKey(index), file)) ++index;
    }
    for (; index < MaxRecentFiles; ++index) text.Remove(RecentFileKey(index));
  });
}

}  // namespace dyno
