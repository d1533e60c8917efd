// A picture as plain data: paths and texts on a canvas of width x height
// units, x to the right and y downwards. The figure of an analysis is
// made of one; platform/ paints it with Qt on screen, on paper and into
// PNG images, and DrawingSvg writes it as an SVG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct tDrawingPoint {
  double x = 0;
  double y = 0;
};

// A colour as 0xRRGGBB.
using tDrawingColour = std::uint32_t;

// A polyline, or a polygon when closed; filled and stroked as set.
struct tDrawingPath {
  std::vector<tDrawingPoint> points;
  bool closed = false;
  bool filled = false;
  tDrawingColour fill = 0xFFFFFF;
  bool stroked = true;
  tDrawingColour stroke = 0x000000;
  double strokeWidth = 1;
  bool dashed = false;
};

enum class tTextAnchor { Start, Middle, End };

// One line of text whose baseline starts, is centred or ends at `at`.
struct tDrawingText {
  tDrawingPoint at;
  std::string text;  // UTF-8
  double size = 11;  // height of the font's em in canvas units
  tTextAnchor anchor = tTextAnchor::Start;
  bool bold = false;
  bool italic = false;
  tDrawingColour colour = 0x000000;
};

struct tDrawing {
  double width = 0;
  double height = 0;
  std::string title;                      // what the picture shows, in one sentence
  std::string fontFamily = "Liberation Sans";  // a sans-serif; painters fall back to their own
  std::vector<tDrawingPath> paths;        // painted first, in order
  std::vector<tDrawingText> texts;        // painted over the paths, in order
};
