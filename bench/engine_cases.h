// The control samples the engine benchmarks compare cases against (shared
// by the Google Benchmark program and the plain timing loop that also runs
// under node).
#pragma once

#include <cmath>

#include "matrix/tmatrix.h"

struct tControls {
  int k;
  int n;
  tVector sds, means;
  tMatrix R;
};

// One covariate: n = 10, task mean 50 SD 10, covariate mean 10 SD 2, r = 0.6.
inline tControls OneCovariate() {
  tControls c{1, 10, {}, {}, {}};
  c.sds[1] = 10; c.sds[2] = 2;
  c.means[1] = 50; c.means[2] = 10;
  c.R[1][1] = c.R[2][2] = 1;
  c.R[1][2] = c.R[2][1] = 0.6L;
  return c;
}

// Five covariates: n = 60; the task correlates 0.5 with each covariate, the
// covariates 0.3 with each other.
inline tControls FiveCovariates() {
  tControls c{5, 60, {}, {}, {}};
  for (int i = 1; i <= 6; ++i) {
    c.sds[i] = i == 1 ? 10 : 2 + i;
    c.means[i] = i == 1 ? 50 : 10 * i;
    for (int j = 1; j <= 6; ++j) c.R[i][j] = i == j ? 1 : (i == 1 || j == 1 ? 0.5L : 0.3L);
  }
  return c;
}

// The two cases of one benchmark.
struct tCasePair {
  tVector a, b;
};

// The worked pair: Case A 40 and 12, Case B 55 and 9 (general branch); with
// sameCovariate Case B's covariate is 12 too (equal-covariates branch).
inline tCasePair OneCovariatePair(bool sameCovariate) {
  tCasePair p;
  p.a[1] = 40; p.a[2] = 12;
  p.b[1] = 55; p.b[2] = sameCovariate ? 12 : 9;
  return p;
}

// Case A half an SD above the covariate means, Case B 0.3 SD below (general
// branch); with sameCovariates both at the means.
inline tCasePair FiveCovariatePair(const tControls& c, bool sameCovariates) {
  tCasePair p{c.means, c.means};
  p.a[1] = 38; p.b[1] = 57;
  if (!sameCovariates) {
    for (int i = 2; i <= 6; ++i) {
      p.a[i] += 0.5L * c.sds[i];
      p.b[i] -= 0.3L * c.sds[i];
    }
  }
  return p;
}

// Two thousand controls of the one-covariate sample; Case B's covariate
// differs from Case A's by dx = 1.326 sqrt(8 x 1999) / |delta| (c = -1.326,
// v = dx^2 / (1999 x 4)), so that the observed value, and with it the
// limits, are near -|delta| on the noncentral t scale.
inline tControls TwoThousandControls() {
  tControls c = OneCovariate();
  c.n = 2000;
  return c;
}
inline tCasePair LargeNoncentralityPair(long double delta) {
  tCasePair p;
  p.a[1] = 40; p.a[2] = 12;
  p.b[1] = 55; p.b[2] = 12 - 1.326L * std::sqrt(8 * 1999.0L) / delta;
  return p;
}
