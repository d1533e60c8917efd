// Elementwise operations, products, transposes and partitions of tMatrix
// and tVector.
#include "matrix/matrix_operations.h"

void ClearMatrix(tMatrix& M) {
  for (auto& row : M.cell) {
    for (auto& entry : row) entry = 0.0L;
  }
}

void FillVector(int n, tVector& V, extended x) {
  for (int i = 1; i <= n; ++i) V[i] = x;
}

void MatrixColumn(tMatrix M, int j, tVector& V) {
  for (int i = 1; i <= MatrixCapacity; ++i) V[i] = M[i][j];
}

extended DotProduct(int n, tVector U, tVector V) {
  extended sum = 0.0L;
  for (int i = 1; i <= n; ++i) sum += U[i] * V[i];
  return sum;
}

void VectorDifference(int n, tVector U, tVector V, tVector& W) {
  for (int i = 1; i <= n; ++i) W[i] = U[i] - V[i];
}

// V' M V: the row vector w = V' M first, then its product with V.
extended QuadraticForm(tMatrix M, int n, tVector V) {
  tVector w;
  for (int j = 1; j <= n; ++j) {
    extended sum = 0.0L;
    for (int i = 1; i <= n; ++i) sum += V[i] * M[i][j];
    w[j] = sum;
  }
  extended form = 0.0L;
  for (int j = 1; j <= n; ++j) form += w[j] * V[j];
  return form;
}

void AddMatrices(tMatrix A, tMatrix B, int n, tMatrix& C) {
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) C[i][j] = A[i][j] + B[i][j];
  }
}

void SubtractMatrices(tMatrix A, tMatrix B, int n, tMatrix& C) {
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) C[i][j] = A[i][j] - B[i][j];
  }
}

void MultiplyMatrices(tMatrix A, tMatrix B, int m, int r, int q, tMatrix& C) {
  for (int i = 1; i <= m; ++i) {
    for (int j = 1; j <= q; ++j) {
      extended sum = 0.0L;
      for (int l = 1; l <= r; ++l) sum += A[i][l] * B[l][j];
      C[i][j] = sum;
    }
  }
}

void ScaleMatrix(int n, tMatrix& A, extended x) {
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) A[i][j] = x * A[i][j];
  }
}

void DivideMatrix(int n, tMatrix A, tMatrix& C, double x) {
  const extended divisor = x;
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) C[i][j] = A[i][j] / divisor;
  }
}

void TransposeMatrix(tMatrix A, int m, int q, tMatrix& C) {
  ClearMatrix(C);
  for (int i = 1; i <= m; ++i) {
    for (int j = 1; j <= q; ++j) C[j][i] = A[i][j];
  }
}

void SelectSubmatrix(tMatrix A, int n, tSelectionMask mask, tMatrix& C) {
  ClearMatrix(C);
  int row = 0;
  for (int i = 1; i <= n; ++i) {
    if (!mask[i]) continue;
    ++row;
    int column = 0;
    for (int j = 1; j <= n; ++j) {
      if (!mask[j]) continue;
      ++column;
      C[row][column] = A[i][j];
    }
  }
}

void PartitionMatrix(tMatrix A, int t, int p, tMatrix& Att, tMatrix& Atc, tMatrix& Act,
                     tMatrix& Acc) {
  ClearMatrix(Att);
  ClearMatrix(Atc);
  ClearMatrix(Act);
  ClearMatrix(Acc);
  tSelectionMask taskMask;
  tSelectionMask covariateMask;
  for (int i = 1; i <= t; ++i) {
    taskMask[i] = i <= p;
    covariateMask[i] = i > p;
  }
  SelectSubmatrix(A, t, taskMask, Att);
  SelectSubmatrix(A, t, covariateMask, Acc);
  for (int i = 1; i <= p; ++i) {
    for (int j = 1; j <= t - p; ++j) Atc[i][j] = A[i][p + j];
  }
  TransposeMatrix(Atc, p, t - p, Act);
}

void CorrelationToSscp(tMatrix R, int n, int N, tVector sd, tMatrix& S) {
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) S[i][j] = R[i][j] * sd[i] * sd[j];
  }
  ScaleMatrix(n, S, static_cast<extended>(N - 1));
}
