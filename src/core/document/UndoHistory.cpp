#include "core/document/UndoHistory.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <utility>

namespace dyno {

namespace {

// Values are compared by their bits: a NaN is the same as itself, and -0.0
// is not 0.0, so a step restores exactly what was there.
std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

template <std::size_t N>
bool SameBits(const std::array<double, N>& a, const std::array<double, N>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), [](double x, double y) { return Bits(x) == Bits(y); });
}

// The heap memory a string or vector holds.
std::size_t HeapBytes(const std::string& s) {
  static const std::size_t inPlace = std::string().capacity();
  return s.capacity() > inPlace ? s.capacity() + 1 : 0;
}
template <typename T>
std::size_t HeapBytes(const std::vector<T>& v) {
  return v.capacity() * sizeof(T);
}

// The numbers of the document that a step restores whole: sizes, counts,
// flags and the slip curves' step and drop-off (as bits).
struct Scalars {
  int EngineRowCount = 0;
  int RowCount = 0;
  int SlipCurveCount = 0;
  std::array<int, SlipCurveSlots> SampleCount{};
  std::array<std::uint64_t, SlipCurveSlots> Step{};
  std::array<std::uint64_t, SlipCurveSlots> Dropoff{};
  bool EngineLoaded = false;
  bool TireLoaded = false;
  bool UpgradeLoaded = false;
  bool TireParsed = false;

  friend bool operator==(const Scalars&, const Scalars&) = default;
};

Scalars ScalarsOf(const EditorDocument& doc) {
  Scalars s;
  s.EngineRowCount = doc.Engine.EngineRowCount;
  s.RowCount = doc.RowCount;
  s.SlipCurveCount = doc.SlipCurveCount;
  for (int k = 0; k < SlipCurveSlots; ++k) {
    s.SampleCount[k] = doc.SlipCurves[k].SampleCount;
    s.Step[k] = Bits(doc.SlipCurves[k].Step);
    s.Dropoff[k] = Bits(doc.SlipCurves[k].DropoffFunction);
  }
  s.EngineLoaded = doc.EngineLoaded;
  s.TireLoaded = doc.TireLoaded;
  s.UpgradeLoaded = doc.UpgradeLoaded;
  s.TireParsed = doc.TireParsed;
  return s;
}

// Marks, in touched, the files whose data differs between two sets of
// scalars. The row count is that of the mode the step began in.
void TouchScalars(const Scalars& a, const Scalars& b, bool tireMode, std::array<bool, FileDataKinds>& touched) {
  if (a.EngineRowCount != b.EngineRowCount || a.EngineLoaded != b.EngineLoaded || a.UpgradeLoaded != b.UpgradeLoaded) {
    touched[static_cast<int>(FileData::Engine)] = true;
  }
  if (a.SlipCurveCount != b.SlipCurveCount || a.SampleCount != b.SampleCount || a.Step != b.Step ||
      a.Dropoff != b.Dropoff || a.TireLoaded != b.TireLoaded || a.TireParsed != b.TireParsed) {
    touched[static_cast<int>(FileData::Tire)] = true;
  }
  if (a.RowCount != b.RowCount) touched[static_cast<int>(tireMode ? FileData::Tire : FileData::Engine)] = true;
}

// The file whose data a kept text is part of.
FileData DataOfText(KeptText kind) {
  return kind == KeptText::Tire || kind == KeptText::TireOther ? FileData::Tire : FileData::Engine;
}

void Restore(EditorDocument& doc, const Scalars& s) {
  doc.Engine.EngineRowCount = s.EngineRowCount;
  doc.RowCount = s.RowCount;
  doc.SlipCurveCount = s.SlipCurveCount;
  for (int k = 0; k < SlipCurveSlots; ++k) {
    doc.SlipCurves[k].SampleCount = s.SampleCount[k];
    doc.SlipCurves[k].Step = std::bit_cast<double>(s.Step[k]);
    doc.SlipCurves[k].DropoffFunction = std::bit_cast<double>(s.Dropoff[k]);
  }
  doc.EngineLoaded = s.EngineLoaded;
  doc.TireLoaded = s.TireLoaded;
  doc.UpgradeLoaded = s.UpgradeLoaded;
  doc.TireParsed = s.TireParsed;
}

// The columns of numbers a step keeps runs of: the four engine columns,
// then the samples of each slip curve.
constexpr int EngineColumns = 4;
constexpr int Columns = EngineColumns + SlipCurveSlots;

