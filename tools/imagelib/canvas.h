// A small RGBA canvas with the drawing operations the artwork generators need, and the
// standard 16-colour Windows palette that the 4-bit formats are written with.
//
// Coordinates: x grows to the right, y downwards, (0, 0) is the top-left pixel. Integer
// operations address whole pixels; the shape operations that take doubles (polygons,
// ellipses) fill every pixel whose centre (x + 0.5, y + 0.5) lies inside the shape, so a
// polygon with corners on pixel corners covers exactly the pixels it encloses.
// Everything is clipped to the canvas: drawing outside it is harmless and does nothing.
#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

namespace imagelib {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(Rgba x, Rgba y) { return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a; }
  friend bool operator!=(Rgba x, Rgba y) { return !(x == y); }
};

constexpr Rgba Opaque(uint8_t r, uint8_t g, uint8_t b) { return Rgba{r, g, b, 255}; }

// Alpha 0: nothing there. Formats without alpha treat any alpha below 255 as transparent.
constexpr Rgba kTransparent{0, 0, 0, 0};

// Cursor formats only: a pixel that inverts the screen (AND 1, XOR white). Elsewhere it is
// an ordinary, nearly transparent white.
constexpr Rgba kScreenInvert{255, 255, 255, 1};

// The standard 16-colour Windows palette, in its own index order (0 black ... 15 white).
// The 4-bit BMP, ICO and CUR writers use exactly this palette.
enum PaletteIndex : uint8_t {
  kBlack = 0,
  kDarkRed = 1,
  kDarkGreen = 2,
  kDarkYellow = 3,
  kDarkBlue = 4,
  kDarkMagenta = 5,
  kDarkCyan = 6,
  kLightGrey = 7,
  kDarkGrey = 8,
  kRed = 9,
  kGreen = 10,
  kYellow = 11,
  kBlue = 12,
  kMagenta = 13,
  kCyan = 14,
  kWhite = 15,
};
extern const Rgba kWindowsPalette[16];

// Index of the palette colour nearest to `colour` (alpha ignored); an exact match wins.
uint8_t NearestPaletteIndex(Rgba colour);

struct Point {
  double x = 0, y = 0;
};

class Canvas {
 public:
  Canvas() = default;
  // A canvas of width x height pixels, all `fill` (transparent by default). Negative sizes
  // give an empty canvas.
  Canvas(int width, int height, Rgba fill = kTransparent);
  // Art designed on `designWidth` x `designHeight` units drawn at `scale` pixels per unit: the
  // drawing calls below take design units, so the art is drawn afresh at each size instead of
  // being stretched. Get, Set and every size in pixels stay pixels.
  static Canvas Designed(int designWidth, int designHeight, double scale);
  // A transparent canvas of this one's size and scale.
  Canvas EmptyLike() const;

  int width() const { return width_; }
  int height() const { return height_; }
  double scale() const { return scale_; }
  // The pixel column or row that a design coordinate lies in.
  int PixelOf(double design) const { return static_cast<int>(std::floor(design * scale_)); }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Outside the canvas Get answers kTransparent and Set does nothing.
  Rgba Get(int x, int y) const;
  void Set(int x, int y, Rgba colour);

  // Drawing, in design units (pixels at scale 1).
  void Fill(Rgba colour);
  // The design unit at (x, y): one pixel at scale 1.
  void Plot(int x, int y, Rgba colour) { FillRect(x, y, 1, 1, colour); }
  void FillRect(int x, int y, int w, int h, Rgba colour);
  void DrawRect(int x, int y, int w, int h, Rgba colour);  // 1-pixel outline
  // 1-pixel line, both end pixels included.
  void DrawLine(int x0, int y0, int x1, int y1, Rgba colour);
  // Line of the given width (pixels), round-capped; drawn as a filled shape.
  void DrawThickLine(Point from, Point to, double lineWidth, Rgba colour);

  // Even-odd rule; any number of corners, self-intersection allowed.
  void FillPolygon(const std::vector<Point>& corners, Rgba colour);
  // The closed outline through the corners, rounded to whole pixels, 1 pixel wide.
  void DrawPolygon(const std::vector<Point>& corners, Rgba colour);

  // Axis-aligned ellipse of centre (cx, cy) and radii rx, ry.
  void FillEllipse(double cx, double cy, double rx, double ry, Rgba colour);
  // Ring between the ellipse and the one `lineWidth` pixels inside it.
  void DrawEllipse(double cx, double cy, double rx, double ry, double lineWidth, Rgba colour);
  void FillCircle(double cx, double cy, double radius, Rgba colour) { FillEllipse(cx, cy, radius, radius, colour); }
  void DrawCircle(double cx, double cy, double radius, double lineWidth, Rgba colour) {
    DrawEllipse(cx, cy, radius, radius, lineWidth, colour);
  }

  // Copies `source` pixel for pixel with its top-left at design point (x, y); pixels with
  // alpha 0 are skipped, others replace.
  void Paste(const Canvas& source, int x, int y);
  // Draws `colour` one pixel wide around every non-transparent pixel, where the canvas is
  // transparent (8-neighbourhood): the usual way to give a shape its outline.
  void Outline(Rgba colour);
  // Every pixel equal to `from` becomes `to`.
  void Replace(Rgba from, Rgba to);

  Canvas MirroredLeftRight() const;
  // Each pixel becomes a factor x factor block (factor below 1 is taken as 1).
  Canvas Enlarged(int factor) const;
  // Rotated by quarter turns clockwise (1 to 3; other values are taken modulo 4).
  Canvas RotatedQuarter(int turns) const;

  const std::vector<Rgba>& pixels() const { return pixels_; }

 private:
  int width_ = 0, height_ = 0;
  double scale_ = 1;
  std::vector<Rgba> pixels_;  // rows from the top, pixels from the left
};

}  // namespace imagelib
