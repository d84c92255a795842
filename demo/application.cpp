#include "demo/application.h"

#include <QMessageBox>
#include <QStyle>
#include <QStyleFactory>
#include <exception>

#include "demo/controls.h"

namespace varnest::demo {

TDemoApplication::TDemoApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TDemoApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, applicationDisplayName(), QString::fromLocal8Bit(error.what()));
  } catch (...) {
    QMessageBox::critical(nullptr, applicationDisplayName(), QStringLiteral("Unknown error"));
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
