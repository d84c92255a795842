#include "demo/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QMenuBar>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShowEvent>
#include <array>

#include "demo/about_box.h"
#include "demo/demo_problem.h"
#include "demo/float_text.h"
#include "demo/layout_drawing.h"

namespace varnest::demo {

namespace {

constexpr int kStatusBarHeight = 19;

// Puts the window back into its idle look when a run ends, however it ends.
class TBusyScope {
 public:
  explicit TBusyScope(QPushButton* button)
      : FButton(button), FHadFocus(button->window()->focusWidget() == button) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A focused widget that is disabled hands the focus on along the tab
    // chain, and the next stop there is the read-only result field, which
    // would keep it (its text selected) after the run. No control has the
    // focus while the engine runs; START gets it back.
    if (FHadFocus) FButton->clearFocus();
    FButton->setEnabled(false);
    FButton->repaint();  // no event loop runs until the engine returns
  }
  ~TBusyScope() {
    FButton->setEnabled(true);
    if (FHadFocus) FButton->setFocus(Qt::OtherFocusReason);
    QApplication::restoreOverrideCursor();
  }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  QPushButton* FButton;
  bool FHadFocus;
};

// setText leaves the cursor after the text, and a line edit scrolls to keep
// its cursor in view: a number wider than its field (15 significant digits
// of a utilisation are) would lose its leading "0." off the left edge.
void ShowNumber(QLineEdit* edit, double value) {
  edit->setText(FloatToStr(value));
  edit->setCursorPosition(0);
}

TForm1& FormOf(void* form) { return *static_cast<TForm1*>(form); }

}  // namespace

// Child widgets are created with a parent, which owns and destroys them.
TForm1::TForm1(TAboutBox& aboutBox) : FAboutBox(aboutBox) {
  setWindowTitle(QStringLiteral("Varnest 2D X example"));
  setFont(DemoFont(14));

  QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
  Exit1 = file->addAction(QStringLiteral("Exit"));
  Exit1->setObjectName(QStringLiteral("Exit1"));
  connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
  QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
  About1 = help->addAction(QStringLiteral("About ..."));
  About1->setObjectName(QStringLiteral("About1"));
  connect(About1, &QAction::triggered, this, [this] { About1Click(); });

  FClient = new QWidget(this);
  FClient->setObjectName(QStringLiteral("Client"));
  FClient->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
  setCentralWidget(FClient);

  Image1 = new TImage(kImageSize, kImageSize, FClient);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->move(10, 10);

  bStart = new QPushButton(QStringLiteral("START"), FClient);
  bStart->setObjectName(QStringLiteral("bStart"));
  bStart->setFont(DemoFont(15, true));
  bStart->setGeometry(10, 640, 119, 50);
  connect(bStart, &QPushButton::clicked, this, [this] { bStartClick(); });

  lSurface = new QLabel(QStringLiteral("Utilized surface (%)"), FClient);
  lSurface->setObjectName(QStringLiteral("lSurface"));
  PlaceLabel(lSurface, 286, 640, 114, 16);
  eUtilizedSurface = new QLineEdit(FClient);
  eUtilizedSurface->setObjectName(QStringLiteral("eUtilizedSurface"));
  eUtilizedSurface->setReadOnly(true);
  eUtilizedSurface->setGeometry(286, 660, 148, 24);

  Label9 = new QLabel(QStringLiteral("Running time (seconds)"), FClient);
  Label9->setObjectName(QStringLiteral("Label9"));
  PlaceLabel(Label9, 492, 640, 140, 16);
  eRunTime = new QLineEdit(FClient);
  eRunTime->setObjectName(QStringLiteral("eRunTime"));
  eRunTime->setGeometry(492, 660, 130, 24);

  rgNestingCorner = new TRadioGroup(QStringLiteral("Optimization Corner"),
                                    {QStringLiteral("Bottom Left"), QStringLiteral("Bottom Right"),
                                     QStringLiteral("Top Left"), QStringLiteral("Top Right")},
                                    FClient);
  rgNestingCorner->setObjectName(QStringLiteral("rgNestingCorner"));
  rgNestingCorner->setGeometry(640, 10, 159, 129);
  rgNestingCorner->SetItemIndex(0);

  rgNestingDirection =
      new TRadioGroup(QStringLiteral("Optimization Direction"),
                      {QStringLiteral("Horizontal"), QStringLiteral("Vertical")}, FClient);
  rgNestingDirection->setObjectName(QStringLiteral("rgNestingDirection"));
  rgNestingDirection->setGeometry(640, 158, 159, 89);
  rgNestingDirection->SetItemIndex(0);

  cbAllowMirror = new QCheckBox(QStringLiteral("Allow Mirror"), FClient);
  cbAllowMirror->setObjectName(QStringLiteral("cbAllowMirror"));
  cbAllowMirror->setGeometry(640, 276, 119, 21);
  cbAllowMirror->setChecked(false);

  lRotationStep = new QLabel(QStringLiteral("Rotation Step"), FClient);
  lRotationStep->setObjectName(QStringLiteral("lRotationStep"));
  PlaceLabel(lRotationStep, 640, 325, 81, 16);
  cbRotationAngle = new QComboBox(FClient);
  cbRotationAngle->setObjectName(QStringLiteral("cbRotationAngle"));
  cbRotationAngle->addItems(
      {QStringLiteral("0"), QStringLiteral("45"), QStringLiteral("90"), QStringLiteral("180")});
  cbRotationAngle->setCurrentIndex(0);
  cbRotationAngle->setGeometry(640, 345, 110, 24);

  lOptimizationLevel = new QLabel(QStringLiteral("Optimization Level"), FClient);
  lOptimizationLevel->setObjectName(QStringLiteral("lOptimizationLevel"));
  PlaceLabel(lOptimizationLevel, 640, 404, 109, 16);
  eOptimizationLevel = new QLineEdit(FClient);
  eOptimizationLevel->setObjectName(QStringLiteral("eOptimizationLevel"));
  eOptimizationLevel->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]*")), eOptimizationLevel));
  eOptimizationLevel->setGeometry(640, 423, 90, 24);
  udOptimizationLevel = new TUpDown(1, 10000, 1, eOptimizationLevel, FClient);
  udOptimizationLevel->setObjectName(QStringLiteral("udOptimizationLevel"));
  udOptimizationLevel->setGeometry(730, 423, 18, 24);

  sbIteration = statusBar();
  sbIteration->setObjectName(QStringLiteral("sbIteration"));
  sbIteration->setSizeGripEnabled(false);
  sbIteration->setFixedHeight(kStatusBarHeight);
  // A permanent widget: status tips of the menu would hide a normal one.
  FSimplePanel = new QLabel(sbIteration);
  FSimplePanel->setObjectName(QStringLiteral("SimplePanel"));
  sbIteration->addPermanentWidget(FSimplePanel, 1);

  // A fixed client size, so that pictures of the window are reproducible.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  layout()->activate();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

