#include "tools/imagelib/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace imagelib {

const Rgba kWindowsPalette[16] = {
    Opaque(0, 0, 0),       Opaque(128, 0, 0),     Opaque(0, 128, 0),   Opaque(128, 128, 0),
    Opaque(0, 0, 128),     Opaque(128, 0, 128),   Opaque(0, 128, 128), Opaque(192, 192, 192),
    Opaque(128, 128, 128), Opaque(255, 0, 0),     Opaque(0, 255, 0),   Opaque(255, 255, 0),
    Opaque(0, 0, 255),     Opaque(255, 0, 255),   Opaque(0, 255, 255), Opaque(255, 255, 255),
};

uint8_t NearestPaletteIndex(Rgba colour) {
  uint8_t best = 0;
  long bestDistance = -1;
  for (int i = 0; i < 16; ++i) {
    const Rgba& p = kWindowsPalette[i];
    const long dr = p.r - colour.r, dg = p.g - colour.g, db = p.b - colour.b;
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = static_cast<uint8_t>(i);
      bestDistance = distance;
    }
  }
  return best;
}

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

Canvas Canvas::Designed(int designWidth, int designHeight, double scale) {
  if (!(scale > 0)) scale = 1;
  Canvas out(static_cast<int>(std::lround(designWidth * scale)), static_cast<int>(std::lround(designHeight * scale)));
  out.scale_ = scale;
  return out;
}

Canvas Canvas::EmptyLike() const {
  Canvas out(width_, height_);
  out.scale_ = scale_;
  return out;
}

Rgba Canvas::Get(int x, int y) const {
  return Contains(x, y) ? pixels_[static_cast<size_t>(y) * width_ + x] : kTransparent;
}

void Canvas::Set(int x, int y, Rgba colour) {
  if (Contains(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = colour;
}

void Canvas::Fill(Rgba colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void Canvas::FillRect(int x, int y, int w, int h, Rgba colour) {
  if (w <= 0 || h <= 0) return;
  const int top = PixelOf(y), bottom = PixelOf(y + h), left = PixelOf(x), right = PixelOf(x + w);
  for (int row = std::max(top, 0); row < std::min(bottom, height_); ++row)
    for (int col = std::max(left, 0); col < std::min(right, width_); ++col) Set(col, row, colour);
}

void Canvas::DrawRect(int x, int y, int w, int h, Rgba colour) {
  if (w <= 0 || h <= 0) return;
  DrawLine(x, y, x + w - 1, y, colour);
  DrawLine(x, y + h - 1, x + w - 1, y + h - 1, colour);
  DrawLine(x, y, x, y + h - 1, colour);
  DrawLine(x + w - 1, y, x + w - 1, y + h - 1, colour);
}

void Canvas::DrawLine(int x0, int y0, int x1, int y1, Rgba colour) {
  if (scale_ != 1) {
    // One design unit wide, through the centres of the end units.
    DrawThickLine({x0 + 0.5, y0 + 0.5}, {x1 + 0.5, y1 + 0.5}, 1.0, colour);
    return;
  }
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    Set(x0, y0, colour);
    if (x0 == x1 && y0 == y1) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void Canvas::DrawThickLine(Point from, Point to, double lineWidth, Rgba colour) {
  const double half = lineWidth / 2;
  const double vx = to.x - from.x, vy = to.y - from.y;
  const double lengthSquared = vx * vx + vy * vy;
  const int x0 = static_cast<int>(std::floor((std::min(from.x, to.x) - half) * scale_)) - 1;
  const int x1 = static_cast<int>(std::ceil((std::max(from.x, to.x) + half) * scale_)) + 1;
  const int y0 = static_cast<int>(std::floor((std::min(from.y, to.y) - half) * scale_)) - 1;
  const int y1 = static_cast<int>(std::ceil((std::max(from.y, to.y) + half) * scale_)) + 1;
  for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y) {
    for (int x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x) {
      const double px = (x + 0.5) / scale_ - from.x, py = (y + 0.5) / scale_ - from.y;
      double t = lengthSquared > 0 ? (px * vx + py * vy) / lengthSquared : 0;
      t = std::clamp(t, 0.0, 1.0);
      const double ex = px - t * vx, ey = py - t * vy;
      if (ex * ex + ey * ey <= half * half) Set(x, y, colour);
    }
  }
}

void Canvas::FillPolygon(const std::vector<Point>& corners, Rgba colour) {
  const size_t n = corners.size();
  if (n < 3) return;
  std::vector<double> crossings;
  for (int y = 0; y < height_; ++y) {
    const double cy = (y + 0.5) / scale_;
    crossings.clear();
    for (size_t i = 0; i < n; ++i) {
      const Point& a = corners[i];
      const Point& b = corners[(i + 1) % n];
      // Half-open in y so a shared corner is counted once.
      if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy))
        crossings.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      // Pixels whose centre lies in [left, right).
      const int first = static_cast<int>(std::ceil(crossings[i] * scale_ - 0.5));
      const int last = static_cast<int>(std::ceil(crossings[i + 1] * scale_ - 0.5)) - 1;
      for (int x = std::max(first, 0); x <= std::min(last, width_ - 1); ++x) Set(x, y, colour);
    }
  }
}

void Canvas::DrawPolygon(const std::vector<Point>& corners, Rgba colour) {
  const size_t n = corners.size();
  for (size_t i = 0; i < n; ++i) {
    const Point& a = corners[i];
    const Point& b = corners[(i + 1) % n];
    DrawLine(static_cast<int>(std::lround(a.x)), static_cast<int>(std::lround(a.y)),
             static_cast<int>(std::lround(b.x)), static_cast<int>(std::lround(b.y)), colour);
  }
}

namespace {
bool InsideEllipse(double px, double py, double cx, double cy, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return false;
  const double u = (px - cx) / rx, v = (py - cy) / ry;
  return u * u + v * v <= 1.0;
}
}  // namespace

void Canvas::FillEllipse(double cx, double cy, double rx, double ry, Rgba colour) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (InsideEllipse((x + 0.5) / scale_, (y + 0.5) / scale_, cx, cy, rx, ry)) Set(x, y, colour);
}

