#pragma once
// Real numbers as the window shows them: the general format of the classic
// float-to-text conversion, 15 significant digits, no trailing zeros, a point
// only when needed, fixed notation for 1e-5 <= |v| < 1e15 and scientific
// notation ("1.5E-6", "1E15") otherwise.

#include <QString>

namespace varnest::demo {

QString FloatToStr(double value);

}  // namespace varnest::demo
