#include "worksheet/window/matrix_entry_window.h"

#include <QWidget>
#include <algorithm>
#include <memory>
#include <string>

#include "matrix_entry/matrix_entry.h"

bool tMatrixEntryWindow::EnterCorrelations(tStoredCorrelations& matrix, int order) {
  order = std::clamp(order, 0, StoredCorrelationsCapacity);
  auto entry = std::make_unique<EntryMatrix>();
  for (int i = 1; i <= order; ++i)
    for (int j = 1; j <= order; ++j) (*entry)[i][j] = matrix[i][j];
  worksheet_.hide();
  const bool accepted = ShowMatrixEntry(*entry, order, order, MatrixEntryCaption, std::string(), std::string(),
                                        &worksheet_, true, services_);
  worksheet_.show();
  if (!accepted) return false;
  for (int i = 1; i <= order; ++i)
    for (int j = 1; j <= order; ++j) matrix[i][j] = (*entry)[i][j];
  return true;
}
