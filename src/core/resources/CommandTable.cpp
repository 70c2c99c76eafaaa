#include "core/resources/CommandTable.h"

#include <array>

#include "core/resources/ResourceIds.h"

namespace dyno {

namespace {

constexpr std::array<PopupMenuDef, 5> Menu{{
    {"&File", MenuId::File, "File operations"},
    {"&Edit", MenuId::Edit, "Access to Engine file Editing features."},
    {"&Modes", MenuId::Modes, {}},
    {"&View", MenuId::View, "Access to the chart's peaks, units and comparison."},
    {"&Help", MenuId::Help, "Access About"},
}};

constexpr std::array<int, 16> Toolbar{
    CmOpen,    CmSaveButton,     0,      CmUndo, CmRedo,  0,          CmGenerate, CmEditParameters,
    CmAddLine, CmRemoveLine, CmRescale, CmResolution, CmBend, 0, CmPrint,    CmPrintPreview,
};

}  // namespace

std::span<const PopupMenuDef> MainMenu() { return Menu; }

std::span<const int> MainToolbar() { return Toolbar; }

}  // namespace dyno
