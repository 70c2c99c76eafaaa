#pragma once

namespace dyno {

// Command ids; core/resources/Commands.h has each command's record.
enum CommandId : int {
  CmAbout = 2009,
  CmUserGuide = 2010,
  CmOpen = 2011,
  CmAddLine = 2012,
  CmRemoveLine = 2014,
  CmGenerate = 2016,
  CmEditParameters = 2020,
  CmRescale = 2022,
  CmResolution = 2024,
  CmImport = 2025,
  CmBend = 2027,
  CmLockOnToData = 2028,
  // File > Recent Files: the submenu, its eight entries (newest first) and
  // Clear List.
  CmRecentFiles = 2030,
  CmRecentFile1 = 2031,
  CmRecentFile8 = 2038,
  CmClearRecentFiles = 2039,
  CmExportCsv = 2040,
  CmImportCsv = 2041,
  // File > Save, and the toolbar's disk, which saves where the data has a
  // file of its own and asks for one (Save As) where it has none.
  CmSave = 2043,
  CmSaveButton = 2044,
  // File > Export Picture: the chart as shown, as a PNG or SVG file.
  CmExportPicture = 2045,
  // View: peak marks, units (two radio groups) and the compared curve.
  CmShowPeaks = 2050,
  CmTorqueNm = 2051,
  CmTorqueLbFt = 2052,
  CmPowerHp = 2053,
  CmPowerKw = 2054,
  CmPowerPs = 2055,
  CmCompareFile = 2056,
  CmCompareSaved = 2057,
  CmClearComparison = 2058,
  // Edit > Adjust Selection: the submenu and its operations on a range of rows.
  CmAdjustSelection = 2060,
  CmScaleSelection = 2061,
  CmOffsetSelection = 2062,
  CmSetSelection = 2063,
  CmStraighten = 2064,
  CmSmooth = 2065,
  // Edit > Normalise Slip Curve.
  CmNormalise = 2066,
  CmSlipAxis = 2067,
  CmAllSlipCurves = 2068,
  CmSaveAs = 22101,
  CmModeUpgrade = 22102,
  CmModeTire = 22103,
  CmModeEngine = 22104,
  CmExit = 24310,
  CmUndo = 24321,
  CmCopyTable = 24323,
  CmPasteTable = 24324,
  CmRedo = 24325,
  CmPrint = 24337,
  CmPrintSetup = 24338,
  CmPrintPreview = 24340,

  // Print preview window.
  CmPreviewPrevious = 24500,
  CmPreviewNext = 24501,
  CmPreviewOnePage = 24502,
  CmPreviewTwoPages = 24503,
  CmPreviewClose = 24505,
};

}  // namespace dyno
