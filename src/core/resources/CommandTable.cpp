#include "core/resources/CommandTable.h"

#include <array>

#include "core/resources/ResourceIds.h"

namespace dyno {

namespace {

constexpr MenuItemDef RecentFileItems[] = {
    {CmRecentFile1},     {CmRecentFile1 + 1}, {CmRecentFile1 + 2}, {CmRecentFile1 + 3},
    {CmRecentFile1 + 4}, {CmRecentFile1 + 5}, {CmRecentFile1 + 6}, {CmRecentFile8},
    {},
    {CmClearRecentFiles},
};

constexpr MenuItemDef FileItems[] = {
    {CmOpen}, {CmImport}, {CmImportCsv}, {},
    {CmSave}, {CmSaveAs}, {CmExportCsv}, {},
    {CmRecentFiles, RecentFileItems}, {},
    {CmPrintPreview}, {CmPrint}, {CmPrintSetup}, {},
    {CmExit},
};

constexpr MenuItemDef EditItems[] = {
    {CmUndo}, {CmRedo}, {},
    {CmCopyTable}, {CmPasteTable}, {},
    {CmGenerate}, {CmEditParameters}, {},
    {CmAddLine}, {CmRemoveLine}, {},
    {CmRescale}, {CmResolution}, {CmBend},
};

constexpr MenuItemDef ModesItems[] = {
    {CmModeEngine}, {CmModeUpgrade}, {CmModeTire}, {},
    {CmLockOnToData},
};

constexpr MenuItemDef ViewItems[] = {
    {CmShowPeaks},
    {},
    {.Id = CmTorqueNm, .RadioGroup = 1},
    {.Id = CmTorqueLbFt, .RadioGroup = 1},
    {},
    {.Id = CmPowerHp, .RadioGroup = 2},
    {.Id = CmPowerKw, .RadioGroup = 2},
    {.Id = CmPowerPs, .RadioGroup = 2},
    {},
    {CmCompareFile}, {CmCompareSaved}, {CmClearComparison},
};

constexpr MenuItemDef HelpItems[] = {
    {CmAbout},
};

constexpr std::array<PopupMenuDef, 5> Menu{{
    {"&File", FileItems, "File operations"},
    {"&Edit", EditItems, "Access to Engine file Editing features."},
    {"&Modes", ModesItems, {}},
    {"&View", ViewItems, "Access to the chart's peaks, units and comparison."},
    {"&Help", HelpItems, "Access About"},
}};

constexpr std::array<int, 16> Toolbar{
    CmOpen,    CmSaveButton,     0,      CmUndo, CmRedo,  0,          CmGenerate, CmEditParameters,
    CmAddLine, CmRemoveLine, CmRescale, CmResolution, CmBend, 0, CmPrint,    CmPrintPreview,
};

}  // namespace

std::span<const PopupMenuDef> MainMenu() { return Menu; }

std::span<const int> MainToolbar() { return Toolbar; }

}  // namespace dyno
