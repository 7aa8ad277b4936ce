#include "controls/mnemonic.h"

#include <QKeySequence>
#include <QMdiSubWindow>
#include <QShortcut>
#include <QWidget>

QWidget* CtlOwnerForm(QWidget* control) {
  QWidget* w = control;
  while (w && !w->isWindow()) {
    if (qobject_cast<QMdiSubWindow*>(w->parentWidget())) return w;
    w = w->parentWidget();
  }
  return w;
}

void CtlReplaceMnemonic(QPointer<QShortcut>& slot, QWidget* control, const QString& caption, std::function<void()> action) {
  delete slot;
  slot = nullptr;
  const QKeySequence touche = QKeySequence::mnemonic(caption);
  if (touche.isEmpty()) return;
  QWidget* form = CtlOwnerForm(control);
  slot = new QShortcut(touche, form ? form : control);
  // An MDI child shares its top-level window with the others: its shortcuts
  // count only while the focus is inside it.
  slot->setContext(form && !form->isWindow() ? Qt::WidgetWithChildrenShortcut : Qt::WindowShortcut);
  QObject::connect(slot, &QShortcut::activated, control, std::move(action));
}
