#include "gui/curves/CurveDialogs.h"

#include "core/files/TypedNumber.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

#include "core/curves/Resolution.h"
#include "core/document/EditorSession.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"
#include "gui/common/DialogSupport.h"
#include "gui/common/UserDialogs.h"

namespace dyno {

namespace {

constexpr int HpLimit = 5;
constexpr double MinimumHp = 100.0;
constexpr double MaximumHp = 5000.0;

QStringList RangeEntries(int first, int last, int step) {
  QStringList entries;
  for (int v = first; v <= last; v += step) entries << QString::number(v);
  return entries;
}

QStringList RpmStepTexts() {
  QStringList entries;
  for (const int step : RpmStepEntries) entries << QString::number(step);
  return entries;
}

QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& entries, int selected) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  FillComboBox(*box, entries, selected);
  return box;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

// OK and Cancel below a form of labelled fields.
QFormLayout* MakeForm(QDialog* dialog) {
  auto* layout = new QVBoxLayout(dialog);
  auto* form = new QFormLayout;
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->setObjectName(QStringLiteral("buttonBox"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return form;
}

bool PowerInRange(double hp) { return hp >= MinimumHp && hp <= MaximumHp; }

}  // namespace

void ReportPowerOutOfRange(UserDialogs& dialogs, QWidget* parent) {
  dialogs.Message(parent,
                  QStringLiteral("The value is too low or negative, or excessively large.\n"
                                 "Please enter a number between 100 and 5000."),
                  QStringLiteral("VALUE TOO LARGE OR TOO SMALL!"));
}

// --- Engine Specifications --------------------------------------------------

GetEngineSpecsDialog::GetEngineSpecsDialog(GeneratorSettings& settings, UserDialogs& dialogs, QWidget* parent)
    : CenteredDialog(parent), settings_(settings), dialogs_(dialogs) {
  setWindowTitle(QStringLiteral("Engine Specifications"));
  QFormLayout* form = MakeForm(this);
  rpmSteps_ = MakeList(this, "rpmStepCombo", RpmStepTexts(), settings.RpmStepChoice);
  maxRpm_ = MakeList(this, "maxRpmCombo", RangeEntries(6000, 23000, 500), settings.MaxRpmChoice);
  maxHp_ = MakeEdit(this, "maxHpEdit");
  SetLimitedText(*maxHp_, QString::number(static_cast<long long>(std::trunc(settings.TargetPower))), HpLimit);
  maxHp_->installEventFilter(this);
  peakTorqueRpm_ = MakeList(this, "peakTorqueRpmCombo", RangeEntries(3000, 20000, 250), settings.PeakTorqueChoice);
  form->addRow(QStringLiteral("RPM Steps:"), rpmSteps_);
  form->addRow(QStringLiteral("Maximum RPM:"), maxRpm_);
  form->addRow(QStringLiteral("Maximum HP:"), maxHp_);
  form->addRow(QStringLiteral("Peak Torque RPM:"), peakTorqueRpm_);
}

bool GetEngineSpecsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == maxHp_ && FocusLeftField(event)) CheckPower();
  return CenteredDialog::eventFilter(watched, event);
}

// The HP typed is taken at once, in range or not; out of range it is
// reported (once per text) and the field gets the focus back. A text that is
// no number is refused (once per text) and not taken: false then.
bool GetEngineSpecsDialog::CheckPower() {
  const QString text = maxHp_->text();
  const std::optional<double> hp = ReadTypedNumber(ToBytes(text));
  if (hp) settings_.TargetPower = *hp;
  if (hp && PowerInRange(*hp)) {
    reportedHp_.clear();
    return true;
  }
  if (reportedHp_ != text) {
    reportedHp_ = text;
    if (hp) {
      ReportPowerOutOfRange(dialogs_, this);
      maxHp_->setFocus();
    } else {
      TypedValue(*maxHp_, QStringLiteral("Maximum HP"), dialogs_, this);
    }
  }
  return hp.has_value();
}

void GetEngineSpecsDialog::accept() {
  // OK never closes silently on a text that is no number.
  if (!ReadTypedNumber(ToBytes(maxHp_->text()))) reportedHp_.clear();
  if (!CheckPower()) return;
  settings_.MaxRpmChoice = maxRpm_->currentIndex();
  settings_.PeakTorqueChoice = peakTorqueRpm_->currentIndex();
  settings_.RpmStepChoice = rpmSteps_->currentIndex();
  settings_.TopRpm = DecimalToDouble(ToBytes(maxRpm_->currentText()));
  settings_.RpmStep = DecimalToDouble(ToBytes(rpmSteps_->currentText()));
  settings_.PeakTorqueRpm = DecimalToDouble(ToBytes(peakTorqueRpm_->currentText()));
  CenteredDialog::accept();
}

// --- Rescale ----------------------------------------------------------------

