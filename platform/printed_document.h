// What a print job or a PDF file holds: text in one font and size, with
// drawings (the figures of the analyses) between its lines.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/drawing.h"

// A run of text lines (each ended by "\n") or, when drawing is set, one
// drawing. The lines of a paragraph (the summary in words) are wrapped at
// blanks to the page's width; other lines keep their layout.
struct tPrintedPiece {
  std::string text;
  std::shared_ptr<const tDrawing> drawing;
  bool paragraph = false;
};

struct tPrintedDocument {
  std::string fontFamily;
  int pointSize = 8;
  std::vector<tPrintedPiece> pieces;

  // The text of every text piece, in order.
  std::string Text() const {
    std::string text;
    for (const tPrintedPiece& piece : pieces)
      if (!piece.drawing) text += piece.text;
    return text;
  }
  std::size_t DrawingCount() const {
    std::size_t count = 0;
    for (const tPrintedPiece& piece : pieces) count += piece.drawing ? 1 : 0;
    return count;
  }
};
