// A disk that fills up, without privileges: while an object of this class
// lives, no file of this process may grow beyond the given size (a write
// past it fails with EFBIG, as one on a full disk fails with ENOSPC). The
// limit binds root as well. The signal such a write raises is ignored, so
// the write itself reports the failure.
#pragma once

#include <signal.h>
#include <sys/resource.h>

class tFileSizeLimit {
 public:
  explicit tFileSizeLimit(rlim_t bytes) {
    previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    active_ = ::getrlimit(RLIMIT_FSIZE, &previous_) == 0;
    if (!active_) return;
    rlimit lowered = previous_;
    lowered.rlim_cur = bytes;
    active_ = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
  }
  ~tFileSizeLimit() {
    if (active_) ::setrlimit(RLIMIT_FSIZE, &previous_);
    ::signal(SIGXFSZ, previousHandler_);
  }
  tFileSizeLimit(const tFileSizeLimit&) = delete;
  tFileSizeLimit& operator=(const tFileSizeLimit&) = delete;

  bool isActive() const { return active_; }

 private:
  rlimit previous_{};
  bool active_ = false;
  sighandler_t previousHandler_ = SIG_DFL;
};
