#include "demo/command_line.h"

#include <QPixmap>
#include <cstring>

#include "demo/main_form.h"

namespace varnest::demo {

namespace {

std::optional<int> IntegerIn(const QString& text, int minimum, int maximum) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < minimum || value > maximum) return std::nullopt;
  return value;
}

// The items of the rotation-step list, in the window's order.
const QStringList& RotationSteps() {
  static const QStringList steps = {QStringLiteral("0"), QStringLiteral("45"),
                                    QStringLiteral("90"), QStringLiteral("180")};
  return steps;
}

}  // namespace

QString DemoUsage() {
  return QStringLiteral(
      "usage: varnest-demo [--screenshot FILE.png] [--start] [--corner N] [--direction N]\n"
      "                    [--mirror] [--step S] [--level L]\n"
      "  --screenshot FILE  save the window to FILE (PNG) without showing it, then end\n"
      "  --start            press START\n"
      "  --corner N         optimisation corner, item 0..3 of the list\n"
      "  --direction N      optimisation direction, 0 horizontal, 1 vertical\n"
      "  --mirror           allow mirror images\n"
      "  --step S           rotation step: 0, 45, 90 or 180\n"
      "  --level L          optimisation level, 1..10000\n");
}

std::optional<TDemoOptions> ParseDemoOptions(const QStringList& arguments, QString& error) {
  TDemoOptions options;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    QString name = arguments[i];
    std::optional<QString> inlineValue;
    if (const qsizetype equals = name.indexOf(QLatin1Char('=')); name.startsWith(QLatin1String("--")) && equals > 0) {
      inlineValue = name.mid(equals + 1);
      name.truncate(equals);
    }
    const auto value = [&]() -> std::optional<QString> {
      if (inlineValue) return inlineValue;
      if (i + 1 < arguments.size()) return arguments[++i];
      error = QStringLiteral("%1 needs a value").arg(name);
      return std::nullopt;
    };
    const auto flag = [&]() {
      if (!inlineValue) return true;
      error = QStringLiteral("%1 takes no value").arg(name);
      return false;
    };

    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
      if (!flag()) return std::nullopt;
      options.help = true;
    } else if (name == QLatin1String("--start")) {
      if (!flag()) return std::nullopt;
      options.start = true;
    } else if (name == QLatin1String("--mirror")) {
      if (!flag()) return std::nullopt;
      options.mirror = true;
    } else if (name == QLatin1String("--screenshot")) {
      const std::optional<QString> file = value();
      if (!file) return std::nullopt;
      if (file->isEmpty()) {
        error = QStringLiteral("--screenshot needs a file name");
        return std::nullopt;
      }
      options.screenshot = *file;
    } else if (name == QLatin1String("--corner") || name == QLatin1String("--direction") ||
               name == QLatin1String("--level")) {
      const std::optional<QString> text = value();
      if (!text) return std::nullopt;
      const bool corner = name == QLatin1String("--corner");
      const bool direction = name == QLatin1String("--direction");
      const int maximum = corner ? 3 : direction ? 1 : 10000;
      const int minimum = corner || direction ? 0 : 1;
      const std::optional<int> number = IntegerIn(*text, minimum, maximum);
      if (!number) {
        error = QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"")
                    .arg(name)
                    .arg(minimum)
                    .arg(maximum)
                    .arg(*text);
        return std::nullopt;
      }
      (corner ? options.corner : direction ? options.direction : options.level) = number;
    } else if (name == QLatin1String("--step")) {
      const std::optional<QString> text = value();
      if (!text) return std::nullopt;
      if (!RotationSteps().contains(*text)) {
        error = QStringLiteral("--step must be one of %1, not \"%2\"")
                    .arg(RotationSteps().join(QStringLiteral(", ")), *text);
        return std::nullopt;
      }
      options.step = *text;
    } else {
      error = QStringLiteral("unknown argument \"%1\"").arg(arguments[i]);
      return std::nullopt;
    }
  }
  return options;
}

bool WantsScreenshot(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 || std::strncmp(argv[i], "--screenshot=", 13) == 0)
      return true;
  }
  return false;
}

void ApplyDemoOptions(TForm1& form, const TDemoOptions& options) {
  if (options.corner) form.rgNestingCorner->SetItemIndex(*options.corner);
  if (options.direction) form.rgNestingDirection->SetItemIndex(*options.direction);
  if (options.mirror) form.cbAllowMirror->setChecked(true);
  if (options.step) form.cbRotationAngle->setCurrentIndex(form.cbRotationAngle->findText(*options.step));
  if (options.level) form.udOptimizationLevel->SetPosition(*options.level);
}

bool SaveScreenshot(TForm1& form, const TDemoOptions& options) {
  form.FormShow();
  if (options.start) form.bStartClick();
  return form.grab().save(options.screenshot, "PNG");
}

}  // namespace varnest::demo
