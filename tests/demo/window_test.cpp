// The demonstration window, its runs, its About box and its command line.
#include <QDesktopServices>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QValidator>
#include <QtTest>
#include <cmath>
#include <functional>

#include "demo/about_box.h"
#include "demo/application.h"
#include "demo/command_line.h"
#include "demo/main_form.h"

using namespace varnest;
using namespace varnest::demo;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(255, 0, 0);
constexpr int kImage = TForm1::kImageSize;

// Does the engine place parts yet? One 20 x 10 part on a 100 x 50 sheet.
bool EngineNests() {
  static const bool nests = [] {
    struct TProbe {
      TVarnest2D engine;
      int32_t placed = 0;
    } probe;
    probe.engine.OnFinish = [](void* data) {
      auto& p = *static_cast<TProbe*>(data);
      int32_t stock = 0, id = 0;
      p.engine.GetSheetPartCount(0, p.placed, stock, id);
    };
    probe.engine.OnFinishData = &probe;
    probe.engine.set_NumberOfStockPieces(1);
    probe.engine.SetStock(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 0);
    const double sheet[4][2] = {{0, 0}, {100, 0}, {100, 50}, {0, 50}};
    for (int32_t v = 0; v < 4; ++v) probe.engine.SetStockVertex(0, v, sheet[v][0], sheet[v][1], v);
    probe.engine.set_NumberOfParts(1);
    probe.engine.SetPart(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 0, 0, 0, 0);
    const double part[4][2] = {{0, 0}, {20, 0}, {20, 10}, {0, 10}};
    for (int32_t v = 0; v < 4; ++v) probe.engine.SetPartVertex(0, v, part[v][0], part[v][1], v);
    probe.engine.Execute();
    return probe.placed > 0;
  }();
  return nests;
}

#define SKIP_UNLESS_THE_ENGINE_NESTS() \
  if (!EngineNests()) QSKIP("the engine places no parts yet")

// The window as the program creates it: both forms at start, the main one shown.
struct TWindow {
  TAboutBox about;
  TForm1 form{about};
  TWindow() { form.show(); }
};

// Stands between the engine and the window: counts the callbacks, looks at
// the window and the engine while the run is on, and can stop the search.
struct TRunWatch {
  TForm1* form = nullptr;
  int searchStarts = 0;
  int iterations = 0;
  int finishes = 0;
  bool stopAtStart = false;
  bool busyAtStart = false;
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
  std::function<void(const TVarnest2D&)> atStart;

  explicit TRunWatch(TForm1& f) : form(&f) {
    TVarnest2D& engine = *f.Engine();
    engine.OnSearchStart = SearchStart;
    engine.OnSearchStartData = this;
    engine.OnIteration = Iteration;
    engine.OnIterationData = this;
    engine.OnFinish = Finish;
    engine.OnFinishData = this;
  }
  void Reset() { searchStarts = iterations = finishes = 0; }

  static void SearchStart(void* data) {
    auto& w = *static_cast<TRunWatch*>(data);
    ++w.searchStarts;
    TForm1::SearchStartCallback(w.form);
    const QCursor* cursor = QApplication::overrideCursor();
    w.busyAtStart =
        cursor != nullptr && cursor->shape() == Qt::WaitCursor && !w.form->bStart->isEnabled();
    if (w.atStart) w.atStart(*w.form->Engine());
    if (w.stopAtStart) w.form->Engine()->RequestStop();
  }
  static void Iteration(void* data) {
    auto& w = *static_cast<TRunWatch*>(data);
    ++w.iterations;
    TForm1::IterationCallback(w.form);
  }
  static void Finish(void* data) {
    auto& w = *static_cast<TRunWatch*>(data);
    ++w.finishes;
    w.form->Engine()->GetStockBounds(0, w.minX, w.minY, w.maxX, w.maxY);
    TForm1::FinishCallback(w.form);
  }
};

