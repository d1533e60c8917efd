#include "validation/pasted_block.h"

#include <algorithm>
#include <optional>

#include "core/text_characters.h"
#include "core/text_format.h"
#include "core/text_lines.h"
#include "validation/input_error.h"
#include "validation/key_filter.h"
#include "validation/number_readers.h"
#include "validation/validation_messages.h"
#include "validation/value_rules.h"

namespace {

constexpr char Tab = '\t';

// The cells of one line of a block without tabs: at blanks, and at commas
// when commas separate.
std::vector<std::string> UntabbedCells(std::string_view line, bool commasSeparate) {
  std::vector<std::string> cells;
  std::string cell;
  for (char c : line) {
    if (static_cast<unsigned char>(c) <= ' ' || (commasSeparate && c == ',')) {
      if (!cell.empty()) cells.push_back(cell);
      cell.clear();
    } else {
      cell += c;
    }
  }
  if (!cell.empty()) cells.push_back(cell);
  return cells;
}

// The shapes a correlation matrix of order m is pasted in, by the rows
// given and the first column of each: whole, or a triangle with or without
// the diagonal.
struct tMatrixShape {
  int rows;          // rows in the block
  int firstRow;      // the matrix row of the block's first row
  bool lower;        // row i holds columns 1.. (lower) or ..m (upper)
  bool diagonal;     // the diagonal is given
  bool whole;        // every row holds all m columns
};

// The matrix row and column of the cell at block row b, position p (both
// from 0), in a shape.
void Place(const tMatrixShape& shape, int b, int p, int& row, int& column) {
  row = shape.firstRow + b;
  column = shape.whole || shape.lower ? p + 1 : row + (shape.diagonal ? 0 : 1) + p;
}

int CellsInRow(const tMatrixShape& shape, int order, int b) {
  const int row = shape.firstRow + b;
  if (shape.whole) return order;
  if (shape.lower) return shape.diagonal ? row : row - 1;
  return shape.diagonal ? order - row + 1 : order - row;
}

std::optional<tMatrixShape> ShapeOf(const tPastedRows& rows, int order) {
  const tMatrixShape shapes[] = {
      {order, 1, true, true, true},   {order, 1, true, true, false},  {order - 1, 2, true, false, false},
      {order, 1, false, true, false}, {order - 1, 1, false, false, false},
  };
  for (const tMatrixShape& shape : shapes) {
    if (static_cast<int>(rows.size()) != shape.rows) continue;
    bool fits = true;
    for (int b = 0; b < shape.rows && fits; ++b)
      fits = static_cast<int>(rows[static_cast<std::size_t>(b)].size()) == CellsInRow(shape, order, b);
    if (fits) return shape;
  }
  return std::nullopt;
}

// "3 rows of 1, 2 and 4 numbers", "1 row of 3 numbers".
std::string RowsText(const tPastedRows& rows) {
  std::string counts;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) counts += i + 1 == rows.size() ? " and " : ", ";
    counts += std::to_string(rows[i].size());
  }
  return FormatC("%zu row%s of %s number%s", rows.size(), rows.size() == 1 ? "" : "s", counts.c_str(),
                 rows.size() == 1 && rows[0].size() == 1 ? "" : "s");
}

bool IsDash(const std::string& text) { return text == "-" || text == "\u2013" || text == "\u2014"; }

// A heading of a row or column as spreadsheets and papers print them: a
// cell that neither reads as a number nor is a dash.
bool IsHeading(const std::string& cell) {
  if (IsDash(cell)) return false;
  static_cast<void>(ReadCellNumber(cell, tNoticeHook{}));
  const bool heading = inputError;
  inputError = false;
  return heading;
}

// Leaves out a first row and a first column of headings (the variables'
// names), each only when every cell of it is one.
void DropHeadings(tPastedRows& rows) {
  if (rows.size() > 1 && std::all_of(rows[0].begin(), rows[0].end(), IsHeading)) rows.erase(rows.begin());
  if (!rows.empty() && std::all_of(rows.begin(), rows.end(), [](const std::vector<std::string>& row) {
        return row.size() > 1 && IsHeading(row[0]);
      }))
    for (std::vector<std::string>& row : rows) row.erase(row.begin());
}

std::string NothingPasted(const std::string& why) { return "Nothing was pasted: " + why; }

}  // namespace

