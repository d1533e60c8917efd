#include "distrib/incomplete_beta_ladder.h"

#include "distrib/incomplete_beta.h"

void tIncompleteBetaLadder::Reset(extended y, extended z, extended h) {
  y_ = y;
  z_ = z;
  h_ = h;
  fixed_ = true;
  started_ = false;
  below_.clear();
  above_.clear();
}

void tIncompleteBetaLadder::Start(std::int64_t j) {
  const extended a = static_cast<extended>(j);
  tRung rung, term;
  rung.half = IncompleteBeta(y_, z_, a + 0.5L, h_, term.half);
  rung.whole = IncompleteBeta(y_, z_, a + 1, h_, term.whole);
  // BetaPowerTerm / a is G(a).
  term.half /= a + 0.5L;
  term.whole /= a + 1;
  started_ = true;
  start_ = j;
  above_.assign(1, rung);
  below_.clear();
  lowestTerm_ = highestTerm_ = term;
}

// From the lowest rung j + 1 to j: G(a - 1) = G(a) a / ((a - 1 + h) y) and
// I(a - 1) = I(a) + G(a - 1), for a = j + 3/2 and j + 2.
void tIncompleteBetaLadder::ExtendDown() {
  const tRung& lowest = below_.empty() ? above_.front() : below_.back();
  const extended j = static_cast<extended>(start_ - static_cast<std::int64_t>(below_.size()) - 1);
  const extended shared = 1 / ((j + 0.5L + h_) * (j + 1 + h_) * y_);
  lowestTerm_.half *= (j + 1.5L) * (j + 1 + h_) * shared;
  lowestTerm_.whole *= (j + 2) * (j + 0.5L + h_) * shared;
  below_.push_back({lowest.half + lowestTerm_.half, lowest.whole + lowestTerm_.whole});
}

// From the highest rung j - 1 to j: I(a + 1) = I(a) - G(a), then
// G(a + 1) = G(a) y (a + h) / (a + 1), for a = j - 1/2 and j.
void tIncompleteBetaLadder::ExtendUp() {
  const tRung highest = above_.back();
  const extended j = static_cast<extended>(start_ + static_cast<std::int64_t>(above_.size()));
  above_.push_back({highest.half - highestTerm_.half, highest.whole - highestTerm_.whole});
  const extended shared = y_ / ((j + 0.5L) * (j + 1));
  highestTerm_.half *= (j - 0.5L + h_) * (j + 1) * shared;
  highestTerm_.whole *= (j + h_) * (j + 0.5L) * shared;
}

// The slow path of At: start the ladder or extend it to j.
const tIncompleteBetaLadder::tRung& tIncompleteBetaLadder::Reach(std::int64_t j) {
  if (!started_) Start(j);
  if (j >= start_) {
    while (static_cast<std::int64_t>(above_.size()) <= j - start_) ExtendUp();
    return above_[static_cast<std::size_t>(j - start_)];
  }
  while (static_cast<std::int64_t>(below_.size()) < start_ - j) ExtendDown();
  return below_[static_cast<std::size_t>(start_ - j - 1)];
}