// The background rectangle leaves a one-pixel frame in the pen's colour;
// "white" means everything inside it.
bool InteriorIsWhite(const QImage& image) {
  for (int y = 1; y < image.height() - 1; ++y) {
    for (int x = 1; x < image.width() - 1; ++x) {
      if (image.pixel(x, y) != kWhite) return false;
    }
  }
  return true;
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

// Where a line edit draws its cursor, in its own coordinates, once it has
// painted itself: painting is what scrolls a line edit to keep its cursor in
// view.
int CursorX(QLineEdit& edit) {
  (void)edit.grab();
  return edit.inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
}

double NumberIn(const QLineEdit* edit) {
  bool ok = false;
  const double value = edit->text().toDouble(&ok);
  return ok ? value : std::nan("");
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 public Q_SLOTS:
  void recordUrl(const QUrl& url) { FOpened = url; }

 private Q_SLOTS:
  void initTestCase();
  void initialLayout();
  void initialContents();
  void aboutBoxLayout();
  void showCreatesTheEngineAndCloseDestroysIt();
  void startShowsBusyAndResetsTheCounter();
  void startKeepsTheFocusOutOfTheFields_data();
  void startKeepsTheFocusOutOfTheFields();
  void resultFieldsShowTheStartOfTheirNumbers();
  void runWithoutSheetLeavesImageWhite();
  void startDefinesTheDemoProblem_data();
  void startDefinesTheDemoProblem();
  void startWithDefaultsDrawsTheSheet();
  void startWithStep45AndMirrorDraws();
  void upDownFollowsItsEdit();
  void aboutBoxShowsTheVersion();
  void commentsOpenTheWebAddress();
  void commandLine_data();
  void commandLine();
  void screenshotSavesTheWindow();

 private:
  QUrl FOpened;
};

void WindowTest::initTestCase() {
  SetUpDemoLook();
  qInfo("engine nests: %s", EngineNests() ? "yes" : "no, the runs that need a layout skip");
}

void WindowTest::initialLayout() {
  TWindow w;
  TForm1& f = w.form;
  QVERIFY(QTest::qWaitForWindowExposed(&f));
  // The client area sits below the menu bar and has the designed size.
  QCOMPARE(f.Client()->geometry(),
           QRect(0, f.menuBar()->height(), TForm1::kClientWidth, TForm1::kClientHeight - 19));
  QCOMPARE(f.size(), QSize(TForm1::kClientWidth, f.menuBar()->height() + TForm1::kClientHeight));
  QCOMPARE(f.sbIteration->geometry().translated(-f.Client()->pos()), QRect(0, 707, 818, 19));

  struct TPlace {
    const char* name;
    QRect geometry;
    bool label;  // a label grows to its caption, never shrinks
  };
  const TPlace places[] = {
      {"Image1", {10, 10, 615, 615}, false},
      {"bStart", {10, 640, 119, 50}, false},
      {"lSurface", {286, 640, 114, 16}, true},
      {"eUtilizedSurface", {286, 660, 148, 24}, false},
      {"Label9", {492, 640, 140, 16}, true},
      {"eRunTime", {492, 660, 130, 24}, false},
      {"rgNestingCorner", {640, 10, 159, 129}, false},
      {"rgNestingDirection", {640, 158, 159, 89}, false},
      {"cbAllowMirror", {640, 276, 119, 21}, false},
      {"lRotationStep", {640, 325, 81, 16}, true},
      {"cbRotationAngle", {640, 345, 110, 24}, false},
      {"lOptimizationLevel", {640, 404, 109, 16}, true},
      {"eOptimizationLevel", {640, 423, 90, 24}, false},
      {"udOptimizationLevel", {730, 423, 18, 24}, false},
  };
  for (const TPlace& place : places) {
    const auto* widget = f.Client()->findChild<QWidget*>(QLatin1String(place.name));
    QVERIFY2(widget != nullptr, place.name);
    QCOMPARE(widget->parentWidget(), f.Client());
    if (place.label) {
      const auto* label = static_cast<const QLabel*>(widget);
      QCOMPARE(widget->pos(), place.geometry.topLeft());
      QVERIFY2(widget->width() >= place.geometry.width(), place.name);
      QVERIFY2(widget->height() >= place.geometry.height(), place.name);
      QVERIFY2(widget->width() >= label->fontMetrics().horizontalAdvance(label->text()),
               place.name);
    } else {
      QCOMPARE(widget->geometry(), place.geometry);
    }
  }
}

void WindowTest::initialContents() {
  TWindow w;
  TForm1& f = w.form;
  QCOMPARE(f.windowTitle(), QStringLiteral("Varnest 2D X example"));
  // The text has real glyphs: the face asked for is the face used.
  const QFontInfo face(f.font());
  QCOMPARE(face.family(), QStringLiteral("DejaVu Sans"));
  QCOMPARE(face.pixelSize(), 14);
  QCOMPARE(QFontInfo(f.bStart->font()).pixelSize(), 15);
  QVERIFY(QFontInfo(f.bStart->font()).bold());

  QCOMPARE(f.bStart->text(), QStringLiteral("START"));
  QVERIFY(f.bStart->isEnabled());
  QCOMPARE(f.lSurface->text(), QStringLiteral("Utilized surface (%)"));
  QVERIFY(f.eUtilizedSurface->isReadOnly());
  QCOMPARE(f.eUtilizedSurface->text(), QString());
  QCOMPARE(f.Label9->text(), QStringLiteral("Running time (seconds)"));
  QVERIFY(!f.eRunTime->isReadOnly());
  QCOMPARE(f.eRunTime->text(), QString());

  QCOMPARE(f.rgNestingCorner->title(), QStringLiteral("Optimization Corner"));
  QCOMPARE(f.rgNestingCorner->Items(),
           QStringList({"Bottom Left", "Bottom Right", "Top Left", "Top Right"}));
  QCOMPARE(f.rgNestingCorner->ItemIndex(), 0);
  QCOMPARE(f.rgNestingDirection->title(), QStringLiteral("Optimization Direction"));
  QCOMPARE(f.rgNestingDirection->Items(), QStringList({"Horizontal", "Vertical"}));
  QCOMPARE(f.rgNestingDirection->ItemIndex(), 0);
  QCOMPARE(f.cbAllowMirror->text(), QStringLiteral("Allow Mirror"));
  QVERIFY(!f.cbAllowMirror->isChecked());

  QCOMPARE(f.lRotationStep->text(), QStringLiteral("Rotation Step"));
  QVERIFY(!f.cbRotationAngle->isEditable());
  QStringList steps;
  for (int i = 0; i < f.cbRotationAngle->count(); ++i) steps << f.cbRotationAngle->itemText(i);
  QCOMPARE(steps, QStringList({"0", "45", "90", "180"}));
  QCOMPARE(f.cbRotationAngle->currentIndex(), 0);

  QCOMPARE(f.lOptimizationLevel->text(), QStringLiteral("Optimization Level"));
  QCOMPARE(f.eOptimizationLevel->text(), QStringLiteral("1"));
  QString typed = QStringLiteral("1a");
  int at = 2;
  QCOMPARE(f.eOptimizationLevel->validator()->validate(typed, at), QValidator::Invalid);
  QCOMPARE(f.udOptimizationLevel->Associate(), f.eOptimizationLevel);
  QCOMPARE(f.udOptimizationLevel->Min(), 1);
  QCOMPARE(f.udOptimizationLevel->Max(), 10000);
  QCOMPARE(f.udOptimizationLevel->Position(), 1);

  QCOMPARE(f.SimpleText(), QString());
  QCOMPARE(f.Image1->Picture().size(), QSize(kImage, kImage));
  QVERIFY(InteriorIsWhite(f.Image1->Picture()));

  const QList<QAction*> menus = f.menuBar()->actions();
  QCOMPARE(menus.size(), 2);
  QCOMPARE(menus[0]->text(), QStringLiteral("File"));
  QCOMPARE(menus[0]->menu()->actions().size(), 1);
  QCOMPARE(menus[0]->menu()->actions()[0], f.Exit1);
  QCOMPARE(f.Exit1->text(), QStringLiteral("Exit"));
  QCOMPARE(menus[1]->text(), QStringLiteral("Help"));
  QCOMPARE(menus[1]->menu()->actions().size(), 1);
  QCOMPARE(menus[1]->menu()->actions()[0], f.About1);
  QCOMPARE(f.About1->text(), QStringLiteral("About ..."));

  // The menus' status tips must not wipe the counter: it is a permanent
  // widget of the status bar.
  f.sbIteration->showMessage(QStringLiteral("a status tip"));
  TForm1::SearchStartCallback(&f);
  QCOMPARE(f.SimpleText(), QStringLiteral("0"));
}

void WindowTest::aboutBoxLayout() {
  TAboutBox about;
  QCOMPARE(about.windowTitle(), QStringLiteral("About"));
  QCOMPARE(about.size(), QSize(TAboutBox::kClientWidth, TAboutBox::kClientHeight));
  QCOMPARE(about.minimumSize(), about.maximumSize());  // a dialog border: no resizing
  QCOMPARE(QFontInfo(about.font()).pixelSize(), 11);
  QCOMPARE(about.Panel1->geometry(), QRect(8, 8, 281, 161));
  QCOMPARE(about.ProgramIcon->geometry(), QRect(8, 8, 113, 81));
  QVERIFY(about.ProgramIcon->hasScaledContents());
  QVERIFY(!about.ProgramIcon->pixmap().isNull());
  struct TLabel {
    QLabel* label;
    QRect geometry;
  };
  const TLabel labels[] = {{about.ProductName, {128, 16, 98, 13}},
                           {about.Version, {128, 40, 35, 13}},
                           {about.lVersion, {176, 40, 37, 13}},
                           {about.Notice, {8, 112, 207, 13}},
                           {about.Comments, {8, 136, 126, 13}}};
  for (const TLabel& l : labels) {
    QCOMPARE(l.label->parentWidget(), about.Panel1);
    QCOMPARE(l.label->pos(), l.geometry.topLeft());
    QVERIFY(l.label->width() >= l.geometry.width());
    QVERIFY(l.label->width() >= l.label->fontMetrics().horizontalAdvance(l.label->text()));
  }
  QCOMPARE(about.ProductName->text(), QStringLiteral("Varnest 2D"));
  QVERIFY(about.ProductName->font().bold());
  QCOMPARE(about.Version->text(), QStringLiteral("Version"));
  QVERIFY(!about.Notice->text().isEmpty());
  QCOMPARE(about.Comments->text(), QString::fromLatin1(kWebAddress));
  QVERIFY(about.Comments->font().underline());
  QCOMPARE(about.Comments->palette().color(QPalette::WindowText), QColor(Qt::blue));
  QCOMPARE(about.Comments->cursor().shape(), Qt::PointingHandCursor);
  QVERIFY(about.Comments->wordWrap());
  QCOMPARE(about.OKButton->parentWidget(), &about);
  QCOMPARE(about.OKButton->geometry(), QRect(111, 180, 75, 25));
  QCOMPARE(about.OKButton->text(), QStringLiteral("OK"));
  QVERIFY(about.OKButton->isDefault());
}

void WindowTest::showCreatesTheEngineAndCloseDestroysIt() {
  TAboutBox about;
  TForm1 form(about);
  QVERIFY(form.Engine() == nullptr);
  form.bStartClick();  // before the first show there is nothing to run
  QCOMPARE(form.eRunTime->text(), QString());

  form.show();
  TVarnest2D* engine = form.Engine();
  QVERIFY(engine != nullptr);
  QVERIFY(engine->OnSearchStart == &TForm1::SearchStartCallback);
  QVERIFY(engine->OnIteration == &TForm1::IterationCallback);
  QVERIFY(engine->OnFinish == &TForm1::FinishCallback);
  QCOMPARE(engine->OnSearchStartData, static_cast<void*>(&form));
  QCOMPARE(engine->OnIterationData, static_cast<void*>(&form));
  QCOMPARE(engine->OnFinishData, static_cast<void*>(&form));

  form.FormShow();  // a second show keeps the engine
  QCOMPARE(form.Engine(), engine);
  form.close();
  QVERIFY(form.Engine() == nullptr);
  form.show();
  QVERIFY(form.Engine() != nullptr);
}

void WindowTest::startShowsBusyAndResetsTheCounter() {
  TWindow w;
  TForm1& f = w.form;
  for (int i = 0; i < 3; ++i) TForm1::IterationCallback(&f);
  QCOMPARE(f.SimpleText(), QStringLiteral("3"));

  TRunWatch watch(f);
  f.bStartClick();
  QCOMPARE(watch.searchStarts, 1);
  QCOMPARE(watch.finishes, 1);
  QVERIFY(watch.busyAtStart);  // hourglass and START disabled while the engine runs
  QVERIFY(f.bStart->isEnabled());
  QVERIFY(QApplication::overrideCursor() == nullptr);
  // The counter starts at 0 in every run and counts its evaluations only.
  QCOMPARE(f.SimpleText(), QString::number(watch.iterations));
  QVERIFY(f.Engine()->IsIdle());
  QCOMPARE(f.Engine()->get_NumberOfParts(), 0);  // the run consumed its problem
}

void WindowTest::startKeepsTheFocusOutOfTheFields_data() {
  QTest::addColumn<bool>("keyboard");
  QTest::newRow("space on START") << true;
  QTest::newRow("click on START") << false;
}

void WindowTest::startKeepsTheFocusOutOfTheFields() {
  QFETCH(bool, keyboard);
  TWindow w;
  TForm1& f = w.form;
  f.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&f));
  TRunWatch watch(f);
  QWidget* focusDuringRun = f.bStart;
  watch.atStart = [&focusDuringRun](const TVarnest2D&) {
    focusDuringRun = QApplication::focusWidget();
  };
  if (keyboard) {
    f.bStart->setFocus(Qt::TabFocusReason);
    QTest::keyClick(f.bStart, Qt::Key_Space);
  } else {
    QTest::mouseClick(f.bStart, Qt::LeftButton);
  }
  QCOMPARE(watch.finishes, 1);
  // A disabled START must not hand the focus on along the tab chain, which
  // leads into the result fields (and selects their text).
  QVERIFY2(!f.Client()->isAncestorOf(focusDuringRun),
           focusDuringRun != nullptr ? qPrintable(focusDuringRun->objectName()) : "");
  // Afterwards START has it back: another key press runs again.
  QCOMPARE(QApplication::focusWidget(), f.bStart);
  QVERIFY(!f.eUtilizedSurface->hasSelectedText());
}

