#include "core/files/ReadResult.h"

#include <string>

namespace dyno {

namespace {

std::string Count(int n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

// Unread text as a message quotes it: on one line, control bytes as "?",
// long texts cut.
std::string Quoted(std::string_view text) {
  constexpr std::size_t Longest = 40;
  std::string quoted = "\"";
  for (std::size_t i = 0; i < text.size() && i < Longest; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    quoted += c == '\t' ? ' ' : c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
  }
  return quoted + (text.size() > Longest ? "...\"" : "\"");
}

// The sentence that names the text not read in the samples, curve by line.
std::string NotReadText(const std::vector<TextNotRead>& notRead) {
  constexpr std::size_t Listed = 5;
  std::string text = "Text in the samples of a slip curve was not read: ";
  for (std::size_t i = 0; i < notRead.size() && i < Listed; ++i) {
    const TextNotRead& item = notRead[i];
    text += (i > 0 ? "; curve " : "curve ") + std::to_string(item.Curve) + ", line " + std::to_string(item.Line) +
            ": " + Quoted(item.Text);
  }
  if (notRead.size() > Listed) text += "; and " + std::to_string(notRead.size() - Listed) + " more";
  return text + ". Saving keeps this text where it stands.";
}

}  // namespace

std::optional<UserMessage> LeftOutMessage(const ReadOutcome& read, std::string_view fileName) {
  const std::string file(fileName);
  if (read.RowsLeftOut > 0) {
    return UserMessage{file + ": " + Count(read.RowsLeftOut, "row", "rows") + " beyond the first " +
                           std::to_string(MaxEngineRows) + " were left out. Saving writes only the " +
                           std::to_string(MaxEngineRows) + " rows shown.",
                       "ROWS LEFT OUT!"};
  }
  std::string curves;
  for (int slot = 0; slot < SlipCurveSlots; ++slot) {
    const int n = read.SamplesLeftOut[slot];
    if (n <= 0) continue;
    curves += (curves.empty() ? "" : ", ") + std::to_string(n) + " of curve " + std::to_string(slot + 1);
  }
  if (curves.empty() && read.NotRead.empty()) return std::nullopt;
  if (curves.empty()) return UserMessage{file + ": " + NotReadText(read.NotRead), "TEXT NOT READ!"};
  std::string text = file + ": samples beyond the first " + std::to_string(MaxFileSlipSamples) +
                     " of a slip curve were left out (" + curves + "). Saving writes only the samples shown.";
  if (!read.NotRead.empty()) text += " " + NotReadText(read.NotRead);
  return UserMessage{text, "SAMPLES LEFT OUT!"};
}

}  // namespace dyno