RescalePowerSpecsDialog::RescalePowerSpecsDialog(EditorDocument& doc, GeneratorSettings& settings,
                                                 const RescaleValues& values, UserDialogs& dialogs, QWidget* parent)
    : CenteredDialog(parent), doc_(doc), settings_(settings), values_(values), dialogs_(dialogs) {
  setWindowTitle(QStringLiteral("Rescale Engine Power Specifications"));
  QFormLayout* form = MakeForm(this);
  const QString hp = FromBytes(FixedText(values.CurrentHp, 0));
  const QString compression = FromBytes(FixedText(values.CompressionMax, 0));
  currentHp_ = MakeEdit(this, "currentHpEdit");
  compressionMax_ = MakeEdit(this, "compressionMaxEdit");
  newHp_ = MakeEdit(this, "newHpEdit");
  newCompression_ = MakeEdit(this, "newCompressionEdit");
  for (QLineEdit* shown : {currentHp_, compressionMax_}) {
    shown->setReadOnly(true);
    shown->setEnabled(false);
  }
  SetLimitedText(*currentHp_, hp, HpLimit);
  SetLimitedText(*compressionMax_, compression, HpLimit);
  SetLimitedText(*newHp_, hp, HpLimit);
  SetLimitedText(*newCompression_, compression, HpLimit);
  newHp_->installEventFilter(this);
  form->addRow(QStringLiteral("Current HP:"), currentHp_);
  form->addRow(QStringLiteral("Compression MAX:"), compressionMax_);
  form->addRow(QStringLiteral("New HP:"), newHp_);
  form->addRow(QStringLiteral("New Compression MAX:"), newCompression_);
  newHp_->setFocus();
}

void RescalePowerSpecsDialog::showEvent(QShowEvent* event) {
  CenteredDialog::showEvent(event);
  newHp_->setFocus();
}

bool RescalePowerSpecsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == newHp_ && FocusLeftField(event)) NewHpLeft();
  return CenteredDialog::eventFilter(watched, event);
}

// Leaving New HP makes the shown, whole-HP Current HP the divisor, so an
// unchanged dialog scales torque by exactly 1.
void RescalePowerSpecsDialog::NewHpLeft() {
  settings_.TargetPower = EditValue(*currentHp_);
  // A text that is no number is refused when OK is pressed.
  const std::optional<double> hp = ReadTypedNumber(ToBytes(newHp_->text()));
  if (hp && !PowerInRange(*hp)) {
    ReportPowerOutOfRange(dialogs_, this);
    newHp_->setFocus();
  }
}

void RescalePowerSpecsDialog::accept() {
  const std::optional<double> hp = TypedValue(*newHp_, QStringLiteral("New HP"), dialogs_, this);
  if (!hp) return;
  const std::optional<double> compression =
      TypedValue(*newCompression_, QStringLiteral("New Compression MAX"), dialogs_, this);
  if (!compression) return;
  values_.CurrentHp = *hp;
  values_.NewCompression = *compression;
  ApplyRescale(doc_, settings_, values_);
  CenteredDialog::accept();
}

// --- Adjust selection -------------------------------------------------------

AdjustSelectionDialog::AdjustSelectionDialog(const QString& title, const QString& field, const QString& text,
                                             UserDialogs& dialogs, QWidget* parent)
    : CenteredDialog(parent), field_(field), dialogs_(dialogs) {
  setWindowTitle(title);
  QFormLayout* form = MakeForm(this);
  amountEdit_ = MakeEdit(this, "amountEdit");
  amountEdit_->setText(text);
  amountEdit_->selectAll();
  form->addRow(field + QStringLiteral(":"), amountEdit_);
}

void AdjustSelectionDialog::accept() {
  const std::optional<double> amount = TypedValue(*amountEdit_, field_, dialogs_, this);
  if (!amount) return;
  amount_ = *amount;
  CenteredDialog::accept();
}

// --- Change resolution ------------------------------------------------------

ChangeResolutionDialog::ChangeResolutionDialog(int currentIndex, QWidget* parent) : CenteredDialog(parent) {
  setWindowTitle(QStringLiteral("Change RPM Resolution"));
  QFormLayout* form = MakeForm(this);
  currentSteps_ = MakeList(this, "currentRpmStepCombo", RpmStepTexts(), currentIndex);
  currentSteps_->setEnabled(false);
  newSteps_ = MakeList(this, "newRpmStepCombo", RpmStepTexts(), currentIndex);
  form->addRow(QStringLiteral("Current RPM Steps:"), currentSteps_);
  form->addRow(QStringLiteral("New RPM Steps:"), newSteps_);
}

void ChangeResolutionDialog::accept() {
  newRpmStep_ = DecimalToDouble(ToBytes(newSteps_->currentText()));
  CenteredDialog::accept();
}

}  // namespace dyno
