// Records the notices and beeps the validation routines give.
#pragma once

#include <string>
#include <vector>

#include "platform/notice.h"

struct tNoticeRecorder {
  std::vector<tNotice> notices;
  int beeps = 0;

  tNoticeHook Hook() {
    return [this](const tNotice& n) { notices.push_back(n); };
  }
  tBeepHook Beep() {
    return [this] { ++beeps; };
  }
  // Text of the only notice; empty when there is not exactly one.
  std::string OnlyText() const { return notices.size() == 1 ? notices[0].text : std::string(); }
};
