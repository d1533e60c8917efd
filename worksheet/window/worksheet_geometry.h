// Where the worksheet window's parts stand, per program: the client area,
// the two visible fields and their labels (inside Panel1) and the width of
// the interval choice. Everything else of the layout is the same in both.
#pragma once

#include "worksheet/logic/program_profile.h"

struct tWorksheetGeometry {
  int clientWidth = 792;
  int clientHeight = 573;
  int fieldLeft = 680;
  int labelLeft = 328;
  int radioGroupWidth = 217;
};

tWorksheetGeometry WorksheetGeometry(tProgramKind kind);
