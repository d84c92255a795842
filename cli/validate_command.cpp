#include "cli/validate_command.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "check/flatten.h"
#include "check/layout_check.h"
#include "cli/input_error.h"
#include "cli/json_reader.h"
#include "cli/layout_format.h"
#include "cli/nest_command.h"
#include "cli/problem_format.h"
#include "cli/run_check.h"

namespace varnest::cli {

namespace {

// Rotating, mirroring and moving keep areas up to rounding.
constexpr double kRelativeAreaTolerance = 1e-6;
// An angle is a multiple of the step when the quotient is this close to a
// whole number.
constexpr double kMultipleTolerance = 1e-9;

std::string Sheet(size_t s) { return "sheet " + std::to_string(s); }
std::string PieceOf(size_t s, size_t p, const check::PlacedPiece& piece) {
  return Sheet(s) + ": piece " + std::to_string(p) + " (part " + std::to_string(piece.partIndex) +
         ", id " + std::to_string(piece.partId) + ")";
}

bool SameArea(const check::Shape& a, const check::Shape& b) {
  const double x = std::fabs(check::ExactArea(a)), y = std::fabs(check::ExactArea(b));
  return std::fabs(x - y) <= kRelativeAreaTolerance * std::max(x, y);
}

std::string Text(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

// The angles a part may take: multiples 0 .. trunc(360 / step) - 1 of its
// step, or only 0 without a step.
bool AllowedAngle(double angle, double step) {
  if (!(step > 0.0)) return std::fabs(angle) <= kMultipleTolerance;
  const double k = angle / step;
  const double whole = std::round(k);
  const double turns = std::trunc(360.0 / step);
  return std::fabs(k - whole) <= kMultipleTolerance * std::max(1.0, std::fabs(k)) && whole >= 0 &&
         whole < turns;
}

void CheckPieceAgainstPart(size_t s, size_t p, const check::PlacedPiece& piece,
                           const PartEntry& part, int32_t partId, std::vector<std::string>& out) {
  const std::string name = PieceOf(s, p, piece);
  if (piece.partId != partId) {
    out.push_back(name + ": the problem gives part " + std::to_string(piece.partIndex) + " id " +
                  std::to_string(partId));
  }
  if (piece.outline.IsCircle() != part.shape.IsCircle()) {
    out.push_back(name + ": the piece is a " + (piece.outline.IsCircle() ? "circle" : "polygon") +
                  " but its part is a " + (part.shape.IsCircle() ? "circle" : "polygon"));
    return;
  }
  if (!part.shape.IsCircle() && piece.outline.vertices.size() != part.shape.vertices.size()) {
    out.push_back(name + ": the piece has " + std::to_string(piece.outline.vertices.size()) +
                  " vertices, its part " + std::to_string(part.shape.vertices.size()));
  } else if (!SameArea(piece.outline, part.shape)) {
    out.push_back(name + ": the piece's area is " +
                  Text(std::fabs(check::ExactArea(piece.outline))) + ", its part's " +
                  Text(std::fabs(check::ExactArea(part.shape))));
  }
  if (piece.holes.size() != part.holes.size()) {
    out.push_back(name + ": the piece has " + std::to_string(piece.holes.size()) +
                  " holes, its part " + std::to_string(part.holes.size()));
  } else {
    for (size_t h = 0; h < piece.holes.size(); ++h) {
      const check::Shape& placed = piece.holes[h].shape;
      const check::Shape& defined = part.holes[h].shape;
      if (placed.IsCircle() != defined.IsCircle() || !SameArea(placed, defined)) {
        out.push_back(name + ": hole " + std::to_string(h) + " differs from the part's hole");
      }
    }
  }
  if (!AllowedAngle(piece.angle, part.rotationStep)) {
    out.push_back(name + ": angle " + Text(piece.angle) +
                  " is not a rotation its part allows (step " + Text(part.rotationStep) + ")");
  }
  if (piece.mirrored && !part.mirror) out.push_back(name + ": mirrored, but its part may not be");
}

}  // namespace

std::vector<std::string> ValidateLayout(const Problem& problem, const Layout& layout) {
  std::vector<std::string> out;
  const std::vector<Copy> stocks = ExpandStocks(problem);
  const std::vector<Copy> parts = ExpandParts(problem);
  std::map<int32_t, size_t> stockUsedBy;
  std::map<int32_t, std::string> partPlacedBy;
  std::vector<check::Sheet> rebuilt;  // sheets with the problem's stocks, for the geometric check
  std::vector<size_t> rebuiltFrom;

  for (size_t s = 0; s < layout.sheets.size(); ++s) {
    const check::Sheet& sheet = layout.sheets[s];
    const int32_t stockIndex = sheet.stock.index;
    if (stockIndex < 0 || static_cast<size_t>(stockIndex) >= stocks.size()) {
      out.push_back(Sheet(s) + ": stock " + std::to_string(stockIndex) +
                    " does not exist (the problem has " + std::to_string(stocks.size()) + ")");
      continue;
    }
    if (const auto used = stockUsedBy.find(stockIndex); used != stockUsedBy.end()) {
      out.push_back(Sheet(s) + ": stock " + std::to_string(stockIndex) + " is already used by " +
                    Sheet(used->second));
    }
    stockUsedBy.emplace(stockIndex, s);
    const Copy& stockCopy = stocks[static_cast<size_t>(stockIndex)];
    if (sheet.stock.id != stockCopy.id) {
      out.push_back(Sheet(s) + ": the problem gives stock " + std::to_string(stockIndex) + " id " +
                    std::to_string(stockCopy.id) + ", the layout " +
                    std::to_string(sheet.stock.id));
    }
    const StockEntry& stockEntry = problem.stocks[stockCopy.entry];
    check::Sheet checked;
    checked.stock.index = stockIndex;
    checked.stock.id = stockCopy.id;
    checked.stock.outline = stockEntry.shape;
    checked.stock.margin = stockEntry.margin;
    checked.stock.defects = stockEntry.holes;

    for (size_t p = 0; p < sheet.pieces.size(); ++p) {
      check::PlacedPiece piece = sheet.pieces[p];
      const std::string name = PieceOf(s, p, piece);
      if (piece.partIndex < 0 || static_cast<size_t>(piece.partIndex) >= parts.size()) {
        out.push_back(name + ": part " + std::to_string(piece.partIndex) +
                      " does not exist (the problem has " + std::to_string(parts.size()) + ")");
        // Still checked for overlaps, so that pieces keep their numbers.
        checked.pieces.push_back(std::move(piece));
        continue;
      }
      if (const auto placed = partPlacedBy.find(piece.partIndex); placed != partPlacedBy.end()) {
        out.push_back(name + ": the part is already placed as " + placed->second);
      }
      partPlacedBy.emplace(piece.partIndex, Sheet(s) + " piece " + std::to_string(p));
      const Copy& partCopy = parts[static_cast<size_t>(piece.partIndex)];
      const PartEntry& part = problem.parts[partCopy.entry];
      CheckPieceAgainstPart(s, p, piece, part, partCopy.id, out);
      // Whether a hole may receive pieces is the problem's to say.
      for (size_t h = 0; h < piece.holes.size() && h < part.holes.size(); ++h) {
        piece.holes[h].nestInside = part.holes[h].nestInside;
      }
      checked.pieces.push_back(std::move(piece));
    }
    rebuilt.push_back(std::move(checked));
    rebuiltFrom.push_back(s);
  }

  const check::CheckOptions options = CheckOptionsOf(problem.parameters, layout.parameters);
  for (size_t i = 0; i < rebuilt.size(); ++i) {
    const int32_t sheetIndex = static_cast<int32_t>(rebuiltFrom[i]);
    for (const check::Finding& finding : check::CheckSheet(rebuilt[i], sheetIndex, options)) {
      out.push_back(check::Describe(finding, rebuilt[i]));
    }
  }
  return out;
}

int RunValidateCommand(const std::string& problemPath, const std::string& layoutPath) {
  std::vector<std::string> notes;
  Problem problem = ReadProblemFile(problemPath, notes);
  const std::string layoutFile = InputName(layoutPath);
  const Layout layout = ReadLayout(ParseJson(ReadTextFile(layoutPath), layoutFile), layoutFile);
  // The layout is judged by the parts it was nested with.
  layout.partOverrides.ApplyTo(problem);
  for (const std::string& warning : PartWarnings(problem)) {
    std::printf("warning: %s\n", warning.c_str());
  }
  const std::vector<std::string> faults = ValidateLayout(problem, layout);
  for (const std::string& fault : faults) std::printf("%s\n", fault.c_str());
  size_t pieces = 0;
  for (const check::Sheet& sheet : layout.sheets) pieces += sheet.pieces.size();
  if (faults.empty()) {
    const check::CheckOptions options = CheckOptionsOf(problem.parameters, layout.parameters);
    std::string gaps;
    if (options.cutterDiameter > 0.0) {
      gaps = "; the gaps of cutter diameter " + Text(options.cutterDiameter) + ", type " +
             std::to_string(options.cutterType) + " kept";
    }
    std::printf(
        "valid: %zu sheet%s, %zu pieces; no overlap, every piece inside its stock and clear of "
        "defects%s\n",
        layout.sheets.size(), layout.sheets.size() == 1 ? "" : "s", pieces, gaps.c_str());
    return kExitOk;
  }
  std::printf("invalid: %zu finding%s\n", faults.size(), faults.size() == 1 ? "" : "s");
  return kExitInvalid;
}

}  // namespace varnest::cli
