#include "tools/cursorgen/library.h"

#include <algorithm>
#include <cmath>

#include "tools/cursorgen/shapes.h"

namespace cursorgen {

AniFrame Frame(const Canvas& image, Point hot, CursorDepth depth) {
  int x = image.PixelOf(static_cast<int>(hot.x)), y = image.PixelOf(static_cast<int>(hot.y));
  if (image.Get(x, y).a == 0) {
    const Point nearest = NearestPainted(image, static_cast<int>(hot.x), static_cast<int>(hot.y));
    x = static_cast<int>(nearest.x);
    y = static_cast<int>(nearest.y);
  }
  return {{image, x, y}, depth};
}

AniFrame TipFrame(const Canvas& image, Point tip, CursorDepth depth) {
  const Point hot = NearestPainted(image, static_cast<int>(tip.x), static_cast<int>(tip.y));
  return {{image, static_cast<int>(hot.x), static_cast<int>(hot.y)}, depth};
}

Art Still(const AniFrame& frame) {
  Art art;
  art.still = frame;
  return art;
}

Art Animated(std::vector<AniFrame> frames, int jiffies, std::vector<AniStep> steps) {
  Art art;
  art.animated = true;
  art.animation.frames = std::move(frames);
  art.animation.defaultJiffies = jiffies;
  art.animation.steps = std::move(steps);
  art.animation.artist = "The Pointrel Developers";
  return art;
}

namespace {

using imagelib::Animation;
using imagelib::Opaque;

constexpr double kPi = 3.14159265358979323846;
constexpr CursorDepth kColour = CursorDepth::kIndexed;

// Steps that run the frames forward and back again, each for `jiffies`.
std::vector<AniStep> PingPong(int frames, int jiffies) {
  std::vector<AniStep> steps;
  for (int i = 0; i < frames; ++i) steps.push_back({i, jiffies});
  for (int i = frames - 2; i > 0; --i) steps.push_back({i, jiffies});
  return steps;
}

Canvas Arrow(const Placement& where, Rgba fill = kWhite, Rgba border = kBlack, int width = 1) {
  return Bordered(PolygonShape(where(ArrowOutline())), fill, border, width);
}

// ---------------------------------------------------------------- sizing arrows

Art Sizing(double degrees) {
  const bool diagonal = std::fmod(std::fabs(degrees), 90.0) != 0;
  const Polygon shape = diagonal ? DoubleArrow(20.2, 9.5, 7.5, 2.6) : DoubleArrow(15.2, 8.5, 8.2, 2.6);
  const Canvas image = Bordered(PolygonShape(Placement{kMiddle, degrees}(shape)), kWhite, kBlack);
  return Still(Frame(image, {15, 15}, kMono));
}

// ---------------------------------------------------------------- I-beams

Art HugeIBeam() {
  return Still(Frame(Bordered(IBeamShape(31, 2.5, 7.5, 4), kBlack, kWhite), {15, 15}, kMono));
}

Art LargeIBeam() { return Still(Frame(Filled(IBeamShape(25, 1.5, 5.5, 2), kInvert), {15, 15}, kMono)); }

Art PulsatingIBeam() {
  std::vector<AniFrame> frames;
  for (double height : {11.0, 15.0, 19.0, 23.0, 27.0, 31.0})
    frames.push_back(Frame(Bordered(IBeamShape(height, 1.5, 2.5 + height / 8, 3), kBlack, kWhite), {15, 15}, kMono));
  std::vector<AniStep> steps = PingPong(static_cast<int>(frames.size()), 4);
  steps.front().jiffies = 12;  // rests a little at its smallest and largest
  steps[frames.size() - 1].jiffies = 12;
  return Animated(frames, 4, steps);
}

Art Snake() {
  const Rgba green = Opaque(40, 170, 40), dark = Opaque(0, 90, 0), belly = Opaque(200, 230, 90);
  std::vector<AniFrame> frames;
  for (int f = 0; f < 8; ++f) {
    const double phase = 2 * kPi * f / 8;
    // Head and tail sway about the middle, which stays on the hot pixel.
    const auto sway = [&](double y) { return 4.0 * std::sin(y / 4.5 - phase) * std::min(1.0, (y - 3) / 6); };
    const auto centreX = [&](double y) { return kMiddle.x + sway(y) - sway(kMiddle.y); };
    Canvas body = ShapeOf([&](Canvas& c) {
      for (double y = 5; y < 30; y += 0.5) {
        const double thickness = y < 24 ? 4.2 : 4.2 * (31 - y) / 7;  // a tapering tail
        c.DrawThickLine({centreX(y), y}, {centreX(y + 0.5), y + 0.5}, thickness, kWhite);
      }
      c.FillEllipse(centreX(5), 4.5, 3.4, 3.0, kWhite);  // head
    });
    Canvas image = Bordered(body, green, dark);
    for (double y = 9; y < 25; y += 3) image.Plot(static_cast<int>(centreX(y)), static_cast<int>(y), belly);
    const int hx = static_cast<int>(centreX(5));
    image.Plot(hx - 1, 3, kBlack);
    image.Plot(hx + 1, 3, kBlack);
    const Rgba tongue = Opaque(230, 0, 0);  // flicks out every other frame
    if (f % 2 == 0) {
      image.Plot(hx, 1, tongue);
      image.Plot(hx, 0, tongue);
    } else {
      image.Plot(hx - 1, 0, tongue);
      image.Plot(hx + 1, 0, tongue);
      image.Plot(hx, 1, tongue);
    }
    frames.push_back(Frame(image, {15, 15}, kColour));
  }
  return Animated(frames, 6);
}

// ---------------------------------------------------------------- busy

Art Abacus() {
  const Rgba wood = Opaque(150, 80, 30), woodDark = Opaque(90, 45, 10), rod = Opaque(170, 170, 170);
  const Rgba beads[5] = {Opaque(230, 30, 30), Opaque(250, 150, 0), Opaque(240, 220, 0), Opaque(40, 170, 40),
                         Opaque(40, 90, 230)};
  Canvas image = NewCanvas();
  image.FillRect(1, 3, 30, 26, woodDark);
  image.FillRect(2, 4, 28, 24, wood);
  image.FillRect(4, 6, 24, 20, kClear);
  const int counts[5] = {3, 5, 2, 4, 1};  // beads pushed to the left on each rod
  for (int r = 0; r < 5; ++r) {
    const int y = 7 + 4 * r;
    image.FillRect(4, y + 1, 24, 1, rod);
    for (int b = 0; b < 6; ++b) {
      const int x = b < counts[r] ? 5 + 4 * b : 28 - 4 * (6 - b);
      image.FillEllipse(x + 1.5, y + 1.5, 1.8, 1.6, beads[r]);
      image.Plot(x + 1, y + 1, Mix(beads[r], kWhite, 0.6));
    }
  }
  image.Outline(kBlack);
  return Still(Frame(image, {15, 15}, kColour));
}

Art HamsterOnTreadmill() {
  Canvas wheel = Bordered(Minus(ShapeOf([](Canvas& c) { c.FillCircle(15.5, 15.5, 15.5, kWhite); }),
                                ShapeOf([](Canvas& c) { c.FillCircle(15.5, 15.5, 12.6, kWhite); })),
                          kWhite, kBlack);
  for (int k = 0; k < 6; ++k) {  // spokes
    const double a = k * kPi / 3 + 0.3;
    wheel.DrawLine(15, 15, static_cast<int>(15.5 + 12.5 * std::cos(a)), static_cast<int>(15.5 + 12.5 * std::sin(a)), kBlack);
  }
  wheel.FillRect(14, 14, 3, 3, kBlack);  // hub
  const Canvas hamsterShape = ShapeOf([](Canvas& c) {
    c.FillEllipse(14.5, 22.0, 7.5, 4.6, kWhite);  // body
    c.FillCircle(21.5, 19.5, 3.6, kWhite);        // head
    c.FillCircle(19.8, 16.2, 1.7, kWhite);        // ear
    c.FillEllipse(7.0, 21.5, 1.6, 1.0, kWhite);   // tail
  });
  wheel.Paste(Bordered(hamsterShape, kWhite, kBlack), 0, 0);
  wheel.FillRect(22, 18, 2, 2, kBlack);  // eye
  wheel.Plot(25, 20, kBlack);  // nose
  // Running legs
  wheel.DrawLine(10, 26, 8, 28, kBlack);
  wheel.DrawLine(12, 26, 13, 28, kBlack);
  wheel.DrawLine(17, 26, 16, 28, kBlack);
  wheel.DrawLine(19, 25, 21, 27, kBlack);
  return Still(Frame(wheel, {15, 15}, kMono));
}

Art PulleysAndBelt() {
  struct Pulley {
    Point c;
    double r;
  } big{{10.5, 10.5}, 8.5}, small{{24.5, 23.5}, 5.8};
  Canvas image = NewCanvas();
  // The belt: the two outer tangents of the pulleys.
  const double dx = small.c.x - big.c.x, dy = small.c.y - big.c.y, d = std::hypot(dx, dy);
  const double theta = std::atan2(dy, dx), alpha = std::acos((big.r - small.r) / d);
  for (double side : {-1.0, 1.0}) {
    const double a = theta + side * alpha;
    const Point p1{big.c.x + (big.r + 0.8) * std::cos(a), big.c.y + (big.r + 0.8) * std::sin(a)};
    const Point p2{small.c.x + (small.r + 0.8) * std::cos(a), small.c.y + (small.r + 0.8) * std::sin(a)};
    image.DrawThickLine(p1, p2, 2.2, kBlack);
  }
  for (const Pulley& p : {big, small}) {
    image.DrawCircle(p.c.x, p.c.y, p.r + 1.9, 2.2, kBlack);  // belt around the rim
    Canvas wheel = Bordered(ShapeOf([&](Canvas& c) { c.FillCircle(p.c.x, p.c.y, p.r, kWhite); }), kWhite, kBlack);
    for (int k = 0; k < 4; ++k) {
      const double a = k * kPi / 2 + kPi / 4;
      wheel.DrawLine(static_cast<int>(p.c.x), static_cast<int>(p.c.y), static_cast<int>(p.c.x + (p.r - 1) * std::cos(a)),
                     static_cast<int>(p.c.y + (p.r - 1) * std::sin(a)), kBlack);
    }
    wheel.FillCircle(p.c.x, p.c.y, 1.6, kBlack);
    image.Paste(wheel, 0, 0);
  }
  return Still(Frame(image, {15, 15}, kMono));
}

Art NothingWrongWithYourSet() {
  const Rgba cabinet = Opaque(120, 70, 30), cabinetDark = Opaque(70, 40, 15), knob = Opaque(200, 200, 200);
  const Rgba bars[7] = {Opaque(255, 255, 255), Opaque(255, 255, 0), Opaque(0, 255, 255), Opaque(0, 255, 0),
                        Opaque(255, 0, 255),   Opaque(255, 0, 0),   Opaque(0, 0, 255)};
  std::vector<AniFrame> frames;
  constexpr int kFrames = 8, screenX = 4, screenY = 11, screenW = 19, screenH = 15;
  for (int f = 0; f < kFrames; ++f) {
    Canvas image = NewCanvas();
    image.DrawLine(15, 9, 8, 1, kBlack);  // rabbit ears
    image.DrawLine(16, 9, 24, 2, kBlack);
    image.FillRect(1, 8, 30, 22, cabinetDark);
    image.FillRect(2, 9, 28, 20, cabinet);
    image.FillRect(screenX - 1, screenY - 1, screenW + 2, screenH + 2, kBlack);
    // The picture rolls: the vertical hold has gone, a black bar runs down the screen.
    const int roll = f * screenH / kFrames;
    for (int y = 0; y < screenH; ++y) {
      const int source = (y + roll) % (screenH + 3);
      for (int x = 0; x < screenW; ++x) {
        Rgba p = source >= screenH ? kBlack : bars[x * 7 / screenW];
        if (source < screenH && source >= screenH - 3) p = Mix(p, kBlack, 0.5 + 0.1 * ((x + f) % 3));
        image.Plot(screenX + x, screenY + y, p);
      }
    }
    image.FillCircle(26.5, 14.5, 1.8, knob);
    image.FillCircle(26.5, 20.5, 1.8, knob);
    image.Plot(26, 13 + f % 3, kBlack);  // someone keeps turning the knob
    image.FillRect(25, 24, 3, 3, Opaque(60, 60, 60));
    image.FillRect(4, 30, 3, 2, cabinetDark);  // feet
    image.FillRect(25, 30, 3, 2, cabinetDark);
    frames.push_back(Frame(image, {13, 18}, kColour));
  }
  return Animated(frames, 7);
}

Art StopWatch() {
  std::vector<AniFrame> frames;
  const Point c{15.5, 17.5};
  for (int f = 0; f < 12; ++f) {
    Canvas shape = ShapeOf([&](Canvas& k) {
      k.FillCircle(c.x, c.y, 13.6, kWhite);
      k.FillRect(13, 1, 6, 3, kWhite);  // crown
      k.FillRect(14, 3, 4, 2, kWhite);
      k.DrawThickLine({24.5, 6.5}, {26.8, 4.2}, 3.0, kWhite);  // lap button
    });
    Canvas image = Bordered(shape, kWhite, kBlack, 1);
    image.DrawCircle(c.x, c.y, 13.6, 2.0, kBlack);
    for (int t = 0; t < 12; ++t) {
      const double a = t * kPi / 6;
      const double inner = t % 3 == 0 ? 8.6 : 9.8;
      image.DrawThickLine({c.x + inner * std::sin(a), c.y - inner * std::cos(a)},
                          {c.x + 10.8 * std::sin(a), c.y - 10.8 * std::cos(a)}, 1.0, kBlack);
    }
    const double a = f * kPi / 6;
    image.DrawThickLine(c, {c.x + 9.5 * std::sin(a), c.y - 9.5 * std::cos(a)}, 1.6, kBlack);
    image.FillCircle(c.x, c.y, 1.6, kBlack);
    frames.push_back(Frame(image, {15, 17}, kMono));
  }
  return Animated(frames, 5);
}

// ---------------------------------------------------------------- app starting

Canvas Clock(Point c, double r, double handDegrees) {
  Canvas image = Bordered(ShapeOf([&](Canvas& k) { k.FillCircle(c.x, c.y, r, kWhite); }), kWhite, kBlack);
  for (int t = 0; t < 4; ++t) {
    const double a = t * kPi / 2;
    image.Plot(static_cast<int>(c.x + (r - 2) * std::sin(a)), static_cast<int>(c.y - (r - 2) * std::cos(a)), kBlack);
  }
  const double a = handDegrees * kPi / 180;
  image.DrawThickLine(c, {c.x + (r - 2.2) * std::sin(a), c.y - (r - 2.2) * std::cos(a)}, 1.2, kBlack);
  image.DrawThickLine(c, {c.x + 3.0, c.y}, 1.2, kBlack);
  return image;
}

Art ArrowWithFastClock() {
  std::vector<AniFrame> frames;
  for (int f = 0; f < 8; ++f) {
    Canvas image = Arrow(Placement{{0, 0}});
    image.Paste(Clock({23.5, 23.5}, 7.8, f * 45.0), 0, 0);
    frames.push_back(Frame(image, {0, 0}, kMono));
  }
  return Animated(frames, 3);
}

// An arrow turning about the vertical line through its tip, seen edge-on halfway.
std::vector<AniFrame> SpinningArrow(Point tip, Rgba front, Rgba back, CursorDepth depth) {
  std::vector<AniFrame> frames;
  for (int f = 0; f < 8; ++f) {
    double squeeze = std::cos(2 * kPi * f / 8);
    // Edge-on it stays a sliver wide enough to keep its whole length at 32 pixels.
    if (std::fabs(squeeze) < 0.3) squeeze = squeeze < 0 ? -0.3 : 0.3;
    const Canvas shape = PolygonShape(Placement{tip, 0, squeeze, 1}(ArrowOutline()));
    const Canvas image = Bordered(shape, squeeze > 0 ? front : back, kBlack);
    frames.push_back(TipFrame(image, tip, depth));
  }
  return frames;
}

Art FastSpinningArrow() {
  return Animated(SpinningArrow({13, 1}, Opaque(255, 255, 0), Opaque(230, 140, 0), kColour), 3);
}

// A Saturn rocket, nose at the local origin and tail along +y; with or without its flame.
Canvas Rocket(const Placement& at, bool flame) {
  const Rgba silver = Opaque(190, 190, 200), white = Opaque(250, 250, 250), band = Opaque(20, 20, 20);
  Canvas image = NewCanvas();
  const auto part = [&](const Polygon& p, Rgba colour) { image.FillPolygon(at(p), colour); };
  const auto box = [](double x0, double y0, double x1, double y1) { return Polygon{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; };
  if (flame) {
    part({{-2.4, 27.5}, {2.4, 27.5}, {3.6, 31}, {1.5, 37.5}, {0, 40}, {-1.5, 37.5}, {-3.6, 31}}, Opaque(235, 40, 0));
    part({{-1.6, 27.5}, {1.6, 27.5}, {2.3, 31}, {0, 36.5}, {-2.3, 31}}, Opaque(255, 160, 0));
    part({{-0.8, 27.5}, {0.8, 27.5}, {1.1, 30}, {0, 33}, {-1.1, 30}}, Opaque(255, 250, 150));
  }
  part(box(-0.5, -0.8, 0.5, 3.2), band);                                 // escape tower
  part({{0, 2.2}, {2.6, 7}, {-2.6, 7}}, silver);                         // command module
  part(box(-2.6, 7, 2.6, 12), white);                                    // service module, third stage
  part(box(-2.6, 12, 2.6, 13.2), band);
  part(box(-3.1, 13.2, 3.1, 19.5), white);                               // second stage
  part(box(-3.1, 19.5, 3.1, 20.7), band);
  part(box(-3.1, 20.7, 3.1, 27.5), white);                               // first stage
  part(box(-3.1, 22.5, 0, 25), band);                                    // roll pattern
  part({{-3.1, 23.5}, {-5.4, 28.3}, {-3.1, 27.5}}, band);                // fins
  part({{3.1, 23.5}, {5.4, 28.3}, {3.1, 27.5}}, band);
  part(box(-2.2, 27.5, 2.2, 28.6), Opaque(90, 90, 90));                  // engine bells
  image.Outline(kBlack);
  return image;
}

Art Apollo(bool flame) {
  // Without its flame the rocket has room to be larger.
  const double scale = flame ? 1.05 : 1.3;
  const Canvas image = Rocket(Placement{{1.6, 1.6}, -45, scale, scale}, flame);
  return Still(TipFrame(image, {0, 0}, kColour));
}

// ---------------------------------------------------------------- normal

Art AmbidextrousArrow() {
  const Polygon shape = {{16, -1}, {28.4, 13.4}, {20.4, 13.4}, {20.4, 30.4}, {11.6, 30.4}, {11.6, 13.4}, {3.6, 13.4}};
  return Still(Frame(Bordered(PolygonShape(shape), kWhite, kBlack), {15, 0}, kMono));
}

Canvas PlusShape(double halfLength, double halfWidth) {
  return ShapeOf([&](Canvas& c) {
    c.FillPolygon({{kMiddle.x - halfLength, kMiddle.y - halfWidth}, {kMiddle.x + halfLength, kMiddle.y - halfWidth},
                   {kMiddle.x + halfLength, kMiddle.y + halfWidth}, {kMiddle.x - halfLength, kMiddle.y + halfWidth}},
                  kWhite);
    c.FillPolygon({{kMiddle.x - halfWidth, kMiddle.y - halfLength}, {kMiddle.x + halfWidth, kMiddle.y - halfLength},
                   {kMiddle.x + halfWidth, kMiddle.y + halfLength}, {kMiddle.x - halfWidth, kMiddle.y + halfLength}},
                  kWhite);
  });
}

Canvas DiscShape(double radius) {
  return ShapeOf([&](Canvas& c) { c.FillCircle(kMiddle.x, kMiddle.y, radius, kWhite); });
}

Art Cross(Rgba fill, Rgba border) { return Still(Frame(Bordered(PlusShape(14.5, 2.5), fill, border), {15, 15}, kMono)); }
Art Dot(Rgba fill, Rgba border) { return Still(Frame(Bordered(DiscShape(6.2), fill, border), {15, 15}, kMono)); }
Art InvertingDot(double radius) { return Still(Frame(Filled(DiscShape(radius), kInvert), {15, 15}, kMono)); }

Art DownArrow() {
  const Polygon shape = {{12.5, 0.5}, {18.5, 0.5}, {18.5, 15}, {25.5, 15}, {15.5, 31.4}, {5.5, 15}, {12.5, 15}};
  return Still(Frame(Bordered(PolygonShape(shape), kWhite, kBlack), {15, 30}, kMono));
}

Art PointingFinger() {
  const Canvas shape = ShapeOf([](Canvas& c) {
    c.FillCircle(11.5, 3.0, 2.6, kWhite);                    // fingertip
    c.FillRect(9, 3, 6, 12, kWhite);                         // index finger
    c.FillPolygon({{6, 13}, {23, 13}, {24, 16}, {24, 24}, {21, 27.5}, {8, 27.5}, {5, 23}}, kWhite);  // fist
    c.FillEllipse(5.5, 17.5, 3.0, 4.8, kWhite);              // thumb
    c.FillRect(8, 27, 13, 5, kWhite);                        // cuff
  });
  Canvas image = Bordered(shape, kWhite, kBlack);
  for (int x : {17, 20}) image.DrawLine(x, 14, x, 18, kBlack);  // the folded fingers
  image.DrawLine(14, 18, 23, 18, kBlack);
  image.DrawLine(8, 27, 20, 27, kBlack);  // cuff seam
  image.DrawLine(8, 19, 10, 21, kBlack);  // thumb crease
  return Still(TipFrame(image, {11, 0}, kMono));
}

Art GiantArrow(Rgba fill, Rgba border) {
  return Still(Frame(Arrow(Placement{{0, 0}, 0, 1.58, 1.58}, fill, border), {0, 0}, kMono));
}

Art GiantInvertingArrow() {
  return Still(Frame(Filled(PolygonShape(Placement{{0, 0}, 0, 1.58, 1.58}(ArrowOutline())), kInvert), {0, 0}, kMono));
}

Art ColorCycler() {
  const Rgba hues[8] = {Opaque(255, 0, 0),   Opaque(255, 128, 0), Opaque(255, 255, 0), Opaque(0, 220, 0),
                        Opaque(0, 220, 220), Opaque(0, 80, 255),  Opaque(140, 0, 255), Opaque(255, 0, 200)};
  std::vector<AniFrame> frames;
  for (const Rgba& hue : hues) frames.push_back(Frame(Arrow(Placement{{0, 0}, 0, 1.15, 1.15}, hue), {0, 0}, kColour));
  return Animated(frames, 8);
}

// At this size an inner border would eat the tail, so the white edge is laid around the shape.
Art SmallBlackArrow() {
  const Canvas core = PolygonShape(Placement{{1, 1}, 0, 0.7, 0.7}(ArrowOutline()));
  Canvas image = Filled(Grown(core, 1.0), kWhite);
  image.Paste(Filled(core, kBlack), 0, 0);
  return Still(TipFrame(image, {0, 0}, kMono));
}

Art InverterWithCrosshair() {
  Canvas image = Filled(DiscShape(9.5), kInvert);
  image.DrawLine(15, 1, 15, 29, kBlack);
  image.DrawLine(1, 15, 29, 15, kBlack);
  image.Plot(15, 15, kInvert);  // the hot pixel shows what is under it
  return Still(Frame(image, {15, 15}, kMono));
}

Art SkinnyArrow() {
  const Polygon skinny = {{-0.3, -1.4}, {0.4, -1.4}, {7.0, 14.0}, {4.3, 13.4}, {8.0, 23.6}, {4.6, 24.9}, {1.2, 15.2}, {-0.3, 17.6}};
  return Still(TipFrame(Bordered(PolygonShape(skinny), kWhite, kBlack), {0, 0}, kMono));
}

Art SmallCrosshair() {
  Canvas image = Bordered(PlusShape(7.5, 1.5), kBlack, kWhite);
  image.Plot(15, 15, kWhite);  // a gap at the centre to see the target through
  return Still(Frame(image, {15, 15}, kMono));
}

Art MediumArrow() { return Still(Frame(Arrow(Placement{{0, 0}, 0, 1.3, 1.3}), {0, 0}, kMono)); }

// A ballpoint pen, writing tip at the local origin and body along +y.
Canvas Pen(const Placement& at) {
  const Canvas body = ShapeOf([&](Canvas& c) {
    c.FillPolygon(at(Polygon{{-2.6, 9}, {2.6, 9}, {2.6, 26}, {-2.6, 26}}), kWhite);
    c.FillPolygon(at(Polygon{{-1.9, 4.5}, {1.9, 4.5}, {2.6, 9.2}, {-2.6, 9.2}}), kWhite);
    c.FillCircle(at({0, 26}).x, at({0, 26}).y, 2.6, kWhite);
    c.FillPolygon(at(Polygon{{2.4, 17}, {4.4, 17}, {4.4, 25}, {2.4, 25}}), kWhite);  // clip
  });
  Canvas image = Bordered(body, kWhite, kBlack);
  image.FillPolygon(at(Polygon{{0, -0.9}, {1.6, 4.8}, {-1.6, 4.8}}), kBlack);  // the point
  image.DrawThickLine(at({-2.4, 9.5}), at({2.4, 9.5}), 1.0, kBlack);
  image.DrawThickLine(at({-0.8, 12}), at({-0.8, 24}), 0.9, kBlack);  // a shine line on the barrel
  return image;
}

Art BallpointPen(bool down) {
  const Point tip = down ? Point{1.2, 30.8} : Point{1.2, 1.2};
  const Canvas image = Pen(Placement{tip, down ? -135.0 : -45.0, 1.0, 1.05});
  return Still(TipFrame(image, {0, down ? 31.0 : 0.0}, kMono));
}

Art HollowArrow() {
  return Still(Frame(Bordered(PolygonShape(Placement{{0, 0}, 0, 1.3, 1.3}(ArrowOutline())), kClear, kBlack), {0, 0}, kMono));
}

// A screw, point at the local origin and head along +y.
Canvas Screw(const Placement& at, bool roundHead, Rgba metal, Rgba shade, Rgba light) {
  const Canvas shape = ShapeOf([&](Canvas& c) {
    c.FillPolygon(at(Polygon{{0, -0.9}, {2.4, 5}, {2.4, 17}, {-2.4, 17}, {-2.4, 5}}), kWhite);
    if (roundHead) {
      Polygon dome = {{-6, 17}, {6, 17}};
      for (int k = 0; k <= 16; ++k) {
        const double a = kPi * k / 16;
        dome.push_back({6 * std::cos(a), 17 + 5.2 * std::sin(a)});
      }
      c.FillPolygon(at(dome), kWhite);
    } else {
      c.FillPolygon(at(Polygon{{-2.4, 15}, {2.4, 15}, {6.2, 19}, {6.2, 20.5}, {-6.2, 20.5}, {-6.2, 19}}), kWhite);
    }
  });
  Canvas image = Bordered(shape, metal, kBlack);
  if (light != metal) {
    // A one-pixel highlight along the upper left edges.
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.Get(x, y) == metal && shape.Get(x - 1, y - 1).a == 0) image.Set(x, y, light);
  }
  for (double t = 4; t < 17; t += 2.2) image.DrawThickLine(at({-2.2, t}), at({2.2, t + 1.2}), 0.9, shade);  // thread
  const double slotFrom = roundHead ? 20.5 : 18.2, slotTo = roundHead ? 23.5 : 21;
  image.DrawThickLine(at({0, slotFrom}), at({0, slotTo}), 1.4, kBlack);  // the slot
  return image;
}

Art FlatheadScrew() {
  const Canvas image = Screw(Placement{{1.4, 1.4}, -45, 1.35, 1.35}, false, kWhite, kBlack, kWhite);
  return Still(TipFrame(image, {0, 0}, kMono));
}

Art RoundheadScrew() {
  const Canvas image = Screw(Placement{{1.4, 1.4}, -45, 1.35, 1.35}, true, Opaque(210, 170, 50), Opaque(120, 85, 15),
                             Opaque(255, 235, 150));
  return Still(TipFrame(image, {0, 0}, kColour));
}

Art WavyCross() {
  std::vector<AniFrame> frames;
  for (int f = 0; f < 8; ++f) {
    const double phase = 2 * kPi * f / 8;
    // The centre stays put so the hot pixel holds still; the arms ripple outwards.
    const auto offset = [&](double d) { return 1.7 * std::sin(d * 2 * kPi / 9 - phase) * std::min(1.0, std::fabs(d) / 3); };
    const Canvas shape = ShapeOf([&](Canvas& c) {
      for (double d = -14; d < 14; d += 0.5) {
        c.DrawThickLine({kMiddle.x + d, kMiddle.y + offset(d)}, {kMiddle.x + d + 0.5, kMiddle.y + offset(d + 0.5)}, 3.4, kWhite);
        c.DrawThickLine({kMiddle.x - offset(d), kMiddle.y + d}, {kMiddle.x - offset(d + 0.5), kMiddle.y + d + 0.5}, 3.4, kWhite);
      }
    });
    frames.push_back(Frame(Bordered(shape, kBlack, kWhite), {15, 15}, kMono));
  }
  return Animated(frames, 6);
}

Art PivotingArrow() {
  std::vector<AniFrame> frames;
  const Point tip{4.5, 1.0};
  for (double degrees : {-12.0, -6.0, 0.0, 6.0, 12.0, 18.0, 24.0})
    frames.push_back(TipFrame(Arrow(Placement{tip, degrees}), tip, kMono));
  return Animated(frames, 4, PingPong(static_cast<int>(frames.size()), 4));
}

Art OrbitLight() {
  std::vector<AniFrame> frames;
  const Rgba glow = Opaque(255, 255, 80), rim = Opaque(255, 140, 0);
  for (int f = 0; f < 12; ++f) {
    const double a = 2 * kPi * f / 12;
    // A tilted orbit about the arrow's body; the light passes behind it on the far side.
    const Point light{9.5 + 9.5 * std::cos(a) - 3.0 * std::sin(a), 13.0 + 5.0 * std::sin(a) + 3.5 * std::cos(a)};
    const bool behind = std::sin(a) < 0;
    const Canvas arrow = Arrow(Placement{{0, 0}, 0, 1.1, 1.1});
    Canvas lamp = NewCanvas();
    lamp.FillCircle(light.x, light.y, 2.6, rim);
    lamp.FillCircle(light.x, light.y, 1.6, glow);
    Canvas image = NewCanvas();
    if (behind) {
      image.Paste(lamp, 0, 0);
      image.Paste(arrow, 0, 0);
    } else {
      image.Paste(arrow, 0, 0);
      image.Paste(lamp, 0, 0);
    }
    frames.push_back(Frame(image, {0, 0}, kColour));
  }
  return Animated(frames, 4);
}

Art PointOrbiter() {
  std::vector<AniFrame> frames;
  for (int f = 0; f < 12; ++f) {
    Canvas image = NewCanvas();
    for (int k = 0; k < 24; ++k) {  // the orbit, dotted
      if (k % 2) continue;
      const double a = 2 * kPi * k / 24;
      image.Plot(static_cast<int>(kMiddle.x + 11 * std::cos(a)), static_cast<int>(kMiddle.y + 11 * std::sin(a)), kBlack);
    }
    image.Paste(Bordered(DiscShape(2.6), kBlack, kWhite), 0, 0);
    const double a = 2 * kPi * f / 12 - kPi / 2;
    const Point moon{kMiddle.x + 11 * std::cos(a), kMiddle.y + 11 * std::sin(a)};
    image.Paste(Bordered(ShapeOf([&](Canvas& c) { c.FillCircle(moon.x, moon.y, 2.6, kWhite); }), kWhite, kBlack), 0, 0);
    frames.push_back(Frame(image, {15, 15}, kMono));
  }
  return Animated(frames, 4);
}

Art SpinningArrowArt() { return Animated(SpinningArrow({13, 1}, kWhite, kWhite, kMono), 6); }

Art ArrowWithShadow() {
  std::vector<AniFrame> frames;
  const Polygon outline = ArrowOutline();
  for (int f = 0; f < 8; ++f) {
    // The light swings from left to right, so the shadow leans the other way.
    const double t = std::sin(2 * kPi * f / 8);
    const Point offset{3.0 - 1.8 * t, 3.0 + 0.6 * std::cos(2 * kPi * f / 8)};
    const Canvas shadow = Filled(PolygonShape(Placement{offset, 0, 1.15, 1.15}(outline)), Opaque(90, 90, 100));
    Canvas image = shadow;
    image.Paste(Arrow(Placement{{0, 0}, 0, 1.15, 1.15}), 0, 0);
    frames.push_back(Frame(image, {0, 0}, kColour));
  }
  return Animated(frames, 8);
}

Art ArrowheadThreeD() {
  const Placement at{{0, 0}, 0, 1.65, 1.65};
  const Polygon head = at(ArrowheadOutline());
  // Facets: tip, wing, notch and the lower-left corner; the ridge runs from the tip to the notch.
  const Point tip = head[0], wing = head[1], notch = head[2], corner = head[3];
  const Canvas shape = PolygonShape(head);
  Canvas image = NewCanvas();
  const Rgba lightFrom = Opaque(200, 225, 255), lightTo = Opaque(110, 160, 235);
  const Rgba darkFrom = Opaque(40, 90, 190), darkTo = Opaque(15, 40, 110);
  const Canvas left = PolygonShape({tip, notch, corner});
  // Shaded pixel by pixel; the gradient runs over the design.
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      if (!shape.Get(x, y).a) continue;
      const double t = (x + y) / image.scale() / 40.0;
      image.Set(x, y, left.Get(x, y).a ? Mix(lightFrom, lightTo, t) : Mix(darkFrom, darkTo, t));
    }
  image.DrawThickLine(tip, {notch.x - 0.3, notch.y - 0.3}, 1.0, kWhite);  // the ridge catches the light
  (void)wing;
  Canvas out = Bordered(shape, kClear, kBlack);
  image.Paste(out, 0, 0);
  return Still(Frame(image, {0, 0}, kColour));
}

Art Breather() {
  std::vector<AniFrame> frames;
  for (int f = 0; f < 8; ++f) {
    const double s = 1.05 + 0.16 * std::sin(2 * kPi * f / 8);
    frames.push_back(Frame(Arrow(Placement{{0, 0}, 0, s, s}), {0, 0}, kMono));
  }
  return Animated(frames, 6);
}

Art DeflatedArrow() {
  // The balloon arrow with the air let out: lower, its wing and tail sagging, the skin creased.
  Polygon p = Densified(Placement{{1.6, 1.6}, 0, 1.08, 0.82}(ArrowOutline()), 0.6);
  for (Point& q : p) {
    q.y += 0.03 * (q.x - 1.6) * (q.x - 1.6);
    q.x += 0.35 * std::sin(q.y * 1.3);
  }
  const Canvas shape = Grown(PolygonShape(p), 1.5);
  Canvas image = Bordered(shape, kWhite, kBlack);
  image.DrawLine(4, 8, 6, 12, kBlack);  // creases
  image.DrawLine(7, 12, 10, 14, kBlack);
  image.DrawLine(3, 13, 4, 15, kBlack);
  image.DrawLine(11, 20, 12, 22, kBlack);
  return Still(TipFrame(image, {0, 0}, kMono));
}

Art InflatedArrow() {
  const Canvas core = PolygonShape(Placement{{2.6, 2.6}, 0, 1.12, 1.12}(ArrowOutline()));
  const Canvas shape = Grown(core, 2.2);
  const Rgba light = Opaque(255, 130, 120), dark = Opaque(150, 0, 10);
  Canvas image = NewCanvas();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (shape.Get(x, y).a) image.Set(x, y, Mix(light, dark, (x * 0.9 + y * 0.7) / image.scale() / 26.0));
  image.FillEllipse(6.0, 9.0, 1.4, 3.2, Opaque(255, 235, 230));  // the shine of a balloon
  image.Plot(5, 5, Opaque(255, 200, 190));
  image.Paste(Bordered(shape, kClear, kBlack), 0, 0);
  return Still(TipFrame(image, {0, 0}, kColour));
}

}  // namespace

