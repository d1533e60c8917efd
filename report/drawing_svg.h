// A drawing as an SVG 1.1 document, written with "." as the decimal mark
// whatever the locale.
#pragma once

#include <string>

#include "core/drawing.h"

// The whole file: the canvas as the view box (one unit a pixel), the title,
// the paths in order, then the texts; text and title are escaped for XML.
std::string DrawingSvg(const tDrawing& drawing);
