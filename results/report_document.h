// The results text area's document: the report's lines and, in a block of
// its own under each report, that analysis' figure, an object character
// whose format carries the drawing, followed by the summary in words, a
// paragraph in a block marked as a summary. These functions read the
// lines, figures and summaries back in order, for saving, printing and
// copying; figure and summary blocks are no lines of the report.
#pragma once

#include <QObject>
#include <QSizeF>
#include <QStringList>
#include <QTextFormat>
#include <QTextCharFormat>
#include <QTextObjectInterface>
#include <memory>
#include <vector>

#include "core/drawing.h"

class QTextBlock;
class QTextDocument;

inline constexpr int FigureObjectType = QTextFormat::UserObject + 1;
inline constexpr int FigureDrawingProperty = QTextFormat::UserProperty + 1;
// Set (true) on the block format of a summary's blocks.
inline constexpr int SummaryBlockProperty = QTextFormat::UserProperty + 2;

using tFigureDrawing = std::shared_ptr<const tDrawing>;

// Lays out and paints the figures of a document; registered with the
// document's layout for FigureObjectType.
class tFigureObjectPainter : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)

 public:
  using QObject::QObject;
  QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
  void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                  const QTextFormat& format) override;
};

// Appends the figure in a block of its own after the document's last line
// (text typed after the last line end is ended first), and an empty block
// under it for the lines that follow.
void AppendFigure(QTextDocument& document, tFigureDrawing figure);

// A block that holds figures and no other text.
bool IsFigureBlock(const QTextBlock& block);

// Appends the summary as one paragraph in a block of its own after the
// document's last line (text typed after the last line end is ended
// first), in format, and an empty block under it for the lines that follow.
void AppendSummary(QTextDocument& document, const QString& summary, const QTextCharFormat& format = {});

// A block of a summary (text typed into it stays part of it).
bool IsSummaryBlock(const QTextBlock& block);

// The summary of the analysis whose report holds position: the first
// summary that ends at or after it, or the last one when none does; its
// blocks joined by "\n". Empty when the document holds none.
QString SummaryAt(const QTextDocument& document, int position);

// The part of the document between two positions, in order: runs of text
// lines (the lines split where the text's blocks end), the figures and the
// summaries between them.
struct tDocumentPiece {
  QStringList lines;
  tFigureDrawing figure;  // when set, the piece is this figure
  bool summary = false;   // the lines are (part of) a summary's paragraphs
};
std::vector<tDocumentPiece> DocumentPieces(const QTextDocument& document, int from, int to);

// The report's lines as a results file holds them: the figures and the
// summaries left out, and the empty piece after a final line end no line
// of its own.
QStringList ReportLines(const QTextDocument& document);

// The figures of the document and where each stands, in order.
struct tPlacedFigure {
  int position;
  tFigureDrawing figure;
};
std::vector<tPlacedFigure> DocumentFigures(const QTextDocument& document);
