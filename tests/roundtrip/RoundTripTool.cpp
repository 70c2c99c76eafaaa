// Saves every engine (.ini) and tire (.tbc) file of a folder through the
// core's readers and writers, so that the files one build writes can be
// compared byte for byte with another's (scripts/windows-tests.sh compares
// the Linux and the Windows build).
//
//   roundtrip_tool INPUT_FOLDER OUTPUT_FOLDER
//
// Each file is read, one value of its curve changed, and saved under its
// own name into OUTPUT_FOLDER/Ausgabe-ü-🏎 (a non-ASCII folder, made
// afresh); the saved file is then read, changed again and saved over
// itself, which keeps the first save under its backup name. A file without
// curve data is saved unchanged. Prints one line per file; exits 1 when a
// file cannot be read or saved, a saved value does not read back, or the
// backup does not hold the first save.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/FilePaths.h"
#include "core/files/SaveFile.h"
#include "core/files/TireFile.h"
#include "core/platform/PlatformFile.h"

namespace fs = std::filesystem;
using namespace dyno;

namespace {

const std::string OutputFolderName = "Ausgabe-\xC3\xBC-\xF0\x9F\x8F\x8E";

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

struct Kind {
  bool tire = false;
  bool upgrade = false;
};

ReadResult Read(EditorDocument& doc, Kind kind, const std::string& path) {
  doc.TireMode = kind.tire;
  doc.UpgradeMode = kind.upgrade;
  doc.EngineMode = !kind.tire && !kind.upgrade;
  return (kind.tire ? ReadTireFile(doc, path) : ReadEngineRows(doc, path)).Result;
}

SaveResult Save(EditorDocument& doc, Kind kind, const std::string& fromFolder, const std::string& name,
                const std::string& toFolder) {
  return kind.tire ? WriteTireFile(doc, fromFolder, name, toFolder, name)
                   : WriteEngineFile(doc, fromFolder, name, toFolder, name);
}

// The value a change touches: a torque value, or a sample of the first
// curve that has samples. Nothing when the file holds no curve.
double* EditedValue(EditorDocument& doc, Kind kind, int change) {
  if (!kind.tire) return doc.RowCount > 0 ? &doc.Engine.Torque[doc.RowCount * change / 3] : nullptr;
  for (int slot = 0; slot < doc.SlipCurveCount; ++slot) {
    SlipCurve& curve = doc.SlipCurves[slot];
    if (curve.SampleCount > 0) return &curve.Samples[curve.SampleCount * change / 3];
  }
  return nullptr;
}

// Changes one value by a step both writers print exactly; returns it, or
// NaN when there is nothing to change.
double Change(EditorDocument& doc, Kind kind, int change) {
  double* value = EditedValue(doc, kind, change);
  if (!value) return std::nan("");
  *value = kind.tire ? *value * 0.5 + 0.0625 * change : *value + 12.5 * change;
  if (!kind.tire) RecomputePower(doc, doc.RowCount * change / 3);
  return *value;
}

std::string Bytes(const std::string& path) {
  std::string bytes;
  return ReadFileBytes(path, bytes).Status == ReadStatus::Ok ? bytes : "<unreadable>";
}

bool Failed(const std::string& name, const std::string& what) {
  std::cerr << name << ": " << what << "\n";
  return false;
}

bool Saved(const SaveResult& result) { return result.Status == SaveStatus::Saved && result.Messages.empty(); }

bool RoundTrip(const fs::path& input, const std::string& outputFolder) {
  const std::string name = Utf8FromPath(input.filename());
  const std::string inputFolder = Utf8FromPath(input.parent_path());
  const Kind kind{UpperCase(name).ends_with(".TBC"), UpperCase(name).find("UPGRADE") != std::string::npos};

  EditorDocument first;
  const ReadResult read = Read(first, kind, Utf8FromPath(input));
  if (read != ReadResult::Read && read != ReadResult::NothingFound) return Failed(name, "cannot be read");
  const double firstValue = Change(first, kind, 1);
  if (!Saved(Save(first, kind, inputFolder, name, outputFolder))) return Failed(name, "first save failed");
  const std::string saved = JoinPath(outputFolder, name);
  const std::string firstBytes = Bytes(saved);

  EditorDocument second;
  if (Read(second, kind, saved) != read) return Failed(name, "the saved file reads otherwise");
  const double* readBack = EditedValue(second, kind, 1);
  const double tolerance = kind.tire ? 5e-7 : 0.05;
  if (readBack && !(std::fabs(*readBack - firstValue) <= tolerance * (1 + std::fabs(firstValue)))) {
    return Failed(name, "the changed value reads back as " + std::to_string(*readBack));
  }
  Change(second, kind, 2);
  if (!Saved(Save(second, kind, outputFolder, name, outputFolder))) return Failed(name, "second save failed");
  if (Bytes(JoinPath(outputFolder, BackupName(name))) != firstBytes) {
    return Failed(name, "the backup does not hold the first save");
  }

  std::cout << name << ": " << firstBytes.size() << " and " << Bytes(saved).size() << " bytes saved, backup "
            << BackupName(name) << "\n";
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::cerr << "usage: roundtrip_tool INPUT_FOLDER OUTPUT_FOLDER\n";
    return 2;
  }
  // The arguments are in the system's own encoding (the ANSI code page on
  // Windows), which is what the std::string path constructor reads.
  const fs::path input(argv[1]);
  const fs::path output = fs::path(argv[2]) / PathFromUtf8(OutputFolderName);
  std::error_code error;
  fs::remove_all(output, error);
  fs::create_directories(output, error);
  if (error) {
    std::cerr << "cannot make " << Utf8FromPath(output) << ": " << error.message() << "\n";
    return 1;
  }

  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(input, error)) {
    const std::string name = UpperCase(Utf8FromPath(entry.path().filename()));
    if (entry.is_regular_file() && (name.ends_with(".INI") || name.ends_with(".TBC"))) {
      files.push_back(entry.path());
    }
  }
  if (error || files.empty()) {
    std::cerr << "no .ini or .tbc file in " << argv[1] << "\n";
    return 1;
  }
  std::sort(files.begin(), files.end());

  bool ok = true;
  for (const fs::path& file : files) ok = RoundTrip(file, Utf8FromPath(output)) && ok;
  return ok ? 0 : 1;
}