TForm1::~TForm1() = default;

void TForm1::showEvent(QShowEvent* event) {
  // A window coming back from being minimised is shown again by the system;
  // only a show of the program's own counts.
  if (!event->spontaneous()) FormShow();
  QMainWindow::showEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
  FormClose();
  QMainWindow::closeEvent(event);
}

void TForm1::FormShow() {
  if (FEngine) return;  // keep the engine (and its parameters) of an earlier show
  FEngine = std::make_unique<TVarnest2D>();
  FEngine->OnIteration = IterationCallback;
  FEngine->OnIterationData = this;
  FEngine->OnFinish = FinishCallback;
  FEngine->OnFinishData = this;
  FEngine->OnSearchStart = SearchStartCallback;
  FEngine->OnSearchStartData = this;
}

void TForm1::FormClose() { FEngine.reset(); }

void TForm1::bStartClick() {
  if (!FEngine) return;  // before the first show there is no engine to run
  const TBusyScope busy(bStart);

  TDemoSettings settings;
  settings.level = udOptimizationLevel->Position();
  settings.corner = rgNestingCorner->ItemIndex();
  settings.direction = rgNestingDirection->ItemIndex();
  settings.rotationStep = cbRotationAngle->currentText().toDouble();
  settings.allowMirror = cbAllowMirror->isChecked() ? 1 : 0;
  DefineDemoProblem(*FEngine, settings);
  FEngine->Execute();
}

void TForm1::About1Click() {
  if (FEngine) {
    std::array<wchar_t, 1000> version{};
    FEngine->GetVersion(version.data());
    FAboutBox.lVersion->setText(QString::fromWCharArray(version.data()));
  }
  FAboutBox.exec();
}

void TForm1::Exit1Click() { QCoreApplication::quit(); }

void TForm1::SetSimpleText(const QString& text) { FSimplePanel->setText(text); }

void TForm1::SearchStartCallback(void* form) { FormOf(form).SetSimpleText(QStringLiteral("0")); }

void TForm1::IterationCallback(void* form) {
  TForm1& f = FormOf(form);
  f.SetSimpleText(QString::number(f.SimpleText().toInt() + 1));
  f.sbIteration->repaint();
}

void TForm1::FinishCallback(void* form) { FormOf(form).ShowResult(); }

void TForm1::ShowResult() {
  double seconds = 0.0;
  FEngine->GetOptimizationTime(seconds);
  ShowNumber(eRunTime, seconds);

  TCanvas& canvas = Image1->Canvas();
  const int width = Image1->Picture().width();
  const int height = Image1->Picture().height();
  canvas.SetBrushColor(Qt::white);
  canvas.Rectangle(0, 0, width, height);

  double utilization = 0.0;
  int32_t stockIndex = 0, stockId = 0;
  FEngine->GetSheetUtilization(0, utilization, stockIndex, stockId);
  ShowNumber(eUtilizedSurface, utilization);

  DrawFirstSheet(*FEngine, canvas, width, height);
  Image1->update();
}

}  // namespace varnest::demo
