#include "core/resources/Commands.h"

#include <algorithm>
#include <iterator>

#include "core/document/EditorSession.h"
#include "core/document/UndoHistory.h"
#include "core/resources/ResourceIds.h"

namespace dyno {

namespace {

CommandStatus Enabled(bool enabled) { return {enabled, false, false, {}}; }
CommandStatus Check(bool checked, bool enabled = true) { return {enabled, true, checked, {}}; }

using Doc = const EditorDocument&;
using Session = const EditorSession&;
using History = const UndoHistory&;

CommandStatus Always(Doc, Session, History) { return Enabled(true); }

template <int Id>
CommandStatus HistoryStep(Doc, Session, History history) {
  const std::optional<StepKind> step = Id == CmUndo ? history.NextUndo() : history.NextRedo();
  CommandStatus status = Enabled(step.has_value());
  status.Text = UndoMenuText(Id, step);
  return status;
}

bool EngineCurve(Doc doc) { return doc.EngineLoaded && doc.Mode != FileMode::Tire; }
bool AnyLoaded(Doc doc) { return doc.EngineLoaded || doc.TireLoaded; }

// The current mode's curve came from a file (or Generate): there is a table
// to copy, export or replace.
CommandStatus ModeTable(Doc doc, Session, History) {
  return Enabled(doc.Mode == FileMode::Tire ? doc.TireLoaded : doc.EngineLoaded);
}

CommandStatus SaveAs(Doc doc, Session, History) {
  return Enabled(CanSaveAs(doc, doc.Mode == FileMode::Tire, doc.Mode == FileMode::Upgrade));
}

// Only data that has a file of its own can be saved without asking for one.
CommandStatus Save(Doc doc, Session, History) {
  return Enabled(CanSaveAs(doc, (doc.Mode == FileMode::Tire), (doc.Mode == FileMode::Upgrade)) &&
                 (doc.Mode == FileMode::Tire ? doc.TireFile : doc.EngineFile).Exists());
}

CommandStatus EngineCurveOnly(Doc doc, Session, History) { return Enabled(EngineCurve(doc)); }

CommandStatus EditParameters(Doc doc, Session, History) {
  return Enabled((doc.EngineLoaded && doc.Mode != FileMode::Upgrade) || (doc.Mode == FileMode::Tire && doc.TireLoaded));
}

// Add does nothing to an engine curve of fewer rows.
CommandStatus AddLine(Doc doc, Session, History) {
  return Enabled(AnyLoaded(doc) && doc.RowCount < AddRowLimit &&
                 (doc.Mode == FileMode::Tire || doc.RowCount >= AddEngineRowFrom));
}

CommandStatus RemoveLine(Doc doc, Session, History) { return Enabled(AnyLoaded(doc) && doc.RowCount > MinimumRows); }

// Interpolation needs two rows to take its step from.
CommandStatus Resolution(Doc doc, Session, History) { return Enabled(EngineCurve(doc) && doc.RowCount >= 2); }

CommandStatus Bend(Doc doc, Session session, History) {
  const bool tire = doc.Mode == FileMode::Tire;
  return Check(tire && session.BendActive, doc.TireLoaded && tire);
}

CommandStatus SlipCurveShown(Doc doc, Session, History) {
  return Enabled(doc.Mode == FileMode::Tire && doc.TireLoaded);
}

CommandStatus ModeEngine(Doc doc, Session, History) { return Check(doc.Mode == FileMode::Engine); }
CommandStatus ModeUpgrade(Doc doc, Session, History) { return Check(doc.Mode == FileMode::Upgrade); }
CommandStatus ModeTire(Doc doc, Session, History) { return Check(doc.Mode == FileMode::Tire); }
CommandStatus LockOnToData(Doc, Session session, History) { return Check(session.LockOnToData); }
CommandStatus ShowPeaks(Doc, Session session, History) { return Check(session.Dyno.ShowPeaks); }

template <TorqueUnit Unit>
CommandStatus Torque(Doc, Session session, History) { return Check(session.Dyno.Units.Torque == Unit); }

template <PowerUnit Unit>
CommandStatus Power(Doc, Session session, History) { return Check(session.Dyno.Units.Power == Unit); }

CommandStatus CompareSaved(Doc doc, Session session, History) { return Enabled(HasSavedComparison(doc, session.Dyno)); }
CommandStatus ClearComparison(Doc doc, Session session, History) { return Enabled(HasComparison(doc, session.Dyno)); }
// Kept for Tire mode, but a choice of the view: it can be made beforehand.
CommandStatus SlipAxis(Doc, Session session, History) { return Check(session.Dyno.SlipAxis); }
CommandStatus AllSlipCurves(Doc, Session session, History) { return Check(session.Dyno.AllSlipCurves); }
CommandStatus AnyRecentFile(Doc, Session session, History) { return Enabled(!session.RecentFiles.empty()); }

template <int Index>
CommandStatus RecentFile(Doc, Session session, History) {
  return Enabled(static_cast<std::size_t>(Index) < session.RecentFiles.size());
}

static_assert(CmRecentFile8 - CmRecentFile1 + 1 == MaxRecentFiles, "one command per recent file");

// The platform's standard keys, where the command has one.
constexpr std::string_view OpenKeys[] = {"Ctrl+O"};
constexpr std::string_view PrintKeys[] = {"Ctrl+P"};
// Alt+F4 is the key the menu names; Ctrl+Q is the one desktops use besides.
constexpr std::string_view ExitKeys[] = {"Alt+F4", "Ctrl+Q"};
constexpr std::string_view UserGuideKeys[] = {"F1"};
constexpr std::string_view UndoKeys[] = {"Ctrl+Z"};
// The toolbar's disk carries the key, so that it saves where the data has a
// file and asks for one where it has none; File > Save shows the key.
constexpr std::string_view SaveKeys[] = {"Ctrl+S"};
constexpr std::string_view RedoKeys[] = {"Ctrl+Y", "Ctrl+Shift+Z"};
// Only while the value box does not have the focus: there they are the box's.
constexpr std::string_view CopyTableKeys[] = {"Ctrl+C"};
constexpr std::string_view PasteTableKeys[] = {"Ctrl+V"};
constexpr std::string_view ClosePreviewKeys[] = {"Esc", "Alt+C"};

// The recent file entries show their file's path, set while the program runs.
#define DYNO_RECENT_FILE(n)                                                                                 \
  {.Id = CmRecentFile1 + (n) - 1, .Name = "actionRecentFile" #n, .Rule = RecentFile<(n) - 1>,                \
   .Menu = MenuId::RecentFiles}

constexpr CommandRecord Records[] = {
    {.Id = CmOpen, .Name = "actionOpen", .Text = "&Open...",
     .Hint = "Browse for a physics file and open it, and read the data.", .Keys = OpenKeys, .Image = "open",
     .Rule = Always,
     .Menu = MenuId::File},
    {.Id = CmImport, .Name = "actionImport", .Text = "&Import Engine Curve Only",
     .Hint = "Import another engine curve into this file, keeping the other parameters.", .Rule = EngineCurveOnly,
     .Menu = MenuId::File},
    {.Id = CmImportCsv, .Name = "actionImportCsv", .Text = "Import &CSV...",
     .Hint = "Replace the current curve with the table of a CSV file.", .Rule = ModeTable, .Menu = MenuId::File},
    {.Id = CmSave, .Name = "actionSave", .Text = "&Save\tCtrl+S",
     .Hint = "Save the current physics file to the file it came from.", .Rule = Save, .Menu = MenuId::File,
     .Separated = true},
    // The toolbar's disk, in no menu: it saves where the data has a file of
    // its own and asks for one (Save As) where it has none.
    {.Id = CmSaveButton, .Name = "actionSaveButton", .Text = "Save", .Hint = "Save the current physics file.",
     .Keys = SaveKeys, .Image = "save", .Rule = SaveAs},
    {.Id = CmSaveAs, .Name = "actionSaveAs", .Text = "Save &As...", .Hint = "Save the current physics file.",
     .Image = "save-as", .Rule = SaveAs, .Menu = MenuId::File},
    {.Id = CmExportCsv, .Name = "actionExportCsv", .Text = "&Export CSV...",
     .Hint = "Save the data table as a CSV file for a spreadsheet.", .Rule = ModeTable, .Menu = MenuId::File},
    {.Id = CmExportPicture, .Name = "actionExportPicture", .Text = "Export Pic&ture...",
     .Hint = "Save the chart as it is shown as a PNG or SVG picture.", .Rule = ModeTable, .Menu = MenuId::File},
    {.Id = CmRecentFiles, .Name = "actionRecentFiles", .Text = "Recent &Files",
     .Hint = "Open one of the physics files last opened or saved.", .Rule = AnyRecentFile, .Menu = MenuId::File,
     .Separated = true, .Submenu = MenuId::RecentFiles},
    DYNO_RECENT_FILE(1), DYNO_RECENT_FILE(2), DYNO_RECENT_FILE(3), DYNO_RECENT_FILE(4),
    DYNO_RECENT_FILE(5), DYNO_RECENT_FILE(6), DYNO_RECENT_FILE(7), DYNO_RECENT_FILE(8),
    {.Id = CmClearRecentFiles, .Name = "actionClearRecentFiles", .Text = "&Clear List",
     .Hint = "Empty the list of recent files.", .Rule = AnyRecentFile, .Menu = MenuId::RecentFiles, .Separated = true},
    // The printer decides these: the application binds their enabling too.
    {.Id = CmPrintPreview, .Name = "actionPrintPreview", .Text = "Print Pre&view...",
     .Hint = "Displays full pages as read-only", .Image = "print-preview", .Menu = MenuId::File, .Separated = true},
    {.Id = CmPrint, .Name = "actionPrint", .Text = "&Print...", .Hint = "Prints the active document", .Keys = PrintKeys,
     .Image = "print",
     .Menu = MenuId::File},
    {.Id = CmPrintSetup, .Name = "actionPrintSetup", .Text = "P&rint Setup...",
     .Hint = "Sets print characteristics for the active document", .Menu = MenuId::File},
    {.Id = CmExit, .Name = "actionExit", .Text = "E&xit\tAlt+F4",
     .Hint = "Quits Dynoforge and prompts to save the documents", .Keys = ExitKeys, .Rule = Always,
     .Menu = MenuId::File,
     .Separated = true},

    {.Id = CmUndo, .Name = "actionUndo", .Text = "&Undo", .Hint = "Undo the last change to the data", .Keys = UndoKeys,
     .Image = "undo", .Rule = HistoryStep<CmUndo>, .Menu = MenuId::Edit},
    {.Id = CmRedo, .Name = "actionRedo", .Text = "&Redo", .Hint = "Redo the change last undone", .Keys = RedoKeys,
     .Image = "redo", .Rule = HistoryStep<CmRedo>, .Menu = MenuId::Edit},
    {.Id = CmCopyTable, .Name = "actionCopyTable", .Text = "&Copy Table",
     .Hint = "Copy the data table to the clipboard for a spreadsheet.", .Keys = CopyTableKeys, .Rule = ModeTable,
     .Menu = MenuId::Edit, .Separated = true},
    // The window also asks for text on the clipboard.
    {.Id = CmPasteTable, .Name = "actionPasteTable", .Text = "&Paste Table",
     .Hint = "Replace the current curve with a table copied in a spreadsheet.", .Keys = PasteTableKeys,
     .Rule = ModeTable, .Menu = MenuId::Edit},
    {.Id = CmGenerate, .Name = "actionGenerate", .Text = "Generate new engine data",
     .Hint = "Generate a new engine sequence of RPM values specifying the step and number of entries",
     .Image = "generate", .Rule = Always, .Menu = MenuId::Edit, .Separated = true},
    {.Id = CmEditParameters, .Name = "actionEditParameters", .Text = "Edit Engine/Tire Parameters",
     .Hint = "Edit engine or tire settings parameters. (Depends on current mode).", .Image = "edit-parameters",
     .Rule = EditParameters, .Menu = MenuId::Edit},
    {.Id = CmAddLine, .Name = "actionAddLine", .Text = "Add a new Line of data",
     .Hint = "Add one more step of RPM data using the current step value", .Image = "add-line", .Rule = AddLine,
     .Menu = MenuId::Edit, .Separated = true},
    {.Id = CmRemoveLine, .Name = "actionRemoveLine", .Text = "Remove the last Line of data",
     .Hint = "Remove the last step of RPM data", .Image = "remove-line", .Rule = RemoveLine, .Menu = MenuId::Edit},
    {.Id = CmRescale, .Name = "actionRescale", .Text = "Rescale the Torque or Compression data",
     .Hint = "Adjust the torque scale to raise or lower the power maintaining the curve shape.", .Image = "rescale",
     .Rule = EngineCurveOnly, .Menu = MenuId::Edit, .Separated = true},
    {.Id = CmResolution, .Name = "actionResolution", .Text = "Recreate the Curve with a new RPM resolution",
     .Hint = "Recreate the engine curve at a different resolution.", .Image = "resolution", .Rule = Resolution,
     .Menu = MenuId::Edit},
    {.Id = CmBend, .Name = "actionBend", .Text = "Set the mode to &Bend the current tire curve up or down",
     .Hint = "Set the mode to adjust the tire curve up or down with the Up and Down edit buttons (active when "
             "depressed)",
     .Image = "bend", .Rule = Bend, .Menu = MenuId::Edit},
    {.Id = CmNormalise, .Name = "actionNormalise", .Text = "&Normalise Slip Curve",
     .Hint = "Scale the charted slip curve so that its peak is 1.0.", .Rule = SlipCurveShown, .Menu = MenuId::Edit},
    // Whether a range is selected is the window's to tell: it binds that too.
    {.Id = CmAdjustSelection, .Name = "actionAdjustSelection", .Text = "Adjust &Selection",
     .Hint = "Change the selected range of rows of a column at once.", .Rule = ModeTable, .Menu = MenuId::Edit,
     .Separated = true, .Submenu = MenuId::AdjustSelection},
    {.Id = CmScaleSelection, .Name = "actionScaleSelection", .Text = "&Scale...",
     .Hint = "Multiply the selected values by a percentage.", .Rule = ModeTable, .Menu = MenuId::AdjustSelection},
    {.Id = CmOffsetSelection, .Name = "actionOffsetSelection", .Text = "&Add Offset...",
     .Hint = "Add a value, in the units shown, to the selected values.", .Rule = ModeTable,
     .Menu = MenuId::AdjustSelection},
    {.Id = CmSetSelection, .Name = "actionSetSelection", .Text = "Set &Value...",
     .Hint = "Give every selected row one value, in the units shown.", .Rule = ModeTable,
     .Menu = MenuId::AdjustSelection},
    {.Id = CmStraighten, .Name = "actionStraighten", .Text = "S&traighten",
     .Hint = "Put the rows between the two ends of the selection on the straight line through them.",
     .Rule = ModeTable, .Menu = MenuId::AdjustSelection, .Separated = true},
    {.Id = CmSmooth, .Name = "actionSmooth", .Text = "S&mooth",
     .Hint = "Smooth the selected values once, keeping the two ends.", .Rule = ModeTable,
     .Menu = MenuId::AdjustSelection},

    {.Id = CmModeEngine, .Name = "actionModeEngine", .Text = "File is &Engine type", .Rule = ModeEngine,
     .Menu = MenuId::Modes},
    {.Id = CmModeUpgrade, .Name = "actionModeUpgrade", .Text = "File is &Upgrade type",
     .Hint = "Override the Upgrade file type flag", .Rule = ModeUpgrade, .Menu = MenuId::Modes},
    {.Id = CmModeTire, .Name = "actionModeTire", .Text = "File is &Tire File (tbc)", .Rule = ModeTire,
     .Menu = MenuId::Modes},
    {.Id = CmLockOnToData, .Name = "actionLockOnToData", .Text = "Lock on to data when dragging",
     .Rule = LockOnToData, .Menu = MenuId::Modes, .Separated = true},

    {.Id = CmShowPeaks, .Name = "actionShowPeaks", .Text = "Show &Peaks",
     .Hint = "Mark the peak torque and the peak power on the chart.", .Rule = ShowPeaks, .Menu = MenuId::View},
    {.Id = CmSlipAxis, .Name = "actionSlipAxis", .Text = "S&lip Axis",
     .Hint = "Show the tire chart's x axis in slip (sample times step) instead of sample numbers.", .Rule = SlipAxis,
     .Menu = MenuId::View},
    {.Id = CmAllSlipCurves, .Name = "actionAllSlipCurves", .Text = "Show &All Slip Curves",
     .Hint = "Draw the other slip curves behind the current one, with a legend.", .Rule = AllSlipCurves,
     .Menu = MenuId::View},
    {.Id = CmTorqueNm, .Name = "actionTorqueNm", .Text = "Torque in &N-m",
     .Hint = "Show torque and compression torque in N-m.", .Rule = Torque<TorqueUnit::Nm>, .Menu = MenuId::View,
     .Separated = true, .RadioGroup = 1},
    {.Id = CmTorqueLbFt, .Name = "actionTorqueLbFt", .Text = "Torque in &lb-ft",
     .Hint = "Show torque and compression torque in lb-ft.", .Rule = Torque<TorqueUnit::LbFt>, .Menu = MenuId::View,
     .RadioGroup = 1},
    {.Id = CmPowerHp, .Name = "actionPowerHp", .Text = "Power in &HP", .Hint = "Show power in HP.",
     .Rule = Power<PowerUnit::Hp>, .Menu = MenuId::View, .Separated = true, .RadioGroup = 2},
    {.Id = CmPowerKw, .Name = "actionPowerKw", .Text = "Power in &kW", .Hint = "Show power in kW.",
     .Rule = Power<PowerUnit::Kw>, .Menu = MenuId::View, .RadioGroup = 2},
    {.Id = CmPowerPs, .Name = "actionPowerPs", .Text = "Power in PS (&metric)",
     .Hint = "Show power in PS (metric horsepower).", .Rule = Power<PowerUnit::Ps>, .Menu = MenuId::View,
     .RadioGroup = 2},
    {.Id = CmCompareFile, .Name = "actionCompareFile", .Text = "&Compare With File...",
     .Hint = "Browse for another engine or upgrade file and draw its curves behind this one.", .Rule = Always,
     .Menu = MenuId::View, .Separated = true},
    {.Id = CmCompareSaved, .Name = "actionCompareSaved", .Text = "Compare With &Saved",
     .Hint = "Draw the curves as last opened or saved behind the current ones.", .Rule = CompareSaved,
     .Menu = MenuId::View},
    {.Id = CmClearComparison, .Name = "actionClearComparison", .Text = "Clear Comparison",
     .Hint = "Remove the compared curves from the chart.", .Rule = ClearComparison, .Menu = MenuId::View},

    {.Id = CmUserGuide, .Name = "actionUserGuide", .Text = "&User Guide",
     .Hint = "Read the user guide: how to do each thing with the editor.", .Keys = UserGuideKeys, .Rule = Always,
     .Menu = MenuId::Help},
    {.Id = CmAbout, .Name = "actionAbout", .Text = "&About...", .Hint = "About the Dynoforge application",
     .Rule = Always, .Menu = MenuId::Help, .Separated = true},

    // The print preview's toolbar: its pages decide.
    {.Id = CmPreviewPrevious, .Name = "actionPreviousPage", .Text = "Previous page", .Image = "previous-page"},
    {.Id = CmPreviewNext, .Name = "actionNextPage", .Text = "Next page", .Image = "next-page"},
    {.Id = CmPreviewOnePage, .Name = "actionOnePage", .Text = "One page", .Image = "one-page"},
    {.Id = CmPreviewTwoPages, .Name = "actionTwoPages", .Text = "Two pages", .Image = "two-pages"},
    {.Id = CmPreviewClose, .Name = "actionClosePreview", .Text = "Close", .Keys = ClosePreviewKeys,
     .Image = "close"},
};

#undef DYNO_RECENT_FILE

}  // namespace

std::span<const CommandRecord> Commands() { return Records; }

std::vector<const CommandRecord*> MenuItems(MenuId menu) {
  std::vector<const CommandRecord*> items;
  for (const CommandRecord& record : Records) {
    if (menu != MenuId::None && record.Menu == menu) items.push_back(&record);
  }
  return items;
}

const CommandRecord* FindCommand(int id) {
  const auto it = std::find_if(std::begin(Records), std::end(Records), [id](const auto& r) { return r.Id == id; });
  return it == std::end(Records) ? nullptr : &*it;
}

const CommandRecord* FindCommand(std::string_view name) {
  const auto it =
      std::find_if(std::begin(Records), std::end(Records), [name](const auto& r) { return r.Name == name; });
  return it == std::end(Records) ? nullptr : &*it;
}

CommandStatus CommandState(int id, const EditorDocument& doc, const EditorSession& session,
                           const UndoHistory& history) {
  const CommandRecord* record = FindCommand(id);
  return record && record->Rule ? record->Rule(doc, session, history) : Enabled(true);
}

std::string UndoMenuText(int id, std::optional<StepKind> step) {
  const CommandRecord* record = FindCommand(id);
  std::string text(record ? record->Text : std::string_view());
  if (step) {
    text += ' ';
    text += StepName(*step);
  }
  return text;
}

}  // namespace dyno