void WindowTest::resultFieldsShowTheStartOfTheirNumbers() {
  SKIP_UNLESS_THE_ENGINE_NESTS();
  TWindow w;
  TForm1& f = w.form;
  QLineEdit* const fields[] = {f.eUtilizedSurface, f.eRunTime};
  int start[2] = {};  // where an empty field draws its cursor: where text begins
  for (int i = 0; i < 2; ++i) start[i] = CursorX(*fields[i]);

  // A utilisation of 15 significant digits is wider than its field, a shorter
  // one fits; a stopped run shows "0". One field sees them in turn, each run
  // after the field was scrolled to the end of the number before.
  const struct {
    int corner, direction;
    bool stop;
  } runs[] = {{2, 0, false}, {0, 0, true}, {0, 0, false}, {3, 1, false}, {3, 0, false}};
  TRunWatch watch(f);
  int wider = 0;
  for (const auto& run : runs) {
    f.rgNestingCorner->SetItemIndex(run.corner);
    f.rgNestingDirection->SetItemIndex(run.direction);
    watch.stopAtStart = run.stop;
    f.bStartClick();
    for (int i = 0; i < 2; ++i) {
      const QString where = fields[i]->objectName() + QStringLiteral(": ") + fields[i]->text();
      QVERIFY2(fields[i]->cursorPosition() == 0, qPrintable(where));
      QVERIFY2(CursorX(*fields[i]) == start[i], qPrintable(where));  // not scrolled
    }
    // Seen from its end, a number wider than the field is scrolled.
    QLineEdit& used = *f.eUtilizedSurface;
    used.end(false);
    if (CursorX(used) < start[0] + used.fontMetrics().horizontalAdvance(used.text()) - 1) ++wider;
  }
  QVERIFY2(wider > 0, "no run ended at a utilisation wider than its field");
}

