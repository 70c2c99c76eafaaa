// Fuzz target: any bytes as a tire file. The slip curve sections are read
// into the four slots and the other lines kept.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/document/EditorDocument.h"
#include "core/files/TireFile.h"
#include "FuzzSupport.h"

using namespace dyno;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EditorDocument doc;
  doc.TireText.assign(reinterpret_cast<const char*>(data), size);

  const int result = ParseTireText(doc);

  FUZZ_CHECK(result == (doc.SlipCurveCount > 0 ? 1 : 0));
  FUZZ_CHECK(doc.SlipCurveCount >= 0 && doc.SlipCurveCount <= SlipCurveSlots);
  FUZZ_CHECK(doc.CurrentSlipCurve == 0);
  FUZZ_CHECK(doc.TireText.size() == size);

  // A curve needs a section header: a line of exactly "[SLIPCURVE]" CR LF.
  bool header = false;
  for (const fuzz::Piece& piece : fuzz::Pieces(doc.TireText)) header = header || piece.bytes == SlipCurveHeader;
  FUZZ_CHECK(header || doc.SlipCurveCount == 0);

  int largest = DefaultSlipSamples;
  for (int slot = 0; slot < doc.SlipCurveCount; ++slot) {
    const SlipCurve& curve = doc.SlipCurves[slot];
    FUZZ_CHECK(curve.SampleCount >= 0 && curve.SampleCount <= MaxFileSlipSamples);
    FUZZ_CHECK(curve.Name.size() <= static_cast<std::size_t>(MaxSlipNameLength));
    FUZZ_CHECK(curve.Name.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    FUZZ_CHECK(fuzz::IsFinite(curve.Step) && fuzz::IsFinite(curve.DropoffFunction));
    for (int i = 0; i < curve.SampleCount; ++i) FUZZ_CHECK(fuzz::IsFinite(curve.Samples[i]));
    largest = std::max(largest, curve.SampleCount);
  }
  // Every slot's samples beyond those read are zero, so nothing of an
  // earlier file shows.
  for (int slot = 0; slot < SlipCurveSlots; ++slot) {
    const SlipCurve& curve = doc.SlipCurves[slot];
    const int used = slot < doc.SlipCurveCount ? curve.SampleCount : 0;
    for (int i = used; i < MaxSlipSamples; ++i) FUZZ_CHECK(curve.Samples[i] == 0.0);
  }
  FUZZ_CHECK(doc.RowCount == largest);

  // The lines outside the sections are a part of the text, in order.
  FUZZ_CHECK(doc.TireTailPos >= 0 && doc.TireTailPos <= doc.TireTextSize());
  FUZZ_CHECK(doc.TireOtherText.size() <= size);
  std::size_t at = 0;
  for (const char c : doc.TireOtherText) {
    at = doc.TireText.find(c, at);
    FUZZ_CHECK(at != std::string::npos);
    ++at;
  }
  return 0;
}
