#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/Limits.h"
#include "core/document/UserMessage.h"
#include "core/platform/FileStamp.h"

namespace dyno {

// What a file reader found.
enum class ReadResult {
  Read,          // the file's data is now the document's
  NothingFound,  // the file was read but holds none of the data sought
  CannotOpen,    // the file could not be opened; nothing changed
  CannotRead,    // the file was opened but its bytes could not be read; nothing changed
};

// Text in the samples of a slip curve that was not read as samples; saving
// keeps it where it stands.
struct TextNotRead {
  int Curve = 0;  // from 1
  int Line = 0;   // of the file, from 1
  std::string Text;
};

struct ReadOutcome {
  ReadResult Result = ReadResult::CannotOpen;
  int Error = 0;  // the system's error number when the bytes could not be read
  // What the editor's fixed room left out of the file: torque rows beyond
  // the first 500, and samples of each slip curve beyond its first 261.
  int RowsLeftOut = 0;
  std::array<int, SlipCurveSlots> SamplesLeftOut{};
  std::vector<TextNotRead> NotRead{};  // in file order
  FileStamp Stamp{};  // of the file whose bytes were read
};

// The message that tells the user, when the file named fileName was opened,
// what of it was left out and that saving writes only what is shown, and
// which text in the samples was not read (curve, line, the text) and that
// saving keeps it.
std::optional<UserMessage> LeftOutMessage(const ReadOutcome& read, std::string_view fileName);

}  // namespace dyno
