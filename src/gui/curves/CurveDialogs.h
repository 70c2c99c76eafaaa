#pragma once

#include "core/curves/Rescale.h"
#include "gui/common/DialogSupport.h"

class QComboBox;
class QLineEdit;

namespace dyno {

struct GeneratorSettings;
class UserDialogs;

// "Engine Specifications": RPM step, maximum RPM, maximum HP and the RPM of
// peak torque for a generated curve. The choices are stored on OK.
class GetEngineSpecsDialog : public CenteredDialog {
  Q_OBJECT

 public:
  GetEngineSpecsDialog(GeneratorSettings& settings, UserDialogs& dialogs, QWidget* parent = nullptr);

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool CheckPower();

  GeneratorSettings& settings_;
  UserDialogs& dialogs_;
  QComboBox* rpmSteps_;
  QComboBox* maxRpm_;
  QLineEdit* maxHp_;
  QComboBox* peakTorqueRpm_;
  QString reportedHp_;  // the HP text last reported out of range
};

// "Rescale Engine Power Specifications": new peak power and new compression
// maximum for the curve; the rows are scaled on OK.
class RescalePowerSpecsDialog : public CenteredDialog {
  Q_OBJECT

 public:
  RescalePowerSpecsDialog(EditorDocument& doc, GeneratorSettings& settings, const RescaleValues& values,
                          UserDialogs& dialogs, QWidget* parent = nullptr);

  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void NewHpLeft();

  EditorDocument& doc_;
  GeneratorSettings& settings_;
  RescaleValues values_;
  UserDialogs& dialogs_;
  QLineEdit* currentHp_;
  QLineEdit* compressionMax_;
  QLineEdit* newHp_;
  QLineEdit* newCompression_;
};

// One number for Edit > Adjust Selection: a percentage, an offset or a
// value, typed as the value box reads it; a text that is no number is
// refused on OK with a message and the field keeps the focus.
class AdjustSelectionDialog : public CenteredDialog {
  Q_OBJECT

 public:
  AdjustSelectionDialog(const QString& title, const QString& field, const QString& text, UserDialogs& dialogs,
                        QWidget* parent = nullptr);

  double Amount() const { return amount_; }
  void accept() override;

 private:
  QString field_;
  UserDialogs& dialogs_;
  QLineEdit* amountEdit_;
  double amount_ = 0.0;
};

// "Change RPM Resolution": the current step (shown, not editable) and the new.
class ChangeResolutionDialog : public CenteredDialog {
  Q_OBJECT

 public:
  ChangeResolutionDialog(int currentIndex, QWidget* parent = nullptr);

  double NewRpmStep() const { return newRpmStep_; }
  void accept() override;

 private:
  QComboBox* currentSteps_;
  QComboBox* newSteps_;
  double newRpmStep_ = 0.0;
};

// The message for a maximum HP outside 100 to 5000.
void ReportPowerOutOfRange(UserDialogs& dialogs, QWidget* parent);

}  // namespace dyno
