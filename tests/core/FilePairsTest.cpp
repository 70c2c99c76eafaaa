// Files checked as files: every input under tests/data/files is opened as
// the Open command opens it, and what was read, what Save As writes and what
// OK in the parameter dialog composes are compared with the approved files
// beside it (<name>.read.txt with the message Open shows, <name>.saved.<ext>,
// <name>.parameters.ini, and for a tire file <name>.edited.tbc, saved after
// a few edits).
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/FileKind.h"
#include "core/files/ParameterEdits.h"
#include "core/files/ParameterTexts.h"
#include "core/files/SaveFile.h"
#include "core/files/TireFile.h"
#include "support/Approval.h"
#include "support/DocumentDump.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;
using test::ExpectApproved;

const char* const ResultNames[] = {"read", "nothing found", "cannot open", "cannot read"};

// Reads the file into doc the way the Open command does and tells what it
// read. Returns whether the file was read.
bool Open(EditorDocument& doc, const fs::path& file, std::string& transcript) {
  const FileKind kind = KindOfFile(file.filename().string());
  doc.Mode = kind == FileKind::Tire ? FileMode::Tire : kind == FileKind::Upgrade ? FileMode::Upgrade : FileMode::Engine;
  const ReadOutcome read =
      doc.Mode == FileMode::Tire ? ReadTireFile(doc, file.string()) : ReadEngineRows(doc, file.string());
  transcript = std::string("result ") + ResultNames[static_cast<int>(read.Result)] + "\n";
  if (const std::optional<UserMessage> message = LeftOutMessage(read, file.filename().string());
      message && doc.Mode == FileMode::Tire) {
    transcript += "message \"" + message->Text + "\" \"" + message->Caption + "\"\n";
  }
  if (read.Result != ReadResult::Read) return false;
  if (doc.Mode == FileMode::Tire) return transcript += test::DumpFlags(doc, EditorSession(), false) + test::DumpSlipCurves(doc), true;
  doc.EngineLoaded = true;
  transcript += test::DumpFlags(doc, EditorSession(), false) + test::DumpRows(doc);
  if (doc.Mode == FileMode::Engine && ReadEngineParameters(doc)) transcript += test::DumpParameters(doc.Parameters);
  return true;
}

std::vector<std::string> Inputs() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(test::DataPath("files"))) {
    const std::string name = entry.path().filename().string();
    const std::string ext = entry.path().extension().string();
    if ((ext == ".ini" || ext == ".tbc") && name.find(".saved.") == std::string::npos &&
        name.find(".edited.") == std::string::npos &&
        name.find(".parameters.") == std::string::npos) {
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

class FilePairs : public ::testing::TestWithParam<std::string> {
 protected:
  fs::path Input() const { return test::DataPath("files") / GetParam(); }
  std::string Reference(const std::string& part) const {
    const fs::path input(GetParam());
    return "files/" + input.stem().string() + part + input.extension().string();
  }
  test::TempDir dir;
};

TEST_P(FilePairs, OpenSaveAsAndTheParameterDialogKeepEveryByteTheyDoNotRewrite) {
  EditorDocument doc;
  std::string read;
  const bool opened = Open(doc, Input(), read);
  ExpectApproved(read, "files/" + GetParam() + ".read.txt");
  if (!opened) return;

  // Saved under a new name in another folder, as Save As does.
  const std::string name = "saved" + Input().extension().string();
  const SaveResult saved =
      doc.Mode == FileMode::Tire ? WriteTireFile(doc, Input().parent_path().string(), GetParam(), dir.path().string(), name)
                   : WriteEngineFile(doc, Input().parent_path().string(), GetParam(), dir.path().string(), name);
  ASSERT_EQ(saved.Status, SaveStatus::Saved);
  EXPECT_TRUE(saved.Messages.empty());
  ExpectApproved(test::TempDir::Read(dir.path() / name), Reference(".saved"));
  if (doc.Mode == FileMode::Tire) {
    // Edited: the first curve renamed, its step and first sample changed, a
    // curve added; comments and text not read stay where they stood.
    SlipCurve& first = doc.SlipCurves[0];
    StoreSlipHeader(first, first.Name + " 2", "0.004", "1.5");
    first.Samples[0] = 0.5;
    if (doc.SlipCurveCount < SlipCurveSlots) ApplySlipCurveCount(doc, AddSlipCurve(doc, doc.SlipCurveCount));
    ASSERT_EQ(WriteTireFile(doc, dir.path().string(), name, dir.path().string(), "edited.tbc").Status,
              SaveStatus::Saved);
    ExpectApproved(test::TempDir::Read(dir.path() / "edited.tbc"), Reference(".edited"));
  }
  if (doc.Mode != FileMode::Engine) return;

  // OK in the parameter dialog composes the whole engine file.
  ParameterTexts texts;
  LoadParameterTexts(doc.Parameters, texts);
  ApplyParameterTexts(doc, texts);
  EXPECT_EQ(doc.EngineText, doc.GeneratedText);
  ExpectApproved(doc.EngineText, Reference(".parameters"));
}

INSTANTIATE_TEST_SUITE_P(Files, FilePairs, ::testing::ValuesIn(Inputs()), test::ScriptTestName);

}  // namespace
}  // namespace dyno
