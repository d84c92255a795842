// The canvas layer, the number text and the sheet mapping of the demo window.
#include <QImage>
#include <QtTest>
#include <cmath>
#include <limits>

#include "demo/canvas.h"
#include "demo/float_text.h"
#include "demo/layout_drawing.h"

using namespace varnest::demo;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

QImage Blank(int width, int height, QColor color = Qt::white) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

// True when a pixel within `reach` of (x, y) has the colour.
bool ColourNear(const QImage& image, QPoint p, QRgb colour, int reach = 1) {
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const QPoint q(p.x() + dx, p.y() + dy);
      if (image.valid(q) && image.pixel(q) == colour) return true;
    }
  }
  return false;
}

}  // namespace

class CanvasTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void arcConversion_data();
  void arcConversion();
  void arcOfEmptyRectangleIsNothing();
  void arcRunsCounterClockwiseOnScreen();
  void rectangleCoversRightAndBottomExclusive();
  void ellipseIsFilledWithTheBrush();
  void floatToStr_data();
  void floatToStr();
  void pointMappings_data();
  void pointMappings();
  void fitSheet();
  void arcEdgesBulgeToTheirSide_data();
  void arcEdgesBulgeToTheirSide();
};

void CanvasTest::arcConversion_data() {
  QTest::addColumn<QLine>("corners");  // (left, top) to (right, bottom)
  QTest::addColumn<QPoint>("start");
  QTest::addColumn<QPoint>("end");
  QTest::addColumn<int>("startAngle");
  QTest::addColumn<int>("spanAngle");
  QTest::addColumn<QRectF>("rect");

  // A circle of radius 50 about (50, 50); on screen east is 0 degrees and
  // north (smaller y) is 90 degrees.
  const QLine circle(0, 0, 100, 100);
  const QRectF circleRect(0, 0, 100, 100);
  QTest::newRow("quarter, east to north") << circle << QPoint(100, 50) << QPoint(50, 0) << 0
                                          << 16 * 90 << circleRect;
  QTest::newRow("half, north to south") << circle << QPoint(50, 0) << QPoint(50, 100) << 16 * 90
                                        << 16 * 180 << circleRect;
  QTest::newRow("three quarters, east to south")
      << circle << QPoint(100, 50) << QPoint(50, 100) << 0 << 16 * 270 << circleRect;
  QTest::newRow("three quarters, west to north")
      << circle << QPoint(0, 50) << QPoint(50, 0) << 16 * 180 << 16 * 270 << circleRect;
  // The drawing passes the lower-left corner first (y flipped).
  QTest::newRow("corners given bottom-up") << QLine(0, 100, 100, 0) << QPoint(100, 50)
                                           << QPoint(50, 0) << 0 << 16 * 90 << circleRect;
  // Points off the circle count by their radial only.
  QTest::newRow("points off the circle") << circle << QPoint(200, 50) << QPoint(50, -70) << 0
                                         << 16 * 90 << circleRect;
  // An ellipse 200 x 100 about (100, 50): the radial through (150, 0) has
  // the parametric angle atan2(50 / 50, 50 / 100) = atan(2) = 63.4349488 deg,
  // 16 x that = 1014.96; to the west end the span is 116.5650512 deg, 1865.04.
  QTest::newRow("ellipse") << QLine(0, 0, 200, 100) << QPoint(150, 0) << QPoint(0, 50) << 1015
                           << 1865 << QRectF(0, 0, 200, 100);
  QTest::newRow("equal radials, same point")
      << circle << QPoint(100, 50) << QPoint(100, 50) << 0 << 16 * 360 << circleRect;
  // (3, 1) and (15, 5) from the centre lie on one radial, but atan2 of the
  // two divided pairs differs in the last bit (by 3.6e-15 degrees): still
  // the whole circle, not an empty arc. atan(1/3) = 18.43494882 deg.
  QTest::newRow("equal radials, different distances")
      << circle << QPoint(53, 49) << QPoint(65, 45) << 295 << 16 * 360 << circleRect;
}

void CanvasTest::arcConversion() {
  QFETCH(QLine, corners);
  QFETCH(QPoint, start);
  QFETCH(QPoint, end);
  QFETCH(int, startAngle);
  QFETCH(int, spanAngle);
  QFETCH(QRectF, rect);
  const std::optional<TQtArc> arc = ArcToQt(corners.x1(), corners.y1(), corners.x2(),
                                            corners.y2(), start.x(), start.y(), end.x(), end.y());
  QVERIFY(arc.has_value());
  QCOMPARE(arc->startAngle, startAngle);
  QCOMPARE(arc->spanAngle, spanAngle);
  QCOMPARE(arc->rect, rect);
}