tPastedRows SplitPastedBlock(std::string_view text) {
  const bool tabbed = text.find(Tab) != std::string_view::npos;
  const bool commasSeparate =
      !tabbed && (text.find('.') != std::string_view::npos || text.find(", ") != std::string_view::npos);
  tPastedRows rows;
  for (std::string_view line : SplitLines(text)) {
    std::vector<std::string> cells;
    if (tabbed) {
      for (std::size_t start = 0;;) {
        const std::size_t end = line.find(Tab, start);
        cells.push_back(Trimmed(line.substr(start, end - start)));
        if (end == std::string_view::npos) break;
        start = end + 1;
      }
      if (cells.size() == 1 && cells[0].empty()) cells.clear();
    } else {
      cells = UntabbedCells(line, commasSeparate);
    }
    rows.push_back(std::move(cells));
  }
  while (!rows.empty() && rows.back().empty()) rows.pop_back();
  return rows;
}

bool IsPastedBlock(std::string_view text) {
  const tPastedRows rows = SplitPastedBlock(text);
  return rows.size() > 1 || (rows.size() == 1 && rows[0].size() > 1);
}

tPastedMatrix ReadPastedCorrelations(std::string_view text, int order) {
  tPastedMatrix result;
  // Only the numbers count: empty cells and empty rows have no place.
  tPastedRows rows;
  for (const std::vector<std::string>& row : SplitPastedBlock(text)) {
    std::vector<std::string> given;
    for (const std::string& cell : row)
      if (!cell.empty()) given.push_back(cell);
    if (!given.empty()) rows.push_back(std::move(given));
  }
  std::optional<tMatrixShape> shape = order >= 2 ? ShapeOf(rows, order) : std::nullopt;
  // A block that is no matrix as it stands may be one under its headings;
  // the counts of the message leave them out in any case.
  if (!shape) {
    DropHeadings(rows);
    shape = order >= 2 ? ShapeOf(rows, order) : std::nullopt;
  }
  if (!shape) {
    result.problem = NothingPasted(FormatC(
        "the clipboard holds %s. The correlation matrix of %d variables is pasted whole (%d rows of %d "
        "numbers), or as its lower or upper triangle, with the diagonal (rows of 1 to %d numbers) or without it "
        "(rows of 1 to %d).",
        rows.empty() ? "no numbers" : RowsText(rows).c_str(), order, order, order, order, order - 1));
    return result;
  }

  result.order = order;
  result.texts.assign(result.Index(order, order) + 1, std::string());
  std::vector<std::optional<double>> values(result.texts.size());
  for (std::size_t b = 0; b < rows.size(); ++b) {
    for (std::size_t p = 0; p < rows[b].size(); ++p) {
      const std::string& cell = rows[b][p];
      int row = 0;
      int column = 0;
      Place(*shape, static_cast<int>(b), static_cast<int>(p), row, column);
      const std::string where =
          FormatC("\"%s\", in row %d, column %d of the matrix,", ShownText(cell).c_str(), row, column);
      const bool diagonal = row == column;
      if (diagonal && IsDash(cell)) continue;
      if (CharacterCount(cell) > MaxFieldLength) {
        result.problem = NothingPasted(
            where + FormatC(" is longer than the %d characters a cell holds: round the values before copying them.",
                            MaxFieldLength));
        return result;
      }
      const double value = static_cast<double>(ReadCellNumber(cell, tNoticeHook{}));
      if (inputError) {
        result.problem = NothingPasted(where + " is not a number.");
        return result;
      }
      if (!IsMatrixValueInRange(value, !diagonal)) {
        result.problem = NothingPasted(where + " lies outside the range.\r" + MatrixRangeMessage);
        return result;
      }
      if (diagonal) continue;
      // Both triangles of a whole matrix land on the one below the diagonal.
      const std::size_t at = result.Index(std::max(row, column), std::min(row, column));
      if (values[at] && *values[at] != value) {
        result.problem = NothingPasted(
            FormatC("the matrix is not symmetric: row %d, column %d holds %s, and row %d, column %d holds %s.",
                    column, row, result.texts[at].c_str(), row, column, ShownText(cell).c_str()));
        return result;
      }
      values[at] = value;
      result.texts[at] = cell;
    }
  }
  return result;
}
