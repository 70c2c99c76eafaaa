#include <QElapsedTimer>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "core/chart/ChartGeometry.h"
#include "core/editing/EditorState.h"
#include "gui/PixelTesting.h"
#include "gui/chart/ChartPainter.h"
#include "support/FakeHost.h"
#include "support/SampleCurves.h"

namespace dyno {
namespace {

using test::CountDark;
using test::CountNear;
using test::DarkBounds;
using test::Hex;
using test::Pixel;

const QRgb Background = qRgb(96, 96, 96);
// System colours unlike any fixed colour of the view, to tell them apart.
const QColor WindowText(16, 32, 48);
const QColor WindowFace(250, 245, 230);

const std::string Black = Hex(0, 0, 0);
const std::string White = Hex(255, 255, 255);
const std::string Gray = Hex(128, 128, 128);
const std::string LightGray = Hex(192, 192, 192);
const std::string Yellow = Hex(255, 255, 0);
const std::string Red = Hex(255, 0, 0);
const std::string Navy = Hex(0, 0, 128);
const std::string PlotFace = Hex(96, 160, 192);
const std::string Face = Hex(250, 245, 230);
const std::string TextColour = Hex(16, 32, 48);

// An editor showing the sample engine curve, painted into an image of the
// client area's size.
struct View {
  explicit View(int width = 800, int height = 600)
      : st(std::make_unique<EditorState>(host, width, height)), image(width, height, QImage::Format_RGB32) {
    ResizeView(st->View, width, height);
    test::FillSampleEngineCurve(st->Doc);
  }

  int Paint(const QRect& rect = QRect(), bool erase = false, bool printing = false) {
    image.fill(Background);
    return PaintOver(rect, erase, printing);
  }
  int PaintOver(const QRect& rect, bool erase = false, bool printing = false) {
    QPainter painter(&image);
    return PaintEditorView(painter, *st,
                           {rect.isNull() ? image.rect() : rect, erase, image.size(), WindowText, WindowFace, printing});
  }

  std::string At(int x, int y) const { return Pixel(image, x, y); }
  const ChartLayout& chart() const { return st->Chart; }
  EditorDocument& doc() { return st->Doc; }
  InteractionState& ui() { return st->Ui; }