void CanvasTest::arcOfEmptyRectangleIsNothing() {
  QVERIFY(!ArcToQt(10, 10, 10, 50, 10, 10, 10, 50).has_value());
  QVERIFY(!ArcToQt(10, 20, 60, 20, 10, 20, 60, 20).has_value());
  QImage image = Blank(64, 64);
  const QImage before = image;
  TCanvas canvas(image);
  canvas.Arc(10, 10, 10, 50, 10, 10, 10, 50);
  QCOMPARE(image, before);
}

void CanvasTest::arcRunsCounterClockwiseOnScreen() {
  // East to north on a circle of radius 50 about (50, 50): the upper right
  // quarter, at 45 degrees (85, 15); none of the other quarters.
  QImage image = Blank(101, 101);
  TCanvas canvas(image);
  canvas.Arc(0, 0, 100, 100, 100, 50, 50, 0);
  QVERIFY(ColourNear(image, QPoint(85, 15), kBlack));
  QVERIFY(!ColourNear(image, QPoint(15, 15), kBlack, 3));
  QVERIFY(!ColourNear(image, QPoint(15, 85), kBlack, 3));
  QVERIFY(!ColourNear(image, QPoint(85, 85), kBlack, 3));
}

void CanvasTest::rectangleCoversRightAndBottomExclusive() {
  const QColor background(0, 0, 255);
  QImage image = Blank(20, 20, background);
  TCanvas canvas(image);
  canvas.SetBrushColor(Qt::white);
  canvas.Rectangle(2, 3, 12, 10);
  QCOMPARE(image.pixel(2, 3), kBlack);    // outline, top-left
  QCOMPARE(image.pixel(11, 9), kBlack);   // outline, bottom-right: right - 1, bottom - 1
  QCOMPARE(image.pixel(11, 3), kBlack);
  QCOMPARE(image.pixel(5, 5), kWhite);    // filled with the brush
  QCOMPARE(image.pixel(12, 9), background.rgb());
  QCOMPARE(image.pixel(11, 10), background.rgb());
  QCOMPARE(image.pixel(1, 3), background.rgb());
  QCOMPARE(image.pixel(2, 2), background.rgb());
}

void CanvasTest::ellipseIsFilledWithTheBrush() {
  QImage image = Blank(100, 100, Qt::black);
  TCanvas canvas(image);
  canvas.SetPenColor(Qt::red);
  canvas.SetBrushColor(Qt::white);
  canvas.Ellipse(20, 80, 80, 20);  // corners bottom-up, as the drawing passes them
  QCOMPARE(image.pixel(50, 50), kWhite);
  QVERIFY(ColourNear(image, QPoint(80, 50), qRgb(255, 0, 0)));
  QVERIFY(ColourNear(image, QPoint(50, 20), qRgb(255, 0, 0)));
  QCOMPARE(image.pixel(25, 25), kBlack);  // outside the circle, inside the box
}

void CanvasTest::floatToStr_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<QString>("text");
  QTest::newRow("zero") << 0.0 << "0";
  QTest::newRow("negative zero") << -0.0 << "0";
  QTest::newRow("whole") << 3.0 << "3";
  QTest::newRow("half") << 0.5 << "0.5";
  QTest::newRow("fifteen digits") << 1.0 / 3.0 << "0.333333333333333";
  QTest::newRow("rounded up") << 2.0 / 3.0 << "0.666666666666667";
  QTest::newRow("carry into a new digit") << 9.9999999999999999 << "10";
  QTest::newRow("negative") << -12.25 << "-12.25";
  QTest::newRow("smallest fixed") << 0.00001 << "0.00001";
  QTest::newRow("below fixed") << 0.0000015 << "1.5E-6";
  QTest::newRow("largest fixed") << 123456789012345.0 << "123456789012345";
  QTest::newRow("above fixed") << 1234567890123456.0 << "1.23456789012346E15";
  QTest::newRow("power of ten") << 1e20 << "1E20";
  QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "NAN";
  QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "INF";
}

void CanvasTest::floatToStr() {
  QFETCH(double, value);
  QFETCH(QString, text);
  QCOMPARE(FloatToStr(value), text);
}

