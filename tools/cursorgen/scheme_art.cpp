// The shipped schemes' own cursors: one design per role, drawn in each scheme's look. "Pointrel"
// is the library's white with a black edge at the size of its medium arrow; "Pointrel High
// Visibility" is black with a white edge, larger and with thicker strokes. Every one is
// monochrome, so it stays small on the medium and takes the user's colours.
#include <cmath>

#include "tools/cursorgen/library.h"
#include "tools/cursorgen/shapes.h"
#include "utility/cursor/shipped_schemes.h"

namespace cursorgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A double arrow's measures, as DoubleArrow takes them.
struct DoubleArrowSize {
  double half, head, headHalf, shaftHalf;
  Polygon Outline() const { return DoubleArrow(half, head, headHalf, shaftHalf); }
};

// Everything that differs between the two looks, in design units.
struct Look {
  Rgba fill, edge;
  double arrow;        // the arrow's scale (1: the classic arrow, 19 units tall)
  double badge;        // the scale of what stands beside it: question mark, clock, pin, person
  double mark;         // the question mark's stroke, both edges included
  double detail;       // the width of lines drawn in the edge colour inside a shape
  double stroke;       // the width of the unavailable ring and its slash, both edges included
  double ringOuter;    // the ring's outer radius
  double crossWidth;   // the crosshair's arms, this wide (an odd number keeps them on whole pixels),
  double crossReach;   // reach this far from the middle
  double crossGap;     // from this far (0: they meet),
  double crossDot;     // round a dot of this radius in the gap
  DoubleArrowSize move, straight, diagonal;  // the move arrows; the sizing arrows
  double upHeadHalf, upHead, upShaftHalf, upBottom;  // the upward arrow
  double pencilHalf, pencilLength;                  // half the pencil's width; its length's scale
  double hand;                                      // the hand's scale
  Point handTip;                                    // where its fingertip is
  double beamHeight, beamStemHalf, beamSerifHalf, beamSerif;  // the I-beam
};

struct SchemeLook {
  const char* scheme;
  Look look;
};
const SchemeLook kLooks[] = {
    {"Pointrel",
     {kWhite, kBlack, 1.3, 1.0, 3.2, 0.9, 4.0, 10.5, 3.0, 11.5, 0, 0,
      {14.4, 5.8, 5.0, 1.8}, {15.2, 8.5, 8.2, 2.6}, {20.2, 9.5, 7.5, 2.6},
      6.5, 9.5, 2.1, 24.5,
      3.0, 1.0,
      0.86, {11.0, 0.6},
      25, 1.5, 5.5, 2}},
    {"Pointrel High Visibility",
     {kBlack, kWhite, 1.45, 1.2, 4.5, 1.1, 6.4, 15.0, 7.0, 14.9, 4.6, 3.0,
      {15.4, 7.2, 6.4, 2.9}, {15.4, 9.5, 9.6, 3.6}, {20.4, 10.5, 9.0, 3.6},
      9.4, 11.4, 2.5, 31.0,
      4.0, 1.12,
      1.04, {10.5, 0.2},
      31, 3.5, 8.5, 5.2}},
};

Canvas Paint(const Canvas& shape, const Look& look) { return Bordered(shape, look.fill, look.edge); }
// The shape's edge alone, to lay again over details drawn across it.
Canvas EdgeOf(const Canvas& shape, const Look& look) { return Bordered(shape, kClear, look.edge); }

Point Along(Point from, double degrees, double length) {
  const double a = degrees * kPi / 180;
  return {from.x + length * std::cos(a), from.y + length * std::sin(a)};
}

// ---------------------------------------------------------------- an arrow with a badge

// The scheme's arrow, tip at the top left, with a badge beside it; each is painted whole, so the
// badge's edge parts it from the arrow.
Art ArrowWith(const Look& look, const Canvas& badge) {
  Canvas image = Paint(PolygonShape(Placement{{0, 0}, 0, look.arrow, look.arrow}(ArrowOutline())), look);
  image.Paste(badge, 0, 0);
  return Still(TipFrame(image, {0, 0}, kMono));
}

