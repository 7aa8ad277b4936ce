// The accelerator of a control's caption ("&x" gives Alt+x): one shortcut per
// control, valid anywhere in the control's form, replaced with the caption.
// The shortcut belongs to the form; the control deletes it when it goes.
#pragma once

#include <QPointer>
#include <QShortcut>
#include <QString>
#include <functional>

class QWidget;

// Deletes `slot`'s shortcut and, when `caption` holds an accelerator, makes a
// new one that runs `action`.
void CtlReplaceMnemonic(QPointer<QShortcut>& slot, QWidget* control, const QString& caption, std::function<void()> action);
// The form a control belongs to: its window, or the widget of its MDI child window.
QWidget* CtlOwnerForm(QWidget* control);
