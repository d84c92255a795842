// The drawing of a finished run's first sheet, on a layout made by hand: the
// demo problem with one piece of each kind committed at known places, so that
// every pixel the drawing should produce can be worked out here.
#include <QImage>
#include <QtTest>

#include "demo/canvas.h"
#include "demo/demo_problem.h"
#include "demo/layout_drawing.h"

using namespace varnest;
using namespace varnest::demo;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
constexpr int kSize = 615;

// The sheet's box is set by hand to 0 .. 300 both ways: scale 615 / 300.
constexpr double kScale = 615.0 / 300.0;
QPoint Map(double x, double y) {
  return {static_cast<int>(x * kScale), kSize - static_cast<int>(y * kScale)};
}

bool ColourNear(const QImage& image, QPoint p, QRgb colour, int reach) {
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const QPoint q(p.x() + dx, p.y() + dy);
      if (image.valid(q) && image.pixel(q) == colour) return true;
    }
  }
  return false;
}

TPolygon Shifted(std::initializer_list<TPoint2D> points, double dx, double dy) {
  TPolygon polygon(static_cast<int32_t>(points.size()));
  size_t i = 0;
  for (const TPoint2D& p : points) {
    polygon.FVertices[i] = TPolygonVertex{static_cast<int32_t>(i), p.X + dx, p.Y + dy};
    ++i;
  }
  return polygon;
}

void MakeArc(TPolygon& polygon, size_t edge, double cx, double cy, uint8_t clockwise) {
  polygon.FArcs[edge].IsArc = 1;
  polygon.FArcs[edge].Center = TPoint2D{cx, cy};
  polygon.FArcs[edge].Clockwise = clockwise;
}

// Stands in for a run: the demo problem as defined, with the box the input
// check would measure replaced by a round one, and one committed layout of
// an L part at (100, 150), an arc part with its hole at (150, 200) and a
// circle part at (60, 240).
void CommitHandMadeLayout(TVarnest2D& engine) {
  stock2d_any& stock = engine.FStocks[0];
  stock.FOutline->FMinX = 0.0;
  stock.FOutline->FMinY = 0.0;
  stock.FOutline->FMaxX = 300.0;
  stock.FOutline->FMaxY = 300.0;
  stock.FNetArea = 1000.0;

  Chromosome layout;
  layout.FStockIndex = 0;
  layout.FPlacedArea = 250.0;

  TPiece_any l;
  l.FPartIndex = 0;
  l.FPosition = {100, 150};
  l.FPlacedOutline = Shifted({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}}, 100, 150);
  layout.FPieces.push_back(l);

  TPiece_any b;
  b.FPartIndex = 20;
  b.FPosition = {150, 200};
  b.FPlacedOutline = Shifted({{20, 0}, {60, 40}, {20, 80}, {0, 40}}, 150, 200);
  MakeArc(*b.FPlacedOutline, 1, 190, 260, 0);
  TTrueHole hole;
  hole.FShape.FShapeType = 0;
  hole.FShape.FPolygon = Shifted({{30, 30}, {50, 40}, {20, 60}, {10, 40}}, 150, 200);
  MakeArc(*hole.FShape.FPolygon, 0, 190, 235, 0);
  b.FPlacedHoles.push_back(hole);
  layout.FPieces.push_back(b);

  TPiece_any c;
  c.FShapeType = 1;
  c.FPartIndex = 40;
  c.FPosition = {40, 210};
  c.FPlacedCircle = TCircle(TPoint2D{60, 240}, 10);
  layout.FPieces.push_back(c);

  engine.FSolution.FLayouts.Append(layout);
}

}  // namespace

class DrawingTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void drawsEveryKindOfPiece();
  void unusedSheetDrawsNothing();
  void sheetWithoutExtentDrawsNothing();
};

void DrawingTest::drawsEveryKindOfPiece() {
  TVarnest2D engine;
  DefineDemoProblem(engine, {});
  CommitHandMadeLayout(engine);
  QImage image(kSize, kSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  TCanvas canvas(image);
  QVERIFY(DrawFirstSheet(engine, canvas, kSize, kSize));

  struct TPixel {
    const char* what;
    double x, y;
    QRgb colour;
    bool present;
  };
  const TPixel pixels[] = {
      // The stock: black outline, red defects with white insides.
      {"stock vertex", 250, 200, kBlack, true},
      {"stock vertex", 10, 290, kBlack, true},
      {"stock arc edge, bulging into the sheet", 270 - 53.85165, 150, kBlack, true},
      {"stock arc edge, not its other half", 270 + 53.85165, 150, kBlack, false},
      {"defect outline", 180, 100, kRed, true},
      {"defect outline", 110, 180, kRed, true},
      {"defect inside", 160, 100, kRed, false},
      // The L part, in black.
      {"L part bottom edge", 110, 150, kBlack, true},
      {"L part notch edge", 115, 160, kBlack, true},
      {"L part inside", 104, 155, kBlack, false},
      // The arc part: black outline whose arc bulges out through (60, 80)
      // of the part, the hole in blue.
      {"arc part straight edge", 160, 220, kBlack, true},
      {"arc part arc, outer side", 210, 280, kBlack, true},
      {"hole straight edge", 185, 250, kBlue, true},
      // The hole's arc about (190, 235), radius sqrt(125), runs
      // counter-clockwise from (180, 230) to (200, 240): under its chord.
      {"hole arc, under its chord", 190, 235 - 11.18034, kBlue, true},
      {"hole arc, not over its chord", 190 - 7.90569, 235 + 7.90569, kBlue, false},
      // The circle part: black outline filled white.
      {"circle outline", 70, 240, kBlack, true},
      {"circle inside", 60, 240, kBlack, false},
  };
  for (const TPixel& p : pixels) {
    const QPoint at = Map(p.x, p.y);
    QVERIFY2(ColourNear(image, at, p.colour, 2) == p.present,
             qPrintable(QStringLiteral("%1 at (%2, %3) -> (%4, %5)")
                            .arg(QLatin1String(p.what))
                            .arg(p.x)
                            .arg(p.y)
                            .arg(at.x())
                            .arg(at.y())));
  }
  QCOMPARE(image.pixel(Map(60, 240)), kWhite);
  QCOMPARE(image.pixel(Map(160, 100)), kWhite);
  // The pen ends black and thin, so the next drawing starts the same way.
  QCOMPARE(canvas.PenColor(), QColor(Qt::black));
  QCOMPARE(canvas.PenWidth(), 1);
  QCOMPARE(canvas.BrushColor(), QColor(Qt::white));
}

void DrawingTest::unusedSheetDrawsNothing() {
  TVarnest2D engine;
  DefineDemoProblem(engine, {});
  QImage image(kSize, kSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  const QImage before = image;
  TCanvas canvas(image);
  QVERIFY(!DrawFirstSheet(engine, canvas, kSize, kSize));
  QCOMPARE(image, before);
}

void DrawingTest::sheetWithoutExtentDrawsNothing() {
  // A committed layout whose stock box was never measured (all 0): the
  // scale would be a division by zero.
  TVarnest2D engine;
  DefineDemoProblem(engine, {});
  Chromosome layout;
  layout.FStockIndex = 0;
  engine.FSolution.FLayouts.Append(layout);
  QImage image(kSize, kSize, QImage::Format_RGB32);
  image.fill(Qt::white);
  const QImage before = image;
  TCanvas canvas(image);
  QVERIFY(!DrawFirstSheet(engine, canvas, kSize, kSize));
  QCOMPARE(image, before);
}

QTEST_MAIN(DrawingTest)
#include "drawing_test.moc"