void CanvasTest::pointMappings_data() {
  QTest::addColumn<double>("x");
  QTest::addColumn<double>("y");
  QTest::addColumn<QPoint>("line");
  QTest::addColumn<QPoint>("ellipse");
  // minX 0, minY 0, scale 1, height 615. The line form truncates y before
  // subtracting it from the height, the ellipse form after.
  QTest::newRow("whole") << 10.0 << 20.0 << QPoint(10, 595) << QPoint(10, 595);
  QTest::newRow("fractions") << 10.5 << 10.5 << QPoint(10, 605) << QPoint(10, 604);
  QTest::newRow("towards zero below the box") << -1.7 << -0.5 << QPoint(-1, 615) << QPoint(-1, 615);
  QTest::newRow("above the image") << 0.25 << 615.75 << QPoint(0, 0) << QPoint(0, 0);
  QTest::newRow("far above the image") << 0.0 << 1000.5 << QPoint(0, -385) << QPoint(0, -385);
}

void CanvasTest::pointMappings() {
  QFETCH(double, x);
  QFETCH(double, y);
  QFETCH(QPoint, line);
  QFETCH(QPoint, ellipse);
  const TSheetMapping mapping{0.0, 0.0, 1.0, 615};
  QCOMPARE(mapping.Line(x, y), line);
  QCOMPARE(mapping.EllipseCorner(x, y), ellipse);
}

void CanvasTest::fitSheet() {
  // The smaller of the two fits wins; the box starts at the lower left.
  const std::optional<TSheetMapping> wide = FitSheet(-2.0, 10.0, 290.0, 290.0, 615, 615);
  QVERIFY(wide.has_value());
  QCOMPARE(wide->Scale, 615.0 / 292.0);
  QCOMPARE(wide->Line(-2.0, 10.0), QPoint(0, 615));
  // 280 x 615 / 292 = 589.73
  QCOMPARE(wide->Line(-2.0, 290.0), QPoint(0, 615 - 589));
  const std::optional<TSheetMapping> tall = FitSheet(0.0, 0.0, 100.0, 300.0, 615, 615);
  QVERIFY(tall.has_value());
  QCOMPARE(tall->Scale, 615.0 / 300.0);
  // A flat box still fits along its one extent.
  QVERIFY(FitSheet(0.0, 5.0, 100.0, 5.0, 615, 615).has_value());

  // No extent, an inverted box or broken numbers: nothing to draw, no
  // division by zero reaching the pixels.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  QVERIFY(!FitSheet(0.0, 0.0, 0.0, 0.0, 615, 615).has_value());
  QVERIFY(!FitSheet(5.0, 5.0, 1.0, 1.0, 615, 615).has_value());
  QVERIFY(!FitSheet(nan, 0.0, 10.0, 10.0, 615, 615).has_value());
  QVERIFY(!FitSheet(0.0, 0.0, 10.0, nan, 615, 615).has_value());
  QVERIFY(!FitSheet(0.0, 0.0, inf, inf, 615, 615).has_value());
  QCOMPARE(TruncToInt(nan), 0);
  QCOMPARE(TruncToInt(-2.9), -2);
  QVERIFY(TruncToInt(1e300) > 100000);
  QVERIFY(TruncToInt(-inf) < -100000);
}

void CanvasTest::arcEdgesBulgeToTheirSide_data() {
  QTest::addColumn<int>("clockwise");
  QTest::addColumn<QPoint>("bulge");
  QTest::addColumn<QPoint>("empty");
  // The half circle from (150, 100) to (50, 100) about (100, 100), radius
  // 50, in a y-up sheet drawn at scale 1 on a 200-pixel-high image:
  // counter-clockwise it passes over the top, (100, 150), which is row 50;
  // clockwise under the bottom, (100, 50), row 150.
  QTest::newRow("counter-clockwise") << 0 << QPoint(100, 50) << QPoint(100, 150);
  QTest::newRow("clockwise") << 1 << QPoint(100, 150) << QPoint(100, 50);
}

void CanvasTest::arcEdgesBulgeToTheirSide() {
  QFETCH(int, clockwise);
  QFETCH(QPoint, bulge);
  QFETCH(QPoint, empty);
  QImage image = Blank(200, 201);
  TCanvas canvas(image);
  const TSheetMapping mapping{0.0, 0.0, 1.0, 200};
  DrawEdge(canvas, mapping, 150.0, 100.0, 50.0, 100.0, 1, 100.0, 100.0, clockwise);
  QVERIFY(ColourNear(image, bulge, kBlack));
  QVERIFY(!ColourNear(image, empty, kBlack, 3));

  // A straight edge goes from vertex to vertex and moves the pen there.
  DrawEdge(canvas, mapping, 10.0, 10.0, 10.0, 40.0, 0, 0.0, 0.0, 0);
  QVERIFY(ColourNear(image, QPoint(10, 175), kBlack, 0));
  QCOMPARE(QPoint(canvas.PenX(), canvas.PenY()), QPoint(10, 160));
}

QTEST_MAIN(CanvasTest)
#include "canvas_test.moc"
