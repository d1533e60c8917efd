// Fixed-capacity matrices and vectors of extended reals, indexed from 1.
// A matrix of order n uses its leading n x n block; entries outside the
// used block carry no meaning unless an operation says it clears them.
#pragma once

#include "core/extended.h"

// Largest order: the task of interest plus at most 19 covariates.
constexpr int MatrixCapacity = 20;

struct tMatrix {
  extended cell[MatrixCapacity + 1][MatrixCapacity + 1]{};  // row 0 and column 0 unused

  extended* operator[](int row) { return cell[row]; }
  const extended* operator[](int row) const { return cell[row]; }
};

struct tVector {
  extended cell[MatrixCapacity + 1]{};  // element 0 unused

  extended& operator[](int i) { return cell[i]; }
  const extended& operator[](int i) const { return cell[i]; }
};

// Selects rows and columns 1..20.
struct tSelectionMask {
  bool cell[MatrixCapacity + 1]{};

  bool& operator[](int i) { return cell[i]; }
  bool operator[](int i) const { return cell[i]; }
};