template <typename Values, typename Span = std::conditional_t<std::is_const_v<Values>, std::span<const double>,
                                                              std::span<double>>>
Span ColumnOf(Values& values, int column) {
  switch (column) {
    case 0: return Span(values.Engine.Rpm);
    case 1: return Span(values.Engine.Compression);
    case 2: return Span(values.Engine.Torque);
    case 3: return Span(values.Engine.Power);
    default: return Span(values.SlipCurves[column - EngineColumns].Samples);
  }
}

// The values a column held from First on, before and after the action.
struct Run {
  int Column = 0;
  int First = 0;
  std::vector<double> Before;
  std::vector<double> After;
};

struct NameChange {
  int Slot = 0;
  std::string Before;
  std::string After;
};

struct ParameterChange {
  int Index = 0;
  std::array<double, MaxParameterValues> ValuesBefore{};
  std::array<double, MaxParameterValues> ValuesAfter{};
  std::string CommentBefore;
  std::string CommentAfter;
};

// A kept text the action replaced: the one the document does not hold at
// the moment (the old text after the action, the new one after an undo).
struct TextChange {
  KeptText Kind = KeptText::Engine;
  std::string Text;
};

}  // namespace

struct UndoStep {
  StepKind Kind = StepKind::Drag;
  ViewMark ViewBefore;
  ViewMark ViewAfter;
  Scalars Before;
  Scalars After;
  std::vector<Run> Runs;
  std::vector<NameChange> Names;
  std::vector<ParameterChange> Parameters;
  std::vector<TextChange> Texts;
  std::array<bool, FileDataKinds> Touched{};  // the files whose data it changed

  bool Touches(FileData data) const { return Touched[static_cast<int>(data)]; }

  bool Changed() const {
    return Before != After || !Runs.empty() || !Names.empty() || !Parameters.empty() || !Texts.empty();
  }

  std::size_t Bytes() const {
    std::size_t n = sizeof(UndoStep) + HeapBytes(Runs) + HeapBytes(Names) + HeapBytes(Parameters) + HeapBytes(Texts);
    for (const Run& run : Runs) n += HeapBytes(run.Before) + HeapBytes(run.After);
    for (const NameChange& name : Names) n += HeapBytes(name.Before) + HeapBytes(name.After);
    for (const ParameterChange& p : Parameters) n += HeapBytes(p.CommentBefore) + HeapBytes(p.CommentAfter);
    for (const TextChange& text : Texts) n += HeapBytes(text.Text);
    return n;
  }
};

// The document as the recording step found it, texts apart (those are
// parked as they are replaced).
struct UndoHistory::OpenStep {
  StepKind Kind = StepKind::Drag;
  ViewMark View;
  EngineCurve Engine;
  std::array<SlipCurve, SlipCurveSlots> SlipCurves;
  Scalars Numbers;
  EngineParameterSet Parameters;
};

namespace {

// What the action changed, from the document as it found it (an OpenStep)
// and as it left it.
template <typename Taken>
UndoStep StepFrom(const Taken& before, const EditorDocument& doc) {
  UndoStep step;
  step.Kind = before.Kind;
  step.ViewBefore = before.View;
  step.Before = before.Numbers;
  step.After = ScalarsOf(doc);
  TouchScalars(step.Before, step.After, before.View.Mode == FileMode::Tire, step.Touched);
  for (int c = 0; c < Columns; ++c) {
    const std::span<const double> was = ColumnOf(before, c);
    const std::span<const double> now = ColumnOf(doc, c);
    const auto differs = [&](std::size_t i) { return Bits(was[i]) != Bits(now[i]); };
    std::size_t first = 0;
    while (first < was.size() && !differs(first)) ++first;
    if (first == was.size()) continue;
    std::size_t end = was.size();
    while (!differs(end - 1)) --end;
    step.Runs.push_back({c, static_cast<int>(first), std::vector<double>(was.begin() + first, was.begin() + end),
                         std::vector<double>(now.begin() + first, now.begin() + end)});
    step.Touched[static_cast<int>(c < EngineColumns ? FileData::Engine : FileData::Tire)] = true;
  }
  for (int k = 0; k < SlipCurveSlots; ++k) {
    if (before.SlipCurves[k].Name != doc.SlipCurves[k].Name) {
      step.Names.push_back({k, before.SlipCurves[k].Name, doc.SlipCurves[k].Name});
      step.Touched[static_cast<int>(FileData::Tire)] = true;
    }
  }
  for (int i = 0; i < EngineParameterCount; ++i) {
    const EngineParameter& was = before.Parameters.Items[i];
    const EngineParameter& now = doc.Parameters.Items[i];
    if (!SameBits(was.Values, now.Values) || was.Comment != now.Comment) {
      step.Parameters.push_back({i, was.Values, now.Values, was.Comment, now.Comment});
      step.Touched[static_cast<int>(FileData::Engine)] = true;
    }
  }
  return step;
}

}  // namespace

