#include "report/drawing_svg.h"

#include "core/text_format.h"

namespace {

std::string Number(double value) { return FormatC("%.2f", value); }

std::string Colour(tDrawingColour colour) { return FormatC("#%06x", static_cast<unsigned>(colour & 0xFFFFFF)); }

// Text for XML character data and attribute values.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string PathElement(const tDrawingPath& path) {
  if (path.points.empty()) return {};
  std::string d;
  for (std::size_t i = 0; i < path.points.size(); ++i)
    d += (i == 0 ? "M" : " L") + Number(path.points[i].x) + " " + Number(path.points[i].y);
  if (path.closed) d += " Z";
  std::string element = "<path d=\"" + d + "\" fill=\"" + (path.filled ? Colour(path.fill) : "none") + "\"";
  if (path.stroked) {
    element += " stroke=\"" + Colour(path.stroke) + "\" stroke-width=\"" + Number(path.strokeWidth) + "\"";
    if (path.dashed)
      element += " stroke-dasharray=\"" + Number(4 * path.strokeWidth) + " " + Number(3 * path.strokeWidth) + "\"";
  } else {
    element += " stroke=\"none\"";
  }
  return element + "/>\n";
}

const char* AnchorName(tTextAnchor anchor) {
  switch (anchor) {
    case tTextAnchor::Start: return "start";
    case tTextAnchor::Middle: return "middle";
    case tTextAnchor::End: return "end";
  }
  return "start";
}

std::string TextElement(const tDrawingText& text) {
  std::string element = "<text x=\"" + Number(text.at.x) + "\" y=\"" + Number(text.at.y) + "\" font-size=\"" +
                        Number(text.size) + "\" text-anchor=\"" + AnchorName(text.anchor) + "\" fill=\"" +
                        Colour(text.colour) + "\"";
  if (text.bold) element += " font-weight=\"bold\"";
  if (text.italic) element += " font-style=\"italic\"";
  return element + ">" + Escaped(text.text) + "</text>\n";
}

}  // namespace

std::string DrawingSvg(const tDrawing& drawing) {
  const std::string width = Number(drawing.width), height = Number(drawing.height);
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + width + "\" height=\"" + height +
         "\" viewBox=\"0 0 " + width + " " + height + "\" font-family=\"" + Escaped(drawing.fontFamily) +
         ", Arial, Helvetica, sans-serif\">\n";
  svg += "<title>" + Escaped(drawing.title) + "</title>\n";
  for (const tDrawingPath& path : drawing.paths) svg += PathElement(path);
  for (const tDrawingText& text : drawing.texts) svg += TextElement(text);
  svg += "</svg>\n";
  return svg;
}
