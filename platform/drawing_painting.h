// Drawings painted with Qt: on screen, on paper, into PNG images.
#pragma once

#include <QByteArray>
#include <QRectF>

#include "core/drawing.h"

class QPainter;

// Paints drawing scaled alike in both directions to the width of target,
// or less when target's height is the limit, from target's top left
// corner. The painter's state is left as it was.
void PaintDrawing(QPainter& painter, const tDrawing& drawing, const QRectF& target);

// The drawing as a PNG file's bytes, pixelsPerUnit image pixels for each
// unit of its canvas; empty when the image cannot be made.
QByteArray DrawingPng(const tDrawing& drawing, double pixelsPerUnit);
