// The matrix entry of the summary-data flow as the programs run it: the
// matrix window shown modally over the hidden worksheet, which comes back
// when the user leaves the matrix window.
#pragma once

#include "platform/services.h"
#include "worksheet/logic/summary_data_flow.h"

class QWidget;

class tMatrixEntryWindow : public tMatrixEntry {
 public:
  tMatrixEntryWindow(QWidget& worksheet, tPlatformServices& services) : worksheet_(worksheet), services_(services) {}
  bool EnterCorrelations(tStoredCorrelations& matrix, int order) override;

 private:
  QWidget& worksheet_;
  tPlatformServices& services_;
};
