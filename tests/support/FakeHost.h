#pragma once

#include <string>
#include <vector>

#include "document/EditorHost.h"

namespace dyno::test {

// Records what the core asks of its window.
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

  void Invalidate(const Rect& area, bool erase) override { invalidations.push_back({area, erase}); }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    messages.push_back({std::string(text), std::string(caption)});
  }

  std::vector<Invalidation> invalidations;
  std::vector<Message> messages;
};

}  // namespace dyno::test
