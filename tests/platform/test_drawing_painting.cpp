// Drawings painted with Qt: scaled alike both ways into the target, texts
// placed by their anchors, PNG images of the asked size.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "platform/drawing_painting.h"

namespace {

// Columns of image holding a dark pixel, as [first, last]; {-1, -1} when none.
std::pair<int, int> DarkColumns(const QImage& image) {
  int first = -1, last = -1;
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (qGray(image.pixel(x, y)) < 128) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return {first, last};
}

QImage Painted(const tDrawing& drawing, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintDrawing(painter, drawing, QRectF(QPointF(0, 0), QSizeF(size)));
  return image;
}

}  // namespace

TEST(PaintDrawing, ScalesAlikeBothWaysAndPlacesTextsByTheirAnchors) {
  tDrawing d;
  d.width = 200;
  d.height = 40;
  tDrawingPath box;
  box.points = {{0, 0}, {50, 0}, {50, 40}, {0, 40}};
  box.closed = box.filled = true;
  box.fill = 0x000000;
  box.stroked = false;
  d.paths.push_back(box);
  // A target twice as wide and four times as high: the height follows the width.
  const QImage scaled = Painted(d, QSize(400, 160));
  EXPECT_EQ(DarkColumns(scaled), std::make_pair(0, 99));
  EXPECT_EQ(qGray(scaled.pixel(50, 79)), 0);
  EXPECT_EQ(qGray(scaled.pixel(50, 81)), 255);

  d.paths.clear();
  for (tTextAnchor anchor : {tTextAnchor::Start, tTextAnchor::Middle, tTextAnchor::End}) {
    d.texts = {{{100, 30}, "MMMM", 20, anchor}};
    const auto [first, last] = DarkColumns(Painted(d, QSize(200, 40)));
    ASSERT_GE(first, 0);
    switch (anchor) {
      case tTextAnchor::Start: EXPECT_GE(first, 99); break;
      case tTextAnchor::Middle: EXPECT_NEAR((first + last) / 2.0, 100, 3); break;
      case tTextAnchor::End: EXPECT_LE(last, 101); break;
    }
  }
}

TEST(DrawingPng, IsAnImageOfTheCanvasTimesTheScale) {
  tDrawing d;
  d.width = 120;
  d.height = 50;
  const QImage image = QImage::fromData(DrawingPng(d, 2), "PNG");
  EXPECT_EQ(image.size(), QSize(240, 100));
  EXPECT_TRUE(DrawingPng(tDrawing{}, 2).isEmpty());  // no canvas, no image
}
