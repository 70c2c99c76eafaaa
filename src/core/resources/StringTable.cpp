#include "core/resources/StringTable.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "core/resources/ResourceIds.h"

namespace dyno {

namespace {

constexpr std::pair<int, std::string_view> Strings[] = {
    {StrHelpMenuHint, "Access About"},
    {CmAbout, "About the Dynoforge application"},
    {StrFileMenuHint, "File operations"},
    {CmOpen, "Browse for a physics file and open it, and read the data."},
    {CmAddLine, "Add one more step of RPM data using the current step value"},
    {CmRemoveLine, "Remove the last step of RPM data"},
    {StrEditMenuHint, "Access to Engine file Editing features."},
    {CmGenerate, "Generate a new engine sequence of RPM values specifying the step and number of entries"},
    {CmEditParameters, "Edit engine or tire settings parameters. (Depends on current mode)."},
    {CmRescale, "Adjust the torque scale to raise or lower the power maintaining the curve shape."},
    {CmResolution, "Recreate the engine curve at a different resolution."},
    {CmImport, "Import another engine curve into this file, keeping the other parameters."},
    {CmBend,
     "Set the mode to adjust the tire curve up or down with the Up and Down edit buttons (active when depressed)"},
    {CmSaveAs, "Save the current physics file."},
    {CmSave, "Save the current physics file to the file it came from."},
    {CmSaveButton, "Save the current physics file."},
    {CmRecentFiles, "Open one of the physics files last opened or saved."},
    {CmClearRecentFiles, "Empty the list of recent files."},
    {CmModeUpgrade, "Override the Upgrade file type flag"},
    {StrViewMenuHint, "Access to the chart's peaks, units and comparison."},
    {CmShowPeaks, "Mark the peak torque and the peak power on the chart."},
    {CmTorqueNm, "Show torque and compression torque in N-m."},
    {CmTorqueLbFt, "Show torque and compression torque in lb-ft."},
    {CmPowerHp, "Show power in HP."},
    {CmPowerKw, "Show power in kW."},
    {CmPowerPs, "Show power in PS (metric horsepower)."},
    {CmCompareFile, "Browse for another engine or upgrade file and draw its curves behind this one."},
    {CmCompareSaved, "Draw the curves as last opened or saved behind the current ones."},
    {CmClearComparison, "Remove the compared curves from the chart."},
    {CmExit, "Quits Dynoforge and prompts to save the documents"},
    {CmUndo, "Undo the last change to the data"},
    {CmRedo, "Redo the change last undone"},
    {CmCopyTable, "Copy the data table to the clipboard for a spreadsheet."},
    {CmPasteTable, "Replace the current curve with a table copied in a spreadsheet."},
    {CmExportCsv, "Save the data table as a CSV file for a spreadsheet."},
    {CmImportCsv, "Replace the current curve with the table of a CSV file."},
    {CmPrint, "Prints the active document"},
    {CmPrintSetup, "Sets print characteristics for the active document"},
    {CmPrintPreview, "Displays full pages as read-only"},
};

}  // namespace

std::string_view LoadString(int id) {
  const auto it = std::find_if(std::begin(Strings), std::end(Strings), [id](const auto& s) { return s.first == id; });
  return it == std::end(Strings) ? std::string_view() : it->second;
}

}  // namespace dyno