void Canvas::DrawEllipse(double cx, double cy, double rx, double ry, double lineWidth, Rgba colour) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const double px = (x + 0.5) / scale_, py = (y + 0.5) / scale_;
      if (InsideEllipse(px, py, cx, cy, rx, ry) && !InsideEllipse(px, py, cx, cy, rx - lineWidth, ry - lineWidth))
        Set(x, y, colour);
    }
}

void Canvas::Paste(const Canvas& source, int designX, int designY) {
  const int x = PixelOf(designX), y = PixelOf(designY);
  for (int row = 0; row < source.height(); ++row)
    for (int col = 0; col < source.width(); ++col) {
      const Rgba p = source.Get(col, row);
      if (p.a != 0) Set(x + col, y + row, p);
    }
}

void Canvas::Outline(Rgba colour) {
  const Canvas before = *this;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      if (before.Get(x, y).a != 0) continue;
      bool touches = false;
      for (int dy = -1; dy <= 1 && !touches; ++dy)
        for (int dx = -1; dx <= 1 && !touches; ++dx) touches = before.Get(x + dx, y + dy).a != 0;
      if (touches) Set(x, y, colour);
    }
}

void Canvas::Replace(Rgba from, Rgba to) { std::replace(pixels_.begin(), pixels_.end(), from, to); }

Canvas Canvas::MirroredLeftRight() const {
  Canvas out = EmptyLike();
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.Set(width_ - 1 - x, y, Get(x, y));
  return out;
}

Canvas Canvas::Enlarged(int factor) const {
  factor = std::max(factor, 1);
  Canvas out(width_ * factor, height_ * factor);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) out.Set(x, y, Get(x / factor, y / factor));
  return out;
}

Canvas Canvas::RotatedQuarter(int turns) const {
  turns = ((turns % 4) + 4) % 4;
  if (turns == 0) return *this;
  const bool swap = turns % 2 == 1;
  Canvas out(swap ? height_ : width_, swap ? width_ : height_);
  out.scale_ = scale_;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const Rgba p = Get(x, y);
      if (turns == 1) out.Set(height_ - 1 - y, x, p);
      else if (turns == 2) out.Set(width_ - 1 - x, height_ - 1 - y, p);
      else out.Set(y, width_ - 1 - x, p);
    }
  return out;
}

}  // namespace imagelib
