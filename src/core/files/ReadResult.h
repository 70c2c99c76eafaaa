#pragma once

#include <array>
#include <optional>
#include <string_view>

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

struct ReadOutcome {
  ReadResult Result = ReadResult::CannotOpen;
  int Error = 0;  // the system's error number when the bytes could not be read
  // What the editor's fixed room left out of the file: torque rows beyond
  // the first 500, and samples of each slip curve beyond its first 261.
  int RowsLeftOut = 0;
  std::array<int, SlipCurveSlots> SamplesLeftOut{};
  FileStamp Stamp{};  // of the file whose bytes were read
};

// The message that tells the user, when the file named fileName was opened,
// what of it was left out and that saving writes only what is shown.
std::optional<UserMessage> LeftOutMessage(const ReadOutcome& read, std::string_view fileName);

}  // namespace dyno