void WindowTest::runWithoutSheetLeavesImageWhite() {
  TWindow w;
  TForm1& f = w.form;
  // Spoil the picture, and leave a green pen: the background rectangle
  // clears the inside and is outlined with whatever pen is current.
  TCanvas& canvas = f.Image1->Canvas();
  canvas.SetBrushColor(Qt::black);
  canvas.Rectangle(0, 0, kImage, kImage);
  canvas.SetPenColor(Qt::green);
  QVERIFY(!InteriorIsWhite(f.Image1->Picture()));

  // A stop asked for at the start skips the search: no sheet is used.
  TRunWatch watch(f);
  watch.stopAtStart = true;
  f.bStartClick();
  QCOMPARE(watch.finishes, 1);
  QCOMPARE(watch.iterations, 0);
  QCOMPARE(f.SimpleText(), QStringLiteral("0"));
  QCOMPARE(f.eUtilizedSurface->text(), QStringLiteral("0"));
  QVERIFY(NumberIn(f.eRunTime) >= 0.0);
  const QImage& picture = f.Image1->Picture();
  QVERIFY(InteriorIsWhite(picture));
  QCOMPARE(picture.pixel(0, 0), qRgb(0, 255, 0));
  QCOMPARE(picture.pixel(kImage - 1, kImage - 1), qRgb(0, 255, 0));
}