const std::vector<LibraryEntry>& LibraryArt() {
  static const std::vector<LibraryEntry> art = [] {
    std::vector<LibraryEntry> all = {
        {"SIZING\\BIG_NS.CUR", [] { return Sizing(90); }},
        {"SIZING\\BIG_NE.CUR", [] { return Sizing(-45); }},
        {"SIZING\\BIG_EW.CUR", [] { return Sizing(0); }},
        {"SIZING\\BIG_NW.CUR", [] { return Sizing(45); }},
        {"IBEAM\\Huge I-beam.CUR", HugeIBeam},
        {"IBEAM\\Large I-beam.CUR", LargeIBeam},
        {"IBEAM\\Pulsating I-beam.ANI", PulsatingIBeam},
        {"IBEAM\\Snake.ANI", Snake},
        {"BUSY\\Abacus.CUR", Abacus},
        {"BUSY\\Hamster on treadmill.CUR", HamsterOnTreadmill},
        {"BUSY\\Pulleys and belt.CUR", PulleysAndBelt},
        {"BUSY\\There is nothing wrong....ANI", NothingWrongWithYourSet},
        {"BUSY\\Stop Watch.ANI", StopWatch},
        {"APPSTART\\Arrow with Fast Clock.ANI", ArrowWithFastClock},
        {"APPSTART\\Fast Spinning Arrow.ANI", FastSpinningArrow},
        {"APPSTART\\Apollo (no flame).CUR", [] { return Apollo(false); }},
        {"NORMAL\\Ambidextrous arrow.CUR", AmbidextrousArrow},
        {"NORMAL\\Black cross.CUR", [] { return Cross(kBlack, kWhite); }},
        {"NORMAL\\Black dot.CUR", [] { return Dot(kBlack, kWhite); }},
        {"NORMAL\\Down arrow.CUR", DownArrow},
        {"NORMAL\\Pointing finger.CUR", PointingFinger},
        {"NORMAL\\Giant black arrow.CUR", [] { return GiantArrow(kBlack, kWhite); }},
        {"NORMAL\\Giant inverting arrow.CUR", GiantInvertingArrow},
        {"NORMAL\\Giant white arrow.CUR", [] { return GiantArrow(kWhite, kBlack); }},
        {"NORMAL\\Color Cycler.ANI", ColorCycler},
        {"NORMAL\\Small black arrow.CUR", SmallBlackArrow},
        {"NORMAL\\Inverter with crosshair.CUR", InverterWithCrosshair},
        {"NORMAL\\Skinny arrow.CUR", SkinnyArrow},
        {"NORMAL\\Small crosshair.CUR", SmallCrosshair},
        {"NORMAL\\White cross.CUR", [] { return Cross(kWhite, kBlack); }},
        {"NORMAL\\White dot.CUR", [] { return Dot(kWhite, kBlack); }},
        {"NORMAL\\Medium size arrow.CUR", MediumArrow},
        {"NORMAL\\Ballpoint pen (down).CUR", [] { return BallpointPen(true); }},
        {"NORMAL\\Ballpoint pen (up).CUR", [] { return BallpointPen(false); }},
        {"NORMAL\\Hollow (outline) arrow.CUR", HollowArrow},
        {"NORMAL\\Flathead Screw.CUR", FlatheadScrew},
        {"NORMAL\\Wavy Cross.ANI", WavyCross},
        {"NORMAL\\Pivoting Arrow.ANI", PivotingArrow},
        {"NORMAL\\Orbit Light.ANI", OrbitLight},
        {"NORMAL\\Point Orbiter.ANI", PointOrbiter},
        {"NORMAL\\Small Inverting Dot.CUR", [] { return InvertingDot(3.3); }},
        {"NORMAL\\Large Inverting Dot.CUR", [] { return InvertingDot(10.2); }},
        {"NORMAL\\Spinning Arrow.ANI", SpinningArrowArt},
        {"NORMAL\\Arrow with Shadow.ANI", ArrowWithShadow},
        {"NORMAL\\Apollo.CUR", [] { return Apollo(true); }},
        {"NORMAL\\Roundhead Screw.CUR", RoundheadScrew},
        {"NORMAL\\Arrowhead (3D).CUR", ArrowheadThreeD},
        {"NORMAL\\Breather.ANI", Breather},
        {"NORMAL\\Deflated arrow.CUR", DeflatedArrow},
        {"NORMAL\\Inflated arrow.CUR", InflatedArrow},
    };
    for (LibraryEntry& entry : SchemeArt(all)) all.push_back(std::move(entry));
    return all;
  }();
  return art;
}

}  // namespace cursorgen