  test::FakeHost host;
  std::unique_ptr<EditorState> st;
  QImage image;
};

TEST(PaintEditorView, FillsThePlotWithItsFaceInsideTheFrame) {
  View v;
  v.Paint();
  const ChartLayout& c = v.chart();
  ASSERT_EQ(c.GridTop, 42);
  ASSERT_EQ(c.AxisBaseY, 542);
  EXPECT_EQ(v.At(c.GridLeft + 1, c.GridTop - 1), PlotFace);
  EXPECT_EQ(v.At(c.GridRight - 1, c.AxisBaseY - 1), PlotFace);
  EXPECT_EQ(v.At(c.GridLeft + 3, c.GridTop + 5), PlotFace);
  // The frame: black outline, white and gray inner edges, panel gap.
  EXPECT_EQ(v.At(c.PlotLeft - 2, c.PlotTop + 50), Black);
  EXPECT_EQ(v.At(c.PlotLeft - 1, c.PlotTop + 50), White);
  EXPECT_EQ(v.At(c.PlotLeft, c.PlotTop + 50), LightGray);
  EXPECT_EQ(v.At(c.GridLeft - 1, c.PlotTop + 50), LightGray);
  EXPECT_EQ(v.At(c.PlotRight + 2, c.PlotTop + 50), Black);
  EXPECT_EQ(v.At(c.PlotRight + 1, c.PlotTop + 50), Gray);
  EXPECT_EQ(v.At(c.GridRight + 1, c.PlotTop + 50), LightGray);
  EXPECT_EQ(v.At(c.PlotLeft + 50, c.PlotTop - 4), Black);
  EXPECT_EQ(v.At(c.PlotLeft + 50, c.PlotTop - 3), White);
  EXPECT_EQ(v.At(c.PlotLeft + 50, c.PlotBottom + 2), Black);
  EXPECT_EQ(v.At(c.PlotLeft + 50, c.PlotBottom + 1), Gray);
  EXPECT_EQ(v.At(c.GridLeft + 1, c.AxisBaseY + 1), LightGray);
}

TEST(PaintEditorView, DrawsWhiteGridLinesAtTheMappedRowsAndPoints) {
  View v;
  v.Paint();
  const ChartLayout& c = v.chart();
  ASSERT_EQ(c.AxisMin, -300.0);
  ASSERT_EQ(c.AxisMax, 500.0);
  const QRgb white = qRgb(255, 255, 255);
  for (int value = -300; value <= 500; value += 50) {
    const int y = MapValueToY(c, value);
    // Curves cross the lines here and there; the rest is white.
    EXPECT_GE(CountNear(v.image, QRect(c.GridLeft, y, c.PlotWidth, 1), white), c.PlotWidth - 16) << value;
    EXPECT_EQ(v.At(c.GridLeft - 3, y), LightGray) << value;
  }
  // Every second point has a line (41 points); the others only crossings.
  for (int i = 0; i < 40; ++i) {
    const int whites = CountNear(v.image, QRect(c.PointX[i], c.GridTop + 1, 1, c.PlotHeight), white);
    if (i % 2 == 0) {
      EXPECT_GE(whites, c.PlotHeight - 12) << i;
    } else {
      EXPECT_LE(whites, 17 + 2) << i;
    }
  }
  EXPECT_EQ(v.At(c.PointX[2], c.AxisBaseY), White);
  // Nothing reaches above the top grid line.
  EXPECT_EQ(v.At(c.PointX[38], c.GridTop - 1), PlotFace);
  EXPECT_EQ(v.At(c.PointX[40], c.GridTop - 1), LightGray);
  EXPECT_EQ(v.At(c.PointX[40], c.GridTop), White);
}

TEST(PaintEditorView, ClosesTheGridAtTheLastPointWhateverTheLabelStep) {
  View v;
  test::UseTireView(v.doc(), 1);
  v.Paint();
  const ChartLayout& c = v.chart();
  ASSERT_EQ(c.LabelStep, 21);
  const QRgb white = qRgb(255, 255, 255);
  // Lines at 0, 21, ... 231 and at 236, which has no label.
  EXPECT_GE(CountNear(v.image, QRect(c.PointX[231], c.GridTop + 1, 1, c.PlotHeight), white), c.PlotHeight - 4);
  EXPECT_GE(CountNear(v.image, QRect(c.PointX[236], c.GridTop, 1, c.PlotHeight + 1), white), c.PlotHeight - 4);
  EXPECT_LE(CountNear(v.image, QRect(c.PointX[233], c.GridTop + 1, 1, c.PlotHeight), white), 14);
  EXPECT_EQ(CountDark(v.image, QRect(c.PointX[236] - 4, c.PlotBottom + 5, 9, 30)), 0);
  EXPECT_GT(CountDark(v.image, QRect(c.PointX[231] - 4, c.PlotBottom + 5, 9, 30)), 5);
}

TEST(PaintEditorView, DrawsTheThreeEngineCurvesThroughTheirPoints) {
  View v;
  v.Paint();
  const ChartLayout& c = v.chart();
  ASSERT_EQ(c.PointCount, 41);
  for (int i = 0; i < 41; ++i) {
    // Compression is drawn last; torque and power where nothing covers them.
    EXPECT_EQ(v.At(c.PointX[i], c.CompressionY[i]), Navy) << i;
    EXPECT_EQ(v.At(c.PointX[i], c.PowerY[i]), Red) << i;
    if (std::abs(c.TorqueY[i] - c.PowerY[i]) > 8) {
      EXPECT_EQ(v.At(c.PointX[i], c.TorqueY[i]), Yellow) << i;
    }
  }
}

TEST(PaintEditorView, ChoosesOneOrTwoPixelPensByPointsPerPlotWidth) {
  for (int rows : {300, 200}) {
    View v(901, 600);  // a plot 500 pixels wide
    test::FillFlatEngineCurve(v.doc(), rows, 300.0, -50.0);
    v.Paint();
    const ChartLayout& c = v.chart();
    ASSERT_EQ(c.PlotWidth, 500);
    const int i = rows / 2 + 1;
    const int x = c.PointX[i];
    const int y = c.TorqueY[i];
    const int thickness = CountNear(v.image, QRect(x, y - 4, 1, 9), qRgb(255, 255, 0));
    const int last = rows - 1;
    if (rows == 300) {
      EXPECT_EQ(thickness, 1);
      // A thin line leaves out its last point.
      EXPECT_NE(v.At(c.PointX[last], c.TorqueY[last]), Yellow);
      EXPECT_EQ(v.At(c.PointX[last] - 1, c.TorqueY[last]), Yellow);
    } else {
      EXPECT_EQ(thickness, 2);
      EXPECT_EQ(v.At(c.PointX[last], c.TorqueY[last]), Yellow);
    }
  }
}

// The raised style on one rectangle.
void ExpectRaisedPanel(const View& v, const Rect& r, const char* what) {
  EXPECT_EQ(v.At(r.left, r.top), Black) << what;
  EXPECT_EQ(v.At(r.right, r.bottom), Black) << what;
  EXPECT_EQ(v.At(r.left, r.bottom - 3), Black) << what;
  EXPECT_EQ(v.At(r.right, r.top + 3), Black) << what;
  EXPECT_EQ(v.At(r.left + 1, r.top + 3), White) << what;
  EXPECT_EQ(v.At(r.left + 3, r.top + 1), White) << what;
  EXPECT_EQ(v.At(r.right - 1, r.top + 1), White) << what;
  EXPECT_EQ(v.At(r.right - 1, r.top + 3), Gray) << what;
  EXPECT_EQ(v.At(r.left + 3, r.bottom - 1), Gray) << what;
  EXPECT_EQ(v.At(r.left + 1, r.bottom - 1), Gray) << what;
  EXPECT_EQ(v.At(r.left + 2, r.top + 2), LightGray) << what;
}

TEST(PaintEditorView, OutlinesTheHeaderCellsAndPanels) {
  View v;
  v.Paint();
  for (std::size_t k = 0; k + 1 < EngineColumnEdges.size(); ++k) {
    ExpectRaisedPanel(v, HeaderCellRect(EngineColumnEdges[k], EngineColumnEdges[k + 1]), "engine header");
  }
  ExpectRaisedPanel(v, TitlePanelRect(800), "title");
  ExpectRaisedPanel(v, ChartPanelRect(800, 600), "chart panel");
  EXPECT_EQ(v.At(799, 10), Hex(96, 96, 96));  // nothing drawn in the last column

  // The value box groove: black, light gray, white, light gray, white/gray.
  EXPECT_EQ(v.At(283, 12), Black);
  EXPECT_EQ(v.At(284, 12), White);
  EXPECT_EQ(v.At(285, 12), LightGray);
  EXPECT_EQ(v.At(286, 12), Gray);
  EXPECT_EQ(v.At(352, 12), White);
  EXPECT_EQ(v.At(353, 12), LightGray);
  EXPECT_EQ(v.At(354, 12), LightGray);
  EXPECT_EQ(v.At(355, 12), Black);

  v.doc().TireMode = true;
  v.doc().EngineMode = false;
  v.doc().RowCount = 237;
  v.Paint();
  for (std::size_t k = 0; k + 1 < TireColumnEdges.size(); ++k) {
    ExpectRaisedPanel(v, HeaderCellRect(TireColumnEdges[k], TireColumnEdges[k + 1]), "tire header");
  }
}

TEST(PaintEditorView, SinksTheTableWellWithTheWindowColour) {
  View v;
  test::FillSampleEngineCurve(v.doc(), 10);
  v.Paint();
  EXPECT_EQ(v.At(0, 25), White);
  EXPECT_EQ(v.At(1, 26), Gray);
  EXPECT_EQ(v.At(2, 27), Black);
  EXPECT_EQ(v.At(3, 28), Face);
  EXPECT_EQ(v.At(100, 400), Face);
  EXPECT_EQ(v.At(280, 300), Black);
  EXPECT_EQ(v.At(279, 300), LightGray);
  EXPECT_EQ(v.At(278, 300), White);
  EXPECT_EQ(v.At(277, 300), LightGray);
  EXPECT_EQ(v.At(276, 300), Face);
  EXPECT_EQ(v.At(100, 599), LightGray);
  EXPECT_EQ(v.At(100, 598), White);
  EXPECT_EQ(v.At(100, 597), LightGray);
  EXPECT_EQ(v.At(100, 596), Face);
  EXPECT_EQ(CountNear(v.image, QRect(4, 200, 270, 300), qRgb(250, 245, 230)), 270 * 300);
}

TEST(PaintEditorView, WritesOnlyTheRowsThatFitTheTable) {
  View v;  // 41 rows, 40 lines
  ASSERT_EQ(v.st->View.VisibleRows, 40);
  v.Paint();
  // Row i sits in the band of line i; nothing below the last line.
  EXPECT_GT(CountDark(v.image, QRect(4, TableLineTop(39), 270, 14)), 20);
  EXPECT_EQ(CountDark(v.image, QRect(4, TableLineTop(40), 270, 8)), 0);
  // The RPM column holds "9750.0" in line 39, the window text colour.
  const QRect rpm = DarkBounds(v.image, QRect(4, TableLineTop(39), 57, 14));
  EXPECT_LE(rpm.right(), EngineRpmTextX - 1);
  EXPECT_GT(CountNear(v.image, QRect(4, TableLineTop(39), 57, 14), qRgb(16, 32, 48), 8), 5);

  v.st->View.FirstVisibleRow = 1;
  v.Paint();
  const QRect top = DarkBounds(v.image, QRect(4, TableLineTop(39), 57, 14));
  EXPECT_LT(top.left(), rpm.left());  // "10000.0" is wider
}

TEST(PaintEditorView, YellowsTheSelectedCellsIndependently) {
  View v;
  v.ui().TorqueSelected = true;
  v.ui().SelectedIndex = 3;  // band 70 to 83
  v.Paint();
  EXPECT_EQ(v.At(162, 72), Yellow);
  EXPECT_EQ(v.At(161, 75), Black);
  EXPECT_EQ(v.At(221, 75), Black);
  EXPECT_EQ(v.At(190, 70), Black);
  EXPECT_EQ(v.At(190, 83), Black);
  EXPECT_EQ(v.At(190, 84), Face);
  EXPECT_EQ(v.At(62, 72), Face);

  v.ui().TorqueSelected = false;
  v.ui().CompressionSelected = true;
  v.Paint();
  EXPECT_EQ(v.At(62, 72), Yellow);
  EXPECT_EQ(v.At(61, 75), Black);
  EXPECT_EQ(v.At(162, 72), Face);
  EXPECT_EQ(v.At(161, 75), Black);  // the compression cell's right edge

  v.ui().TorqueSelected = true;
  v.Paint();
  EXPECT_EQ(v.At(62, 72), Yellow);
  EXPECT_EQ(v.At(162, 72), Yellow);
}

TEST(PaintEditorView, KeepsAHighlightScrolledOutOfTheTableOffTheHeader) {
  View v;
  v.ui().CompressionSelected = true;
  v.ui().SelectedIndex = 3;
  v.st->View.FirstVisibleRow = 5;
  v.Paint();
  EXPECT_EQ(CountNear(v.image, QRect(0, 0, 283, 28), qRgb(255, 255, 0)) -
                CountNear(v.image, QRect(161, 0, 60, 28), qRgb(255, 255, 0)),
            0);
  v.ui().SelectedIndex = std::numeric_limits<int>::max();
  v.st->View.FirstVisibleRow = std::numeric_limits<int>::min() + 1;
  v.Paint();
  EXPECT_EQ(CountNear(v.image, QRect(62, 0, 98, 600), qRgb(255, 255, 0)), 0);
}

TEST(PaintEditorView, LabelsTheValueAxisOnBothSidesAndThePointsDownwards) {
  View v;
  v.Paint();
  const ChartLayout& c = v.chart();
  const int y = MapValueToY(c, -100);
  // " -100", right-aligned at PlotLeft - 5 and at Right - 7, between the
  // panel edges.
  const QRect left = DarkBounds(v.image, QRect(308, y - 5, c.PlotLeft - 5 - 308, 14));
  ASSERT_FALSE(left.isEmpty());
  EXPECT_LE(left.right(), c.PlotLeft - 6);
  EXPECT_GE(left.right(), c.PlotLeft - 8);
  EXPECT_GE(left.top(), y - 5);
  const QRect right = DarkBounds(v.image, QRect(c.PlotRight + 3, y - 5, 800 - 7 - (c.PlotRight + 3), 14));
  ASSERT_FALSE(right.isEmpty());
  EXPECT_LE(right.right(), 800 - 8);
  EXPECT_EQ(right.width(), left.width());
  EXPECT_EQ(right.height(), left.height());

  // "500" under point 2: three characters, 8 pixels apart, right-aligned
  // at PointX + 5; nothing under point 1.
  const QRect label = DarkBounds(v.image, QRect(c.PointX[2] - 4, c.PlotBottom + 5, 9, 40));
  ASSERT_FALSE(label.isEmpty());
  EXPECT_LE(label.right(), c.PointX[2] + 4);
  EXPECT_GE(label.height(), 16 + 6);
  EXPECT_LE(label.bottom(), c.PlotBottom + 5 + 24 + 1);
  EXPECT_EQ(CountDark(v.image, QRect(c.PointX[1] - 2, c.PlotBottom + 5, 6, 40)), 0);
  // "10000" under the last point, five characters down.
  const QRect last = DarkBounds(v.image, QRect(c.PointX[40] - 4, c.PlotBottom + 5, 9, 50));
  EXPECT_GE(last.bottom(), c.PlotBottom + 5 + 32 + 6);
}

TEST(PaintEditorView, DrawsTheButtonsGrayAndRaisedWithoutAValue) {
  View v(1024, 768);  // narrower, the title runs over the buttons
  v.ui().ValueShown = false;
  v.ui().UpRaised = false;
  v.ui().DownRaised = false;
  v.Paint();
  ExpectRaisedPanel(v, UpButtonDrawnRect, "up");
  ExpectRaisedPanel(v, DownButtonDrawnRect, "down");
  EXPECT_EQ(v.At(362, 9), Gray);   // up arrow, widest row
  EXPECT_EQ(v.At(366, 5), Gray);   // its tip
  EXPECT_EQ(v.At(368, 5), LightGray);
  EXPECT_EQ(v.At(362, 10), White);  // emboss under it
  EXPECT_EQ(v.At(372, 10), White);
  EXPECT_EQ(v.At(373, 10), LightGray);
  EXPECT_EQ(v.At(362, 17), Gray);  // down arrow
  EXPECT_EQ(v.At(367, 21), Gray);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(v.At(369 + k, 21 - k), White) << k;
  EXPECT_EQ(v.At(373, 17), LightGray);

  v.ui().ValueShown = true;
  v.ui().DownRaised = true;
  v.Paint();
  // Up pressed: light right edge, window-text inner top-left; Down raised.
  EXPECT_EQ(v.At(356, 5), Black);
  EXPECT_EQ(v.At(378, 5), LightGray);
  EXPECT_EQ(v.At(357, 5), TextColour);
  EXPECT_EQ(v.At(362, 9), Black);
  EXPECT_EQ(v.At(362, 10), LightGray);
  EXPECT_EQ(v.At(378, 18), Black);
  EXPECT_EQ(v.At(362, 17), Black);
  EXPECT_EQ(v.At(370, 20), LightGray);
}

TEST(PaintEditorView, BendModeMakesTheTireButtonsActive) {
  View v(1024, 768);
  test::UseTireView(v.doc(), 1);
  v.doc().BendActive = true;
  v.ui().ValueShown = false;
  v.ui().DownRaised = false;
  v.Paint();
  EXPECT_EQ(v.At(362, 9), Black);
  EXPECT_EQ(v.At(362, 17), Black);
  EXPECT_EQ(v.At(378, 18), LightGray);  // down pressed
  EXPECT_EQ(v.At(378, 5), Black);       // up raised

  v.doc().BendActive = false;
  v.Paint();
  EXPECT_EQ(v.At(362, 17), Gray);
  EXPECT_EQ(v.At(378, 18), Black);
}

TEST(PaintEditorView, KeepsALongTitleInsideItsPanel) {
  View v(700, 500);  // far too narrow for the engine title
  v.Paint();
  const QRect beforePanel(283, 1, 380 - 283, 24);  // value box groove and buttons
  EXPECT_EQ(CountNear(v.image, beforePanel, WindowText.rgb(), 40), 0);
  EXPECT_EQ(v.At(362, 9), Gray);  // the up arrow is not written over
  const QRect panel(380, 2, 700 - 3 - 380, 21);
  EXPECT_GT(CountNear(v.image, panel, WindowText.rgb(), 40), 50);  // the title shows where it fits

  View wide(1600, 600);  // room enough: the whole title, centred
  wide.Paint();
  const QRect text = DarkBounds(wide.image, QRect(380, 2, 1600 - 3 - 380, 21));
  EXPECT_NEAR((text.left() + text.right()) / 2, (283 + 1598) / 2, 3);
}

TEST(PaintEditorView, ColoursTheTireTitleByTheCurrentSlot) {
  const QRgb colours[4] = {qRgb(0, 128, 0), qRgb(255, 255, 0), qRgb(255, 0, 0), qRgb(0, 0, 128)};
  View v;
  test::UseTireView(v.doc(), 4);
  const QRect title(381, 3, 415, 19);
  for (int slot = 0; slot < 4; ++slot) {
    v.doc().CurrentSlipCurve = slot;
    v.Paint();
    for (int other = 0; other < 4; ++other) {
      const int count = CountNear(v.image, title, colours[other], 24);
      if (other == slot) {
        EXPECT_GT(count, 40) << slot;
      } else {
        EXPECT_EQ(count, 0) << slot << " " << other;
      }
    }
    // Only the current curve is drawn, in its colour.
    const ChartLayout& c = v.chart();
    const QRgb curve = colours[slot];
    EXPECT_EQ(v.At(c.PointX[100], c.SlipY[100]), Hex(qRed(curve), qGreen(curve), qBlue(curve))) << slot;
  }
}

TEST(PaintEditorView, GraysTheHeadersOfMissingSlipCurvesAndLeavesTheirColumnsEmpty) {
  View v;
  test::UseTireView(v.doc(), 2);
  v.Paint();
  const auto cell = [](int k) {
    return QRect(TireColumnEdges[k] + 3, 3, TireColumnEdges[k + 1] - TireColumnEdges[k] - 5, 19);
  };
  EXPECT_GT(CountNear(v.image, cell(1), qRgb(0, 128, 0), 24), 15);
  EXPECT_GT(CountNear(v.image, cell(2), qRgb(255, 255, 0), 24), 15);
  EXPECT_EQ(CountNear(v.image, cell(3), qRgb(255, 0, 0), 24), 0);
  EXPECT_GT(CountNear(v.image, cell(3), qRgb(128, 128, 128), 16), 15);
  EXPECT_GT(CountNear(v.image, cell(4), qRgb(128, 128, 128), 16), 15);
  // Data 1 and 2 hold samples, Data 3 and 4 nothing.
  EXPECT_GT(CountDark(v.image, QRect(37, 30, 58, 500)), 100);
  EXPECT_GT(CountDark(v.image, QRect(97, 30, 58, 500)), 100);
  EXPECT_EQ(CountDark(v.image, QRect(157, 30, 118, 500)), 0);
}

TEST(PaintEditorView, HighlightsTheSelectedTireCells) {
  View v;
  test::UseTireView(v.doc(), 4);
  v.ui().CurveSelected = {false, true, false, true};
  v.ui().SelectedIndex = 2;  // band 56 to 69
  v.Paint();
  EXPECT_EQ(v.At(98, 57), Yellow);
  EXPECT_EQ(v.At(97, 57), Black);
  EXPECT_EQ(v.At(156, 57), Black);
  EXPECT_EQ(v.At(120, 56), Black);
  EXPECT_EQ(v.At(218, 57), Yellow);
  EXPECT_EQ(v.At(275, 69), Black);
  EXPECT_EQ(v.At(38, 57), Face);
  EXPECT_EQ(v.At(158, 57), Face);
}

TEST(PaintEditorView, DrawsTheTooltipAsAYellowBox) {
  View v;
  v.ui().TipVisible = true;
  v.ui().TipText = "398.5";
  v.ui().TipRect = {500, 200, 540, 214};
  v.Paint();
  EXPECT_EQ(v.At(500, 200), Black);
  EXPECT_EQ(v.At(539, 213), Black);
  EXPECT_EQ(v.At(520, 213), Black);
  EXPECT_NE(v.At(540, 214), Black);
  EXPECT_EQ(v.At(501, 201), Yellow);
  EXPECT_EQ(v.At(538, 212), Yellow);
  const QRect text = DarkBounds(v.image, QRect(501, 201, 38, 12));
  ASSERT_FALSE(text.isEmpty());
  EXPECT_LE(std::abs((520 - text.left()) - (text.right() + 1 - 520)), 3);

  v.ui().TipVisible = false;
  v.Paint();
  EXPECT_NE(v.At(501, 201), Yellow);
}

TEST(PaintEditorView, MarksThePickedPointUnlessItIsDragged) {
  View v;
  v.Paint();
  const int x = 400;
  const int y = MapValueToY(v.chart(), -290);
  v.ui().TorquePicked = true;
  v.ui().SelectedPixel = {x, y};
  v.Paint();
  EXPECT_EQ(CountNear(v.image, QRect(x - 4, y - 4, 9, 9), qRgb(255, 255, 0)), 32);
  EXPECT_EQ(v.At(x - 4, y - 4), Yellow);
  EXPECT_EQ(v.At(x + 4, y + 4), Yellow);
  EXPECT_EQ(v.At(x, y), PlotFace);

  v.ui().Dragging = true;
  v.Paint();
  EXPECT_EQ(CountNear(v.image, QRect(x - 4, y - 4, 9, 9), qRgb(255, 255, 0)), 0);
}

TEST(PaintEditorView, ShowsAnEmptyPlotForFewerThanTwoPoints) {
  for (int rows : {0, 1}) {
    View v;
    test::FillSampleEngineCurve(v.doc(), rows);
    v.Paint();
    const ChartLayout& c = v.chart();
    EXPECT_EQ(CountNear(v.image, QRect(c.GridLeft, c.GridTop - 1, c.PlotWidth, c.PlotHeight + 1), qRgb(96, 160, 192)),
              c.PlotWidth * (c.PlotHeight + 1))
        << rows;
    // The table still shows what there is.
    EXPECT_EQ(CountDark(v.image, QRect(4, TableLineTop(0), 270, 14)) > 0, rows == 1);
  }
}

TEST(PaintEditorView, SurvivesWildValues) {
  View v;
  v.doc().Engine.Torque[10] = 1e300;
  v.doc().Engine.Power[10] = std::numeric_limits<double>::infinity();
  v.doc().Engine.Compression[12] = std::nan("");
  v.doc().Engine.Rpm[14] = -1e308;
  QElapsedTimer timer;
  timer.start();
  v.Paint();
  EXPECT_LT(timer.elapsed(), 2000);
  const ChartLayout& c = v.chart();
  EXPECT_EQ(c.TorqueY[10], std::numeric_limits<int>::min());
  // Torque and power run up out of the plot from point 9 towards point 10.
  const QRect above(c.PointX[9] - 1, c.GridTop, c.PointX[10] - c.PointX[9] + 1, 20);
  EXPECT_GE(CountNear(v.image, above, qRgb(255, 255, 0)) + CountNear(v.image, above, qRgb(255, 0, 0)), 40);

  test::UseTireView(v.doc(), 2);
  v.doc().SlipCurves[1].Samples[5] = -1e300;
  v.doc().SlipCurves[1].Step = 1e300;
  v.Paint();
  EXPECT_EQ(v.At(v.chart().GridLeft + 5, v.chart().GridTop + 3), PlotFace);
}

TEST(PaintEditorView, TouchesOnlyThePaintRectangleAndErasesItOnRequest) {
  View v;
  v.Paint();
  const QRect strip(400, 100, 140, 300);
  v.image.fill(qRgb(255, 0, 255));
  v.PaintOver(strip);
  EXPECT_EQ(CountNear(v.image, v.image.rect(), qRgb(255, 0, 255)), 800 * 600 - 140 * 300);

  // Column 799 lies outside every panel: it shows the erase.
  v.Paint(QRect(700, 0, 100, 600), true);
  EXPECT_EQ(v.At(799, 300), White);
  v.Paint(QRect(700, 0, 100, 600), false);
  EXPECT_EQ(v.At(799, 300), Hex(96, 96, 96));
}

TEST(PaintEditorView, AppliesThePrintingRules) {
  View v;
  v.st->View.ScrollPos = v.st->View.FirstVisibleRow = 1;
  EXPECT_EQ(v.Paint(), 0);
  EXPECT_EQ(v.st->View.FirstVisibleRow, 1);
  EXPECT_EQ(v.Paint(QRect(), false, true), 2);  // 41 rows in blocks of 40
  EXPECT_EQ(v.st->View.FirstVisibleRow, 0);
  EXPECT_EQ(v.st->View.ScrollPos, 0);

  // Page 2 shows row 40 alone.
  BeginPrintedPage(v.st->View, 2);
  v.Paint(QRect(), false, true);
  EXPECT_EQ(v.st->View.FirstVisibleRow, 40);
  EXPECT_GT(CountDark(v.image, QRect(4, TableLineTop(0), 270, 14)), 20);
  EXPECT_EQ(CountDark(v.image, QRect(4, TableLineTop(1), 270, 14)), 0);
  EndPrintedPage(v.st->View);
  EXPECT_EQ(v.st->View.FirstVisibleRow, 0);
}

// A bare window that paints the editor view, as the editor's window does.
class ViewWidget : public QWidget {
 public:
  explicit ViewWidget(EditorState& st) : st_(st) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    PaintEditorView(painter, st_, WindowPaintRequest(*this, event->rect(), false));
  }

