// A matrix entry for tests that drive the programs' windows: it shows the
// real matrix window without a modal loop and acts on it as the user
// would.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "matrix_entry/matrix_entry.h"
#include "platform/services.h"
#include "tests/support/find_child.h"
#include "worksheet/logic/summary_data_flow.h"

// Builds the matrix window as the program does, shows it without a modal
// loop and calls act, which plays the user (types into cells, presses the
// buttons). A window that act leaves open is left as by Return to
// Worksheet. The worksheet, once set, is hidden while the window is up.
class tDrivenMatrixEntry : public tMatrixEntry {
 public:
  tDrivenMatrixEntry(tPlatformServices& services, std::function<void(TSqMatFrm&)> act)
      : services_(services), act_(std::move(act)) {}

  bool EnterCorrelations(tStoredCorrelations& matrix, int order) override {
    ++windowsShown;
    EntryMatrix entry;
    for (int i = 1; i <= order; ++i)
      for (int j = 1; j <= order; ++j) entry[i][j] = matrix[i][j];
    if (worksheet != nullptr) worksheet->hide();
    bool accepted = false;
    {
      TSqMatFrm window(entry, order, order, "Matrix Entry", std::string(), std::string(), worksheet, true,
                       services_);
      window.show();
      if (act_) act_(window);
      accepted = window.Outcome() == TSqMatFrm::tOutcome::Accepted;
    }
    if (worksheet != nullptr) worksheet->show();
    if (accepted)
      for (int i = 1; i <= order; ++i)
        for (int j = 1; j <= order; ++j) matrix[i][j] = entry[i][j];
    return accepted;
  }

  QWidget* worksheet = nullptr;
  int windowsShown = 0;

 private:
  tPlatformServices& services_;
  std::function<void(TSqMatFrm&)> act_;
};
