#pragma once
// TForm1: the demonstration window. It owns one engine while it is shown,
// lets the user choose the starting corner and direction, mirroring, the
// rotation step and the optimisation level, and on START defines the demo
// problem and runs the engine on the user-interface thread. The engine calls
// back into the window: the status bar counts the evaluated layouts, and at
// the end the window shows the run time and the utilised surface and draws
// the first used sheet.
//
// No event loop runs while the engine works, so the window takes no input
// then; the counter is repainted synchronously so that it visibly counts.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <memory>

#include "demo/controls.h"
#include "varnest/engine/varnest2d.h"

namespace varnest::demo {

class TAboutBox;

class TForm1 : public QMainWindow {
 public:
  // The client area, below the menu bar.
  static constexpr int kClientWidth = 818;
  static constexpr int kClientHeight = 726;
  static constexpr int kImageSize = 615;

  explicit TForm1(TAboutBox& aboutBox);
  ~TForm1() override;

  // Handlers, public so that the program and the tests can drive them.
  void FormShow();
  void FormClose();
  void bStartClick();
  void About1Click();
  void Exit1Click();

  // The engine callbacks; the user pointer is the window.
  static void SearchStartCallback(void* form);
  static void IterationCallback(void* form);
  static void FinishCallback(void* form);

  TVarnest2D* Engine() const { return FEngine.get(); }
  // The widget that holds the controls; positions are relative to it.
  QWidget* Client() const { return FClient; }
  // The status bar's one simple panel.
  QString SimpleText() const { return FSimplePanel->text(); }

  // Controls (owned by the window through Qt's parent chain).
  TImage* Image1 = nullptr;
  QPushButton* bStart = nullptr;
  QLabel* lSurface = nullptr;
  QLineEdit* eUtilizedSurface = nullptr;
  QLabel* Label9 = nullptr;
  QLineEdit* eRunTime = nullptr;
  TRadioGroup* rgNestingCorner = nullptr;
  TRadioGroup* rgNestingDirection = nullptr;
  QCheckBox* cbAllowMirror = nullptr;
  QLabel* lRotationStep = nullptr;
  QComboBox* cbRotationAngle = nullptr;
  QLabel* lOptimizationLevel = nullptr;
  QLineEdit* eOptimizationLevel = nullptr;
  TUpDown* udOptimizationLevel = nullptr;
  QStatusBar* sbIteration = nullptr;
  QAction* Exit1 = nullptr;
  QAction* About1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetSimpleText(const QString& text);
  void ShowResult();

  TAboutBox& FAboutBox;
  std::unique_ptr<TVarnest2D> FEngine;
  QWidget* FClient = nullptr;
  QLabel* FSimplePanel = nullptr;
};

}  // namespace varnest::demo