// A question mark beside the arrow's tip: a hook, a stem and a dot.
Canvas QuestionMark(const Look& look) {
  const double r = 4.0 * look.badge, width = look.mark;
  const Point centre{23.5 + 0.5 * look.badge, 2.8 + r};
  const Canvas shape = ShapeOf([&](Canvas& c) {
    Point last = Along(centre, 180, r);
    for (int k = 1; k <= 24; ++k) {  // from the left, over the top, to below the right
      const Point next = Along(centre, 180 + k * 250.0 / 24, r);
      c.DrawThickLine(last, next, width, kWhite);
      last = next;
    }
    const Point stem{centre.x, centre.y + r + 1.2 * look.badge};
    c.DrawThickLine(last, stem, width, kWhite);
    c.DrawThickLine(stem, {stem.x, stem.y + 1.0 * look.badge}, width, kWhite);
    c.FillCircle(stem.x, stem.y + 1.0 * look.badge + width + 0.9 * look.badge, width * 0.6, kWhite);
  });
  return Paint(shape, look);
}

// A clock face with its hand at `degrees` from twelve, in the edge colour; a small one (a badge)
// has no ticks, which would only clutter it at 32 pixels.
Canvas Dial(Point c, double r, double degrees, const Look& look) {
  Canvas image = Paint(ShapeOf([&](Canvas& k) { k.FillCircle(c.x, c.y, r, kWhite); }), look);
  const bool small = r < 10;
  const double line = small ? 1.3 : r / 6.5;
  if (!small) {
    for (int t = 0; t < 4; ++t)
      image.DrawThickLine(Along(c, t * 90.0, r * 0.62), Along(c, t * 90.0, r * 0.8), line, look.edge);
  }
  image.DrawThickLine(c, Along(c, degrees - 90, r * (small ? 0.62 : 0.7)), line * 1.15, look.edge);
  image.FillCircle(c.x, c.y, line * 0.9, look.edge);
  return image;
}

// A map pin, its point at the bottom, a hole in its head.
Canvas Pin(const Look& look) {
  const double r = 5.4 * look.badge;
  const Point head{24.5, 31.6 - 2.55 * r};
  const Canvas shape = ShapeOf([&](Canvas& c) {
    c.FillCircle(head.x, head.y, r, kWhite);
    c.FillPolygon({Along(head, 150, r), Along(head, 30, r), {head.x, 31.6}}, kWhite);
  });
  Canvas image = Paint(shape, look);
  image.FillCircle(head.x, head.y, r * 0.4, look.edge);
  return image;
}

// A person: head and shoulders.
Canvas Person(const Look& look) {
  const double r = 3.5 * look.badge;
  const Point head{24.5, 31.5 - 4.2 * r};
  const Canvas shape = ShapeOf([&](Canvas& c) {
    c.FillCircle(head.x, head.y, r, kWhite);
    c.FillEllipse(head.x, 32.2, 2.05 * r, 32.2 - (head.y + r + 0.9 * look.badge), kWhite);
  });
  return Paint(shape, look);
}

Art Help(const Look& look) { return ArrowWith(look, QuestionMark(look)); }
Art Location(const Look& look) { return ArrowWith(look, Pin(look)); }
Art PersonArt(const Look& look) { return ArrowWith(look, Person(look)); }

// The arrow with a small clock whose hand goes round.
Art AppStarting(const Look& look) {
  std::vector<AniFrame> frames;
  const double r = 6.6 * look.badge;
  for (int f = 0; f < 8; ++f) frames.push_back(ArrowWith(look, Dial({31.6 - r, 31.6 - r}, r, f * 45.0, look)).still);
  return Animated(frames, 4);
}

// ---------------------------------------------------------------- centred on the hot pixel

Art Centred(const Canvas& image) { return Still(Frame(image, {15, 15}, kMono)); }

// A clock filling the canvas, its hand going round once a second.
Art Busy(const Look& look) {
  std::vector<AniFrame> frames;
  for (int f = 0; f < 12; ++f) frames.push_back(Frame(Dial(kMiddle, 15.4, f * 30.0, look), {15, 15}, kMono));
  return Animated(frames, 5);
}

