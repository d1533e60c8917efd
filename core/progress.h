// How a long piece of work tells how far it has come: it calls the check
// now and then with the share done (0 to 1), and stops, leaving nothing
// half-done, when the check answers false (the user cancelled). An empty
// check is never called.
#pragma once

#include <functional>

using tProgressCheck = std::function<bool(double shareDone)>;

// Thrown through work that cannot otherwise stop in the middle when its
// progress check answers false. Not a std::exception, so that handlers of
// failures do not take a cancel for one.
struct tWorkCancelled {};
