#pragma once

#include <string_view>

namespace dyno {

enum class FileKind { Engine, Upgrade, Tire };

// What a physics file is, by its name: a name holding ".TBC" is a tire file,
// one holding "UPGRADE" an upgrade file, any other an engine file (letter
// case does not matter).
FileKind KindOfFile(std::string_view fileName);

}  // namespace dyno
