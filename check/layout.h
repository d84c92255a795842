#pragma once
// The plain records that the independent layout check reads: placed pieces
// and stocks as the engine's result queries report them, in the caller's
// coordinates. They depend on nothing in the engine, so a layout read back
// from a file is checked exactly like one taken from a run.

#include <cstdint>
#include <vector>

namespace varnest::check {

// A vertex of an outline and the edge that leaves it, as GetPlacedPartVertex
// reports them: the edge runs to the next vertex (the last one to the first)
// as a straight segment or, when isArc is set, as a circular arc about the
// centre, clockwise when clockwise is set. The arc's radius is the distance
// from the centre to this vertex.
struct Vertex {
  double x = 0.0;
  double y = 0.0;
  int32_t id = 0;
  bool isArc = false;
  double centerX = 0.0;
  double centerY = 0.0;
  bool clockwise = false;
  int32_t arcId = 0;
};

// An outline with arc edges, or a circle.
struct Shape {
  enum class Kind { kPolygon, kCircle };
  Kind kind = Kind::kPolygon;
  std::vector<Vertex> vertices;  // polygon only
  double centerX = 0.0;          // circle only
  double centerY = 0.0;
  double radius = 0.0;

  bool IsCircle() const { return kind == Kind::kCircle; }
  static Shape Polygon(std::vector<Vertex> vertices);
  static Shape Circle(double centerX, double centerY, double radius);
};

// A hole of a part or a defect of a stock. Only a part hole with nestInside
// set is free space for other pieces; every other hole of a part is treated
// as material, because nothing may be placed in it.
struct Hole {
  Shape shape;
  bool nestInside = false;  // part holes
  double value = 0.0;       // stock defects: carried, not checked
  int32_t id = 0;
};

struct PlacedPiece {
  int32_t partIndex = -1;
  int32_t partId = -1;
  double angle = 0.0;  // degrees, counter-clockwise
  bool mirrored = false;
  double x = 0.0;  // the translation that carries the turned part onto the stock
  double y = 0.0;
  Shape outline;
  std::vector<Hole> holes;
};

struct Stock {
  int32_t index = -1;
  int32_t id = -1;
  Shape outline;
  // A circle stock's usable radius is its radius minus the margin; a polygon
  // stock has no margin (the engine gives it none).
  double margin = 0.0;
  std::vector<Hole> defects;
};

// One used stock sheet with the pieces placed on it.
struct Sheet {
  Stock stock;
  double utilization = 0.0;  // as reported; carried, not checked
  std::vector<PlacedPiece> pieces;
};

}  // namespace varnest::check
