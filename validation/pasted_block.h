// Blocks of cells pasted from a spreadsheet or copied from a table in a
// paper, and the correlation matrix such a block holds.
//
// A block's rows end at line ends. Its cells are separated by tabs when it
// holds one (a spreadsheet's copy, whose empty cells keep their places);
// otherwise by blanks, and by commas too when the block writes decimals
// with points or puts a blank after a comma ("0.60, 0.30"). In a block
// with neither, a comma is a decimal comma ("0,60 0,30"), as the cells
// themselves read it. Plain C++.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Rows of cells, each cell without the blanks around it.
using tPastedRows = std::vector<std::vector<std::string>>;

// The rows of a pasted text; the line ends at its end start no rows.
tPastedRows SplitPastedBlock(std::string_view text);

// True when the text holds more than one cell, so that pasting it fills
// several cells rather than one.
bool IsPastedBlock(std::string_view text);

// A correlation matrix read from a pasted block.
struct tPastedMatrix {
  // Empty when the block was taken; otherwise the whole message saying
  // why nothing was pasted, naming the first cell that does not fit.
  std::string problem;
  int order = 0;
  // The text for the cell below the diagonal in row r and column c,
  // 1 <= c < r <= order (the matrix window's cell of column c, row r).
  const std::string& Below(int r, int c) const { return texts.at(Index(r, c)); }

  std::vector<std::string> texts;  // by Index, when the block was taken
  std::size_t Index(int r, int c) const { return static_cast<std::size_t>(r * (order + 1) + c); }
};

// Reads the correlation matrix of order variables (at least 2) from a
// pasted text: the whole matrix (checked for symmetry), or its lower or
// upper triangle, each with or without the diagonal; the shape is known
// from the number of rows and of numbers in each. Each value is checked as
// a typed matrix cell is: a number by the cell reader (point or comma as
// its decimal mark), strictly between -1 and +1 off the diagonal, at most
// 6 characters long (what a cell holds). A value on the diagonal may be a
// dash, as papers print it; it is checked but not taken (the diagonal of
// a correlation matrix is 1). A first row and a first column of headings
// (cells that are neither numbers nor dashes, such as the variables'
// names) are left out.
tPastedMatrix ReadPastedCorrelations(std::string_view text, int order);
