// Drawing helpers shared by the library cursors: shapes as point lists in a local frame that
// are placed (scaled, turned, moved) on the 32 x 32 design, and the usual ways of painting a
// shape as a cursor (filled with a border, inverting, outline only). Every cursor is designed
// on 32 units and drawn at the drawing scale: 32, 48 or 64 pixels.
#pragma once
#include <functional>
#include <vector>

#include "tools/imagelib/canvas.h"

namespace cursorgen {

using imagelib::Canvas;
using imagelib::Point;
using imagelib::Rgba;
using Polygon = std::vector<Point>;

constexpr int kSize = 32;  // design units
// Centre of the canvas's central pixel (15, 15) in pixel-corner coordinates.
constexpr Point kMiddle{15.5, 15.5};

// Pixels per design unit for the canvases made from now on (1 unless set).
void SetDrawingScale(double scale);
// A transparent canvas of the 32-unit design at the drawing scale.
Canvas NewCanvas();
constexpr Rgba kBlack = imagelib::Opaque(0, 0, 0);
constexpr Rgba kWhite = imagelib::Opaque(255, 255, 255);
constexpr Rgba kInvert = imagelib::kScreenInvert;
constexpr Rgba kClear = imagelib::kTransparent;

// Where a local frame lands on the canvas: scaled, then turned clockwise by `degrees` about
// the local origin, then moved so the local origin is at `origin`.
struct Placement {
  Point origin;
  double degrees = 0;
  double scaleX = 1, scaleY = 1;
  Point operator()(Point p) const;
  Polygon operator()(const Polygon& shape) const;
};

// The classic pointer arrow, tip at the local origin, about 12 x 19 at scale 1.
Polygon ArrowOutline();
// The arrowhead alone (the arrow without its tail).
Polygon ArrowheadOutline();

// An arrow with a head at both ends along the local x axis, centred on the origin: `half` from the
// centre to each tip, heads `head` long and `headHalf` wide on each side, the shaft `shaftHalf`.
Polygon DoubleArrow(double half, double head, double headHalf, double shaftHalf);

// An I-beam centred on the middle pixel: `height` tall, its stem `stemHalf` and its serifs
// `serifHalf` to each side, the serifs `serifThickness` deep.
Canvas IBeamShape(double height, double stemHalf, double serifHalf, double serifThickness);

// Extra corners along each edge, so later bending follows the edges.
Polygon Densified(const Polygon& shape, double step);

// A shape drawn by `draw` (in any opaque colour) on an empty canvas, as a coverage mask.
Canvas ShapeOf(const std::function<void(Canvas&)>& draw);
Canvas PolygonShape(const Polygon& shape);

// Paints `shape`'s pixels `fill`, and those within `width` units of the outside (4-neighbour
// steps, the canvas edge counting as outside) `border`: the border lies inside the shape, so
// a tip stays where it was drawn.
Canvas Bordered(const Canvas& shape, Rgba fill, Rgba border, int designWidth = 1);
// The shape's pixels all painted `colour`.
Canvas Filled(const Canvas& shape, Rgba colour);
// Pixels of `shape` that are not in `inner`.
Canvas Minus(const Canvas& shape, const Canvas& inner);
// Union of two shapes.
Canvas Union(const Canvas& a, const Canvas& b);
// The shape grown by `radius` units (round).
Canvas Grown(const Canvas& shape, double designRadius);

// The opaque or inverting pixel nearest to design unit (x, y), in pixels; the hotspot for a
// drawn tip.
Point NearestPainted(const Canvas& image, int designX, int designY);

// Blend of two colours, t from 0 (a) to 1 (b); opaque.
Rgba Mix(Rgba a, Rgba b, double t);

}  // namespace cursorgen
