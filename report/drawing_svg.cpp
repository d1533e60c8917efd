#include "report/drawing_svg.h"

#include <algorithm>

#include "core/text_format.h"

namespace {

std::string Number(double value) { return FormatC("%.2f", value); }

std::string Colour(tDrawingColour colour) { return FormatC("#%06x", static_cast<unsigned>(colour & 0xFFFFFF)); }

// The replacement character U+FFFD in UTF-8.
constexpr const char* ReplacementCharacter = "\xEF\xBF\xBD";

// The length of the UTF-8 character that starts text at `at`, 0 for a
// byte that starts none (a stray or missing continuation byte, an
// overlong form, a surrogate, a code beyond U+10FFFF). allowed tells
// whether XML may hold the character: tab, line feed, carriage return,
// U+0020 to U+D7FF, U+E000 to U+FFFD and U+10000 up, that is, no other
// control character and neither U+FFFE nor U+FFFF.
std::size_t Utf8CharacterLength(const std::string& text, std::size_t at, bool& allowed) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned lead = byte(at);
  if (lead < 0x80) {
    allowed = lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r';
    return 1;
  }
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4                                  ? 4
                                                                                             : 0;
  if (length == 0 || at + length > text.size()) return 0;
  unsigned code = lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  constexpr unsigned smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  allowed = code != 0xFFFE && code != 0xFFFF;
  return length;
}

// Text for XML character data and attribute values: the markup characters
// escaped, and each character that XML does not allow, and each byte that
// is not UTF-8 (a name restored from a file may hold any byte), written as
// U+FFFD, so that the file stays well-formed.
std::string Escaped(const std::string& text) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    bool allowed = false;
    const std::size_t length = Utf8CharacterLength(text, at, allowed);
    if (!allowed) {
      out += ReplacementCharacter;
      at += std::max<std::size_t>(length, 1);
      continue;
    }
    switch (text[at]) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.append(text, at, length);
    }
    at += length;
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
