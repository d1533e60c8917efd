#include "engine/engine_notices.h"

#include <mutex>
#include <utility>

namespace {

std::mutex hookGuard;

tNoticeHook& InstalledHook() {
  static tNoticeHook hook;
  return hook;
}

}  // namespace

void SetEngineNoticeHook(tNoticeHook hook) {
  std::lock_guard<std::mutex> lock(hookGuard);
  InstalledHook() = std::move(hook);
}

void EngineNotice(const tNotice& notice) {
  tNoticeHook hook;
  {
    std::lock_guard<std::mutex> lock(hookGuard);
    hook = InstalledHook();
  }
  // Called outside the lock: a modal box may run a nested event loop.
  if (hook) hook(notice);
}
