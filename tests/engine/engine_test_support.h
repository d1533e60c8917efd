// Shared helpers of the engine tests: the worked control sample.
#pragma once

#include "matrix/tmatrix.h"

// Controls of the worked case: n = 10, one covariate; task mean 50, SD 10;
// covariate mean 10, SD 2; correlation 0.6.
struct tWorkedControls {
  int k = 1;
  int n = 10;
  tVector sds, means;
  tMatrix R;
  tWorkedControls() {
    sds[1] = 10;
    sds[2] = 2;
    means[1] = 50;
    means[2] = 10;
    R[1][1] = R[2][2] = 1;
    R[1][2] = R[2][1] = 0.6L;
  }
};

inline tVector Scores(long double task, long double covariate) {
  tVector v;
  v[1] = task;
  v[2] = covariate;
  return v;
}
