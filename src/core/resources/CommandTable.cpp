#include "core/resources/CommandTable.h"

#include <array>
#include <utility>

#include "core/resources/ResourceIds.h"
#include "core/resources/StringTable.h"

namespace dyno {

namespace {

constexpr MenuItemDef RecentFileItems[] = {
    {CmRecentFile1, ""},     {CmRecentFile1 + 1, ""}, {CmRecentFile1 + 2, ""}, {CmRecentFile1 + 3, ""},
    {CmRecentFile1 + 4, ""}, {CmRecentFile1 + 5, ""}, {CmRecentFile1 + 6, ""}, {CmRecentFile8, ""},
    {},
    {CmClearRecentFiles, "&Clear List"},
};

constexpr MenuItemDef FileItems[] = {
    {CmOpen, "&Open..."},
    {CmImport, "&Import Engine Curve Only"},
    {CmImportCsv, "Import &CSV..."},
    {},
    {CmSave, "&Save\tCtrl+S"},
    {CmSaveAs, "Save &As..."},
    {CmExportCsv, "&Export CSV..."},
    {},
    {CmRecentFiles, "Recent &Files", RecentFileItems},
    {},
    {CmPrintPreview, "Print Pre&view..."},
    {CmPrint, "&Print..."},
    {CmPrintSetup, "P&rint Setup..."},
    {},
    {CmExit, "E&xit\tAlt+F4"},
};

constexpr MenuItemDef EditItems[] = {
    {CmUndo, "&Undo"},
    {CmRedo, "&Redo"},
    {},
    {CmCopyTable, "&Copy Table"},
    {CmPasteTable, "&Paste Table"},
    {},
    {CmGenerate, "Generate new engine data"},
    {CmEditParameters, "Edit Engine/Tire Parameters"},
    {},
    {CmAddLine, "Add a new Line of data"},
    {CmRemoveLine, "Remove the last Line of data"},
    {},
    {CmRescale, "Rescale the Torque or Compression data"},
    {CmResolution, "Recreate the Curve with a new RPM resolution"},
    {CmBend, "Set the mode to &Bend the current tire curve up or down"},
};

constexpr MenuItemDef ModesItems[] = {
    {CmModeEngine, "File is &Engine type"},
    {CmModeUpgrade, "File is &Upgrade type"},
    {CmModeTire, "File is &Tire File (tbc)"},
    {},
    {CmLockOnToData, "Lock on to data when dragging"},
};

constexpr MenuItemDef ViewItems[] = {
    {CmShowPeaks, "Show &Peaks"},
    {},
    {.Id = CmTorqueNm, .Text = "Torque in &N-m", .RadioGroup = 1},
    {.Id = CmTorqueLbFt, .Text = "Torque in &lb-ft", .RadioGroup = 1},
    {},
    {.Id = CmPowerHp, .Text = "Power in &HP", .RadioGroup = 2},
    {.Id = CmPowerKw, .Text = "Power in &kW", .RadioGroup = 2},
    {.Id = CmPowerPs, .Text = "Power in PS (&metric)", .RadioGroup = 2},
    {},
    {CmCompareFile, "&Compare With File..."},
    {CmCompareSaved, "Compare With &Saved"},
    {CmClearComparison, "Clear Comparison"},
};

constexpr MenuItemDef HelpItems[] = {
    {CmAbout, "&About..."},
};

constexpr std::array<PopupMenuDef, 5> Menu{{
    {"&File", FileItems, StrFileMenuHint},
    {"&Edit", EditItems, StrEditMenuHint},
    {"&Modes", ModesItems},
    {"&View", ViewItems, StrViewMenuHint},
    {"&Help", HelpItems, StrHelpMenuHint},
}};

constexpr std::array<int, 16> Toolbar{
    CmOpen,    CmSaveButton,     0,      CmUndo, CmRedo,  0,          CmGenerate, CmEditParameters,
    CmAddLine, CmRemoveLine, CmRescale, CmResolution, CmBend, 0, CmPrint,    CmPrintPreview,
};

constexpr std::pair<int, std::string_view> CommandNames[] = {
    {CmOpen, "actionOpen"},
    {CmImport, "actionImport"},
    {CmImportCsv, "actionImportCsv"},
    {CmSave, "actionSave"},
    {CmSaveButton, "actionSaveButton"},
    {CmSaveAs, "actionSaveAs"},
    {CmExportCsv, "actionExportCsv"},
    {CmRecentFiles, "actionRecentFiles"},
    {CmRecentFile1, "actionRecentFile1"},
    {CmRecentFile1 + 1, "actionRecentFile2"},
    {CmRecentFile1 + 2, "actionRecentFile3"},
    {CmRecentFile1 + 3, "actionRecentFile4"},
    {CmRecentFile1 + 4, "actionRecentFile5"},
    {CmRecentFile1 + 5, "actionRecentFile6"},
    {CmRecentFile1 + 6, "actionRecentFile7"},
    {CmRecentFile8, "actionRecentFile8"},
    {CmClearRecentFiles, "actionClearRecentFiles"},
    {CmPrintPreview, "actionPrintPreview"},
    {CmPrint, "actionPrint"},
    {CmPrintSetup, "actionPrintSetup"},
    {CmExit, "actionExit"},
    {CmUndo, "actionUndo"},
    {CmRedo, "actionRedo"},
    {CmCopyTable, "actionCopyTable"},
    {CmPasteTable, "actionPasteTable"},
    {CmGenerate, "actionGenerate"},
    {CmEditParameters, "actionEditParameters"},
    {CmAddLine, "actionAddLine"},
    {CmRemoveLine, "actionRemoveLine"},
    {CmRescale, "actionRescale"},
    {CmResolution, "actionResolution"},
    {CmBend, "actionBend"},
    {CmModeEngine, "actionModeEngine"},
    {CmModeUpgrade, "actionModeUpgrade"},
    {CmModeTire, "actionModeTire"},
    {CmLockOnToData, "actionLockOnToData"},
    {CmShowPeaks, "actionShowPeaks"},
    {CmTorqueNm, "actionTorqueNm"},
    {CmTorqueLbFt, "actionTorqueLbFt"},
    {CmPowerHp, "actionPowerHp"},
    {CmPowerKw, "actionPowerKw"},
    {CmPowerPs, "actionPowerPs"},
    {CmCompareFile, "actionCompareFile"},
    {CmCompareSaved, "actionCompareSaved"},
    {CmClearComparison, "actionClearComparison"},
    {CmAbout, "actionAbout"},
    {CmPreviewPrevious, "actionPreviousPage"},
    {CmPreviewNext, "actionNextPage"},
    {CmPreviewOnePage, "actionOnePage"},
    {CmPreviewTwoPages, "actionTwoPages"},
    {CmPreviewClose, "actionClosePreview"},
};

constexpr std::string_view UndoKeys[] = {"Ctrl+Z"};
// The toolbar's disk carries the key, so that it saves where the data has a
// file and asks for one where it has none; File > Save shows the key.
constexpr std::string_view SaveKeys[] = {"Ctrl+S"};
constexpr std::string_view RedoKeys[] = {"Ctrl+Y", "Ctrl+Shift+Z"};
// Only while the value box does not have the focus: there they are the box's.
constexpr std::string_view CopyTableKeys[] = {"Ctrl+C"};
constexpr std::string_view PasteTableKeys[] = {"Ctrl+V"};

constexpr std::string_view StepNames[] = {
    "Drag",   "Typing", "Up/Down", "Bend", "Edit Cell", "Generate", "Rescale", "Change Resolution",
    "Add Line", "Remove Line", "Import", "Edit Parameters", "Edit Slip Curves", "Paste Table", "Import CSV",
};

}  // namespace

std::span<const PopupMenuDef> MainMenu() { return Menu; }

std::string_view PopupMenuHint(const PopupMenuDef& popup) { return LoadString(popup.HintId); }

std::span<const int> MainToolbar() { return Toolbar; }

namespace {

const MenuItemDef* FindIn(std::span<const MenuItemDef> items, int id) {
  for (const MenuItemDef& item : items) {
    if (item.Id == id) return &item;
    if (const MenuItemDef* inner = FindIn(item.Items, id)) return inner;
  }
  return nullptr;
}

}  // namespace

const MenuItemDef* FindMenuItem(int id) {
  if (id == 0) return nullptr;
  for (const PopupMenuDef& popup : Menu) {
    if (const MenuItemDef* item = FindIn(popup.Items, id)) return item;
  }
  return nullptr;
}

}  // namespace dyno

namespace dyno {

std::string_view CommandObjectName(int id) {
  for (const auto& [command, name] : CommandNames) {
    if (command == id) return name;
  }
  return {};
}

std::span<const std::string_view> CommandKeys(int id) {
  if (id == CmUndo) return UndoKeys;
  if (id == CmSaveButton) return SaveKeys;
  if (id == CmRedo) return RedoKeys;
  if (id == CmCopyTable) return CopyTableKeys;
  if (id == CmPasteTable) return PasteTableKeys;
  return {};
}

std::string_view StepName(StepKind kind) { return StepNames[static_cast<int>(kind)]; }

std::string UndoMenuText(int id, std::optional<StepKind> step) {
  const MenuItemDef* item = FindMenuItem(id);
  std::string text(item ? item->Text : std::string_view());
  if (step) {
    text += ' ';
    text += StepName(*step);
  }
  return text;
}

}  // namespace dyno
