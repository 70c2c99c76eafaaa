// The settings file: what the program writes reads back as written, what is
// not its own stays byte for byte, and the file is read only when it changed.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "gui/common/FileNames.h"
#include "gui/common/Settings.h"
#include "support/CaseTables.h"

namespace dyno {
namespace {

// Settings texts read, written and changed (settings-text cases): "read
// BYTES" gives PATH's value; "write VALUE" sets PATH in a new file; "change
// BYTES | KEY=VALUE | KEY" sets keys, or removes them (no "="), then shows the
// bytes, each key as they read back, and a refusal or bytes not kept as read.
TEST(Settings, TextsReadWrittenAndChanged) {
  test::RunCases(
      "settings-text",
      [](const std::string& rule, std::istream& in, std::ostream& out) {
        const auto shown = [](const std::optional<QString>& v) {
          return v ? "\"" + test::Escaped(EncodedName(*v)) + "\"" : std::string("none");
        };
        std::string raw;
        std::getline(in >> std::ws, raw);
        if (rule == "write") raw = " | PATH=" + raw;
        std::vector<std::string> pieces;
        for (std::size_t at = 0, bar = 0; bar != std::string::npos; at = bar + 3) {
          bar = raw.find(" | ", at);
          pieces.push_back(raw.substr(at, bar - at));
        }
        const QByteArray before = QByteArray::fromStdString(test::Unescape(pieces[0]));
        SettingsText text(before);
        if (rule == "read") {
          out << "PATH " << shown(text.Value(QStringLiteral("PATH"))) << "\n";
          return;
        }
        if (text.Bytes() != before) out << "not kept as read\n  ";
        std::vector<QString> keys;
        for (std::size_t i = 1; i < pieces.size(); ++i) {
          const std::string change = test::Unescape(pieces[i]);
          const std::size_t equals = change.find('=');
          keys.push_back(QString::fromStdString(change.substr(0, equals)));
          if (equals == std::string::npos) {
            text.Remove(keys.back());
          } else if (!text.SetValue(keys.back(), DecodedName(change.substr(equals + 1)))) {
            out << keys.back().toStdString() << " refused\n  ";
          }
        }
        out << test::Escaped(text.Bytes().toStdString()) << "\n  reads back:";
        for (const QString& key : keys) out << " " << key.toStdString() << " " << shown(SettingsText(text.Bytes()).Value(key));
        out << "\n";
      },
      true);
}

// The program's own settings file, in the test's configuration folder.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir().mkpath(QFileInfo(SettingsFilePath()).absolutePath());
    QFile::remove(SettingsFilePath());
  }
  void TearDown() override { QFile::remove(SettingsFilePath()); }

  // Written as another program writes it, an hour ago unless told.
  static void Write(const QByteArray& bytes, bool old = true) {
    QFile file(SettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
    ASSERT_TRUE(file.flush());
    const QDateTime anHourAgo = QDateTime::currentDateTime().addSecs(-3600);
    ASSERT_TRUE(!old || file.setFileTime(anHourAgo, QFileDevice::FileModificationTime));
  }
  static QByteArray Bytes() {
    QFile file(SettingsFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
};

TEST_F(SettingsFile, IsReadOnceAndAgainOnlyWhenAnotherCopyChangedIt) {
  Write("[DynoforgeSettings]\nPATH=/p\nRecentFile1=/a\n");
  const int before = SettingsFileReads();
  EXPECT_EQ(ReadWorkFolderSetting(), QStringLiteral("/p"));
  EXPECT_EQ(ReadViewSettings().TorqueUnit, QString());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ReadRecentFilesSetting().value(0), QStringLiteral("/a"));
  EXPECT_EQ(SettingsFileReads(), before + 1);

  Write("[DynoforgeSettings]\nPATH=/p\nRecentFile1=/theirs\nRecentFile2=/a\n");
  EXPECT_EQ(ReadRecentFilesSetting().mid(0, 2), (QStringList{QStringLiteral("/theirs"), QStringLiteral("/a")}));
  EXPECT_EQ(SettingsFileReads(), before + 2);

  // A change within the same tick of the file system's clock keeps the size
  // and may keep the time: a file that new is not taken from memory.
  Write("[DynoforgeSettings]\nPATH=/1\n", false);
  EXPECT_EQ(ReadWorkFolderSetting(), QStringLiteral("/1"));
  Write("[DynoforgeSettings]\nPATH=/2\n", false);
  EXPECT_EQ(ReadWorkFolderSetting(), QStringLiteral("/2"));
}

TEST_F(SettingsFile, WritesWhatItReadsBackAndKeepsTheRest) {
  Write("Zoom=3\nPATH=/evil\n[DynoforgeSettings]\nPATH=/good\n");
  EXPECT_EQ(ReadWorkFolderSetting(), QStringLiteral("/good"));
  WriteWorkFolderSetting(QStringLiteral("C:\\Program Files\\x"));
  WriteRecentFilesSetting({QStringLiteral("/a"), QStringLiteral("/b\nc"), QStringLiteral(" /d")});
  EXPECT_EQ(Bytes(), "Zoom=3\nPATH=/evil\n[DynoforgeSettings]\nPATH=C:\\Program Files\\x\nRecentFile1=/a\n"
                     "RecentFile2=\" /d\"\n");
  EXPECT_EQ(ReadWorkFolderSetting(), QStringLiteral("C:\\Program Files\\x"));
  EXPECT_EQ(ReadRecentFilesSetting().mid(0, 3), (QStringList{QStringLiteral("/a"), QStringLiteral(" /d"), QString()}));
  WriteRecentFilesSetting({});
  EXPECT_EQ(Bytes(), "Zoom=3\nPATH=/evil\n[DynoforgeSettings]\nPATH=C:\\Program Files\\x\n");
}

// A huge file is not this program's: reading it would stall every start.
TEST_F(SettingsFile, ALargeFileReadsAsAbsentAndIsLeftAlone) {
  const QByteArray ours = "\n[DynoforgeSettings]\nPATH=/big";
  QByteArray bytes = "[Other]\n";
  while (bytes.size() < MaxSettingsFileSize - 100) bytes += "Key=a line of some other program's settings\n";
  bytes += QByteArray(MaxSettingsFileSize - bytes.size() - ours.size(), ';') + ours;
  Write(bytes);
  EXPECT_EQ(ReadWorkFolderSetting(), QStringLiteral("/big"));  // the largest file read, to its last byte
  bytes += '\n';
  Write(bytes);
  const int before = SettingsFileReads();
  EXPECT_EQ(ReadWorkFolderSetting(), QDir::homePath());
  WriteWorkFolderSetting(QStringLiteral("/mine"));
  WriteRecentFilesSetting({QStringLiteral("/a")});
  EXPECT_EQ(ReadRecentFilesSetting().value(0), QString());
  EXPECT_EQ(SettingsFileReads(), before);
  EXPECT_TRUE(Bytes() == bytes);
}

}  // namespace
}  // namespace dyno
