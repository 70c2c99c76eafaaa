#include "gui/files/ParameterDialogs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

#include "core/document/EditorDocument.h"
#include "core/files/EngineParameters.h"
#include "core/files/ParameterEdits.h"

namespace dyno {

namespace {

constexpr int IdOk = 1;
constexpr int IdCancel = 2;
constexpr int IdAddCurve = 22358;
constexpr int FirstNameBox = 22360;
constexpr int FirstStepBox = 22364;
constexpr int FirstDropoffBox = 22368;

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

const EngineParameterSpec& SpecOf(std::string_view key) {
  for (const EngineParameterSpec& spec : EngineParameterSpecs) {
    if (spec.Key == key) return spec;
  }
  return EngineParameterSpecs[0];  // not reached: every key of the rows is in the table
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

QLineEdit* MakeBox(QWidget* parent, int id, int characters, int width) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::number(id));
  box->setMaxLength(characters);
  box->setFixedWidth(width);
  return box;
}

QPushButton* MakeButton(QWidget* parent, int id, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::number(id));
  button->setAutoDefault(false);
  return button;
}

// The buttons at the bottom right, in the order given.
void AddButtonRow(QVBoxLayout* layout, std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (QPushButton* button : buttons) row->addWidget(button);
  layout->addLayout(row);
}

// The text of an edit box up to its first line end.
QString FirstLine(const QString& text) {
  const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
  return end < 0 ? text : text.left(end);
}

}  // namespace

// --- Edit Engine Parameters --------------------------------------------------

EditEngineSpecsDialog::EditEngineSpecsDialog(ParameterTexts& texts, QWidget* parent)
    : CenteredDialog(parent), texts_(texts) {
  setWindowTitle(QStringLiteral("Edit Engine Parameters"));
  SetDialogFace(*this);
  auto* layout = new QVBoxLayout(this);

  const int boxWidth = BoxWidth(*this, ParameterTextLength);
  int labelWidth[2] = {0, 0};  // of the left and the right halves
  for (const ParameterRow& line : ParameterRows) {
    labelWidth[0] = std::max(labelWidth[0], fontMetrics().horizontalAdvance(QString::fromLatin1(SpecOf(line.Left).DialogLabel)));
    if (line.Right) {
      labelWidth[1] = std::max(labelWidth[1], fontMetrics().horizontalAdvance(QString::fromLatin1(SpecOf(line.Right).DialogLabel)));
    }
  }

  QGridLayout* grid = nullptr;
  int group = 0;
  int row = 0;
  const auto addParameter = [&](const char* key, int column) {
    const EngineParameterSpec& spec = SpecOf(key);
    grid->addWidget(new QLabel(QString::fromLatin1(spec.DialogLabel)), row, column);
    for (int v = 0; v < spec.ValueCount; ++v) {
      QLineEdit* box = MakeBox(this, spec.ControlIds[v], ParameterTextLength, boxWidth);
      if (const std::string* text = texts_.ForControl(spec.ControlIds[v])) {
        SetLimitedText(*box, FromBytes(*text), ParameterTextLength);
      }
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

  QPushButton* ok = MakeButton(this, IdOk, QStringLiteral("OK"));
  QPushButton* cancel = MakeButton(this, IdCancel, QStringLiteral("Cancel"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  AddButtonRow(layout, {ok, cancel});
}

void EditEngineSpecsDialog::accept() {
  for (const EngineParameterSpec& spec : EngineParameterSpecs) {
    for (int v = 0; v < spec.ValueCount; ++v) {
      const auto* box = findChild<QLineEdit*>(QString::number(spec.ControlIds[v]));
      std::string* text = texts_.ForControl(spec.ControlIds[v]);
      if (box && text) *text = ToBytes(FirstLine(box->text()).left(ParameterTextLength));
    }
  }
  CenteredDialog::accept();
}

// --- Edit Slip Curve Names / Parameters --------------------------------------

EditTireSpecsDialog::EditTireSpecsDialog(EditorDocument& doc, int curveCount, QWidget* parent)
    : CenteredDialog(parent), doc_(doc), curveCount_(curveCount) {
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
    names_[b] = MakeBox(this, FirstNameBox + b, SlipNameBoxLength, BoxWidth(*this, 15));
    steps_[b] = MakeBox(this, FirstStepBox + b, SlipNumberBoxLength, BoxWidth(*this, 15));
    dropoffs_[b] = MakeBox(this, FirstDropoffBox + b, SlipNumberBoxLength, BoxWidth(*this, 15));
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

  QPushButton* cancel = MakeButton(this, IdCancel, QStringLiteral("Cancel"));
  QPushButton* add = MakeButton(this, IdAddCurve, QStringLiteral("Add"));
  QPushButton* ok = MakeButton(this, IdOk, QStringLiteral("OK"));
  ok->setDefault(true);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(add, &QPushButton::clicked, this, &EditTireSpecsDialog::AddCurve);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  AddButtonRow(layout, {cancel, add, ok});

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
  for (int b = 0; b < curveCount_; ++b) {
    StoreSlipHeader(doc_.SlipCurves[b], ToBytes(names_[b]->text()), ToBytes(steps_[b]->text()),
                    ToBytes(dropoffs_[b]->text()));
  }
  CenteredDialog::accept();
}

}  // namespace dyno
