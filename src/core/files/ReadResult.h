#pragma once

namespace dyno {

// What a file reader found.
enum class ReadResult {
  Read,          // the file's data is now the document's
  NothingFound,  // the file was read but holds none of the data sought
  CannotOpen,    // the file could not be opened; nothing changed
  CannotRead,    // the file was opened but its bytes could not be read
};

struct ReadOutcome {
  ReadResult Result = ReadResult::CannotOpen;
  int Error = 0;  // the system's error number when the bytes could not be read
};

}  // namespace dyno
