#include "gui/files/ParameterDialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

#include "core/document/EditorDocument.h"
#include "core/files/ParameterEdits.h"
#include "core/files/ParameterTexts.h"

namespace dyno {

namespace {

// The label of each parameter's row.
struct ParameterLabel {
  std::string_view Key;
  const char* Label;
};

constexpr ParameterLabel ParameterLabels[] = {
    {"FuelConsumption", "Fuel Consumption:"},
    {"FuelEstimate", "Fuel Estimate:"},
    {"EngineInertia", "Engine Inertia:"},
    {"IdleThrottle", "Idle Throttle:"},
    {"IdleRPMLogic", "Idle RPM Logic:"},
    {"LaunchEfficiency", "Launch Efficiency:"},
    {"LaunchRPMLogic", "Launch RPM Logic:"},
    {"RevLimitRange", "Rev Limit Range:"},
    {"RevLimitSetting", "Setting:"},
    {"RevLimitLogic", "Rev Limit Logic:"},
    {"RevLimitAvailable", "Limiter Available:"},
    {"EngineMapRange", "Engine Map Range:"},
    {"EngineMapSetting", "Setting:"},
    {"EngineBrakingMapRange", "Brake Map Range:"},
    {"EngineBrakingMapSetting", "Setting:"},
    {"EngineBoostRange", "Engine Boost Range:"},
    {"EngineBoostSetting", "Setting:"},
    {"BoostEffects", "Engine Boost Effects:"},
    {"BoostTorque", "Boost Torque:"},
    {"BoostPower", "Boost Power:"},
    {"OptimumOilTemp", "Oil Optimum Temp:"},
    {"CombustionHeat", "Combustion Heat:"},
    {"EngineSpeedHeat", "Engine Speed Heat:"},
    {"OilMinimumCooling", "Oil Min. Cooling:"},
    {"OilWaterHeatTransfer", "O-W Heat Transfer:"},
    {"WaterMinimumCooling", "Water Min. Cooling:"},
    {"RadiatorCooling", "Radiator Cooling:"},
    {"LifetimeEngineRPM", "Lifetime Eng. RPM:"},
    {"LifetimeOilTemp", "Lifetime Oil Temp:"},
    {"LifetimeAvg", "Lifetime AVG:"},
    {"LifetimeVar", "Lifetime VAR:"},
    {"EngineEmission", "Engine Emission:"},
    {"EngineSound", "Engine Sound:"},
    {"SpeedLimiter", "Speed Limiter:"},
    {"OnboardStarter", "Onboard Starter:"},
    {"StarterTiming", "Starter Timing:"},
};

// One row of the engine parameter dialog: the parameter on the left and the
// one that starts the right-hand half, if any. Each shows its label from the
// parameter table and then its values' edit boxes, left to right.
struct ParameterRow {
  int Group;
  const char* Left;
  const char* Right;
};

constexpr ParameterRow ParameterRows[] = {
    {1, "RevLimitLogic", "RevLimitAvailable"},
    {1, "RevLimitRange", "RevLimitSetting"},
    {1, "EngineMapRange", "EngineMapSetting"},
    {1, "EngineBrakingMapRange", "EngineBrakingMapSetting"},
    {2, "EngineSpeedHeat", "EngineInertia"},
    {2, "IdleRPMLogic", "IdleThrottle"},
    {2, "OilWaterHeatTransfer", "OilMinimumCooling"},
    {2, "OptimumOilTemp", "CombustionHeat"},
    {2, "WaterMinimumCooling", "RadiatorCooling"},
    {3, "LifetimeEngineRPM", "LifetimeAvg"},
    {3, "LifetimeOilTemp", "LifetimeVar"},
    {3, "EngineEmission", nullptr},
    {3, "EngineSound", nullptr},
    {3, "StarterTiming", nullptr},
    {4, "LaunchRPMLogic", "LaunchEfficiency"},
    {4, "SpeedLimiter", "OnboardStarter"},
    {4, "FuelConsumption", "FuelEstimate"},
    {5, "EngineBoostRange", "EngineBoostSetting"},
    {5, "BoostEffects", nullptr},
    {5, "BoostTorque", "BoostPower"},
};

// Grid columns of a row: label and three boxes on the left, a gap, then the
// same on the right. Every group has the same columns, so that labels and
// boxes line up from group to group.
constexpr int RightHalfColumn = 5;
constexpr int GridColumns = 2 * RightHalfColumn;
constexpr int CellGap = 6;   // between neighbouring cells
constexpr int HalfGap = 16;  // between the halves

QString LabelOf(std::string_view key) {
  for (const ParameterLabel& label : ParameterLabels) {
    if (label.Key == key) return QString::fromLatin1(label.Label);
  }
  return QString();
}

// The name of the edit box of value `position` of a parameter: its key and
// "Edit", numbered from 1 when the parameter has several values.
QString BoxName(const EngineParameterSpec& spec, int position) {
  const QString name = QString::fromLatin1(spec.Key) + QStringLiteral("Edit");
  return spec.ValueCount == 1 ? name : name + QString::number(position + 1);
}

// The face of both dialogs: Arial 10 on light grey.
void SetDialogFace(QDialog& dialog) {
  dialog.setFont(QFont(QStringLiteral("Arial"), 10));
  QPalette face = dialog.palette();
  face.setColor(QPalette::Window, QColor(192, 192, 192));
  dialog.setPalette(face);
  dialog.setAutoFillBackground(true);
}

// Width of a box that shows characters digits.
int BoxWidth(const QWidget& dialog, int characters) {
  return dialog.fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('0'))) + 12;
}