UndoHistory::UndoHistory() = default;
UndoHistory::~UndoHistory() = default;

int UndoHistory::Steps() const { return static_cast<int>(steps_.size()); }

void UndoHistory::Reset(EditorDocument& doc) {
  // The data that was not saved, in the steps or by the step recording,
  // stays unsaved; the rest counts as saved.
  const std::array<bool, FileDataKinds> unsaved{Unsaved(doc, FileData::Engine), Unsaved(doc, FileData::Tire)};
  if (recording_) StopParking(doc);
  for (int k = 0; k < FileDataKinds; ++k) clean_[k] = unsaved[k] ? -1 : 0;
  std::vector<UndoStep>().swap(steps_);
  position_ = 0;
  bytes_ = 0;
}

void UndoHistory::Reset(EditorDocument& doc, FileData fresh) {
  Reset(doc);
  clean_[static_cast<int>(fresh)] = 0;
}

void UndoHistory::Begin(EditorDocument& doc, StepKind kind, const ViewMark& view) {
  if (recording_) Commit(doc, view);
  recording_ = spare_ ? std::move(spare_) : std::make_unique<OpenStep>();
  OpenStep& r = *recording_;
  r.Kind = kind;
  r.View = view;
  r.Engine = doc.Engine;
  r.SlipCurves = doc.SlipCurves;
  r.Numbers = ScalarsOf(doc);
  r.Parameters = doc.Parameters;
  for (std::optional<std::string>& text : doc.Parked.Texts) text.reset();
  doc.Parked.Parking = true;
}

std::optional<StepKind> UndoHistory::RecordingKind() const {
  return recording_ ? std::optional<StepKind>(recording_->Kind) : std::nullopt;
}

void UndoHistory::Rename(StepKind kind) {
  if (recording_) recording_->Kind = kind;
}

bool UndoHistory::Commit(EditorDocument& doc, const ViewMark& view) {
  if (!recording_) return false;
  UndoStep step = StepFrom(*recording_, doc);
  step.ViewAfter = view;
  for (int k = 0; k < KeptTextKinds; ++k) {
    const KeptText kind = static_cast<KeptText>(k);
    std::optional<std::string>& old = doc.Parked.Texts[k];
    if (old && *old != KeptTextOf(doc, kind)) {
      step.Texts.push_back({kind, std::move(*old)});
      step.Touched[static_cast<int>(DataOfText(kind))] = true;
    }
  }
  StopParking(doc);
  if (!step.Changed()) return false;

  // The steps undone before this one cannot be redone after it: a clean state
  // among them is gone, unless none of the steps before it changed that data.
  for (int k = 0; k < FileDataKinds; ++k) {
    if (clean_[k] <= position_) continue;
    const auto first = steps_.begin() + position_;
    const bool changed = std::any_of(first, steps_.begin() + clean_[k],
                                     [&](const UndoStep& s) { return s.Touches(static_cast<FileData>(k)); });
    clean_[k] = changed ? -1 : position_;
  }
  for (auto it = steps_.begin() + position_; it != steps_.end(); ++it) bytes_ -= it->Bytes();
  steps_.erase(steps_.begin() + position_, steps_.end());
  bytes_ += step.Bytes();
  steps_.push_back(std::move(step));
  ++position_;
  Trim();
  return true;
}

void UndoHistory::Abandon(EditorDocument& doc) {
  if (recording_) StopParking(doc);
}

std::optional<StepKind> UndoHistory::NextUndo() const {
  if (recording_) return recording_->Kind;
  if (position_ > 0) return steps_[position_ - 1].Kind;
  return std::nullopt;
}

