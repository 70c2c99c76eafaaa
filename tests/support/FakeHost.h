#pragma once

#include <string>
#include <vector>

#include "document/EditorHost.h"

namespace dyno::test {

// Records what the core asks of its window, and plays a value box whose
// change notifications are counted rather than delivered.
class FakeHost : public EditorHost {
 public:
  struct Invalidation {
    Rect area;
    bool erase;
  };
  struct Message {
    std::string text;
    std::string caption;
  };
  struct Scroll {
    int dy;
    Rect area;
  };

  void Invalidate(const Rect& area, bool erase) override { invalidations.push_back({area, erase}); }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    messages.push_back({std::string(text), std::string(caption)});
  }
  void ScrollPixels(int dy, const Rect& area) override { scrolls.push_back({dy, area}); }
  void SyncRowScrollBar(const RowScrollBarState& bar) override {
    scrollBar = bar;
    ++scrollBarSyncs;
  }
  std::string ValueBoxText() const override { return valueBox; }
  bool ValueBoxModified() const override { return valueBoxModified; }
  void EmptyValueBox() override {
    if (!valueBox.empty()) ++valueBoxChanges;
    valueBox.clear();
  }
  void InsertValueBoxText(std::string_view text) override {
    valueBox.insert(0, text);
    ++valueBoxChanges;
  }
  void SetCursorShape(CursorShape shape) override { cursor = shape; }

  std::vector<Invalidation> invalidations;
  std::vector<Message> messages;
  std::vector<Scroll> scrolls;
  RowScrollBarState scrollBar;
  int scrollBarSyncs = 0;
  std::string valueBox;
  bool valueBoxModified = false;
  int valueBoxChanges = 0;
  CursorShape cursor = CursorShape::Arrow;
};

}  // namespace dyno::test
