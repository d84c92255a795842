#include "cli/svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <sstream>

#include "check/flatten.h"

namespace varnest::cli {

namespace {

namespace bg = boost::geometry;

constexpr double kDrawingWidth = 800.0;  // pixels for the widest sheet
constexpr double kMargin = 12.0;
constexpr double kCaptionHeight = 22.0;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  // Trim "12.500" to "12.5" and "3.000" to "3".
  std::string out(text);
  while (!out.empty() && out.back() == '0') out.pop_back();
  if (!out.empty() && out.back() == '.') out.pop_back();
  return out == "-0" ? "0" : out;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Maps problem coordinates of one sheet to pixels.
struct Frame {
  double minX, maxY, scale, left, top;
  double X(double x) const { return left + (x - minX) * scale; }
  double Y(double y) const { return top + (maxY - y) * scale; }
};

// The box of a shape with its arcs; false for a shape without area.
bool ShapeBox(const check::Shape& shape, check::Box& box) {
  double size = 2.0 * std::fabs(shape.radius);
  if (!shape.IsCircle()) {
    check::Box corners;
    bg::assign_inverse(corners);
    for (const check::Vertex& v : shape.vertices) bg::expand(corners, check::Point(v.x, v.y));
    size = std::max(corners.max_corner().x() - corners.min_corner().x(),
                    corners.max_corner().y() - corners.min_corner().y());
  }
  if (!std::isfinite(size) || !(size > 0.0)) return false;
  const check::FlatShape flat = check::FlattenShape(shape, check::Bias::kGrow, 1e-4 * size);
  if (flat.status != check::FlattenStatus::kOk &&
      flat.status != check::FlattenStatus::kSelfCrossing) {
    return false;
  }
  bg::envelope(flat.polygon, box);
  return true;
}

// The box that holds the sheet's stock and every piece (a piece outside its
// stock should be seen, not cut off).
check::Box SheetBox(const check::Sheet& sheet) {
  check::Box box;
  bg::assign_inverse(box);
  const auto add = [&](const check::Shape& shape) {
    check::Box own;
    if (ShapeBox(shape, own)) bg::expand(box, own);
  };
  add(sheet.stock.outline);
  for (const check::PlacedPiece& piece : sheet.pieces) add(piece.outline);
  if (!(box.min_corner().x() <= box.max_corner().x())) bg::assign_values(box, 0, 0, 1, 1);
  return box;
}

void CirclePath(std::ostringstream& d, const Frame& f, double cx, double cy, double r) {
  const double R = r * f.scale;
  d << "M" << Number(f.X(cx + r)) << " " << Number(f.Y(cy)) << "A" << Number(R) << " " << Number(R)
    << " 0 1 0 " << Number(f.X(cx - r)) << " " << Number(f.Y(cy)) << "A" << Number(R) << " "
    << Number(R) << " 0 1 0 " << Number(f.X(cx + r)) << " " << Number(f.Y(cy)) << "Z";
}

void PolygonPath(std::ostringstream& d, const Frame& f, const check::Shape& shape) {
  const size_t n = shape.vertices.size();
  if (n == 0) return;
  d << "M" << Number(f.X(shape.vertices[0].x)) << " " << Number(f.Y(shape.vertices[0].y));
  for (size_t i = 0; i < n; ++i) {
    const check::Vertex& a = shape.vertices[i];
    const check::Vertex& b = shape.vertices[(i + 1) % n];
    const double r = std::hypot(a.x - a.centerX, a.y - a.centerY);
    if (!a.isArc || !(r > 0.0)) {
      d << "L" << Number(f.X(b.x)) << " " << Number(f.Y(b.y));
      continue;
    }
    const double start = std::atan2(a.y - a.centerY, a.x - a.centerX);
    const double end = std::atan2(b.y - a.centerY, b.x - a.centerX);
    double sweep = std::fmod((a.clockwise ? start - end : end - start), kTwoPi);
    if (sweep <= 0.0) sweep += kTwoPi;
    const double R = r * f.scale;
    // On screen y runs downwards, which turns a clockwise arc of the problem
    // into SVG's positive-angle direction: sweep flag 1.
    const char* flag = a.clockwise ? " 1 " : " 0 ";
    if (sweep > kTwoPi - 1e-9) {
      // A whole turn back to its start needs two SVG arcs.
      const double ox = 2 * a.centerX - a.x, oy = 2 * a.centerY - a.y;
      d << "A" << Number(R) << " " << Number(R) << " 0 1" << flag << Number(f.X(ox)) << " "
        << Number(f.Y(oy));
    }
    d << "A" << Number(R) << " " << Number(R) << " 0 " << (sweep > std::numbers::pi ? "1" : "0")
      << flag << Number(f.X(b.x)) << " " << Number(f.Y(b.y));
  }
  d << "Z";
}

void ShapePath(std::ostringstream& d, const Frame& f, const check::Shape& shape) {
  if (shape.IsCircle()) {
    CirclePath(d, f, shape.centerX, shape.centerY, shape.radius);
  } else {
    PolygonPath(d, f, shape);
  }
}

// A shape as an element: a circle as <circle>, anything else as a path;
// holes cut out with the even-odd rule.
void DrawShape(std::ostringstream& out, const Frame& f, const check::Shape& shape,
               const std::vector<check::Hole>& holes, const std::string& style,
               const std::string& title) {
  const std::string titled = title.empty() ? "" : "<title>" + Escape(title) + "</title>";
  if (shape.IsCircle() && holes.empty()) {
    out << "<circle cx=\"" << Number(f.X(shape.centerX)) << "\" cy=\"" << Number(f.Y(shape.centerY))
        << "\" r=\"" << Number(shape.radius * f.scale) << "\" " << style << ">" << titled
        << "</circle>\n";
    return;
  }
  std::ostringstream d;
  ShapePath(d, f, shape);
  for (const check::Hole& hole : holes) ShapePath(d, f, hole.shape);
  out << "<path fill-rule=\"evenodd\" d=\"" << d.str() << "\" " << style << ">" << titled
      << "</path>\n";
}

std::string PieceFill(int32_t partId) {
  const unsigned hue = (static_cast<unsigned>(partId) * 47u) % 360u;
  return "hsl(" + std::to_string(hue) + ",55%,72%)";
}

}  // namespace

std::string RenderSvg(const Layout& layout) {
  std::vector<check::Box> boxes;
  double widest = 0.0;
  for (const check::Sheet& sheet : layout.sheets) {
    boxes.push_back(SheetBox(sheet));
    widest = std::max(widest, boxes.back().max_corner().x() - boxes.back().min_corner().x());
  }
  const double scale = widest > 0.0 ? kDrawingWidth / widest : 1.0;

  std::ostringstream body;
  double top = kMargin;
  for (size_t s = 0; s < layout.sheets.size(); ++s) {
    const check::Sheet& sheet = layout.sheets[s];
    const check::Box& box = boxes[s];
    char caption[160];
    std::snprintf(caption, sizeof caption, "sheet %zu: stock %d (id %d), %zu pieces, %.1f %% used",
                  s, sheet.stock.index, sheet.stock.id, sheet.pieces.size(),
                  100.0 * sheet.utilization);
    body << "<text x=\"" << Number(kMargin) << "\" y=\"" << Number(top + 15)
         << "\" font-family=\"sans-serif\" font-size=\"14\">" << Escape(caption) << "</text>\n";
    top += kCaptionHeight;
    const Frame f{box.min_corner().x(), box.max_corner().y(), scale, kMargin, top};
    body << "<g>\n";
    DrawShape(body, f, sheet.stock.outline, {},
              "fill=\"#f3efe4\" stroke=\"#333\" stroke-width=\"1.5\"",
              "stock " + std::to_string(sheet.stock.index) + " (id " +
                  std::to_string(sheet.stock.id) + ")");
    for (size_t d = 0; d < sheet.stock.defects.size(); ++d) {
      DrawShape(body, f, sheet.stock.defects[d].shape, {},
                "fill=\"#e9a3a3\" stroke=\"#b03030\" stroke-width=\"1\"",
                "defect " + std::to_string(d) + " (id " +
                    std::to_string(sheet.stock.defects[d].id) + ")");
    }
    for (const check::PlacedPiece& piece : sheet.pieces) {
      std::ostringstream title;
      title << "part " << piece.partIndex << " (id " << piece.partId << "), angle " << piece.angle
            << (piece.mirrored ? ", mirrored" : "");
      DrawShape(body, f, piece.outline, piece.holes,
                "fill=\"" + PieceFill(piece.partId) + "\" stroke=\"#222\" stroke-width=\"0.75\"",
                title.str());
    }
    body << "</g>\n";
    top += (box.max_corner().y() - box.min_corner().y()) * scale + kMargin;
  }
  if (layout.sheets.empty()) {
    body << "<text x=\"" << Number(kMargin) << "\" y=\"" << Number(top + 15)
         << "\" font-family=\"sans-serif\" font-size=\"14\">no sheet used</text>\n";
    top += kCaptionHeight + kMargin;
  }
  const double width = (widest > 0.0 ? kDrawingWidth : 200.0) + 2 * kMargin;
  std::ostringstream svg;
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Number(width) << "\" height=\""
      << Number(top) << "\" viewBox=\"0 0 " << Number(width) << " " << Number(top) << "\">\n";
  if (!layout.problemName.empty()) svg << "<title>" << Escape(layout.problemName) << "</title>\n";
  svg << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n" << body.str() << "</svg>\n";
  return svg.str();
}

}  // namespace varnest::cli
