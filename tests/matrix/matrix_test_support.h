// Shared helpers of the matrix tests.
#pragma once

#include "matrix/tmatrix.h"

// A matrix with every entry, all of its capacity, set to value.
inline tMatrix Filled(long double value) {
  tMatrix M;
  for (int i = 1; i <= MatrixCapacity; ++i) {
    for (int j = 1; j <= MatrixCapacity; ++j) M[i][j] = value;
  }
  return M;
}

// Whether every entry outside the leading rows x columns block is 0.
inline bool ZeroOutside(const tMatrix& M, int rows, int columns) {
  for (int i = 1; i <= MatrixCapacity; ++i) {
    for (int j = 1; j <= MatrixCapacity; ++j) {
      if ((i > rows || j > columns) && M[i][j] != 0.0L) return false;
    }
  }
  return true;
}
