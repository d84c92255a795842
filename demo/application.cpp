#include "demo/application.h"

#include <QMessageBox>
#include <QStyle>
#include <QStyleFactory>
#include <exception>

#include "demo/about_box.h"
#include "demo/controls.h"

namespace varnest::demo {

namespace {

void ShowError(const QString& text) {
  QMessageBox::critical(nullptr, QString::fromLatin1(kProductName), text);
}

}  // namespace

// No application display name: window systems append it to every window
// title ("About — Varnest 2D"), and the captions are exactly the windows' own.
TDemoApplication::TDemoApplication(int& argc, char** argv) : QApplication(argc, argv) {
  SetUpDemoLook();
}

bool TDemoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowError(QString::fromLocal8Bit(error.what()));
  } catch (...) {
    ShowError(QStringLiteral("Unknown error"));
  }
  return false;
}

void SetUpDemoLook() {
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
    QApplication::setStyle(style);  // the application takes ownership
  }
  QApplication::setPalette(QApplication::style()->standardPalette());
  QApplication::setFont(DemoFont(14));
}

}  // namespace varnest::demo