std::optional<StepKind> UndoHistory::NextRedo() const {
  if (!recording_ && position_ < Steps()) return steps_[position_].Kind;
  return std::nullopt;
}

std::optional<ViewMark> UndoHistory::Undo(EditorDocument& doc) {
  if (recording_ || position_ == 0) return std::nullopt;
  UndoStep& step = steps_[position_ - 1];
  Apply(step, doc, false);
  --position_;
  const ViewMark view = step.ViewBefore;
  Trim();
  return view;
}

std::optional<ViewMark> UndoHistory::Redo(EditorDocument& doc) {
  if (recording_ || position_ == Steps()) return std::nullopt;
  UndoStep& step = steps_[position_];
  Apply(step, doc, true);
  ++position_;
  const ViewMark view = step.ViewAfter;
  Trim();
  return view;
}

void UndoHistory::MarkClean(EditorDocument& doc, FileData data) {
  if (recording_) Commit(doc, recording_->View);
  clean_[static_cast<int>(data)] = position_;
}

bool UndoHistory::Unsaved(const EditorDocument& doc, FileData data) const {
  const int clean = clean_[static_cast<int>(data)];
  if (clean < 0) return true;
  const auto from = steps_.begin() + std::min(clean, position_);
  const auto to = steps_.begin() + std::max(clean, position_);
  if (std::any_of(from, to, [&](const UndoStep& step) { return step.Touches(data); })) return true;
  return RecordingChanged(doc, data);
}

bool UndoHistory::Unsaved(const EditorDocument& doc) const {
  return Unsaved(doc, FileData::Engine) || Unsaved(doc, FileData::Tire);
}

bool UndoHistory::RecordingChanged(const EditorDocument& doc, FileData data) const {
  if (!recording_) return false;
  if (StepFrom(*recording_, doc).Touches(data)) return true;
  for (int k = 0; k < KeptTextKinds; ++k) {
    const KeptText kind = static_cast<KeptText>(k);
    const std::optional<std::string>& old = doc.Parked.Texts[k];
    if (DataOfText(kind) == data && old && *old != KeptTextOf(doc, kind)) return true;
  }
  return false;
}

std::optional<ViewMark> UndoHistory::LastChangeView(FileData data) const {
  for (int i = position_ - 1; i >= 0; --i) {
    if (steps_[i].Touches(data)) return steps_[i].ViewBefore;
  }
  return std::nullopt;
}

void UndoHistory::Apply(UndoStep& step, EditorDocument& doc, bool forward) {
  Restore(doc, forward ? step.After : step.Before);
  for (const Run& run : step.Runs) {
    const std::vector<double>& values = forward ? run.After : run.Before;
    std::copy(values.begin(), values.end(), ColumnOf(doc, run.Column).begin() + run.First);
  }
  for (const NameChange& name : step.Names) doc.SlipCurves[name.Slot].Name = forward ? name.After : name.Before;
  for (const ParameterChange& p : step.Parameters) {
    EngineParameter& parameter = doc.Parameters.Items[p.Index];
    parameter.Values = forward ? p.ValuesAfter : p.ValuesBefore;
    parameter.Comment = forward ? p.CommentAfter : p.CommentBefore;
  }
  // The texts change places; what the step holds may grow or shrink.
  bytes_ -= step.Bytes();
  for (TextChange& text : step.Texts) KeptTextOf(doc, text.Kind).swap(text.Text);
  bytes_ += step.Bytes();
}

// The oldest steps go while there are too many or they hold too much; the
// steps that could be redone stay.
void UndoHistory::Trim() {
  while (position_ > 0 && (Steps() > MaxSteps || bytes_ > MaxBytes)) DropOldest();
}

void UndoHistory::DropOldest() {
  // A clean state before the dropped step is gone, unless the step left
  // that data as it was.
  for (int k = 0; k < FileDataKinds; ++k) {
    int& clean = clean_[k];
    clean = clean > 0 ? clean - 1 : clean == 0 && !steps_.front().Touches(static_cast<FileData>(k)) ? 0 : -1;
  }
  bytes_ -= steps_.front().Bytes();
  steps_.erase(steps_.begin());
  --position_;
}

void UndoHistory::StopParking(EditorDocument& doc) {
  doc.Parked.Parking = false;
  for (std::optional<std::string>& text : doc.Parked.Texts) text.reset();
  spare_ = std::move(recording_);
}

}  // namespace dyno
