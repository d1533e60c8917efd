#include "distrib/chi_square_distribution.h"

tChi_square_distribution::tChi_square_distribution(extended df)
    : tGamma_distribution(df / 2, 0.5L) {
  SetParameters(df, 0, 0);
}

std::unique_ptr<tChi_square_distribution> tChi_square_distribution::Create(extended df) {
  return std::make_unique<tChi_square_distribution>(df);
}

// Shape nu/2 and rate 1/2 through the gamma's own operation.
bool tChi_square_distribution::SetParameters(extended df, extended, extended) {
  tGamma_distribution::SetParameters(df / 2, 0.5L, 0);
  DegreesOfFreedom = df;
  return true;
}