QLineEdit* MakeBox(QWidget* parent, const QString& name, int characters, int width) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setMaxLength(characters);
  box->setFixedWidth(width);
  return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

// The text of an edit box up to its first line end.
QString FirstLine(const QString& text) {
  const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
  return end < 0 ? text : text.left(end);
}

}  // namespace

// --- Edit Engine Parameters --------------------------------------------------

EditEngineSpecsDialog::EditEngineSpecsDialog(ParameterTexts& texts, UserDialogs& dialogs, QWidget* parent)
    : CenteredDialog(parent), texts_(texts), dialogs_(dialogs) {
  setWindowTitle(QStringLiteral("Edit Engine Parameters"));
  SetDialogFace(*this);
  auto* layout = new QVBoxLayout(this);

  const int boxWidth = BoxWidth(*this, ParameterTextLength);
  int labelWidth[2] = {0, 0};  // of the left and the right halves
  for (const ParameterRow& line : ParameterRows) {
    labelWidth[0] = std::max(labelWidth[0], fontMetrics().horizontalAdvance(LabelOf(line.Left)));
    if (line.Right) labelWidth[1] = std::max(labelWidth[1], fontMetrics().horizontalAdvance(LabelOf(line.Right)));
  }

  QGridLayout* grid = nullptr;
  int group = 0;
  int row = 0;
  const auto addParameter = [&](const char* key, int column) {
    const int index = EngineParameterIndex(key);
    const EngineParameterSpec& spec = EngineParameterSpecs[index];
    grid->addWidget(new QLabel(LabelOf(key)), row, column);
    for (int v = 0; v < spec.ValueCount; ++v) {
      QLineEdit* box = MakeBox(this, BoxName(spec, v), ParameterTextLength, boxWidth);
      SetLimitedText(*box, FromBytes(texts_.Texts[ParameterTextIndex(index, v)]), ParameterTextLength);
      grid->addWidget(box, row, column + 1 + v, Qt::AlignLeft | Qt::AlignVCenter);
    }
  };
  for (const ParameterRow& line : ParameterRows) {
    if (line.Group != group) {
      group = line.Group;
      row = 0;
      auto* box = new QGroupBox(this);
      grid = new QGridLayout(box);
      // The gaps are part of the columns: a grid leaves out the spacing of
      // an empty column, which would shift the right half of this group.
      grid->setHorizontalSpacing(0);
      for (int half = 0; half < 2; ++half) {
        const int first = half * RightHalfColumn;
        grid->setColumnMinimumWidth(first, labelWidth[half] + CellGap);
        for (int v = 1; v <= MaxParameterValues; ++v) grid->setColumnMinimumWidth(first + v, boxWidth + CellGap);
      }
      grid->setColumnMinimumWidth(RightHalfColumn - 1, HalfGap);
      grid->setColumnStretch(GridColumns - 1, 1);
      layout->addWidget(box);
    }
    addParameter(line.Left, 0);
    if (line.Right) addParameter(line.Right, RightHalfColumn);
    ++row;
  }

  QPushButton* ok = MakeButton(this, "okButton", QStringLiteral("OK"));
  QPushButton* cancel = MakeButton(this, "cancelButton", QStringLiteral("Cancel"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(MakeButtonRow(this, {ok, cancel}));
}

// The name of a field in a message: its row's label, and the value's place
// when the parameter has several ("Idle RPM Logic (value 2)").
static QString FieldName(const EngineParameterSpec& spec, int position) {
  QString label = LabelOf(spec.Key);
  if (label.endsWith(QLatin1Char(':'))) label.chop(1);
  // "Setting:" stands in several rows: the key tells them apart.
  if (label == QLatin1String("Setting")) label = QString::fromLatin1(spec.Key);
  return spec.ValueCount == 1 ? label : QStringLiteral("%1 (value %2)").arg(label).arg(position + 1);
}

void EditEngineSpecsDialog::accept() {
  // Every field must hold a number; the first that does not is refused and
  // nothing is stored.
  ParameterTexts typed = texts_;
  for (int index = 0; index < EngineParameterCount; ++index) {
    const EngineParameterSpec& spec = EngineParameterSpecs[index];
    for (int v = 0; v < spec.ValueCount; ++v) {
      auto* box = findChild<QLineEdit*>(BoxName(spec, v));
      if (!box) continue;
      const QString text = FirstLine(box->text()).left(ParameterTextLength);
      if (text != box->text()) box->setText(text);
      if (!TypedValue(*box, FieldName(spec, v), dialogs_, this)) return;
      typed.Texts[ParameterTextIndex(index, v)] = ToBytes(text);
    }
  }
  texts_ = typed;
  CenteredDialog::accept();
}

// --- Edit Slip Curve Names / Parameters --------------------------------------

EditTireSpecsDialog::EditTireSpecsDialog(EditorDocument& doc, int curveCount, UserDialogs& dialogs, QWidget* parent)
    : CenteredDialog(parent), doc_(doc), curveCount_(curveCount), dialogs_(dialogs) {
  setWindowTitle(QStringLiteral("Edit Slip Curve Names / Parameters"));
  SetDialogFace(*this);
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(this);
  auto* grid = new QGridLayout(group);
  layout->addWidget(group);

  grid->addWidget(new QLabel(QStringLiteral("Name:")), 1, 0);
  grid->addWidget(new QLabel(QStringLiteral("Step:")), 2, 0);
  grid->addWidget(new QLabel(QStringLiteral("Drop Off:")), 3, 0);
  for (int b = 0; b < SlipCurveSlots; ++b) {
    auto* heading = new QLabel(QStringLiteral("(Curve %1)").arg(b + 1));
    heading->setAlignment(Qt::AlignCenter);
    grid->addWidget(heading, 0, b + 1);
    // A name box shows about fifteen characters and scrolls for more.
    const QString number = QString::number(b + 1);
    names_[b] = MakeBox(this, QStringLiteral("nameEdit") + number, SlipNameBoxLength, BoxWidth(*this, 15));
    steps_[b] = MakeBox(this, QStringLiteral("stepEdit") + number, SlipNumberBoxLength, BoxWidth(*this, 15));
    dropoffs_[b] = MakeBox(this, QStringLiteral("dropoffEdit") + number, SlipNumberBoxLength, BoxWidth(*this, 15));
    grid->addWidget(names_[b], 1, b + 1);
    grid->addWidget(steps_[b], 2, b + 1);
    grid->addWidget(dropoffs_[b], 3, b + 1);
  }
  // Tab goes through the boxes curve by curve.
  for (int b = 0; b < SlipCurveSlots; ++b) {
    setTabOrder(names_[b], steps_[b]);
    setTabOrder(steps_[b], dropoffs_[b]);
    if (b + 1 < SlipCurveSlots) setTabOrder(dropoffs_[b], names_[b + 1]);
  }

  QPushButton* cancel = MakeButton(this, "cancelButton", QStringLiteral("Cancel"));
  QPushButton* add = MakeButton(this, "addCurveButton", QStringLiteral("Add"));
  QPushButton* ok = MakeButton(this, "okButton", QStringLiteral("OK"));
  ok->setDefault(true);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(add, &QPushButton::clicked, this, &EditTireSpecsDialog::AddCurve);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(MakeButtonRow(this, {cancel, add, ok}));

  FillGrid();
}

void EditTireSpecsDialog::FillGrid() {
  for (int b = 0; b < SlipCurveSlots; ++b) {
    const bool used = b < curveCount_;
    for (QLineEdit* box : {names_[b], steps_[b], dropoffs_[b]}) {
      box->clear();
      box->setReadOnly(!used);
      // A box that takes no input shows the dialog's face, not a white field.
      QPalette look = box->palette();
      look.setColor(QPalette::Base, used ? palette().color(QPalette::Base) : palette().color(QPalette::Window));
      box->setPalette(look);
    }
    if (!used) continue;
    const SlipHeaderTexts texts = ShowSlipHeader(doc_.SlipCurves[b]);
    SetLimitedText(*names_[b], FromBytes(texts.Name), SlipNameBoxLength);
    SetLimitedText(*steps_[b], FromBytes(texts.Step), SlipNumberBoxLength);
    SetLimitedText(*dropoffs_[b], FromBytes(texts.Dropoff), SlipNumberBoxLength);
    for (QLineEdit* box : {names_[b], steps_[b], dropoffs_[b]}) box->setCursorPosition(0);
  }
}

void EditTireSpecsDialog::AddCurve() {
  if (curveCount_ >= SlipCurveSlots) return;
  curveCount_ = AddSlipCurve(doc_, curveCount_);
  FillGrid();
}

void EditTireSpecsDialog::accept() {
  // Every step and drop-off in use must be a number; the first that is not
  // is refused and nothing is stored.
  for (int b = 0; b < curveCount_; ++b) {
    const QString curve = QStringLiteral(" of curve %1").arg(b + 1);
    if (!TypedValue(*steps_[b], QStringLiteral("Step") + curve, dialogs_, this)) return;
    if (!TypedValue(*dropoffs_[b], QStringLiteral("Drop Off") + curve, dialogs_, this)) return;
  }
  for (int b = 0; b < curveCount_; ++b) {
    StoreSlipHeader(doc_.SlipCurves[b], ToBytes(names_[b]->text()), ToBytes(steps_[b]->text()),
                    ToBytes(dropoffs_[b]->text()));
  }
  CenteredDialog::accept();
}

}  // namespace dyno