void WindowTest::startDefinesTheDemoProblem_data() {
  QTest::addColumn<int>("corner");
  QTest::addColumn<int>("direction");
  QTest::addColumn<bool>("mirror");
  QTest::addColumn<int>("stepIndex");
  QTest::addColumn<QString>("level");
  QTest::addColumn<double>("step");
  QTest::addColumn<int>("storedLevel");
  QTest::newRow("defaults") << 0 << 0 << false << 0 << "1" << 0.0 << 1;
  // The corner's item index goes to the engine unchanged, whatever the
  // captions say.
  QTest::newRow("every choice changed") << 2 << 1 << true << 1 << "7" << 45.0 << 7;
  QTest::newRow("level typed beyond the range")
      << 3 << 0 << false << 3 << "20000" << 180.0 << 10000;
}

void WindowTest::startDefinesTheDemoProblem() {
  QFETCH(int, corner);
  QFETCH(int, direction);
  QFETCH(bool, mirror);
  QFETCH(int, stepIndex);
  QFETCH(QString, level);
  QFETCH(double, step);
  QFETCH(int, storedLevel);
  TWindow w;
  TForm1& f = w.form;
  f.rgNestingCorner->SetItemIndex(corner);
  f.rgNestingDirection->SetItemIndex(direction);
  f.cbAllowMirror->setChecked(mirror);
  f.cbRotationAngle->setCurrentIndex(stepIndex);
  f.eOptimizationLevel->setText(level);

  struct TSeen {
    int32_t corner = -1, direction = -1, level = -1, seed = -1, parts = 0, stocks = 0;
    double resolution = 0.0, cutter = -1.0;
    int32_t stockVertices = 0, stockHoles = 0, stockHoleType = 0;
    double holeX = 0.0, holeY = 0.0, holeRadius = 0.0;
    int32_t type[80] = {}, vertices[80] = {}, holes[80] = {}, allowMirror[80] = {}, id[80] = {};
    double rotationStep[80] = {}, radius[80] = {};
  } seen;
  TRunWatch watch(f);
  watch.atStart = [&seen](const TVarnest2D& e) {
    // Only the definition matters here: skip the search, which at level
    // 10000 would run for minutes.
    const_cast<TVarnest2D&>(e).RequestStop();
    seen.corner = e.get_OptimizationStartingCorner();
    seen.direction = e.get_OptimizationStartingDirection();
    seen.level = e.get_OptimizationLevel();
    seen.seed = e.get_RandomSeed();
    seen.resolution = e.get_Resolution();
    seen.cutter = e.get_CutterDiameter();
    seen.parts = e.get_NumberOfParts();
    seen.stocks = e.get_NumberOfStockPieces();
    int32_t type = 0, priority = 0, id = 0;
    double cx = 0.0, cy = 0.0, r = 0.0, margin = 0.0;
    e.GetStock(0, type, seen.stockVertices, cx, cy, r, seen.stockHoles, margin, priority, id);
    for (int32_t i = 0; i < 80 && i < seen.parts; ++i) {
      double rx = 0.0, ry = 0.0;
      e.GetPart(i, seen.type[i], seen.vertices[i], cx, cy, seen.radius[i], seen.holes[i],
                seen.rotationStep[i], rx, ry, seen.allowMirror[i], priority, seen.id[i]);
    }
  };
  f.bStartClick();

  QCOMPARE(seen.corner, corner);
  QCOMPARE(seen.direction, direction);
  QCOMPARE(seen.level, storedLevel);
  QCOMPARE(seen.seed, 0);
  QCOMPARE(seen.resolution, 0.1);
  QCOMPARE(seen.cutter, 0.0);
  QCOMPARE(seen.stocks, 1);
  QCOMPARE(seen.stockVertices, 6);
  QCOMPARE(seen.stockHoles, 2);
  QCOMPARE(seen.parts, 80);
  for (int i = 0; i < 80; ++i) {
    const bool polygon = i < 40;
    const QByteArray where = "part " + QByteArray::number(i);
    QVERIFY2(seen.type[i] == (polygon ? 0 : 1), where);
    QVERIFY2(seen.vertices[i] == (i < 20 || (i >= 30 && i < 40) ? 6 : i < 30 ? 4 : 0), where);
    QVERIFY2(seen.holes[i] == (i >= 20 && i < 30 ? 1 : 0), where);
    QVERIFY2(seen.rotationStep[i] == (polygon ? step : 0.0), where);
    QVERIFY2(seen.allowMirror[i] == (polygon && mirror ? 1 : 0), where);
    QVERIFY2(seen.radius[i] == (polygon ? 0.0 : 10.0), where);
    QVERIFY2(seen.id[i] == i, where);
  }
}

