#include "platform/text_printing.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include "platform/fonts.h"

namespace {

constexpr int kTabWidth = 8;  // columns between tab stops

// The page margins of every print job, in millimetres.
constexpr double PrintMarginMillimetres = 10.0;

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

QString OpenFailure(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat)
    return QStringLiteral("The PDF file \"%1\" could not be created (is the folder there and writable?).")
        .arg(printer.outputFileName());
  return QStringLiteral("The printer \"%1\" could not be opened.").arg(printer.printerName());
}

QString JobFailure(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat)
    return QStringLiteral("The PDF file \"%1\" could not be written.").arg(printer.outputFileName());
  return QStringLiteral("The print job on \"%1\" failed.").arg(printer.printerName());
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

bool PrintPlainText(QPrinter& printer, const std::string& text, const std::string& fontFamily,
                    int pointSize, std::string& error) {
  error.clear();
  QPainter painter;
  if (!painter.begin(&printer)) {
    error = OpenFailure(printer).toStdString();
    return false;
  }
  painter.setFont(SubstitutedFont(QString::fromStdString(fontFamily), pointSize));
  painter.setPen(Qt::black);
  const QFontMetricsF metrics(painter.font(), &printer);
  // The painter's origin is the top left corner of the printable area.
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const qreal width = page.width();
  const qreal height = page.height();
  const qreal lineHeight = metrics.lineSpacing();

  qreal y = 0;
  for (const QString& line : PrintedLines(QString::fromStdString(text))) {
    QString rest = line;
    do {
      const qsizetype length =
          metrics.horizontalAdvance(rest) <= width ? rest.size() : FittingLength(metrics, rest, width);
      if (y > 0 && y + lineHeight > height) {
        if (!printer.newPage()) {
          painter.end();
          error = JobFailure(printer).toStdString();
          return false;
        }
        y = 0;
      }
      painter.drawText(QPointF(0, y + metrics.ascent()), rest.left(length));
      y += lineHeight;
      rest = rest.mid(length);
    } while (!rest.isEmpty());
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    error = JobFailure(printer).toStdString();
    return false;
  }
  return true;
}

void SetPrintMargins(QPrinter& printer) {
  printer.setPageMargins(QMarginsF(PrintMarginMillimetres, PrintMarginMillimetres,
                                   PrintMarginMillimetres, PrintMarginMillimetres),
                         QPageLayout::Millimeter);
}

bool PrintTextToPdf(const std::string& text, const std::string& fontFamily, int pointSize,
                    const std::string& pdfPath, std::string& error) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdfPath));
  printer.setPageSize(QPageSize(QPageSize::A4));
  SetPrintMargins(printer);
  return PrintPlainText(printer, text, fontFamily, pointSize, error);
}
