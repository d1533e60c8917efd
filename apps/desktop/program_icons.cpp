#include "apps/desktop/program_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace {

// The drawing grid and its colours, shared with the results window's icon.
constexpr double GridSize = 32.0;
const QColor Outline(40, 40, 40);
const QColor Fold(200, 200, 200);
const QColor Ink(0, 0, 128);
const QColor ControlBand(170, 210, 170);
const QColor CaseA(0, 128, 0);
const QColor CaseB(192, 0, 0);
const QColor TableHead(200, 215, 240);

// Below this edge length the shapes are drawn without smoothing, so the
// one-pixel lines stay sharp.
constexpr int SmoothFromSize = 48;

void DrawPage(QPainter& p) {
  const QPolygonF page({QPointF(5, 1), QPointF(21, 1), QPointF(27, 7), QPointF(27, 31), QPointF(5, 31)});
  p.setPen(QPen(Outline, 1));
  p.setBrush(Qt::white);
  p.drawPolygon(page);
  p.setBrush(Fold);
  p.drawPolygon(QPolygonF({QPointF(21, 1), QPointF(21, 7), QPointF(27, 7)}));
}

// Quorvik: the controls' raw scores as a scatter rising to the right.
void DrawScatter(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(Ink);
  const QPoint points[] = {{8, 12}, {10, 10}, {12, 11}, {13, 8}, {15, 9}, {16, 6}, {18, 7}, {19, 4}};
  for (const QPoint& point : points) p.drawRect(point.x(), point.y(), 2, 2);
}

// Quorvane: a ruled table with a shaded heading row.
void DrawTable(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(TableHead);
  p.drawRect(8, 4, 12, 3);
  p.setPen(QPen(Ink, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(8, 4, 12, 10);
  for (int y : {7, 10}) p.drawLine(8, y, 20, y);
  for (int x : {12, 16}) p.drawLine(x, 4, x, 14);
}

// The control band and the two cases as bars on a base line.
void DrawBars(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(ControlBand);
  p.drawRect(8, 18, 16, 4);
  p.setBrush(CaseA);
  p.drawRect(10, 20, 4, 9);
  p.setBrush(CaseB);
  p.drawRect(18, 16, 4, 13);
  p.setPen(QPen(Outline, 1));
  p.drawLine(8, 29, 24, 29);
}

}  // namespace

QImage ProgramIconImage(tProgramIcon which, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, size >= SmoothFromSize);
  p.scale(size / GridSize, size / GridSize);
  DrawPage(p);
  if (which == tProgramIcon::Quorvik)
    DrawScatter(p);
  else
    DrawTable(p);
  DrawBars(p);
  p.end();
  return image;
}

QIcon ProgramWindowIcon(tProgramIcon which) {
  QIcon icon;
  for (int size : ProgramIconSizes) icon.addPixmap(QPixmap::fromImage(ProgramIconImage(which, size)));
  return icon;
}

const char* ProgramIconName(tProgramIcon which) {
  return which == tProgramIcon::Quorvik ? "quorvik" : "quorvane";
}
