#pragma once
// The program object of the demonstration: a QApplication that shows an
// exception reaching the top of an event handler in a message box and goes
// on, as desktop programs of this kind do, and the look every window of the
// program shares.

#include <QApplication>

namespace varnest::demo {

class TDemoApplication : public QApplication {
 public:
  // Everything the program sets up for all its windows happens here, so that
  // the tests that start the program's own application object see it too.
  TDemoApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// One style, palette and font on every machine, so that pictures of the
// window do not depend on the desktop's theme.
void SetUpDemoLook();

}  // namespace varnest::demo
