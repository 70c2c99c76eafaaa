#pragma once

namespace dyno {

// Command ids. A command's status-bar hint is the string with the same id.
enum CommandId : int {
  CmAbout = 2009,
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
  CmSaveAs = 22101,
  CmModeUpgrade = 22102,
  CmModeTire = 22103,
  CmModeEngine = 22104,
  CmExit = 24310,
  CmEditUndo = 24321,
  CmEditCut = 24322,
  CmEditCopy = 24323,
  CmEditPaste = 24324,
  CmEditClear = 24326,
  CmPrint = 24337,
  CmPrintSetup = 24338,
  CmPrintPreview = 24340,
  CmFindNext = 24353,

  // Print preview window.
  CmPreviewPrevious = 24500,
  CmPreviewNext = 24501,
  CmPreviewOnePage = 24502,
  CmPreviewTwoPages = 24503,
  CmPreviewPageText = 24504,
  CmPreviewClose = 24505,
};

// Strings that are not command hints: the hints shown for the popup menus.
enum StringId : int {
  StrFileMenuHint = 2010,
  StrEditMenuHint = 2015,
  StrHelpMenuHint = 2008,
};

// Child controls of the editor window.
enum ControlId : int {
  IdValueEdit = 22100,
  IdRowScrollBar = 22200,
};

// Images.
enum ImageId : int {
  IconApplication = 1001,
  CursorThickPlus = 22010,
  CursorHand = 22011,
  CursorVerticalArrows = 22012,
  CursorCrossHair = 22014,
};

// Menus, accelerator tables and dialogs.
enum TemplateId : int {
  MenuMain = 100,
  AcceleratorsMain = 100,
  AcceleratorsPreview = 200,
  DialogAbout = 22000,
  DialogEngineSpecs = 22201,
  DialogEditEngineParameters = 22206,
  DialogRescale = 22207,
  DialogEditTireParameters = 22212,
  DialogChangeResolution = 23500,
};

}  // namespace dyno