void WindowTest::startWithDefaultsDrawsTheSheet() {
  SKIP_UNLESS_THE_ENGINE_NESTS();
  TWindow w;
  TForm1& f = w.form;
  TRunWatch watch(f);
  f.bStartClick();

  QVERIFY(watch.iterations > 0);
  QCOMPARE(f.SimpleText(), QString::number(watch.iterations));
  const double used = NumberIn(f.eUtilizedSurface);
  QVERIFY2(used > 0.0 && used <= 1.0, qPrintable(f.eUtilizedSurface->text()));
  QVERIFY2(NumberIn(f.eRunTime) >= 0.0, qPrintable(f.eRunTime->text()));
  const QImage first = f.Image1->Picture();
  QVERIFY(!InteriorIsWhite(first));

  // The sheet's box, worked out by hand: the vertices span x 10 .. 290 and
  // y 10 .. 290; the counter-clockwise half circle of edge 5 about (55, 65),
  // radius sqrt(45^2 + 35^2), bulges out to the left; the clockwise half
  // circle of edge 2 bulges into the sheet.
  const double r5 = std::sqrt(45.0 * 45.0 + 35.0 * 35.0);
  QVERIFY(std::abs(watch.minX - (55.0 - r5)) < 1e-6);
  QVERIFY(std::abs(watch.minY - 10.0) < 1e-6);
  QVERIFY(std::abs(watch.maxX - 290.0) < 1e-6);
  QVERIFY(std::abs(watch.maxY - 290.0) < 1e-6);
  const double s = std::min(kImage / (watch.maxX - watch.minX), kImage / (watch.maxY - watch.minY));
  const auto line = [&](double x, double y) {
    return QPoint(static_cast<int>(std::trunc((x - watch.minX) * s)),
                  kImage - static_cast<int>(std::trunc((y - watch.minY) * s)));
  };
  // Outline pixels (black, pen width 2) where the mapping puts the stock's
  // vertices, and on both arcs, away from the image's edges.
  const double r2 = std::sqrt(20.0 * 20.0 + 50.0 * 50.0);
  const struct {
    double x, y;
  } outline[] = {{10, 30}, {250, 200}, {10, 290}, {100, 100}, {55 - r5, 65}, {270 - r2, 150}};
  for (const auto& p : outline) {
    QVERIFY2(ColourNear(first, line(p.x, p.y), kBlack, 2),
             qPrintable(QStringLiteral("outline at (%1, %2)").arg(p.x).arg(p.y)));
  }
  // The defects: red circles, white inside; nothing beyond the sheet. A
  // part touching a defect may paint over a few of its pixels, so most, not
  // all, of the points around each circle must show red.
  for (const auto& defect : {QPointF(160, 100), QPointF(110, 200)}) {
    int red = 0;
    for (int k = 0; k < 16; ++k) {
      const double a = k * 3.14159265358979 / 8.0;
      red += ColourNear(first, line(defect.x() + 20 * std::cos(a), defect.y() + 20 * std::sin(a)),
                        kRed, 2);
    }
    QVERIFY2(red >= 12, qPrintable(QStringLiteral("%1 of 16 red").arg(red)));
  }
  QCOMPARE(first.pixel(line(160, 100)), kWhite);
  QCOMPARE(first.pixel(line(110, 200)), kWhite);
  QCOMPARE(first.pixel(line(280, 280)), kWhite);

  // The seed is always 0: a second START evaluates and draws the same.
  const int firstIterations = watch.iterations;
  watch.Reset();
  f.bStartClick();
  QCOMPARE(watch.iterations, firstIterations);
  QCOMPARE(f.SimpleText(), QString::number(firstIterations));
  QCOMPARE(f.Image1->Picture(), first);
}

