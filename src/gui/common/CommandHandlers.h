#pragma once

#include <functional>
#include <map>

namespace dyno {

// What carries out a command, bound to its id by the part of the shell that
// does the work (core/resources/Commands.h has the rest of the command).
struct CommandHandler {
  std::function<void()> Run;
  // Where more than the document decides (the clipboard, the printer, the
  // preview's pages): false grays the command. None: the document's rule alone.
  std::function<bool()> Enabled;
};

using CommandHandlers = std::map<int, CommandHandler>;

}  // namespace dyno
