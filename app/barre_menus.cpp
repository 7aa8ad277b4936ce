#include "app/barre_menus.h"

#include <QStyleOptionMenuItem>

void BarreMenus::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
  QMenuBar::initStyleOption(option, action);
  // The bar has the focus only while it keeps the keyboard: its chosen title
  // is drawn as a title whose menu is open.
  if (hasFocus() && (option->state & QStyle::State_Selected)) option->state |= QStyle::State_Sunken;
}
