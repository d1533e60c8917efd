#include "platform/text_printing.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

#include "platform/drawing_painting.h"
#include "platform/fonts.h"

namespace {

constexpr int kTabWidth = 8;  // columns between tab stops

// The page margins of every print job, in millimetres.
constexpr double PrintMarginMillimetres = 10.0;
constexpr double MillimetresPerInch = 25.4;
// Dots per inch of a PDF made in memory, as of a high-resolution printer.
constexpr int PdfResolution = 1200;

QString ExpandTabs(const QString& line) {
  if (!line.contains(QLatin1Char('\t'))) return line;
  QString out;
  for (QChar c : line) {
    if (c == QLatin1Char('\t')) {
      const int spaces = kTabWidth - static_cast<int>(out.size() % kTabWidth);
      out.append(QString(spaces, QLatin1Char(' ')));
    } else {
      out.append(c);
    }
  }
  return out;
}

// Length of the longest leading piece of line that fits in width; at least
// one character so that a page narrower than one glyph still advances.
qsizetype FittingLength(const QFontMetricsF& metrics, const QString& line, qreal width) {
  qsizetype low = 1, high = line.size();
  while (low < high) {
    const qsizetype mid = (low + high + 1) / 2;
    if (metrics.horizontalAdvance(line.left(mid)) <= width)
      low = mid;
    else
      high = mid - 1;
  }
  return low;
}

QString OpenFailure(const QPagedPaintDevice& device) {
  const auto* printer = dynamic_cast<const QPrinter*>(&device);
  if (printer == nullptr) return QStringLiteral("The PDF could not be started.");
  if (printer->outputFormat() == QPrinter::PdfFormat)
    return QStringLiteral("The PDF file \"%1\" could not be created (is the folder there and writable?).")
        .arg(printer->outputFileName());
  return QStringLiteral("The printer \"%1\" could not be opened.").arg(printer->printerName());
}

QString JobFailure(const QPagedPaintDevice& device) {
  const auto* printer = dynamic_cast<const QPrinter*>(&device);
  if (printer == nullptr) return QStringLiteral("The PDF could not be written.");
  if (printer->outputFormat() == QPrinter::PdfFormat)
    return QStringLiteral("The PDF file \"%1\" could not be written.").arg(printer->outputFileName());
  return QStringLiteral("The print job on \"%1\" failed.").arg(printer->printerName());
}

}  // namespace

QStringList PrintedLines(const QString& text) {
  QString normalised = text;
  normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QStringList lines = normalised.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  for (QString& line : lines) line = ExpandTabs(line);
  return lines;
}

bool PaintDocumentPages(QPagedPaintDevice& device, const tPrintedDocument& document, std::string& error) {
  error.clear();
  QPainter painter;
  if (!painter.begin(&device)) {
    error = OpenFailure(device).toStdString();
    return false;
  }
  const QFont font = SubstitutedFont(QString::fromStdString(document.fontFamily), document.pointSize);
  const QFontMetricsF metrics(font, &device);
  // The painter's origin is the top left corner of the printable area.
  const double dpi = device.logicalDpiX();
  const QRectF page = device.pageLayout().paintRectPixels(static_cast<int>(dpi));
  const qreal width = page.width();
  const qreal height = page.height();
  const qreal lineHeight = metrics.lineSpacing();

  qreal y = 0;
  auto newPage = [&] {
    if (!device.newPage()) return false;
    y = 0;
    return true;
  };
  bool failed = false;
  for (const tPrintedPiece& piece : document.pieces) {
    if (piece.drawing) {
      const tDrawing& drawing = *piece.drawing;
      if (!(drawing.width > 0) || !(drawing.height > 0)) continue;
      const qreal drawingWidth = std::min(width, PrintedDrawingMillimetres / MillimetresPerInch * dpi);
      const qreal drawingHeight = std::min(height, drawingWidth * drawing.height / drawing.width);
      if (y > 0) y += lineHeight;
      if (y > 0 && y + drawingHeight > height && !newPage()) {
        failed = true;
        break;
      }
      PaintDrawing(painter, drawing, QRectF(0, y, drawingWidth, drawingHeight));
      y += drawingHeight + lineHeight;
      continue;
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (const QString& line : PrintedLines(QString::fromStdString(piece.text))) {
      QString rest = line;
      do {
        qsizetype length =
            metrics.horizontalAdvance(rest) <= width ? rest.size() : FittingLength(metrics, rest, width);
        qsizetype next = length;  // where the next printed line starts
        if (piece.paragraph && length < rest.size()) {
          const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), length);
          if (blank > 0) {
            length = blank;
            next = blank + 1;
          }
        }
        if (y > 0 && y + lineHeight > height && !newPage()) {
          failed = true;
          break;
        }
        painter.drawText(QPointF(0, y + metrics.ascent()), rest.left(length));
        y += lineHeight;
        rest = rest.mid(next);
      } while (!rest.isEmpty());
      if (failed) break;
    }
    if (failed) break;
  }
  const auto* printer = dynamic_cast<const QPrinter*>(&device);
  if (!painter.end() || failed || (printer != nullptr && printer->printerState() == QPrinter::Error)) {
    error = JobFailure(device).toStdString();
    return false;
  }
  return true;
}

void SetPrintMargins(QPagedPaintDevice& device) {
  device.setPageMargins(QMarginsF(PrintMarginMillimetres, PrintMarginMillimetres, PrintMarginMillimetres,
                                  PrintMarginMillimetres),
                        QPageLayout::Millimeter);
}

bool DocumentPdf(const tPrintedDocument& document, const QString& title, QByteArray& pdf, std::string& error) {
  pdf.clear();
  QBuffer buffer(&pdf);
  if (!buffer.open(QIODevice::WriteOnly)) {
    error = "The PDF could not be made in memory.";
    return false;
  }
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(PdfResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    SetPrintMargins(writer);
    writer.setTitle(title);
    writer.setCreator(QCoreApplication::applicationName());
    if (!PaintDocumentPages(writer, document, error)) return false;
  }
  buffer.close();
  if (!pdf.startsWith("%PDF-")) {
    error = "The PDF could not be made.";
    return false;
  }
  return true;
}
