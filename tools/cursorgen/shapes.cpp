#include "tools/cursorgen/shapes.h"

#include <algorithm>
#include <cmath>

namespace cursorgen {

namespace {
constexpr double kPi = 3.14159265358979323846;
bool Covered(const Canvas& c, int x, int y) { return c.Get(x, y).a != 0; }
double drawingScale = 1;
// A length in design units as whole pixels, never less than one.
int Pixels(const Canvas& c, double units) { return std::max(1, static_cast<int>(std::lround(units * c.scale()))); }
}  // namespace

void SetDrawingScale(double scale) { drawingScale = scale > 0 ? scale : 1; }

Canvas NewCanvas() { return Canvas::Designed(kSize, kSize, drawingScale); }

Point Placement::operator()(Point p) const {
  const double x = p.x * scaleX, y = p.y * scaleY;
  const double a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
  return {origin.x + x * c - y * s, origin.y + x * s + y * c};
}

Polygon Placement::operator()(const Polygon& shape) const {
  Polygon out;
  for (const Point& p : shape) out.push_back((*this)(p));
  return out;
}

Polygon ArrowOutline() {
  // Tip slightly beyond the origin so the tip pixel is covered at every scale.
  return {{-0.3, -0.6}, {12.3, 11.6}, {7.4, 11.6}, {10.3, 18.2}, {7.6, 19.4}, {4.6, 12.9}, {-0.3, 17.2}};
}

Polygon ArrowheadOutline() { return {{-0.3, -0.6}, {12.8, 12.4}, {5.2, 12.4}, {-0.3, 18.0}}; }

Polygon DoubleArrow(double half, double head, double headHalf, double shaftHalf) {
  return {{-half, 0},         {-half + head, -headHalf}, {-half + head, -shaftHalf}, {half - head, -shaftHalf},
          {half - head, -headHalf}, {half, 0},           {half - head, headHalf},    {half - head, shaftHalf},
          {-half + head, shaftHalf}, {-half + head, headHalf}};
}

Canvas IBeamShape(double height, double stemHalf, double serifHalf, double serifThickness) {
  const double top = kMiddle.y - height / 2, bottom = kMiddle.y + height / 2;
  return ShapeOf([&](Canvas& c) {
    c.FillPolygon({{kMiddle.x - stemHalf, top}, {kMiddle.x + stemHalf, top}, {kMiddle.x + stemHalf, bottom},
                   {kMiddle.x - stemHalf, bottom}},
                  kWhite);
    for (double y : {top, bottom - serifThickness})
      c.FillPolygon({{kMiddle.x - serifHalf, y}, {kMiddle.x + serifHalf, y}, {kMiddle.x + serifHalf, y + serifThickness},
                     {kMiddle.x - serifHalf, y + serifThickness}},
                    kWhite);
  });
}

Polygon Densified(const Polygon& shape, double step) {
  Polygon out;
  for (size_t i = 0; i < shape.size(); ++i) {
    const Point a = shape[i], b = shape[(i + 1) % shape.size()];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const int pieces = std::max(1, static_cast<int>(std::ceil(length / step)));
    for (int k = 0; k < pieces; ++k)
      out.push_back({a.x + (b.x - a.x) * k / pieces, a.y + (b.y - a.y) * k / pieces});
  }
  return out;
}

Canvas ShapeOf(const std::function<void(Canvas&)>& draw) {
  Canvas c = NewCanvas();
  draw(c);
  return c;
}

Canvas PolygonShape(const Polygon& shape) {
  return ShapeOf([&](Canvas& c) { c.FillPolygon(shape, kWhite); });
}

Canvas Bordered(const Canvas& shape, Rgba fill, Rgba border, int designWidth) {
  const int width = Pixels(shape, designWidth);
  Canvas out = shape.EmptyLike();
  for (int y = 0; y < shape.height(); ++y)
    for (int x = 0; x < shape.width(); ++x) {
      if (!Covered(shape, x, y)) continue;
      bool edge = false;
      for (int d = 1; d <= width && !edge; ++d)
        edge = !Covered(shape, x - d, y) || !Covered(shape, x + d, y) || !Covered(shape, x, y - d) ||
               !Covered(shape, x, y + d) || (d < width && (!Covered(shape, x - d, y - d) || !Covered(shape, x + d, y + d) ||
                                                           !Covered(shape, x + d, y - d) || !Covered(shape, x - d, y + d)));
      out.Set(x, y, edge ? border : fill);
    }
  return out;
}

Canvas Filled(const Canvas& shape, Rgba colour) {
  Canvas out = shape.EmptyLike();
  for (int y = 0; y < shape.height(); ++y)
    for (int x = 0; x < shape.width(); ++x)
      if (Covered(shape, x, y)) out.Set(x, y, colour);
  return out;
}

Canvas Minus(const Canvas& shape, const Canvas& inner) {
  Canvas out = shape;
  for (int y = 0; y < shape.height(); ++y)
    for (int x = 0; x < shape.width(); ++x)
      if (Covered(inner, x, y)) out.Set(x, y, kClear);
  return out;
}

Canvas Union(const Canvas& a, const Canvas& b) {
  Canvas out = Filled(a, kWhite);
  out.Paste(Filled(b, kWhite), 0, 0);
  return out;
}

Canvas Grown(const Canvas& shape, double designRadius) {
  const double radius = designRadius * shape.scale();
  Canvas out = shape.EmptyLike();
  const int r = static_cast<int>(std::ceil(radius));
  for (int y = 0; y < shape.height(); ++y)
    for (int x = 0; x < shape.width(); ++x) {
      bool near = false;
      for (int dy = -r; dy <= r && !near; ++dy)
        for (int dx = -r; dx <= r && !near; ++dx)
          near = dx * dx + dy * dy <= radius * radius && Covered(shape, x + dx, y + dy);
      if (near) out.Set(x, y, kWhite);
    }
  return out;
}

Point NearestPainted(const Canvas& image, int designX, int designY) {
  const int x = image.PixelOf(designX), y = image.PixelOf(designY);
  Point best{static_cast<double>(x), static_cast<double>(y)};
  long bestDistance = -1;
  for (int row = 0; row < image.height(); ++row)
    for (int col = 0; col < image.width(); ++col) {
      if (image.Get(col, row).a == 0) continue;
      const long d = static_cast<long>(col - x) * (col - x) + static_cast<long>(row - y) * (row - y);
      if (bestDistance < 0 || d < bestDistance) {
        bestDistance = d;
        best = {static_cast<double>(col), static_cast<double>(row)};
      }
    }
  return best;
}

Rgba Mix(Rgba a, Rgba b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  const auto m = [t](uint8_t u, uint8_t v) { return static_cast<uint8_t>(std::lround(u + (v - u) * t)); };
  return imagelib::Opaque(m(a.r, b.r), m(a.g, b.g), m(a.b, b.b));
}

}  // namespace cursorgen
