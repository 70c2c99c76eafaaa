#include "core/document/CommandRules.h"

#include "core/document/EditorDocument.h"

namespace dyno {

bool CanSaveAs(const EditorDocument& doc, bool tireMode, bool upgradeMode) {
  return tireMode ? doc.TireLoaded : upgradeMode ? doc.UpgradeLoaded : doc.EngineLoaded;
}

}  // namespace dyno
