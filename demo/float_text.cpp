#include "demo/float_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace varnest::demo {

namespace {

constexpr int kSignificantDigits = 15;
// Fixed notation is used from this decimal exponent (1e-5) up to the number
// of significant digits.
constexpr int kLowestFixedExponent = -5;

}  // namespace

QString FloatToStr(double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  if (value == 0.0) return QStringLiteral("0");

  // printf rounds to 15 significant digits and gives the exponent after that
  // rounding (9.9999999999999999 becomes 1.00000000000000e+01).
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, value);
  const std::string text(buffer);
  const bool negative = text[0] == '-';
  const size_t mantissaStart = negative ? 1 : 0;
  const size_t e = text.find('e');
  std::string digits;
  for (size_t i = mantissaStart; i < e; ++i) {
    if (text[i] != '.') digits += text[i];
  }
  const int exponent = std::atoi(text.c_str() + e + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int count = static_cast<int>(digits.size());

  std::string out = negative ? "-" : "";
  if (exponent >= kLowestFixedExponent && exponent < kSignificantDigits) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<size_t>(-exponent - 1), '0');
      out += digits;
    } else if (count <= exponent + 1) {
      out += digits;
      out.append(static_cast<size_t>(exponent + 1 - count), '0');
    } else {
      out += digits.substr(0, static_cast<size_t>(exponent + 1));
      out += '.';
      out += digits.substr(static_cast<size_t>(exponent + 1));
    }
  } else {
    out += digits[0];
    if (count > 1) {
      out += '.';
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
  }
  return QString::fromStdString(out);
}

}  // namespace varnest::demo
