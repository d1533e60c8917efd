// The engine's way of telling the user something (a warning; no routine
// gives one at present) without knowing the windowing toolkit. The
// programs connect the hook to their message boxes, tests to a recorder.
#pragma once

#include "platform/notice.h"

// Installs the hook for the whole process; an empty hook drops notices.
void SetEngineNoticeHook(tNoticeHook hook);

// Passes a notice to the installed hook, if any. Safe to call from
// several threads; the hook itself must then be thread-safe.
void EngineNotice(const tNotice& notice);
