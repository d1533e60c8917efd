#include "results/results_icon.h"

#include <QPainter>
#include <QPolygonF>

QPixmap ResultsIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.scale(size / 32.0, size / 32.0);  // drawn on a 32 x 32 grid

  // The page with its folded corner.
  const QPolygonF page({QPointF(5, 1), QPointF(21, 1), QPointF(27, 7), QPointF(27, 31), QPointF(5, 31)});
  p.setPen(QPen(QColor(40, 40, 40), 1));
  p.setBrush(Qt::white);
  p.drawPolygon(page);
  p.setBrush(QColor(200, 200, 200));
  p.drawPolygon(QPolygonF({QPointF(21, 1), QPointF(21, 7), QPointF(27, 7)}));

  // Lines of report text.
  p.setPen(QPen(QColor(0, 0, 128), 1));
  for (int y = 5; y <= 13; y += 3) p.drawLine(8, y, y == 5 ? 18 : 24, y);

  // The control band and the two cases as bars.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(170, 210, 170));
  p.drawRect(8, 18, 16, 4);
  p.setBrush(QColor(0, 128, 0));
  p.drawRect(10, 20, 4, 9);
  p.setBrush(QColor(192, 0, 0));
  p.drawRect(18, 16, 4, 13);
  p.setPen(QPen(QColor(40, 40, 40), 1));
  p.drawLine(8, 29, 24, 29);
  p.end();
  return pixmap;
}

QIcon ResultsWindowIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) icon.addPixmap(ResultsIconPixmap(size));
  return icon;
}
