#include "results/report_document.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <algorithm>

#include "platform/drawing_painting.h"

Q_DECLARE_METATYPE(tFigureDrawing)

namespace {

const QChar ObjectCharacter = QChar::ObjectReplacementCharacter;

tFigureDrawing FigureOf(const QTextFormat& format) {
  if (format.objectType() != FigureObjectType) return nullptr;
  return format.property(FigureDrawingProperty).value<tFigureDrawing>();
}

}  // namespace

QSizeF tFigureObjectPainter::intrinsicSize(QTextDocument*, int, const QTextFormat& format) {
  const tFigureDrawing figure = FigureOf(format);
  return figure ? QSizeF(figure->width, figure->height) : QSizeF();
}

void tFigureObjectPainter::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                                      const QTextFormat& format) {
  if (const tFigureDrawing figure = FigureOf(format)) PaintDrawing(*painter, *figure, rect);
}

void AppendFigure(QTextDocument& document, tFigureDrawing figure) {
  QTextCursor cursor(&document);
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  if (!document.lastBlock().text().isEmpty()) cursor.insertBlock();
  QTextCharFormat format;
  format.setObjectType(FigureObjectType);
  format.setProperty(FigureDrawingProperty, QVariant::fromValue(std::move(figure)));
  cursor.insertText(QString(ObjectCharacter), format);
  cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
  cursor.endEditBlock();
}

bool IsFigureBlock(const QTextBlock& block) {
  const QString text = block.text();
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c == ObjectCharacter; });
}

void AppendSummary(QTextDocument& document, const QString& summary, const QTextCharFormat& format) {
  QTextCursor cursor(&document);
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  QTextBlockFormat block;
  block.setProperty(SummaryBlockProperty, true);
  if (!document.lastBlock().text().isEmpty())
    cursor.insertBlock(block, format);
  else
    cursor.setBlockFormat(block);
  cursor.insertText(summary, format);
  cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
  cursor.endEditBlock();
}

bool IsSummaryBlock(const QTextBlock& block) {
  return block.blockFormat().boolProperty(SummaryBlockProperty) && !IsFigureBlock(block);
}

QString SummaryAt(const QTextDocument& document, int position) {
  QString found;
  for (QTextBlock block = document.begin(); block.isValid();) {
    if (!IsSummaryBlock(block)) {
      block = block.next();
      continue;
    }
    QStringList paragraphs;
    int end = block.position();
    for (; block.isValid() && IsSummaryBlock(block); block = block.next()) {
      paragraphs << block.text();
      end = block.position() + block.length() - 1;
    }
    found = paragraphs.join(QLatin1Char('\n'));
    if (end >= position) break;
  }
  return found;
}

std::vector<tDocumentPiece> DocumentPieces(const QTextDocument& document, int from, int to) {
  std::vector<tDocumentPiece> pieces;
  QStringList lines;
  bool linesOfSummary = false;  // lines are a summary's
  QString line;
  bool lineStarted = false;  // the range holds part of the current block
  auto endLine = [&] {
    if (lineStarted) lines << line;
    line.clear();
    lineStarted = false;
  };
  auto endText = [&] {
    if (!lines.isEmpty()) pieces.push_back({lines, nullptr, linesOfSummary});
    lines.clear();
  };
  for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= to;
       block = block.next()) {
    const bool figures = IsFigureBlock(block);
    if (!figures && IsSummaryBlock(block) != linesOfSummary) {
      endText();
      linesOfSummary = !linesOfSummary;
    }
    if (!figures) lineStarted = true;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int start = std::max(from, fragment.position());
      const int end = std::min(to, fragment.position() + fragment.length());
      if (start >= end) continue;
      const QString text = fragment.text().mid(start - fragment.position(), end - start);
      const tFigureDrawing figure = FigureOf(fragment.charFormat());
      if (!figure) {
        line += QString(text).remove(ObjectCharacter);  // a stray one pasted in is no figure
        lineStarted = true;
        continue;
      }
      if (!line.isEmpty()) endLine();
      endText();
      for (qsizetype i = 0; i < text.size(); ++i) pieces.push_back({{}, figure});
    }
    // The block's end is in the range when the next block starts in it.
    if (!figures) endLine();
    if (block.position() + block.length() > to) break;
  }
  endLine();
  endText();
  return pieces;
}

QStringList ReportLines(const QTextDocument& document) {
  QStringList lines;
  for (const tDocumentPiece& piece : DocumentPieces(document, 0, document.characterCount() - 1))
    if (!piece.summary) lines << piece.lines;
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

std::vector<tPlacedFigure> DocumentFigures(const QTextDocument& document) {
  std::vector<tPlacedFigure> figures;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (const tFigureDrawing figure = FigureOf(it.fragment().charFormat()))
        for (int i = 0; i < it.fragment().length(); ++i) figures.push_back({it.fragment().position() + i, figure});
  return figures;
}
