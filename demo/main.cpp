// varnest-demo: the demonstration window of the Varnest engine.
#include <QTextStream>
#include <QTimer>
#include <cstdio>

#include "demo/about_box.h"
#include "demo/application.h"
#include "demo/command_line.h"
#include "demo/main_form.h"

int main(int argc, char** argv) {
  using namespace varnest::demo;
  // A screenshot is made without showing the window, so it needs no display.
  if (WantsScreenshot(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  TDemoApplication application(argc, argv);

  QString error;
  const std::optional<TDemoOptions> options =
      ParseDemoOptions(QApplication::arguments().mid(1), error);
  if (!options) {
    std::fprintf(stderr, "varnest-demo: %s\n%s", qPrintable(error), qPrintable(DemoUsage()));
    return 2;
  }
  if (options->help) {
    std::fputs(qPrintable(DemoUsage()), stdout);
    return 0;
  }

  TAboutBox aboutBox;
  TForm1 form(aboutBox);
  ApplyDemoOptions(form, *options);
  if (!options->screenshot.isEmpty()) {
    if (SaveScreenshot(form, *options)) return 0;
    std::fprintf(stderr, "varnest-demo: cannot write %s\n", qPrintable(options->screenshot));
    return 1;
  }
  form.show();
  if (options->start) QTimer::singleShot(0, &form, [&form] { form.bStartClick(); });
  return QApplication::exec();
}
