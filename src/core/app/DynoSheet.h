#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/document/UserMessage.h"

namespace dyno {

struct DynoView;
struct EditorDocument;

// The band above the window's picture on a printed or previewed page, in the
// page's screen pixels: one line of text, a little air, a rule under it.
inline constexpr int PageHeaderHeight = 20;

// The line a printed page carries above the window's picture: the title of
// the data shown (the caption's "Dynoforge" while it has no file), the date
// of printing as given ("2026-12-07"), the torque and power units shown (the
// engine modes only: a slip curve has none) and the status bar's peak
// readout, with the differences while a curve is compared:
// "Touring.ini | 2026-12-07 | N-m, HP | Peak torque 433.0 N-m @ 6500 RPM   Peak power ...".
std::string PageHeaderText(const EditorDocument& doc, const DynoView& dyno, std::string_view date);

// File > Export Picture writes one of these.
enum class PictureFormat { Png, Svg };

// The name offered for the picture of the data whose file is fileTitle: the
// title with the format's extension in place of its own ("Touring.png"), or
// "chart.png" without a file.
std::string PictureFileName(std::string_view fileTitle, PictureFormat format);

// A side of an exported picture, in pixels.
inline constexpr int MinPictureSide = 200;
inline constexpr int MaxPictureSide = 8000;

// The side typed for field ("Width", "Height"), or nothing: the message
// that refuses the text names the field, as every dialog's does: no number,
// or a number that is no whole count of pixels from MinPictureSide to
// MaxPictureSide.
struct PictureSide {
  std::optional<int> Pixels;
  UserMessage Refusal;
};
PictureSide ReadPictureSide(std::string_view field, std::string_view text);

}  // namespace dyno
