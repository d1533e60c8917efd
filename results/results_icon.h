// The results window's icon, drawn in code: a report page with lines of
// text and a small bar chart comparing two cases with a control band.
#pragma once

#include <QIcon>
#include <QPixmap>

// The icon at the given edge length in pixels (drawn for 32 and scaled
// proportionally for other sizes).
QPixmap ResultsIconPixmap(int size = 32);
QIcon ResultsWindowIcon();
