#pragma once

#include <array>

#include "core/document/Limits.h"
#include "gui/common/DialogSupport.h"

class QLineEdit;

namespace dyno {

struct EditorDocument;
struct ParameterTexts;
class UserDialogs;

// "Edit Engine Parameters": one edit box per parameter value, in five groups.
// The boxes show texts and, on OK, give back the first line of each box, at
// most 10 characters.
class EditEngineSpecsDialog : public CenteredDialog {
  Q_OBJECT

 public:
  EditEngineSpecsDialog(ParameterTexts& texts, UserDialogs& dialogs, QWidget* parent = nullptr);

  // Refused, with a message, while a field holds no number.
  void accept() override;

 private:
  ParameterTexts& texts_;
  UserDialogs& dialogs_;
};

// "Edit Slip Curve Names / Parameters": name, step and drop-off of the four
// slip curves, and Add for a new curve. It works on the document's curves
// and on a working curve count, which the caller takes over only after OK.
class EditTireSpecsDialog : public CenteredDialog {
  Q_OBJECT

 public:
  EditTireSpecsDialog(EditorDocument& doc, int curveCount, UserDialogs& dialogs, QWidget* parent = nullptr);

  int CurveCount() const { return curveCount_; }

  // Adds a curve after the last one and shows the curves as the document
  // holds them; text typed but not confirmed is replaced.
  void AddCurve();

  // Refused, with a message, while a step or drop-off in use is no number.
  void accept() override;

 private:
  void FillGrid();

  EditorDocument& doc_;
  int curveCount_;
  UserDialogs& dialogs_;
  std::array<QLineEdit*, SlipCurveSlots> names_{};
  std::array<QLineEdit*, SlipCurveSlots> steps_{};
  std::array<QLineEdit*, SlipCurveSlots> dropoffs_{};
};

}  // namespace dyno
