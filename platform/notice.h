// Plain C++ notification hook through which the numerical and validation
// layers speak to the user without knowing the windowing toolkit.
#pragma once

#include <functional>
#include <string>

enum class tMessageKind { Warning, Error, Information, Confirmation };

// One message for the user: the kind decides the icon, the caption the
// title of the box; a '\r' in the text starts a new line in the box.
struct tNotice {
  tMessageKind kind;
  std::string caption;
  std::string text;
};

// Shows a notice (modally in the programs, recorded in tests). An empty
// hook drops the notice.
using tNoticeHook = std::function<void(const tNotice&)>;

// Sounds the system beep.
using tBeepHook = std::function<void()>;
