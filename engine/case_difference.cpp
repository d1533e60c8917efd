#include "engine/case_difference.h"

#include <cmath>

#include "engine/covariate_regression.h"
#include "matrix/matrix_operations.h"

tCaseDifference CaseDifference(int k, int n, const tVector& caseA, const tVector& caseB, const tVector& sds,
                               const tVector& means, const tMatrix& R) {
  const int order = k + 1;
  tMatrix B, S, XtXinv;
  FitCovariateRegression(R, sds, means, 1, k, n, B, S, XtXinv);

  tCaseDifference cases;
  cases.observed = caseA[1] - caseB[1];
  // The case vectors become the augmented covariate vectors (1, x1..xk).
  tVector augmentedA = caseA, augmentedB = caseB;
  augmentedA[1] = 1;
  augmentedB[1] = 1;
  MatrixColumn(B, 1, cases.beta);
  VectorDifference(order, augmentedA, augmentedB, cases.d);
  for (int i = 1; i <= order; ++i)
    if (std::fabs(cases.d[i]) > 0) cases.equalCovariates = false;
  cases.residualVariance = S[1][1];
  cases.predicted = DotProduct(order, cases.beta, cases.d);
  cases.v = QuadraticForm(XtXinv, order, cases.d);
  const extended s2 = cases.residualVariance;
  cases.standardError =
      cases.equalCovariates ? ConditionalSdOfDifference(std::sqrt(s2)) : std::sqrt(2 * s2 + s2 * cases.v);
  return cases;
}
