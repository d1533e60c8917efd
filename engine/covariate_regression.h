// The multivariate multiple regression of p task variables on k covariates
// in the control sample, fitted from summary statistics alone.
#pragma once

#include "matrix/tmatrix.h"

// Fits the regression from the correlation matrix R (order p + k), the
// standard deviations sds and means (length p + k; the p task variables
// first, then the k covariates) and the sample size N: the least-squares
// fit with an intercept that the raw data behind these statistics would
// give, formed about the means (so that covariates whose mean is large
// against their SD lose nothing). The slopes come from the correlation
// form of the normal equations, W = Rcc^-1 Rct rescaled by the SDs, and
// (X'X)^-1 from the inverse of the centred cross products (Seber, G. A. F.
// and Lee, A. J. (2003), Linear Regression Analysis, 2nd ed., Wiley,
// sections 3.11 and 3.7); Rcc is inverted through its Cholesky factor
// (CholeskyFactor), backward stable for the positive definite matrices
// the callers guarantee.
//
// Outputs, each 0 outside its block:
//   B       (k + 1) x p  coefficients: row 1 the intercepts, row i + 1 the
//                        coefficients of covariate i, column j task j;
//   S       order p      residual covariances (divisor N - k - 1);
//   XtXinv  order k + 1  inverse of the design's cross products.
// The caller guarantees that R is positive definite and N - k - 1 >= 1.
void FitCovariateRegression(tMatrix R, tVector sds, tVector means, int p, int k, int N, tMatrix& B,
                            tMatrix& S, tMatrix& XtXinv);
