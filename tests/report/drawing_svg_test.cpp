// A drawing written as SVG: the canvas, every path and text in order, the
// text escaped.
#include <gtest/gtest.h>

#include <string>

#include "report/drawing_svg.h"

namespace {

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(DrawingSvg, WritesTheCanvasPathsAndEscapedTexts) {
  tDrawing d;
  d.width = 100.5;
  d.height = 40;
  d.title = "Cases' difference < 0 & \"shaded\"";
  tDrawingPath area;
  area.points = {{0, 0}, {10, 0}, {10, 5}};
  area.closed = true;
  area.filled = true;
  area.fill = 0xF4A582;
  area.stroked = false;
  tDrawingPath dashed;
  dashed.points = {{1.25, 2}, {1.25, 30}};
  dashed.dashed = true;
  dashed.strokeWidth = 2;
  d.paths = {area, dashed};
  d.texts = {{{50, 20}, "a < b & c", 11, tTextAnchor::Middle, true, false, 0xB2182B}};

  const std::string svg = DrawingSvg(d);

  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("width=\"100.50\" height=\"40.00\" viewBox=\"0 0 100.50 40.00\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("<title>Cases' difference &lt; 0 &amp; &quot;shaded&quot;</title>"), std::string::npos);
  EXPECT_NE(svg.find("<path d=\"M0.00 0.00 L10.00 0.00 L10.00 5.00 Z\" fill=\"#f4a582\" stroke=\"none\"/>"),
            std::string::npos) << svg;
  EXPECT_NE(svg.find("stroke-dasharray=\"8.00 6.00\""), std::string::npos);
  EXPECT_NE(svg.find("text-anchor=\"middle\" fill=\"#b2182b\" font-weight=\"bold\">a &lt; b &amp; c</text>"),
            std::string::npos) << svg;
  EXPECT_EQ(Count(svg, "<path "), 2u);
  EXPECT_EQ(Count(svg, "<text "), 1u);
  EXPECT_LT(svg.find("M0.00"), svg.find("M1.25"));  // paths in order
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

// A control character in a name made the file invalid XML: what XML does
// not allow, and bytes that are not UTF-8, are written as U+FFFD.
TEST(DrawingSvg, WritesOnlyCharactersXmlAllows) {
  tDrawing d;
  d.title = "<a&b>\"x\x01y\t\xEF\xBF\xBE|\xED\xA0\x80|\xC0\xAF|\xC3\xA9\xF0\x9F\x98\x80\xF4\x90";
  const std::string u = "\xEF\xBF\xBD";
  EXPECT_NE(DrawingSvg(d).find("<title>&lt;a&amp;b&gt;&quot;x" + u + "y\t" + u + "|" + u + u + u + "|" + u + u +
                               "|\xC3\xA9\xF0\x9F\x98\x80" + u + u + "</title>"),
            std::string::npos);
}
