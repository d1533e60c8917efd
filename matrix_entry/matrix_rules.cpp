#include "matrix_entry/matrix_rules.h"

#include "core/text_format.h"
#include "validation/input_error.h"
#include "validation/number_readers.h"
#include "validation/validation_messages.h"
#include "validation/value_rules.h"

std::string MatrixCellText(double value) { return FormatC("%5.3f", value); }

int CheckMatrixCells(std::vector<tMatrixCellState>& cells, EntryMatrix& matrix, bool lowerTriangleOnly,
                     tPlatformServices& services) {
  const tNoticeHook notice = services.NoticeHook();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    tMatrixCellState& cell = cells[i];
    const double value = static_cast<double>(ReadCellNumber(cell.text, notice));
    if (inputError) return static_cast<int>(i);
    const bool offDiagonal = cell.row != cell.column;
    if (!IsMatrixValueInRange(value, offDiagonal)) {
      services.Inform(MatrixRangeMessage);
      return static_cast<int>(i);
    }
    if (offDiagonal && cell.text == ZeroCellText && cell.zeroMarker == 0) {
      const std::string question = FormatC(
          "Do you want continue with cell (%d,%d) set to the default value of '0.000'?", cell.row, cell.column);
      if (!services.Confirm(question)) return static_cast<int>(i);
      cell.zeroMarker = 1;
    }
    matrix[cell.column][cell.row] = value;
    if (lowerTriangleOnly) matrix[cell.row][cell.column] = value;
  }
  return -1;
}
