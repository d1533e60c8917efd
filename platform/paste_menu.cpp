#include "platform/paste_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

// The menu's items have no names: Paste is known by its caption, looked up
// as the line edit looks it up (in the user's language) and shown before
// the shortcut.
void ShowMenuWithOwnPaste(QLineEdit* entry, const QPoint& globalPos, std::function<void()> paste) {
  QMenu* menu = entry->createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const QString pasteCaption = QCoreApplication::translate("QLineEdit", "&Paste");
  QAction* standard = nullptr;
  for (QAction* action : menu->actions())
    if (action->text().section(QLatin1Char('\t'), 0, 0) == pasteCaption) standard = action;
  if (standard != nullptr) {
    auto* own = new QAction(standard->text(), menu);
    own->setShortcut(standard->shortcut());
    own->setEnabled(!entry->isReadOnly());  // an empty paste changes nothing
    menu->insertAction(standard, own);
    menu->removeAction(standard);
    const QPointer<QLineEdit> open(entry);
    QObject::connect(
        own, &QAction::triggered, entry,
        [open, paste = std::move(paste)] {
          if (open) paste();
        },
        Qt::QueuedConnection);
  }
  menu->popup(globalPos);
}