void WindowTest::startWithStep45AndMirrorDraws() {
  SKIP_UNLESS_THE_ENGINE_NESTS();
  TWindow w;
  TForm1& f = w.form;
  f.cbRotationAngle->setCurrentIndex(f.cbRotationAngle->findText(QStringLiteral("45")));
  f.cbAllowMirror->setChecked(true);
  TRunWatch watch(f);
  f.bStartClick();
  QVERIFY(watch.iterations > 0);
  QCOMPARE(f.SimpleText(), QString::number(watch.iterations));
  QVERIFY(NumberIn(f.eUtilizedSurface) > 0.0);
  QVERIFY(!InteriorIsWhite(f.Image1->Picture()));
}

void WindowTest::upDownFollowsItsEdit() {
  TWindow w;
  TUpDown& ud = *w.form.udOptimizationLevel;
  QLineEdit& edit = *w.form.eOptimizationLevel;
  auto* up = ud.findChild<QToolButton*>(QStringLiteral("up"));
  auto* down = ud.findChild<QToolButton*>(QStringLiteral("down"));
  QVERIFY(up != nullptr && down != nullptr);

  down->click();  // held at the minimum
  QCOMPARE(edit.text(), QStringLiteral("1"));
  up->click();
  QCOMPARE(edit.text(), QStringLiteral("2"));
  edit.setText(QStringLiteral("25"));  // typed
  QCOMPARE(ud.Position(), 25);
  up->click();
  QCOMPARE(edit.text(), QStringLiteral("26"));
  edit.setText(QStringLiteral("0"));
  QCOMPARE(ud.Position(), 1);
  edit.setText(QStringLiteral("99999"));
  QCOMPARE(ud.Position(), 10000);
  up->click();
  QCOMPARE(edit.text(), QStringLiteral("10000"));
  edit.setText(QString());  // no number: the last position stays
  QCOMPARE(ud.Position(), 10000);
}

void WindowTest::aboutBoxShowsTheVersion() {
  TWindow w;
  QString shown;
  bool visible = false;
  bool modal = false;
  w.about.lVersion->setText(QStringLiteral("stale"));
  QTimer::singleShot(0, &w.about, [&] {
    shown = w.about.lVersion->text();
    visible = w.about.isVisible();
    modal = w.about.isModal();
    w.about.OKButton->click();
  });
  w.form.About1->trigger();  // Help > About ...
  QCOMPARE(shown, QStringLiteral("0.9.5.1.beta"));
  QVERIFY(visible);
  QVERIFY(modal);
  QCOMPARE(w.about.result(), static_cast<int>(QDialog::Accepted));
  QVERIFY(!w.about.isVisible());
  QVERIFY(w.about.lVersion->width() >=
          w.about.lVersion->fontMetrics().horizontalAdvance(w.about.lVersion->text()));
}

