// The figures of one comparison of two cases, in their fixed order; the
// report reads them by these names.
#pragma once

#include "core/extended.h"

struct AnalysisResults {
  extended tValue = 0;       // t statistic for the difference between the cases
  extended df = 0;           // degrees of freedom, n - k - 1
  extended pOneTailed = 0;   // one-tailed probability of tValue
  extended pTwoTailed = 0;   // 2 x pOneTailed
  extended pctEstimate = 0;  // percentage of controls with a larger difference, 100 x pOneTailed
  extended pctLower = 0;     // confidence limits on that percentage
  extended pctUpper = 0;
  extended zPccc = 0;        // effect size Z-PCCC
  extended zPcccLower = 0;   // confidence limits on Z-PCCC
  extended zPcccUpper = 0;
};
