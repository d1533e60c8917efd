// The results text area's document: the report's lines and, in a block of
// its own under each report, that analysis' figure, an object character
// whose format carries the drawing. These functions read the lines and
// figures back in order, for saving, printing and copying; figure blocks
// are no lines of the report.
#pragma once

#include <QObject>
#include <QSizeF>
#include <QStringList>
#include <QTextFormat>
#include <QTextObjectInterface>
#include <memory>
#include <vector>

#include "core/drawing.h"

class QTextBlock;
class QTextDocument;

inline constexpr int FigureObjectType = QTextFormat::UserObject + 1;
inline constexpr int FigureDrawingProperty = QTextFormat::UserProperty + 1;

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

// The part of the document between two positions, in order: runs of text
// lines (the lines split where the text's blocks end) and the figures
// between them.
struct tDocumentPiece {
  QStringList lines;
  tFigureDrawing figure;  // when set, the piece is this figure
};
std::vector<tDocumentPiece> DocumentPieces(const QTextDocument& document, int from, int to);

// The report's lines as a results file holds them: the figures left out,
// and the empty piece after a final line end no line of its own.
QStringList ReportLines(const QTextDocument& document);

// The figures of the document and where each stands, in order.
struct tPlacedFigure {
  int position;
  tFigureDrawing figure;
};
std::vector<tPlacedFigure> DocumentFigures(const QTextDocument& document);
