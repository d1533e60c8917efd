// The incomplete beta values of the noncentral t series, I_y(j + 1/2, h)
// and I_y(j + 1, h) for whole j, kept for a fixed y and h and extended one
// step at a time in either direction from the index where they were first
// asked for. A search that evaluates the series at one x for many
// noncentralities computes them once.
#pragma once

#include <cstdint>
#include <vector>

#include "core/extended.h"

class tIncompleteBetaLadder {
 public:
  struct tRung {
    extended half;   // I_y(j + 1/2, h)
    extended whole;  // I_y(j + 1, h)
  };

  // An empty ladder, for no y and h yet.
  tIncompleteBetaLadder() = default;

  // Empties the ladder and fixes y = x^2/(x^2 + nu) in (0, 1), z = 1 - y
  // formed apart, and h = nu/2.
  void Reset(extended y, extended z, extended h);

  // Whether the ladder holds values for these y, z and h.
  bool Matches(extended y, extended z, extended h) const {
    return fixed_ && y == y_ && z == z_ && h == h_;
  }

  // The values at index j >= 0. The first call fixes the start (two
  // incomplete beta evaluations); later calls reach other indices by the
  // recurrences I_y(a + 1, h) = I_y(a, h) - G(a), G(a) = y^a z^h / (a B(a, h)),
  // from the nearest end, adding going down (stable) and subtracting going
  // up (absolute error a few units of the last place of the start values).
  const tRung& At(std::int64_t j) {
    if (started_) {
      if (j >= start_ && j - start_ < static_cast<std::int64_t>(above_.size()))
        return above_[static_cast<std::size_t>(j - start_)];
      if (j < start_ && start_ - j <= static_cast<std::int64_t>(below_.size()))
        return below_[static_cast<std::size_t>(start_ - j - 1)];
    }
    return Reach(j);
  }

 private:
  const tRung& Reach(std::int64_t j);
  void Start(std::int64_t j);
  void ExtendDown();
  void ExtendUp();

  extended y_ = 0, z_ = 0, h_ = 0;
  bool fixed_ = false;
  bool started_ = false;
  std::int64_t start_ = 0;
  // Rungs start_ - 1, start_ - 2, ... and start_, start_ + 1, ...
  std::vector<tRung> below_, above_;
  // G(j + 1/2) and G(j + 1) at the lowest and at the highest rung.
  tRung lowestTerm_{}, highestTerm_{};
};
