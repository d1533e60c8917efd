#include "worksheet/window/worksheet_geometry.h"

tWorksheetGeometry WorksheetGeometry(tProgramKind kind) {
  tWorksheetGeometry g;
  if (kind == tProgramKind::SummaryData) {
    g.clientHeight = 585;
    g.fieldLeft = 688;
    g.labelLeft = 384;
    g.radioGroupWidth = 201;
  }
  return g;
}
