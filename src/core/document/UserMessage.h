#pragma once

#include <optional>
#include <string>

namespace dyno {

// A message for an OK-only message box: the core names it, the window shows
// it.
struct UserMessage {
  std::string Text;
  std::string Caption;

  friend bool operator==(const UserMessage&, const UserMessage&) = default;
};

// What an editing command did to the document, and what to tell the user.
struct EditOutcome {
  bool Changed = false;
  std::optional<UserMessage> Message;
};

}  // namespace dyno
