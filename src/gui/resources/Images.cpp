#include "gui/resources/Images.h"

#include <QFile>
#include <QImageReader>

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dyno {

namespace {

// The quoted strings of an XPM file, in order.
std::vector<std::string_view> QuotedStrings(std::string_view text) {
  std::vector<std::string_view> strings;
  for (std::size_t at = text.find('"'); at != std::string_view::npos; at = text.find('"', at)) {
    const std::size_t end = text.find('"', at + 1);
    if (end == std::string_view::npos) break;
    strings.push_back(text.substr(at + 1, end - at - 1));
    at = end + 1;
  }
  return strings;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

QPixmap Xpm(const char* folder, const char* name) {
  return ReadXpm(QStringLiteral(":/images/%1/%2.xpm").arg(QLatin1String(folder), QLatin1String(name)));
}

QPixmap ButtonImage(const char* folder, std::string_view name) {
  return name.empty() ? QPixmap() : Xpm(folder, std::string(name).c_str());
}

}  // namespace

std::optional<QImage> ReadSimpleXpm(std::string_view text) {
  const std::vector<std::string_view> strings = QuotedStrings(text);
  if (strings.empty()) return std::nullopt;
  int width = 0, height = 0, colours = 0, perPixel = 0;
  if (std::sscanf(std::string(strings[0]).c_str(), "%d %d %d %d", &width, &height, &colours, &perPixel) != 4 ||
      perPixel != 1 || width <= 0 || height <= 0 || width > 256 || height > 256 || colours <= 0 || colours > 256 ||
      strings.size() != static_cast<std::size_t>(1 + colours + height)) {
    return std::nullopt;
  }
  std::array<std::optional<QRgb>, 256> table;
  for (int i = 1; i <= colours; ++i) {
    const std::string_view entry = strings[i];
    if (entry.size() < 5 || entry.substr(1, 3) != " c ") return std::nullopt;
    const std::string_view value = entry.substr(4);
    QRgb rgb = 0;  // None: transparent
    if (value != "None") {
      if (value.size() != 7 || value[0] != '#') return std::nullopt;
      for (std::size_t d = 1; d < 7; ++d) {
        const int digit = HexDigit(value[d]);
        if (digit < 0) return std::nullopt;
        rgb = rgb << 4 | static_cast<QRgb>(digit);
      }
      rgb |= 0xFF000000u;
    }
    table[static_cast<unsigned char>(entry[0])] = rgb;
  }
  // Premultiplied, the form a pixmap keeps: opaque colours and the fully
  // transparent background are the same in either form.
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < height; ++y) {
    const std::string_view row = strings[1 + colours + y];
    if (row.size() != static_cast<std::size_t>(width)) return std::nullopt;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const std::optional<QRgb>& colour = table[static_cast<unsigned char>(row[x])];
      if (!colour) return std::nullopt;
      line[x] = *colour;
    }
  }
  return image;
}

QPixmap ReadXpm(const QString& path) {
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = file.readAll();
    if (const std::optional<QImage> image = ReadSimpleXpm(std::string_view(bytes.constData(), bytes.size()))) {
      return QPixmap::fromImage(*image);
    }
  }
  // Read by Qt's own XPM reader alone. With format detection on, Qt first
  // asks every image-format plugin whether it reads the format, loading each
  // one (gif, ico, jpeg with its library...) while the window starts.
  QImageReader reader(path, "xpm");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

QPixmap ToolbarImage(std::string_view name) { return ButtonImage("toolbar", name); }

QPixmap PreviewImage(std::string_view name) { return ButtonImage("preview", name); }

QPixmap CursorImage(const char* name) { return Xpm("cursors", name); }

QIcon ApplicationIcon() {
  QIcon icon(Xpm("icons", "dynoforge"));
  icon.addPixmap(Xpm("icons", "dynoforge-16"));
  return icon;
}

}  // namespace dyno
