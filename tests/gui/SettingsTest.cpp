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

namespace dyno {
namespace {

struct WrittenCase {
  const char* name;
  QString value;
  QByteArray line;  // the PATH line as written
};

class SettingsValue : public ::testing::TestWithParam<WrittenCase> {};

// Value written -> bytes -> value read: quotes only where the plain line
// would not give the value back, and nothing in quotes is an escape.
TEST_P(SettingsValue, ReadsBackAsWritten) {
  const WrittenCase& c = GetParam();
  SettingsText text;
  ASSERT_TRUE(text.SetValue(QStringLiteral("PATH"), c.value));
  EXPECT_EQ(text.Bytes(), "[DynoforgeSettings]\nPATH=" + c.line + "\n");
  EXPECT_EQ(SettingsText(text.Bytes()).Value(QStringLiteral("PATH")), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsValue,
    ::testing::Values(
        WrittenCase{"Folder", QStringLiteral("/data/cars"), "/data/cars"},
        WrittenCase{"Comma", QStringLiteral("/data/cars,old"), "/data/cars,old"},
        WrittenCase{"WindowsPath", QStringLiteral("C:\\Program Files\\x.ini"), "C:\\Program Files\\x.ini"},
        WrittenCase{"Share", QStringLiteral("\\\\server\\share\\"), "\\\\server\\share\\"},
        WrittenCase{"Empty", QString(), ""},
        WrittenCase{"LeadingBlank", QStringLiteral(" lead"), "\" lead\""},
        WrittenCase{"TrailingBlank", QStringLiteral("C:\\tail\\ "), "\"C:\\tail\\ \""},
        WrittenCase{"Tab", QStringLiteral("\tx"), "\"\tx\""},
        WrittenCase{"QuotesAround", QStringLiteral("\"C:\\a b\\\""), "\"\"C:\\a b\\\"\""},
        WrittenCase{"SingleQuotesAround", QStringLiteral("'x'"), "\"'x'\""},
        WrittenCase{"QuotesInside", QStringLiteral("a \"b\" c"), "a \"b\" c"},
        WrittenCase{"OneQuote", QStringLiteral("\""), "\""},
        WrittenCase{"Hash", QStringLiteral("#1"), "\"#1\""},
        WrittenCase{"Semicolon", QStringLiteral("C:\\a;b"), "\"C:\\a;b\""},
        WrittenCase{"Equals", QStringLiteral("a=b"), "a=b"},
        WrittenCase{"NonAscii", QStringLiteral("/home/jö/Motör & V8"), "/home/j\xC3\xB6/Mot\xC3\xB6r & V8"},
        WrittenCase{"NotUtf8", DecodedName("/tmp/Mot\xFFr"), "/tmp/Mot\xFFr"}),
    [](const ::testing::TestParamInfo<WrittenCase>& param) { return std::string(param.param.name); });

TEST(Settings, AValueWithALineBreakIsNotWritten) {
  SettingsText text(QByteArrayLiteral("[DynoforgeSettings]\nPATH=/old\n"));
  EXPECT_FALSE(text.SetValue(QStringLiteral("PATH"), QStringLiteral("/a\nb")));
  EXPECT_FALSE(text.SetValue(QStringLiteral("PATH"), QStringLiteral("/a\rb")));
  EXPECT_EQ(text.Bytes(), "[DynoforgeSettings]\nPATH=/old\n");
}

// Files written by hand or by other programs, as the platform's profile
// functions read them.
TEST(Settings, ReadsWhatOtherProgramsWrite) {
  const std::vector<std::pair<QByteArray, std::optional<QString>>> cases = {
      {"[DynoforgeSettings]\nPATH=\"C:\\Program Files\\x.ini\"\n", QStringLiteral("C:\\Program Files\\x.ini")},
      {"[DynoforgeSettings]\r\nPATH = 'C:\\a' \r\n", QStringLiteral("C:\\a")},
      {"[DynoforgeSettings]\nPATH=\"\"\n", QString()},
      {"[dynoforgesettings]\npath=/x\n", QStringLiteral("/x")},
      {"  [ DynoforgeSettings ]  ; ours\nPATH=/x ; not a comment\n", QStringLiteral("/x ; not a comment")},
      {"\xEF\xBB\xBF[DynoforgeSettings]\nPATH=/x", QStringLiteral("/x")},
      {"Zoom=3\nPATH=/evil\n[DynoforgeSettings]\nPATH=/good\n", QStringLiteral("/good")},
      {"[DynoforgeSettings]\nPATH=/first\nPATH=/second\n[DynoforgeSettings]\nPATH=/third\n", QStringLiteral("/first")},
      {"[DynoforgeSettings]\n;PATH=/comment\n#PATH=/comment\n=/nokey\nPATH\n", std::nullopt},
      {"[Other]\nPATH=/theirs\n[DynoforgeSettingsX]\nPATH=/x\n", std::nullopt},
      {"PATH=/above\n", std::nullopt},
  };
  for (const auto& [bytes, value] : cases) {
    EXPECT_EQ(SettingsText(bytes).Value(QStringLiteral("PATH")), value) << bytes.toStdString();
  }
}

struct ChangeCase {
  const char* name;
  QByteArray before;
  std::vector<std::pair<QString, std::optional<QString>>> changes;  // no value: removed
  QByteArray after;
};

class SettingsChange : public ::testing::TestWithParam<ChangeCase> {};

// Only the program's own lines change; every other byte stays where it was.
TEST_P(SettingsChange, KeepsWhatIsNotTheProgramsOwn) {
  const ChangeCase& c = GetParam();
  SettingsText text(c.before);
  EXPECT_EQ(text.Bytes(), c.before);
  for (const auto& [key, value] : c.changes) {
    if (value) {
      text.SetValue(key, *value);
    } else {
      text.Remove(key);
    }
  }
  EXPECT_EQ(text.Bytes().toStdString(), c.after.toStdString());
  for (const auto& [key, value] : c.changes) EXPECT_EQ(SettingsText(c.after).Value(key), value) << key.toStdString();
}

const QString Path = QStringLiteral("PATH");
const QString Recent1 = QStringLiteral("RecentFile1");

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingsChange,
    ::testing::Values(
        ChangeCase{"KeysAboveTheFirstSection", "Zoom=3\nPATH=/evil\n[DynoforgeSettings]\nPATH=/good\n",
                   {{Path, QStringLiteral("/new")}}, "Zoom=3\nPATH=/evil\n[DynoforgeSettings]\nPATH=/new\n"},
        ChangeCase{"OtherSectionsCommentsAndLineEnds",
                   "; mine\r\n[Before]\r\nPATH=/theirs \r\n\r\n[DynoforgeSettings] ; here\r\n"
                   "  Unknown = 1\r\n\tpath = /old\r\n; heads After = yes\r\n[After]\r\nRecentFile1=x\r\n",
                   {{Path, QStringLiteral("C:\\new")}, {Recent1, QStringLiteral("/a")}},
                   "; mine\r\n[Before]\r\nPATH=/theirs \r\n\r\n[DynoforgeSettings] ; here\r\n"
                   "  Unknown = 1\r\nPATH=C:\\new\r\nRecentFile1=/a\r\n; heads After = yes\r\n[After]\r\nRecentFile1=x\r\n"},
        ChangeCase{"NewKeysInNameOrder", "[DynoforgeSettings]\nRecentFile8=/a\nTorqueUnit=N-m\nWindow=1\n",
                   {{Path, QStringLiteral("/p")}, {QStringLiteral("ShowPeaks"), QStringLiteral("1")}},
                   "[DynoforgeSettings]\nPATH=/p\nRecentFile8=/a\nShowPeaks=1\nTorqueUnit=N-m\nWindow=1\n"},
        ChangeCase{"NoSectionYet", "[Other]\nx=1", {{Path, QStringLiteral("/p")}},
                   "[Other]\nx=1\n\n[DynoforgeSettings]\nPATH=/p\n"},
        ChangeCase{"LastLineWithoutItsEnd", "[DynoforgeSettings]\r\nPATH=/p", {{Recent1, QStringLiteral("/a")}},
                   "[DynoforgeSettings]\r\nPATH=/p\r\nRecentFile1=/a\r\n"},
        ChangeCase{"RepeatedKeysBecomeOne",
                   "[DynoforgeSettings]\nPATH=/1\nPATH=/2\n[X]\n[DynoforgeSettings]\nPATH=/3\n",
                   {{Path, QStringLiteral("/new")}}, "[DynoforgeSettings]\nPATH=/new\n[X]\n[DynoforgeSettings]\n"},
        ChangeCase{"RemovedKeysOnly",
                   "[DynoforgeSettings]\nRecentFile1=/a\n# note\nRecentFile2=/b\n[Other]\nRecentFile2=/c\n",
                   {{QStringLiteral("RecentFile2"), std::nullopt}},
                   "[DynoforgeSettings]\nRecentFile1=/a\n# note\n[Other]\nRecentFile2=/c\n"},
        ChangeCase{"BytesThatAreNotText", "[Other]\nName=\xFF\xFE\n[DynoforgeSettings]\nPATH=/p\n",
                   {{Path, QStringLiteral("/q")}}, "[Other]\nName=\xFF\xFE\n[DynoforgeSettings]\nPATH=/q\n"}),
    [](const ::testing::TestParamInfo<ChangeCase>& param) { return std::string(param.param.name); });

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
