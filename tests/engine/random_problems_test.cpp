// Seeded random problems of the kinds that once broke layouts: mirrored
// asymmetric parts packed along y on slanted sheets with small defects near
// their edges, edges bulging by fractions of a degree under a cutter, defects
// across the outline or each other, outlines that cross themselves, usable
// holes with arc edges under both cutter types, and shapes whose heights are
// not whole strips. Every layout is judged by the independent check, the
// cutter's gaps included; a failure names its seed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "check/collect.h"
#include "check/layout_check.h"
#include "cli/engine_problem.h"
#include "cli/problem.h"
#include "cli/problem_format.h"
#include "varnest/engine/varnest2d.h"
#include "fixtures/problem_entries.h"
#include "fixtures/shapes.h"

namespace varnest {
namespace {

using fixtures::ArcFrom;
using fixtures::Circle;
using fixtures::Part;
using fixtures::Polygon;
using fixtures::Rect;
using fixtures::Stock;
using fixtures::V;

constexpr double kTwoPi = 6.283185307179586;

// Uniform numbers from the raw 64-bit generator, so that a seed gives the
// same problem with every standard library.
class TRandom {
 public:
  explicit TRandom(uint64_t seed) : FEngine(seed) {}
  double Uniform(double low, double high) {
    return low + (high - low) * static_cast<double>(FEngine() >> 11) * 0x1.0p-53;
  }
  int32_t Integer(int32_t low, int32_t high) {  // inclusive
    return low + static_cast<int32_t>(FEngine() % static_cast<uint64_t>(high - low + 1));
  }
  bool Chance(double p) { return Uniform(0.0, 1.0) < p; }

