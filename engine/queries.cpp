// Definition and result queries: a bounds check followed by plain reads.

#include "varnest/engine/varnest2d.h"

namespace varnest {

namespace {

// Bytes are reported with their sign, so an undefined kind (255) reads -1.
int32_t Signed(uint8_t value) { return static_cast<int8_t>(value); }

const TPolygon* PolygonOf(const TBaseShape& shape) {
  return shape.FShapeType == 0 && shape.FPolygon ? &*shape.FPolygon : nullptr;
}

const TTrueHole* HoleAt(const std::vector<TTrueHole>& holes, int32_t numberOfHoles, int32_t hole) {
  if (hole < 0 || hole >= numberOfHoles || hole >= static_cast<int32_t>(holes.size()))
    return nullptr;
  return &holes[static_cast<size_t>(hole)];
}

// Kind, vertex count and circle values of a shape, as the queries report them.
// Returns false when the shape the kind names is missing.
bool DescribeShape(uint8_t kind, const std::optional<TPolygon>& polygon,
                   const std::optional<TCircle>& circle, int32_t& numberOfVertices, double& centerX,
                   double& centerY, double& radius) {
  if (kind == 0) {
    if (!polygon) return false;
    numberOfVertices = polygon->NumberOfVertices();
    centerX = centerY = radius = 0.0;
  } else {
    if (!circle) return false;
    numberOfVertices = 0;
    centerX = circle->FCenter.X;
    centerY = circle->FCenter.Y;
    radius = circle->FRadius;
  }
  return true;
}

void ReadVertex(const TPolygon* polygon, int32_t vertex, double& x, double& y, int32_t& id) {
  if (polygon == nullptr || vertex < 0 || vertex >= polygon->NumberOfVertices()) return;
  const TPolygonVertex& v = polygon->FVertices[static_cast<size_t>(vertex)];
  x = v.X;
  y = v.Y;
  id = v.Id;
}

void ReadArc(const TPolygon* polygon, int32_t edge, int32_t& isArc, double& centerX,
             double& centerY, int32_t& clockwise, int32_t& id) {
  if (polygon == nullptr || edge < 0 || edge >= polygon->NumberOfVertices()) return;
  const TPolygonArc& arc = polygon->FArcs[static_cast<size_t>(edge)];
  isArc = Signed(arc.IsArc);
  centerX = arc.Center.X;
  centerY = arc.Center.Y;
  clockwise = Signed(arc.Clockwise);
  id = arc.Id;
}

void ReadHole(const TTrueHole& hole, int32_t& type, int32_t& numberOfVertices, double& centerX,
              double& centerY, double& radius, int32_t& id) {
  const TBaseShape& shape = hole.FShape;
  int32_t n = 0;
  double cx = 0.0, cy = 0.0, r = 0.0;
  if (!DescribeShape(shape.FShapeType, shape.FPolygon, shape.FCircle, n, cx, cy, r)) {
    n = 0;  // a hole whose shape was never defined reports an empty polygon
  }
  type = Signed(shape.FShapeType);
  numberOfVertices = n;
  centerX = cx;
  centerY = cy;
  radius = r;
  id = hole.FId;
}

}  // namespace

void TVarnest2D::GetPart(int32_t part, int32_t& type, int32_t& numberOfVertices, double& centerX,
                         double& centerY, double& radius, int32_t& numberOfHoles,
                         double& rotationStep, double& rotationCenterX, double& rotationCenterY,
                         int32_t& allowMirror, int32_t& priority, int32_t& id) const {
  const part2d_any* p = PartAt(part);
  if (p == nullptr) return;
  int32_t n = 0;
  double cx = 0.0, cy = 0.0, r = 0.0;
  if (!DescribeShape(p->FShapeType, p->FOutline, p->FCircle, n, cx, cy, r)) {
    n = 0;  // counted but never defined, or of an unknown kind: no shape
  }
  type = Signed(p->FShapeType);
  numberOfVertices = n;
  centerX = cx;
  centerY = cy;
  radius = r;
  numberOfHoles = p->FNumberOfHoles;
  rotationStep = p->FRotationStep;
  rotationCenterX = p->FCenterOfRotation.X;
  rotationCenterY = p->FCenterOfRotation.Y;
  allowMirror = p->FAllowMirror;
  priority = p->FPriority;
  id = p->FId;
}

void TVarnest2D::GetStock(int32_t stock, int32_t& type, int32_t& numberOfVertices, double& centerX,
                          double& centerY, double& radius, int32_t& numberOfHoles, double& margin,
                          int32_t& priority, int32_t& id) const {
  const stock2d_any* s = StockAt(stock);
  if (s == nullptr) return;
  int32_t n = 0;
  double cx = 0.0, cy = 0.0, r = 0.0;
  if (!DescribeShape(s->FShapeType, s->FOutline, s->FCircle, n, cx, cy, r)) n = 0;
  type = Signed(s->FShapeType);
  numberOfVertices = n;
  centerX = cx;
  centerY = cy;
  radius = r;
  numberOfHoles = s->FNumberOfHoles;
  margin = s->FMargin;
  priority = s->FPriority;
  id = s->FId;
}

void TVarnest2D::GetStockVertex(int32_t stock, int32_t vertex, double& x, double& y,
                                int32_t& id) const {
  const stock2d_any* s = StockAt(stock);
  if (s == nullptr || !s->IsPolygon() || !s->FOutline) return;
  ReadVertex(&*s->FOutline, vertex, x, y, id);
}

void TVarnest2D::GetStockArc(int32_t stock, int32_t edge, int32_t& isArc, double& centerX,
                             double& centerY, int32_t& clockwise, int32_t& id) const {
  const stock2d_any* s = IsIdle() ? StockAt(stock) : nullptr;
  if (s == nullptr || !s->IsPolygon() || !s->FOutline) return;
  ReadArc(&*s->FOutline, edge, isArc, centerX, centerY, clockwise, id);
}

void TVarnest2D::GetStockBounds(int32_t stock, double& minX, double& minY, double& maxX,
                                double& maxY) const {
  const stock2d_any* s = StockAt(stock);
  if (s == nullptr) return;
  const TBox* box = nullptr;
  if (s->IsPolygon()) {
    if (s->FOutline) box = &*s->FOutline;
  } else if (s->FCircle) {
    box = &*s->FCircle;
  }
  if (box == nullptr) return;
  minX = box->FMinX;
  minY = box->FMinY;
  maxX = box->FMaxX;
  maxY = box->FMaxY;
}

void TVarnest2D::GetPartHole(int32_t part, int32_t hole, int32_t& type, int32_t& numberOfVertices,
                             double& centerX, double& centerY, double& radius, int32_t& nestInside,
                             int32_t& id) const {
  const part2d_any* p = IsIdle() ? PartAt(part) : nullptr;
  if (p == nullptr) return;
  const TTrueHole* h = HoleAt(p->FHoles, p->FNumberOfHoles, hole);
  if (h == nullptr) return;
  ReadHole(*h, type, numberOfVertices, centerX, centerY, radius, id);
  nestInside = Signed(h->FNestInside);
}

void TVarnest2D::GetStockHole(int32_t stock, int32_t hole, int32_t& type, int32_t& numberOfVertices,
                              double& centerX, double& centerY, double& radius, double& value,
                              int32_t& id) const {
  const stock2d_any* s = IsIdle() ? StockAt(stock) : nullptr;
  if (s == nullptr) return;
  const TTrueHole* h = HoleAt(s->FHoles, s->FNumberOfHoles, hole);
  if (h == nullptr) return;
  ReadHole(*h, type, numberOfVertices, centerX, centerY, radius, id);
  value = h->FValue;
}

void TVarnest2D::GetStockHoleVertex(int32_t stock, int32_t hole, int32_t vertex, double& x,
                                    double& y, int32_t& id) const {
  const stock2d_any* s = IsIdle() ? StockAt(stock) : nullptr;
  if (s == nullptr) return;
  const TTrueHole* h = HoleAt(s->FHoles, s->FNumberOfHoles, hole);
  if (h != nullptr) ReadVertex(PolygonOf(h->FShape), vertex, x, y, id);
}

void TVarnest2D::GetStockHoleArc(int32_t stock, int32_t hole, int32_t edge, int32_t& isArc,
                                 double& centerX, double& centerY, int32_t& clockwise,
                                 int32_t& id) const {
  const stock2d_any* s = IsIdle() ? StockAt(stock) : nullptr;
  if (s == nullptr) return;
  const TTrueHole* h = HoleAt(s->FHoles, s->FNumberOfHoles, hole);
  if (h != nullptr) ReadArc(PolygonOf(h->FShape), edge, isArc, centerX, centerY, clockwise, id);
}

// --- Result queries ----------------------------------------------------------

const Chromosome* TVarnest2D::SheetAt(int32_t sheet) const {
  return FSolution.FLayouts.ItemAt(sheet);
}

void TVarnest2D::GetSheetStock(int32_t sheet, int32_t& type, int32_t& stockIndex,
                               int32_t& stockId) const {
  if (!IsIdle()) return;
  const Chromosome* layout = SheetAt(sheet);
  const stock2d_any* stock = layout ? StockAt(layout->FStockIndex) : nullptr;
  if (stock == nullptr) {
    stockIndex = get_NumberOfStockPieces();
    return;
  }
  stockIndex = layout->FStockIndex;
  stockId = stock->FId;
  type = Signed(stock->FShapeType);
}

void TVarnest2D::GetSheetPartCount(int32_t sheet, int32_t& count, int32_t& stockIndex,
                                   int32_t& stockId) const {
  if (!IsIdle()) return;
  const Chromosome* layout = SheetAt(sheet);
  const stock2d_any* stock = layout ? StockAt(layout->FStockIndex) : nullptr;
  if (stock == nullptr) {
    count = 0;
    return;
  }
  count = layout->NumberOfPieces();
  stockIndex = layout->FStockIndex;
  stockId = stock->FId;
}

void TVarnest2D::GetSheetUtilization(int32_t sheet, double& utilization, int32_t& stockIndex,
                                     int32_t& stockId) const {
  const Chromosome* layout = SheetAt(sheet);
  const stock2d_any* stock = layout ? StockAt(layout->FStockIndex) : nullptr;
  if (stock == nullptr) {
    utilization = 0.0;
    return;
  }
  utilization = layout->FPlacedArea / stock->FNetArea;
  stockIndex = layout->FStockIndex;
  stockId = stock->FId;
}

void TVarnest2D::GetPlacedPart(int32_t sheet, int32_t piece, int32_t& type,
                               int32_t& numberOfVertices, double& centerX, double& centerY,
                               double& radius, double& angle, int32_t& mirrored,
                               int32_t& numberOfHoles, double& x, double& y, int32_t& stockIndex,
                               int32_t& partIndex, int32_t& stockId, int32_t& partId) const {
  if (!IsIdle()) return;
  const Chromosome* layout = SheetAt(sheet);
  if (layout == nullptr || piece < 0 || piece >= layout->NumberOfPieces()) return;
  const TPiece_any& p = layout->FPieces[static_cast<size_t>(piece)];
  const part2d_any* part = PartAt(p.FPartIndex);
  const stock2d_any* stock = StockAt(layout->FStockIndex);
  if (part == nullptr || stock == nullptr) return;
  int32_t n = 0;
  double cx = 0.0, cy = 0.0, r = 0.0;
  if (!DescribeShape(part->FShapeType, p.FPlacedOutline, p.FPlacedCircle, n, cx, cy, r)) return;
  double turned = 0.0;
  if (p.FRotationIndex >= 0 &&
      p.FRotationIndex < static_cast<int32_t>(part->FRotationMultiples.size())) {
    turned = part->FRotationMultiples[static_cast<size_t>(p.FRotationIndex)] * part->FRotationStep;
  }
  type = Signed(part->FShapeType);
  numberOfVertices = n;
  centerX = cx;
  centerY = cy;
  radius = r;
  angle = turned;
  mirrored = p.FMirrored;
  numberOfHoles = part->FNumberOfHoles;
  x = p.FPosition.X;
  y = p.FPosition.Y;
  stockIndex = layout->FStockIndex;
  partIndex = p.FPartIndex;
  stockId = stock->FId;
  partId = part->FId;
}

void TVarnest2D::GetPlacedPartVertex(int32_t sheet, int32_t piece, int32_t vertex, int32_t& isArc,
                                     double& x, double& y, double& centerX, double& centerY,
                                     int32_t& clockwise, int32_t& stockIndex, int32_t& partIndex,
                                     int32_t& stockId, int32_t& partId, int32_t& vertexId) const {
  if (!IsIdle()) return;
  const Chromosome* layout = SheetAt(sheet);
  if (layout == nullptr || piece < 0 || piece >= layout->NumberOfPieces()) return;
  const TPiece_any& p = layout->FPieces[static_cast<size_t>(piece)];
  if (p.FShapeType != 0 || !p.FPlacedOutline) return;
  const TPolygon& outline = *p.FPlacedOutline;
  if (vertex < 0 || vertex >= outline.NumberOfVertices()) return;
  const part2d_any* part = PartAt(p.FPartIndex);
  const stock2d_any* stock = StockAt(layout->FStockIndex);
  if (part == nullptr || stock == nullptr) return;
  const TPolygonVertex& v = outline.FVertices[static_cast<size_t>(vertex)];
  const TPolygonArc& arc = outline.FArcs[static_cast<size_t>(vertex)];
  isArc = Signed(arc.IsArc);
  x = v.X;
  y = v.Y;
  centerX = arc.Center.X;
  centerY = arc.Center.Y;
  clockwise = Signed(arc.Clockwise);
  stockIndex = layout->FStockIndex;
  partIndex = p.FPartIndex;
  stockId = stock->FId;
  partId = part->FId;
  vertexId = v.Id;
}

void TVarnest2D::GetPlacedPartHoleVertex(int32_t sheet, int32_t piece, int32_t hole, int32_t vertex,
                                         int32_t& isArc, double& x, double& y, double& centerX,
                                         double& centerY, int32_t& clockwise, int32_t& stockIndex,
                                         int32_t& partIndex, int32_t& stockId, int32_t& partId,
                                         int32_t& holeId, int32_t& vertexId) const {
  if (!IsIdle()) return;
  const Chromosome* layout = SheetAt(sheet);
  if (layout == nullptr || piece < 0 || piece >= layout->NumberOfPieces()) return;
  const TPiece_any& p = layout->FPieces[static_cast<size_t>(piece)];
  if (hole < 0 || hole >= p.NumberOfHoles()) return;
  const TPolygon* polygon = PolygonOf(p.FPlacedHoles[static_cast<size_t>(hole)].FShape);
  if (polygon == nullptr || vertex < 0 || vertex >= polygon->NumberOfVertices()) return;
  const part2d_any* part = PartAt(p.FPartIndex);
  const stock2d_any* stock = StockAt(layout->FStockIndex);
  if (part == nullptr || stock == nullptr) return;
  const TTrueHole* defined = HoleAt(part->FHoles, part->FNumberOfHoles, hole);
  const TPolygonVertex& v = polygon->FVertices[static_cast<size_t>(vertex)];
  const TPolygonArc& arc = polygon->FArcs[static_cast<size_t>(vertex)];
  isArc = Signed(arc.IsArc);
  x = v.X;
  y = v.Y;
  centerX = arc.Center.X;
  centerY = arc.Center.Y;
  clockwise = Signed(arc.Clockwise);
  stockIndex = layout->FStockIndex;
  partIndex = p.FPartIndex;
  stockId = stock->FId;
  partId = part->FId;
  holeId = defined ? defined->FId : -1;
  vertexId = v.Id;
}

void TVarnest2D::GetOptimizationTime(double& seconds) const {
  if (IsIdle()) seconds = FSolution.FOptimizationTime;
}

void TVarnest2D::GetErrorInfo(int32_t& code, int32_t& index, int32_t& subIndex) const {
  code = FErrorInfo.FCode;
  index = FErrorInfo.FIndex;
  subIndex = FErrorInfo.FSubIndex;
}

void TVarnest2D::GetSheetCount(int32_t& count) const {
  if (IsIdle()) count = FSolution.FLayouts.Count();
}

void TVarnest2D::GetTotalNumberOfUtilizedDemandPieces(int32_t& count) const {
  count = FTotalNumberOfUtilizedDemandPieces;
}

}  // namespace varnest