 private:
  EditorState& st_;
};

TEST(PaintEditorView, PaintsAWindowWithItsPaletteColours) {
  View v;
  ViewWidget widget(*v.st);
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Base, WindowFace);
  palette.setColor(QPalette::Text, WindowText);
  widget.setPalette(palette);
  widget.resize(800, 600);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  const QImage shot = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shot.size(), QSize(800, 600));
  EXPECT_EQ(v.st->View.ScreenWidth, 801);
  EXPECT_EQ(v.st->View.ScreenHeight, 601);
  EXPECT_EQ(Pixel(shot, 100, 590), Face);
  EXPECT_GT(CountNear(shot, QRect(4, TableLineTop(0), 57, 14), qRgb(16, 32, 48), 8), 5);
  EXPECT_EQ(Pixel(shot, v.chart().GridLeft + 1, v.chart().GridTop + 3), PlotFace);
}

TEST(PaintEditorView, ScalesAsAWholeUnderAPrinterTransform) {
  View v;
  v.Paint();
  const QImage plain = v.image;
  const ChartLayout c = v.chart();

  QImage big(1600, 1200, QImage::Format_RGB32);
  big.fill(Background);
  {
    QPainter painter(&big);
    painter.scale(2, 2);
    PaintEditorView(painter, *v.st, {QRect(0, 0, 800, 600), false, QSize(800, 600), WindowText, WindowFace, false});
  }
  // Lines, panels and fills cover whole 2 x 2 blocks of the pixels they had.
  const QPoint points[] = {{0, 25},   {1, 26},   {2, 27},   {3, 28},           {280, 300},
                           {61, 1},   {62, 3},   {61, 12},  {283, 12},         {284, 12},
                           {286, 12}, {356, 1},  {357, 2},  {c.PlotLeft - 2, 200}, {c.PlotLeft - 1, 200},
                           {c.GridLeft + 1, c.GridTop + 3}, {c.GridLeft + 1, MapValueToY(c, -300)},
                           {c.PointX[4], 300}, {799, 300}};
  for (const QPoint& p : points) {
    const std::string expected = Pixel(plain, p.x(), p.y());
    for (int dy = 0; dy < 2; ++dy) {
      for (int dx = 0; dx < 2; ++dx) {
        EXPECT_EQ(Pixel(big, 2 * p.x() + dx, 2 * p.y() + dy), expected) << p.x() << "," << p.y();
      }
    }
  }
}

TEST(PaintEditorView, PaintsFiveHundredRowsWellWithinAFrame) {
  View v(1920, 1080);
  test::FillSampleEngineCurve(v.doc(), 500, 9980.0);
  std::vector<qint64> ns;
  for (int run = 0; run < 5; ++run) {
    QElapsedTimer timer;
    timer.start();
    v.Paint(QRect(), true);
    ns.push_back(timer.nsecsElapsed());
  }
  std::sort(ns.begin(), ns.end());
  // Typically a few milliseconds; the bound only catches a gross slowdown.
  EXPECT_LT(ns[2] / 1e6, 50.0);
}

}  // namespace
}  // namespace dyno