 private:
  std::mt19937_64 FEngine;
};

// A star-shaped polygon about (cx, cy): vertices at growing angles, so it
// never crosses itself; asymmetric by construction.
std::vector<check::Vertex> Star(TRandom& random, double cx, double cy, double size,
                                int32_t vertices) {
  std::vector<double> angles;
  for (int32_t i = 0; i < vertices; ++i) angles.push_back(random.Uniform(0.0, kTwoPi));
  std::sort(angles.begin(), angles.end());
  std::vector<check::Vertex> outline;
  for (const double a : angles) {
    const double r = size * random.Uniform(0.45, 1.0);
    outline.push_back(V(cx + r * std::cos(a), cy + r * std::sin(a)));
  }
  return outline;
}

// Makes edge i an arc of the given sweep (radians) bulging to the edge's
// right (out of a counter-clockwise outline) or left.
void Bulge(std::vector<check::Vertex>& outline, size_t i, double sweep, bool outward) {
  const check::Vertex& a = outline[i];
  const check::Vertex& b = outline[(i + 1) % outline.size()];
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double chord = std::hypot(dx, dy);
  if (chord == 0.0) return;
  // The centre lies on the bisector, at the distance that gives the sweep.
  const double along = 0.5 * chord / std::tan(0.5 * sweep);
  const double side = outward ? 1.0 : -1.0;  // +1: centre to the edge's left
  const double cx = 0.5 * (a.x + b.x) - side * along * dy / chord;
  const double cy = 0.5 * (a.y + b.y) + side * along * dx / chord;
  outline[i].isArc = true;
  outline[i].centerX = cx;
  outline[i].centerY = cy;
  outline[i].clockwise = !outward;
}

// A sheet with slanted left and right sides.
check::Shape SlantedSheet(TRandom& random, double w, double h) {
  return Polygon(
      {V(random.Uniform(0, 0.2 * w), 0), V(w - random.Uniform(0, 0.2 * w), 0), V(w, h), V(0, h)});
}

// A rounded rectangle, counter-clockwise, corners of radius r.
std::vector<check::Vertex> RoundedRect(double x0, double y0, double x1, double y1, double r) {
  return {V(x0 + r, y0), ArcFrom(x1 - r, y0, x1 - r, y0 + r),
          V(x1, y0 + r), ArcFrom(x1, y1 - r, x1 - r, y1 - r),
          V(x1 - r, y1), ArcFrom(x0 + r, y1, x0 + r, y1 - r),
          V(x0, y1 - r), ArcFrom(x0, y0 + r, x0 + r, y0 + r)};
}

enum class Kind {
  kMirroredAlongY,
  kShallowBulges,
  kCrossingDefects,
  kSelfCrossing,
  kArcHoles,
  kPartialStrips,
  kCount,
};

const char* NameOf(Kind kind) {
  switch (kind) {
    case Kind::kMirroredAlongY:
      return "mirrored parts along y";
    case Kind::kShallowBulges:
      return "shallow bulges under a cutter";
    case Kind::kCrossingDefects:
      return "crossing defects";
    case Kind::kSelfCrossing:
      return "self-crossing outlines";
    case Kind::kArcHoles:
      return "arc-edged usable holes";
    case Kind::kPartialStrips:
      return "heights that are not whole strips";
    default:
      return "?";
  }
}

cli::Problem Generate(uint64_t seed, Kind kind) {
  TRandom random(seed);
  cli::Problem problem;
  cli::Parameters& p = problem.parameters;
  p.level = random.Integer(1, 3);
  p.seed = random.Integer(0, 1000);
  p.corner = random.Integer(0, 3);
  p.direction = random.Integer(0, 1);
  p.resolution = random.Uniform(0.3, 1.7);
  const double w = random.Uniform(30, 60);
  const double h = random.Uniform(25, 50);
  switch (kind) {
    case Kind::kMirroredAlongY: {
      p.direction = 1;
      std::vector<check::Shape> defects;
      for (int32_t d = random.Integer(1, 4); d > 0; --d) {
        // Near an edge, small, inside the sheet.
        const bool bottom = random.Chance(0.5);
        defects.push_back(Circle(random.Uniform(0.25 * w, 0.75 * w),
                                 bottom ? random.Uniform(0.5, 2.0) : h - random.Uniform(0.5, 2.0),
                                 random.Uniform(0.1, 0.4)));
      }
      problem.stocks.push_back(Stock(SlantedSheet(random, w, h), std::move(defects)));
      for (int32_t k = random.Integer(2, 4); k > 0; --k) {
        std::vector<check::Vertex> star =
            Star(random, 0, 0, random.Uniform(2, 6), random.Integer(3, 7));
        problem.parts.push_back(Part(Polygon(std::move(star)), random.Integer(1, 4),
                                     random.Chance(0.5) ? 90.0 : 0.0, true));
      }
      break;
    }
    case Kind::kShallowBulges: {
      p.cutterDiameter = random.Uniform(0.05, 0.6);
      p.cutterType = random.Integer(0, 1);
      problem.stocks.push_back(Stock(Rect(0, 0, w, h)));
      for (int32_t k = random.Integer(2, 4); k > 0; --k) {
        std::vector<check::Vertex> star =
            Star(random, 0, 0, random.Uniform(3, 8), random.Integer(3, 6));
        for (size_t i = 0; i < star.size(); ++i) {
          if (random.Chance(0.7)) {
            Bulge(star, i, random.Uniform(0.001, 2.0) * kTwoPi / 360.0, random.Chance(0.8));
          }
        }
        problem.parts.push_back(Part(Polygon(std::move(star)), random.Integer(1, 4),
                                     random.Chance(0.5) ? 45.0 : 0.0, random.Chance(0.5)));
      }
      break;
    }
    case Kind::kCrossingDefects: {
      std::vector<check::Shape> defects;
      for (int32_t d = random.Integer(1, 4); d > 0; --d) {
        const double x = random.Uniform(-0.2 * w, w);
        const double y = random.Uniform(-0.2 * h, h);
        if (random.Chance(0.5)) {
          defects.push_back(
              Rect(x, y, x + random.Uniform(2, 0.5 * w), y + random.Uniform(2, 0.5 * h)));
        } else {
          defects.push_back(Circle(x, y, random.Uniform(1, 0.3 * h)));
        }
      }
      const bool round = random.Chance(0.3);
      problem.stocks.push_back(
          Stock(round ? Circle(0.5 * w, 0.5 * w, 0.5 * w) : Rect(0, 0, w, h), std::move(defects)));
      if (round) problem.stocks.back().margin = random.Uniform(0, 2);
      for (int32_t k = random.Integer(2, 4); k > 0; --k) {
        problem.parts.push_back(Part(Polygon(Star(random, 0, 0, random.Uniform(2, 5), 5)),
                                     random.Integer(2, 6), 90.0, random.Chance(0.5)));
      }
      break;
    }
    case Kind::kSelfCrossing: {
      // The sheet's right side is an arc; some parts list their vertices in
      // a random order, which mostly crosses.
      problem.stocks.push_back(
          Stock(Polygon({V(0, 0), ArcFrom(w, 0, w, 0.5 * h, false), V(w, h), V(0, h)})));
      for (int32_t k = random.Integer(2, 4); k > 0; --k) {
        std::vector<check::Vertex> star =
            Star(random, 0, 0, random.Uniform(2, 6), random.Integer(4, 6));
        if (random.Chance(0.6)) {
          for (size_t i = star.size() - 1; i > 0; --i) {
            std::swap(star[i],
                      star[static_cast<size_t>(random.Integer(0, static_cast<int32_t>(i)))]);
          }
        }
        if (random.Chance(0.5)) Bulge(star, star.size() - 1, random.Uniform(0.5, 2.5), true);
        problem.parts.push_back(Part(Polygon(std::move(star)), random.Integer(1, 3), 0.0, false));
      }
      break;
    }
    case Kind::kArcHoles: {
      p.cutterDiameter = random.Uniform(0.2, 2.0);
      p.cutterType = random.Integer(0, 1);
      problem.stocks.push_back(Stock(Rect(0, 0, w, h)));
      const double fw = random.Uniform(14, 24);
      const double fh = random.Uniform(12, 20);
      const double rim = random.Uniform(1.5, 3);
      cli::PartEntry frame = Part(Polygon(RoundedRect(0, 0, fw, fh, random.Uniform(0.5, 2))),
                                  random.Integer(1, 2), 90.0, false);
      std::vector<check::Vertex> hole =
          RoundedRect(rim, rim, fw - rim, fh - rim, random.Uniform(0.3, 0.45 * (fh - 2 * rim)));
      if (random.Chance(0.5)) Bulge(hole, 0, random.Uniform(0.2, 1.0), false);
      frame.holes.push_back({Polygon(std::move(hole)), true, 0.0, 0});
      problem.parts.push_back(std::move(frame));
      problem.parts.push_back(Part(Rect(0, 0, random.Uniform(2, 5), random.Uniform(2, 5)),
                                   random.Integer(4, 12), 90.0, false));
      problem.parts.push_back(
          Part(Circle(0, 0, random.Uniform(1, 2.5)), random.Integer(2, 6), 0.0, false));
      break;
    }
    default: {
      p.resolution = random.Uniform(0.37, 1.9);
      problem.stocks.push_back(Stock(SlantedSheet(random, w, h), {Circle(0.5 * w, 0.5 * h, 2)}));
      for (int32_t k = random.Integer(2, 5); k > 0; --k) {
        const double a = random.Uniform(1.1, 7.3);
        const double b = random.Uniform(1.1, 7.3);
        problem.parts.push_back(
            Part(random.Chance(0.5) ? Rect(0, 0, a, b) : Polygon({V(0, 0), V(a, 0), V(0.3 * a, b)}),
                 random.Integer(1, 5), random.Chance(0.5) ? 90.0 : 0.0, random.Chance(0.5)));
      }
      break;
    }
  }
  return problem;
}

struct Collected {
  TVarnest2D* engine = nullptr;
  std::vector<check::Sheet> sheets;
};

void Collect(void* data) {
  auto& run = *static_cast<Collected*>(data);
  run.sheets = check::CollectSheets(*run.engine);
}

TEST(RandomProblems, EveryLayoutPassesTheIndependentCheck) {
  constexpr uint64_t kSeedsPerKind = 200;
  for (int32_t k = 0; k < static_cast<int32_t>(Kind::kCount); ++k) {
    const Kind kind = static_cast<Kind>(k);
    for (uint64_t n = 0; n < kSeedsPerKind; ++n) {
      const uint64_t seed = 1000 * static_cast<uint64_t>(k) + n;
      const cli::Problem problem = Generate(seed, kind);
      TVarnest2D engine;
      Collected run{&engine, {}};
      engine.OnFinish = Collect;
      engine.OnFinishData = &run;
      cli::ApplyParameters(engine, problem.parameters);
      cli::DefineProblem(engine, problem);
      engine.Execute();
      const cli::Parameters& p = problem.parameters;
      const check::CheckOptions options = check::OptionsForCutter(
          p.cutterDiameter.value_or(0.0), p.cutterType.value_or(0), p.resolution.value_or(1.0));
      const std::vector<check::Finding> findings = check::CheckLayout(run.sheets, options);
      for (const check::Finding& finding : findings) {
        ADD_FAILURE() << NameOf(kind) << ", seed " << seed << ": "
                      << check::Describe(finding, run.sheets);
      }
      // The problem itself, to be run again with varnest nest.
      if (!findings.empty()) ADD_FAILURE() << cli::WriteProblem(problem).dump();
    }
  }
}

}  // namespace
}  // namespace varnest
