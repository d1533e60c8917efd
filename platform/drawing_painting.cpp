#include "platform/drawing_painting.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "platform/fonts.h"

namespace {

// Printer's points per inch: a font's point size at a device of dpi dots
// per inch is its pixel height x 72 / dpi.
constexpr double PointsPerInch = 72.0;

// Largest PNG side in pixels: keeps an image to a few tens of megabytes
// whatever scale is asked for.
constexpr double LargestImageSide = 8000;

QColor ColourOf(tDrawingColour colour) { return QColor::fromRgb(static_cast<QRgb>(colour & 0xFFFFFF)); }

void PaintPath(QPainter& painter, const tDrawingPath& path) {
  if (path.points.empty()) return;
  QPainterPath shape(QPointF(path.points[0].x, path.points[0].y));
  for (std::size_t i = 1; i < path.points.size(); ++i) shape.lineTo(path.points[i].x, path.points[i].y);
  if (path.closed) shape.closeSubpath();
  if (path.stroked) {
    QPen pen(ColourOf(path.stroke), path.strokeWidth);
    pen.setCosmetic(false);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (path.dashed) pen.setDashPattern({4, 3});  // in units of the pen's width, as the SVG
    painter.setPen(pen);
  } else {
    painter.setPen(Qt::NoPen);
  }
  painter.setBrush(path.filled ? QBrush(ColourOf(path.fill)) : QBrush(Qt::NoBrush));
  painter.drawPath(shape);
}

void PaintText(QPainter& painter, const tDrawing& drawing, const tDrawingText& text) {
  QFont font = SubstitutedFont(QString::fromStdString(drawing.fontFamily));
  const double dpi = painter.device() != nullptr ? painter.device()->logicalDpiY() : 96;
  font.setPointSizeF(text.size * PointsPerInch / dpi);  // text.size canvas units high
  font.setBold(text.bold);
  font.setItalic(text.italic);
  painter.setFont(font);
  painter.setPen(ColourOf(text.colour));
  const QString line = QString::fromStdString(text.text);
  const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(line);
  double x = text.at.x;
  if (text.anchor == tTextAnchor::Middle) x -= width / 2;
  if (text.anchor == tTextAnchor::End) x -= width;
  painter.drawText(QPointF(x, text.at.y), line);
}

}  // namespace

void PaintDrawing(QPainter& painter, const tDrawing& drawing, const QRectF& target) {
  if (!(drawing.width > 0) || !(drawing.height > 0)) return;
  const double scale = std::min(target.width() / drawing.width, target.height() / drawing.height);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.translate(target.topLeft());
  painter.scale(scale, scale);
  painter.setClipRect(QRectF(0, 0, drawing.width, drawing.height), Qt::IntersectClip);
  for (const tDrawingPath& path : drawing.paths) PaintPath(painter, path);
  for (const tDrawingText& text : drawing.texts) PaintText(painter, drawing, text);
  painter.restore();
}

QByteArray DrawingPng(const tDrawing& drawing, double pixelsPerUnit) {
  const double scale = std::min(pixelsPerUnit, LargestImageSide / std::max({drawing.width, drawing.height, 1.0}));
  const QSize size(static_cast<int>(std::ceil(drawing.width * scale)), static_cast<int>(std::ceil(drawing.height * scale)));
  if (size.isEmpty()) return {};
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) return {};
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    PaintDrawing(painter, drawing, QRectF(0, 0, size.width(), size.height()));
  }
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
  return png;
}
