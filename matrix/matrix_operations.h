// Operations on the fixed-capacity matrices and vectors of tmatrix.h.
//
// Inputs are taken by value, so every operation works on its own copy and
// an output may be the same object as an input. Outputs are written in
// place through references. Counts (n, m, r, q) are orders or lengths in
// 1..MatrixCapacity; nothing here checks them, the callers keep within the
// capacity. No operation reports an error.
#pragma once

#include <string>

#include "core/extended.h"
#include "core/report_lines.h"
#include "matrix/tmatrix.h"

// Smallest pivot magnitude Gauss-Jordan inversion accepts; a column
// without one ends the inversion.
constexpr extended InversionPivotTolerance = 1e-10L;

// Smallest Cholesky pivot a positive definite matrix may have; a pivot
// exactly equal to it passes.
constexpr extended PositiveDefinitePivotTolerance = 1e-12L;

// Sets all entries of M to 0.
void ClearMatrix(tMatrix& M);

// V[1..n] = x.
void FillVector(int n, tVector& V, extended x);

// V[i] = M[i][j] for all MatrixCapacity rows.
void MatrixColumn(tMatrix M, int j, tVector& V);

// Sum of U[i] * V[i], i = 1..n, accumulated from 0 in order of i.
extended DotProduct(int n, tVector U, tVector V);

// W[i] = U[i] - V[i], i = 1..n.
void VectorDifference(int n, tVector U, tVector V, tVector& W);

// V' M V over the leading n x n block: first w = V' M, then w . V.
extended QuadraticForm(tMatrix M, int n, tVector V);

// C = A + B on the n x n block.
void AddMatrices(tMatrix A, tMatrix B, int n, tMatrix& C);

// C = A - B on the n x n block.
void SubtractMatrices(tMatrix A, tMatrix B, int n, tMatrix& C);

// C (m x q) = A (m x r) * B (r x q), each entry accumulated from 0 over
// l = 1..r. Entries of C outside the m x q block are left as they were.
void MultiplyMatrices(tMatrix A, tMatrix B, int m, int r, int q, tMatrix& C);

// A = x * A on the n x n block, in place.
void ScaleMatrix(int n, tMatrix& A, extended x);

// C = A / x on the n x n block; the divisor is a double.
void DivideMatrix(int n, tMatrix A, tMatrix& C, double x);

// C = A' for the m x q matrix A; every entry of C outside the q x m result
// is 0.
void TransposeMatrix(tMatrix A, int m, int q, tMatrix& C);

// C = the rows and columns i <= n of A with mask[i] true, compacted in
// increasing index order; every other entry of C is 0.
void SelectSubmatrix(tMatrix A, int n, tSelectionMask mask, tMatrix& C);

// Splits the order-t matrix A into the block of its first p variables
// ("t") and of the remaining t - p ("c"): Att (p x p), Atc (p x (t - p)),
// Act = Atc' and Acc ((t - p) x (t - p)). All four are 0 outside their
// blocks.
void PartitionMatrix(tMatrix A, int t, int p, tMatrix& Att, tMatrix& Atc, tMatrix& Act,
                     tMatrix& Acc);

// Corrected sums of squares and products from correlations:
// S[i][j] = R[i][j] * sd[i] * sd[j] * (N - 1) on the n x n block.
void CorrelationToSscp(tMatrix R, int n, int N, tVector sd, tMatrix& S);

// Inverse of the order-n block of A by Gauss-Jordan elimination with
// first-acceptable pivoting. C is cleared and starts as the identity; at a
// column without a pivot of magnitude at least InversionPivotTolerance the
// elimination stops silently and C holds the partially reduced identity.
void InvertMatrix(tMatrix A, int n, tMatrix& C);

// Whether the order-n block of A is positive definite, by a Cholesky
// factorisation of its lower triangle that fails at the first pivot below
// PositiveDefinitePivotTolerance (or one that is not a number).
bool IsPositiveDefinite(int n, tMatrix A);

// The Cholesky factor L of the order-n block of A (A = L L', L lower
// triangular), from A's lower triangle column by column (Golub and Van
// Loan, Matrix Computations, 4th ed., algorithm 4.2.1, the gaxpy form);
// entries above L's diagonal are left as L held them. Returns false when
// a pivot falls below PositiveDefinitePivotTolerance or is not a number;
// the factor is then complete but meaningless from that column on (square
// roots of negative pivots are not numbers). Backward stable: the factor
// of A + E with |E| <= c n u |L||L'| for the unit roundoff u.
bool CholeskyFactor(const tMatrix& A, int n, tMatrix& L);

// Appends title, then for each row i = 1..n three spaces followed by
// M[i][j] as "%5.5f   " for j = 1..n, then an empty line.
void PrintMatrix(tMatrix M, int n, const std::string& title, tReportLines& sink);

// Appends title, then one line of three spaces followed by V[i] as
// "%5.5f   " for i = 1..n.
void PrintVector(tVector V, int n, const std::string& title, tReportLines& sink);