void WindowTest::commentsOpenTheWebAddress() {
  TAboutBox about;
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  FOpened.clear();
  QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "recordUrl");
  QTest::mouseClick(about.Comments, Qt::LeftButton);
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  QCOMPARE(FOpened, QUrl(QString::fromLatin1(kWebAddress)));
  about.hide();
}

void WindowTest::commandLine_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<bool>("valid");
  QTest::addColumn<QString>("screenshot");
  QTest::addColumn<bool>("start");
  QTest::addColumn<int>("corner");     // -1: not given
  QTest::addColumn<int>("direction");  // -1: not given
  QTest::addColumn<bool>("mirror");
  QTest::addColumn<QString>("step");  // empty: not given
  QTest::addColumn<int>("level");     // -1: not given
  QTest::newRow("nothing") << QStringList() << true << "" << false << -1 << -1 << false << "" << -1;
  QTest::newRow("everything") << QStringList({"--screenshot", "a.png", "--start", "--corner", "3",
                                              "--direction", "1", "--mirror", "--step", "45",
                                              "--level", "10000"})
                              << true << "a.png" << true << 3 << 1 << true << "45" << 10000;
  QTest::newRow("values after =") << QStringList({"--screenshot=b.png", "--step=180", "--corner=0"})
                                  << true << "b.png" << false << 0 << -1 << false << "180" << -1;
  const auto invalid = [](const char* name, QStringList arguments) {
    QTest::newRow(name) << arguments << false << "" << false << -1 << -1 << false << "" << -1;
  };
  invalid("corner out of range", {"--corner", "4"});
  invalid("negative direction", {"--direction", "-1"});
  invalid("step not in the list", {"--step", "30"});
  invalid("level zero", {"--level", "0"});
  invalid("level not a number", {"--level", "many"});
  invalid("missing value", {"--screenshot"});
  invalid("empty file name", {"--screenshot="});
  invalid("value on a flag", {"--mirror=1"});
  invalid("unknown argument", {"--fast"});
}

void WindowTest::commandLine() {
  QFETCH(QStringList, arguments);
  QFETCH(bool, valid);
  QFETCH(QString, screenshot);
  QFETCH(bool, start);
  QFETCH(int, corner);
  QFETCH(int, direction);
  QFETCH(bool, mirror);
  QFETCH(QString, step);
  QFETCH(int, level);
  QString error;
  const std::optional<TDemoOptions> options = ParseDemoOptions(arguments, error);
  QCOMPARE(options.has_value(), valid);
  if (!valid) {
    QVERIFY(!error.isEmpty());
    return;
  }
  QCOMPARE(options->screenshot, screenshot);
  QCOMPARE(options->start, start);
  QCOMPARE(options->corner.value_or(-1), corner);
  QCOMPARE(options->direction.value_or(-1), direction);
  QCOMPARE(options->mirror, mirror);
  QCOMPARE(options->step.value_or(QString()), step);
  QCOMPARE(options->level.value_or(-1), level);
}

void WindowTest::screenshotSavesTheWindow() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  const QString file = folder.filePath(QStringLiteral("window.png"));
  QString error;
  const std::optional<TDemoOptions> options =
      ParseDemoOptions({"--screenshot", file, "--start", "--corner", "2", "--direction", "1",
                        "--mirror", "--step", "90", "--level", "3"},
                       error);
  QVERIFY2(options.has_value(), qPrintable(error));

  TAboutBox about;
  TForm1 form(about);
  ApplyDemoOptions(form, *options);
  QVERIFY(SaveScreenshot(form, *options));
  QVERIFY(!form.isVisible());  // saved without being shown
  QCOMPARE(form.rgNestingCorner->ItemIndex(), 2);
  QCOMPARE(form.rgNestingDirection->ItemIndex(), 1);
  QVERIFY(form.cbAllowMirror->isChecked());
  QCOMPARE(form.cbRotationAngle->currentText(), QStringLiteral("90"));
  QCOMPARE(form.udOptimizationLevel->Position(), 3);
  QVERIFY(!form.eRunTime->text().isEmpty());  // START was pressed

  const QImage saved(file);
  QCOMPARE(saved.size(), form.size());
  // The picture of the window holds the drawing as it is.
  const QPoint at = form.Image1->mapTo(&form, QPoint(0, 0));
  QCOMPARE(saved.copy(QRect(at, QSize(kImage, kImage))).convertToFormat(QImage::Format_RGB32),
           form.Image1->Picture().convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
