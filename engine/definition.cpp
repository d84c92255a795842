// The problem definition protocol: counts, shapes, vertices, arcs, holes.
// Every call copies what it is given; nothing the caller passes is kept.

#include <cmath>
#include <new>
#include <stdexcept>

#include "varnest/engine/varnest2d.h"
#include "varnest/geometry/fuzzy.h"
#include "varnest/model/rotations.h"
#include "varnest/model/run_limits.h"

namespace varnest {

namespace {

uint8_t LowByte(int32_t value) { return static_cast<uint8_t>(value & 0xFF); }

// A count a definition call can hold: from 0 (or below, where a negative
// count means none) up to the engine's limit.
bool Holdable(int32_t count) { return count <= kMaxDefinitionCount; }

// Runs a definition that builds its new records aside and moves them in at
// the end, so that an allocation that fails leaves everything as it was: the
// call is then ignored like any other it cannot honour.
template <typename Define>
void Atomically(Define define) {
  try {
    define();
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
}

TPolygon* PolygonOf(TBaseShape& shape) {
  return shape.FShapeType == 0 && shape.FPolygon ? &*shape.FPolygon : nullptr;
}

void SetVertex(TPolygon* polygon, int32_t vertex, double x, double y, int32_t id) {
  if (polygon == nullptr || vertex < 0 || vertex >= polygon->NumberOfVertices()) return;
  TPolygonVertex& v = polygon->FVertices[static_cast<size_t>(vertex)];
  v.X = x;
  v.Y = y;
  v.Id = id;
  // A vertex call makes its edge straight again.
  polygon->FArcs[static_cast<size_t>(vertex)].IsArc = 0;
}

void SetArc(TPolygon* polygon, int32_t edge, double centerX, double centerY, int32_t clockwise,
            int32_t id) {
  if (polygon == nullptr || edge < 0 || edge >= polygon->NumberOfVertices()) return;
  TPolygonArc& arc = polygon->FArcs[static_cast<size_t>(edge)];
  arc.IsArc = 1;
  arc.Center = TPoint2D{centerX, centerY};
  arc.Clockwise = LowByte(clockwise);
  arc.Id = id;
}

// Replaces the shape of a hole; every non-zero kind means circle here.
void DefineHoleShape(TTrueHole& hole, int32_t type, int32_t numberOfVertices, double centerX,
                     double centerY, double radius, int32_t id) {
  TBaseShape shape;
  shape.FShapeType = LowByte(type);
  if (type == 0) {
    shape.FPolygon.emplace(numberOfVertices);
  } else {
    shape.FCircle.emplace(TPoint2D{centerX, centerY}, radius);
  }
  // Only the shape is new: the box block of the hole stays as it was.
  hole.FShape.FPolygon = std::move(shape.FPolygon);
  hole.FShape.FCircle = std::move(shape.FCircle);
  hole.FShape.FShapeType = shape.FShapeType;
  hole.FId = id;
}

TTrueHole* HoleAt(std::vector<TTrueHole>& holes, int32_t numberOfHoles, int32_t hole) {
  if (hole < 0 || hole >= numberOfHoles || hole >= static_cast<int32_t>(holes.size()))
    return nullptr;
  return &holes[static_cast<size_t>(hole)];
}

std::vector<TTrueHole> FreshHoles(int32_t count) {
  return count > 0 ? std::vector<TTrueHole>(static_cast<size_t>(count)) : std::vector<TTrueHole>();
}

}  // namespace

void TVarnest2D::set_NumberOfParts(int32_t count) {
  if (!IsIdle() || !Holdable(count)) return;
  Atomically([&] {
    part2d_array_any parts(count > 0 ? static_cast<size_t>(count) : 0);
    for (size_t i = 0; i < parts.size(); ++i) {
      parts[i].FShapeType = kShapePolygon;
      parts[i].FIndex = static_cast<int32_t>(i);
    }
    FParts = std::move(parts);
  });
}

void TVarnest2D::set_NumberOfStockPieces(int32_t count) {
  if (!IsIdle() || !Holdable(count)) return;
  Atomically([&] {
    stock2d_array_any stocks(count > 0 ? static_cast<size_t>(count) : 0);
    for (size_t i = 0; i < stocks.size(); ++i) {
      stocks[i].FShapeType = kShapePolygon;
      stocks[i].FIndex = static_cast<int32_t>(i);
    }
    FStocks = std::move(stocks);
  });
}

void TVarnest2D::SetPart(int32_t index, int32_t type, int32_t numberOfVertices, double centerX,
                         double centerY, double radius, int32_t numberOfHoles, double rotationStep,
                         double rotationCenterX, double rotationCenterY, int32_t allowMirror,
                         int32_t priority, int32_t id) {
  part2d_any* part = IsIdle() ? PartAt(index) : nullptr;
  if (part == nullptr || numberOfVertices < 0 || !Holdable(numberOfVertices) ||
      !Holdable(numberOfHoles)) {
    return;
  }
  Atomically([&] {
    part2d_any defined;
    defined.FNumberOfRotations = NumberOfRotationsForStep(rotationStep, SoundPrecision(FPrecision));
    const bool turns = defined.FNumberOfRotations > 1;
    if (type == 0) {
      defined.FOutline.emplace(numberOfVertices);
      defined.FHoles = FreshHoles(numberOfHoles);
    } else if (type == 1) {
      defined.FCircle.emplace(TPoint2D{centerX, centerY}, radius);
      // A circle without holes looks the same in every rotation.
      if (numberOfHoles <= 0) defined.FNumberOfRotations = 1;
      defined.FHoles = FreshHoles(numberOfHoles);
    }
    // Below kMinRotationStep the rotations that can be prepared would not
    // reach round the circle.
    defined.FRotationStep = turns ? RotationStepFor(rotationStep) : rotationStep;
    defined.FAllowMirror = allowMirror;
    defined.FId = id;
    defined.FPriority = priority;
    defined.FIndex = index;
    defined.FShapeType = LowByte(type);
    defined.FNumberOfHoles = numberOfHoles;
    defined.FCenterOfRotation = TPoint2D{rotationCenterX, rotationCenterY};
    *part = std::move(defined);
  });
}

void TVarnest2D::SetPartVertex(int32_t part, int32_t vertex, double x, double y, int32_t id) {
  part2d_any* p = IsIdle() ? PartAt(part) : nullptr;
  if (p == nullptr || !p->IsPolygon() || !p->FOutline) return;
  SetVertex(&*p->FOutline, vertex, x, y, id);
}

void TVarnest2D::SetPartArc(int32_t part, int32_t edge, double centerX, double centerY,
                            int32_t clockwise, int32_t id) {
  part2d_any* p = IsIdle() ? PartAt(part) : nullptr;
  if (p == nullptr || !p->IsPolygon() || !p->FOutline) return;
  SetArc(&*p->FOutline, edge, centerX, centerY, clockwise, id);
}

void TVarnest2D::SetPartHole(int32_t part, int32_t hole, int32_t type, int32_t numberOfVertices,
                             double centerX, double centerY, double radius, int32_t nestInside,
                             int32_t id) {
  part2d_any* p = IsIdle() ? PartAt(part) : nullptr;
  if (p == nullptr) return;
  TTrueHole* h = HoleAt(p->FHoles, p->FNumberOfHoles, hole);
  if (h == nullptr || (type == 0 && (numberOfVertices < 0 || !Holdable(numberOfVertices)))) {
    return;
  }
  Atomically([&] {
    DefineHoleShape(*h, type, numberOfVertices, centerX, centerY, radius, id);
    h->FNestInside = LowByte(nestInside);
    h->FUsable = h->FNestInside;
  });
}

void TVarnest2D::SetPartHoleVertex(int32_t part, int32_t hole, int32_t vertex, double x, double y,
                                   int32_t id) {
  part2d_any* p = IsIdle() ? PartAt(part) : nullptr;
  if (p == nullptr) return;
  TTrueHole* h = HoleAt(p->FHoles, p->FNumberOfHoles, hole);
  if (h != nullptr) SetVertex(PolygonOf(h->FShape), vertex, x, y, id);
}

void TVarnest2D::SetPartHoleArc(int32_t part, int32_t hole, int32_t edge, double centerX,
                                double centerY, int32_t clockwise, int32_t id) {
  part2d_any* p = IsIdle() ? PartAt(part) : nullptr;
  if (p == nullptr) return;
  TTrueHole* h = HoleAt(p->FHoles, p->FNumberOfHoles, hole);
  if (h != nullptr) SetArc(PolygonOf(h->FShape), edge, centerX, centerY, clockwise, id);
}

void TVarnest2D::SetStock(int32_t index, int32_t type, int32_t numberOfVertices, double centerX,
                          double centerY, double radius, int32_t numberOfHoles, double margin,
                          int32_t priority, int32_t id) {
  stock2d_any* stock = IsIdle() ? StockAt(index) : nullptr;
  if (stock == nullptr || numberOfVertices < 0 || !Holdable(numberOfVertices) ||
      !Holdable(numberOfHoles)) {
    return;
  }
  Atomically([&] {
    stock2d_any defined;
    if (type == 0) {
      defined.FOutline.emplace(numberOfVertices);
    } else if (type == 1) {
      defined.FCircle.emplace(TPoint2D{centerX, centerY}, radius);
    }
    defined.FShapeType = LowByte(type);
    defined.FHoles = FreshHoles(numberOfHoles);
    defined.FShiftedHoles = FreshHoles(numberOfHoles);
    defined.FId = id;
    defined.FPriority = priority;
    defined.FIndex = index;
    defined.FNumberOfHoles = numberOfHoles;
    defined.FMargin = margin;
    *stock = std::move(defined);
  });
}

void TVarnest2D::SetStockVertex(int32_t stock, int32_t vertex, double x, double y, int32_t id) {
  stock2d_any* s = IsIdle() ? StockAt(stock) : nullptr;
  if (s == nullptr || !s->IsPolygon() || !s->FOutline) return;
  SetVertex(&*s->FOutline, vertex, x, y, id);
}

void TVarnest2D::SetStockArc(int32_t stock, int32_t edge, double centerX, double centerY,
                             int32_t clockwise, int32_t id) {
  stock2d_any* s = IsIdle() ? StockAt(stock) : nullptr;
  if (s == nullptr || !s->IsPolygon() || !s->FOutline) return;
  SetArc(&*s->FOutline, edge, centerX, centerY, clockwise, id);
}

void TVarnest2D::SetStockHole(int32_t stock, int32_t hole, int32_t type, int32_t numberOfVertices,
                              double centerX, double centerY, double radius, double value,
                              int32_t id) {
  stock2d_any* s = IsIdle() ? StockAt(stock) : nullptr;
  if (s == nullptr) return;
  TTrueHole* h = HoleAt(s->FHoles, s->FNumberOfHoles, hole);
  if (h == nullptr || (type == 0 && (numberOfVertices < 0 || !Holdable(numberOfVertices)))) {
    return;
  }
  Atomically([&] {
    DefineHoleShape(*h, type, numberOfVertices, centerX, centerY, radius, id);
    h->FNestInside = 0;
    h->FValue = value;
  });
}

void TVarnest2D::SetStockHoleVertex(int32_t stock, int32_t hole, int32_t vertex, double x, double y,
                                    int32_t id) {
  stock2d_any* s = IsIdle() ? StockAt(stock) : nullptr;
  if (s == nullptr) return;
  TTrueHole* h = HoleAt(s->FHoles, s->FNumberOfHoles, hole);
  if (h != nullptr) SetVertex(PolygonOf(h->FShape), vertex, x, y, id);
}

void TVarnest2D::SetStockHoleArc(int32_t stock, int32_t hole, int32_t edge, double centerX,
                                 double centerY, int32_t clockwise, int32_t id) {
  stock2d_any* s = IsIdle() ? StockAt(stock) : nullptr;
  if (s == nullptr) return;
  TTrueHole* h = HoleAt(s->FHoles, s->FNumberOfHoles, hole);
  if (h != nullptr) SetArc(PolygonOf(h->FShape), edge, centerX, centerY, clockwise, id);
}

}  // namespace varnest