// Four arms meeting at the hot pixel, or leaving a ring of air round a dot there so the target
// shows.
Art Precision(const Look& look) {
  const double half = look.crossWidth / 2;
  const Polygon arm = {{look.crossGap, -half}, {look.crossReach, -half}, {look.crossReach, half}, {look.crossGap, half}};
  const Canvas shape = ShapeOf([&](Canvas& c) {
    for (int quarter = 0; quarter < 4; ++quarter) c.FillPolygon(Placement{kMiddle, quarter * 90.0}(arm), kWhite);
    if (look.crossDot > 0) c.FillCircle(kMiddle.x, kMiddle.y, look.crossDot, kWhite);
  });
  return Centred(Paint(shape, look));
}

Art IBeam(const Look& look) {
  return Centred(Paint(IBeamShape(look.beamHeight, look.beamStemHalf, look.beamSerifHalf, look.beamSerif), look));
}

// The ring and the slash of "not here"; the slash runs from top left to bottom right.
Art Unavailable(const Look& look) {
  const double inner = look.ringOuter - look.stroke;
  const Canvas shape = ShapeOf([&](Canvas& c) {
    c.DrawCircle(kMiddle.x, kMiddle.y, look.ringOuter, look.stroke, kWhite);
    c.DrawThickLine(Along(kMiddle, 225, inner + 0.5), Along(kMiddle, 45, inner + 0.5), look.stroke, kWhite);
  });
  return Centred(Paint(shape, look));
}

// Four arrows out from the middle; their heads stay clear of each other, so they read apart.
Art Move(const Look& look) {
  const Polygon arrow = look.move.Outline();
  return Centred(Paint(Union(PolygonShape(Placement{kMiddle, 0}(arrow)), PolygonShape(Placement{kMiddle, 90}(arrow))), look));
}

Art Sizing(const Look& look, double degrees) {
  const bool diagonal = std::fmod(std::fabs(degrees), 90.0) != 0;
  const Polygon shape = (diagonal ? look.diagonal : look.straight).Outline();
  return Centred(Paint(PolygonShape(Placement{kMiddle, degrees}(shape)), look));
}

// ---------------------------------------------------------------- tips at the top or bottom

// An upward arrow, tip on the middle column. The head's back edge is a unit deep, so its widest
// row is drawn whole at every size.
Art Alternate(const Look& look) {
  const double x = kMiddle.x, head = look.upHead, wide = look.upHeadHalf, shaft = look.upShaftHalf;
  const Polygon shape = {{x, -0.7},        {x + wide, head},          {x + wide, head + 1},      {x + shaft, head + 1},
                         {x + shaft, look.upBottom}, {x - shaft, look.upBottom}, {x - shaft, head + 1}, {x - wide, head + 1},
                         {x - wide, head}};
  return Still(TipFrame(Paint(PolygonShape(shape), look), {15, 0}, kMono));
}

// A pencil writing: its point at the bottom left, the body rising to the right.
Art Handwriting(const Look& look) {
  const double half = look.pencilHalf;
  const Placement at{{1.0, 31.0}, -135, look.pencilLength, look.pencilLength};
  const Polygon cone = {{0, -0.9}, {half, 7}, {-half, 7}};
  const Canvas shape = ShapeOf([&](Canvas& c) {
    c.FillPolygon(at(cone), kWhite);
    c.FillPolygon(at(Polygon{{-half, 7}, {half, 7}, {half, 27}, {-half, 27}}), kWhite);
    const Point end = at({0, 27});
    c.FillCircle(end.x, end.y, half * at.scaleX, kWhite);
  });
  Canvas image = Paint(shape, look);
  // The sharpened wood shows white in either look; the lead, the bands and a facet in the edge
  // colour.
  image.Paste(Bordered(PolygonShape(at(cone)), kWhite, look.edge), 0, 0);
  image.FillPolygon(at(Polygon{{0, -0.9}, {half * 0.42, 2.9}, {-half * 0.42, 2.9}}), kBlack);
  for (double y : {22.5, 24.5}) image.DrawThickLine(at({-half, y}), at({half, y}), look.detail, look.edge);
  image.DrawThickLine(at({0, 9}), at({0, 21}), look.detail, look.edge);
  image.Paste(EdgeOf(shape, look), 0, 0);  // the point keeps the edge colour round it
  // The tip: the painted pixel nearest to a point beyond the corner, along the pencil.
  return Still(TipFrame(image, {-1, 32}, kMono));
}

