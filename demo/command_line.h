#pragma once
// The command line of varnest-demo:
//
//   varnest-demo [--screenshot FILE.png] [--start] [--corner N] [--direction N]
//                [--mirror] [--step S] [--level L]
//
// The options set the window's controls; --start presses START; with
// --screenshot the window is saved to FILE.png, without being shown, and the
// program ends.

#include <QString>
#include <QStringList>
#include <optional>

namespace varnest::demo {

class TForm1;

struct TDemoOptions {
  QString screenshot;
  bool start = false;
  std::optional<int> corner;
  std::optional<int> direction;
  bool mirror = false;
  std::optional<QString> step;
  std::optional<int> level;
  bool help = false;
};

QString DemoUsage();

// Parses the arguments that follow the program name. Values are checked
// against what the controls can hold: corner 0..3, direction 0..1, a step
// from the rotation list, a level within the up-down's range. On failure
// returns nothing and says why in error.
std::optional<TDemoOptions> ParseDemoOptions(const QStringList& arguments, QString& error);

// True when the arguments ask for a screenshot, which needs no display.
bool WantsScreenshot(int argc, const char* const* argv);

// Sets the window's controls from the options.
void ApplyDemoOptions(TForm1& form, const TDemoOptions& options);

// Makes the window ready as its first showing would, presses START when
// asked, and saves the window to options.screenshot. False when the file
// could not be written.
bool SaveScreenshot(TForm1& form, const TDemoOptions& options);

}  // namespace varnest::demo
