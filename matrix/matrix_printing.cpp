// Matrices and vectors written as report lines.
#include "matrix/matrix_operations.h"
#include "core/text_format.h"

namespace {

// Every printed line starts with this indent.
const char* const LineIndent = "   ";

// One entry: five decimals, then three spaces as the column gap.
std::string Entry(extended value) { return FormatC("%5.5Lf   ", value); }

}  // namespace

void PrintMatrix(tMatrix M, int n, const std::string& title, tReportLines& sink) {
  sink.Add(title);
  for (int i = 1; i <= n; ++i) {
    std::string line = LineIndent;
    for (int j = 1; j <= n; ++j) line += Entry(M[i][j]);
    sink.Add(line);
  }
  sink.Add("");
}

void PrintVector(tVector V, int n, const std::string& title, tReportLines& sink) {
  sink.Add(title);
  std::string line = LineIndent;
  for (int i = 1; i <= n; ++i) line += Entry(V[i]);
  sink.Add(line);
}