// A hand pointing up with its index finger, the other fingers folded, the thumb out at the left.
Art Link(const Look& look) {
  const double s = look.hand;
  const Placement at{look.handTip, 0, s, s};
  const auto circle = [&](Canvas& c, Point p, double r) {
    const Point q = at(p);
    c.FillCircle(q.x, q.y, r * s, kWhite);
  };
  const Canvas shape = ShapeOf([&](Canvas& c) {
    circle(c, {0, 2.5}, 2.5);                                                            // fingertip
    c.FillPolygon(at(Polygon{{-2.5, 2.5}, {2.5, 2.5}, {2.5, 16}, {-2.5, 16}}), kWhite);  // index finger
    circle(c, {4.9, 11.0}, 2.3);                                                         // the folded fingers' knuckles
    circle(c, {9.4, 12.4}, 2.2);
    circle(c, {13.5, 14.2}, 2.0);
    c.FillPolygon(at(Polygon{{2.5, 11}, {7.2, 11}, {11.6, 12.4}, {15.5, 14.2}, {15.5, 20}, {13.5, 24.5}, {11.5, 27},
                             {-1.5, 27}, {-2.5, 24}}),
                  kWhite);                                                          // palm
    c.DrawThickLine(at({-6.2, 14.6}), at({-1.0, 21.5}), 4.2 * s, kWhite);           // thumb
    c.FillPolygon(at(Polygon{{-1.5, 26}, {11.5, 26}, {11.5, 29.6}, {-1.5, 29.6}}), kWhite);  // wrist
  });
  Canvas image = Paint(shape, look);
  for (double x : {2.5, 7.2, 11.6})
    image.DrawThickLine(at({x, x < 3 ? 12.5 : 13.5}), at({x, 17.5}), look.detail, look.edge);
  image.DrawThickLine(at({-1.5, 26.5}), at({11.5, 26.5}), look.detail, look.edge);  // the cuff
  return Still(TipFrame(image, at({0, 0}), kMono));
}

// The role's drawing in a look, by row of kCursorRoles; null where the schemes take the
// library's own art (the arrows of Normal).
using RoleDrawing = std::function<Art(const Look&)>;
const RoleDrawing kRoleDrawings[kRoleCount] = {
    nullptr,                                             // Normal
    Help,                                                // Help
    AppStarting,                                         // App Starting
    Busy,                                                // Busy
    Precision,                                           // Precision
    IBeam,                                               // I-Beam
    Handwriting,                                         // Handwriting
    Unavailable,                                         // Unavailable
    [](const Look& look) { return Sizing(look, 90); },   // Vertical resize
    [](const Look& look) { return Sizing(look, 0); },    // Horizontal resize
    [](const Look& look) { return Sizing(look, 45); },   // Diagonal resize 1
    [](const Look& look) { return Sizing(look, -45); },  // Diagonal resize 2
    Move,                                                // Move
    Alternate,                                           // Alternate
    Link,                                                // Link
    Location,                                            // Location
    PersonArt,                                           // Person
};

const Look* LookOf(const char* scheme) {
  for (const SchemeLook& s : kLooks)
    if (std::string(s.scheme) == scheme) return &s.look;
  return nullptr;
}

}  // namespace

std::vector<LibraryEntry> SchemeArt(const std::vector<LibraryEntry>& drawn) {
  std::vector<LibraryEntry> art;
  const auto known = [&](const std::string& name) {
    for (const std::vector<LibraryEntry>* list : {&drawn, static_cast<const std::vector<LibraryEntry>*>(&art)})
      for (const LibraryEntry& e : *list)
        if (e.destinationName == name) return true;
    return false;
  };
  for (const ShippedScheme& scheme : kShippedSchemes) {
    const Look* look = LookOf(scheme.name);
    for (size_t role = 0; role < kRoleCount; ++role) {
      if (!scheme.files[role]) continue;
      const std::string destination = std::string(kCursorRoles[role].folder) + scheme.files[role];
      if (known(destination) || !look || !kRoleDrawings[role]) continue;
      const RoleDrawing& draw = kRoleDrawings[role];
      const Look chosen = *look;
      art.push_back({destination, [draw, chosen] { return draw(chosen); }});
    }
  }
  return art;
}

}  // namespace cursorgen
