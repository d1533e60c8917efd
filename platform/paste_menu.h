// The context menu of a line edit whose pastes the program checks itself:
// the line edit's own menu, in the user's language, with its Paste item
// doing the program's paste.
#pragma once

#include <functional>

class QLineEdit;
class QPoint;

// Shows entry's standard context menu at globalPos, its Paste item calling
// paste instead of the line edit's own paste (and enabled unless the entry
// is read-only: paste reads the clipboard through the platform services). paste runs queued, after
// the menu has closed (it may show a box, during which the window may free
// the entry and with it the menu), and only while entry still exists.
void ShowMenuWithOwnPaste(QLineEdit* entry, const QPoint& globalPos, std::function<void()> paste);
