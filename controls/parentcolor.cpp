#include "controls/parentcolor.h"

#include <QCoreApplication>
#include <QWidget>

#include "controls/basecontrols.h"

namespace {

// Sent by a library control to its direct children after its colour changed.
QEvent::Type ParentColorEvent() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace

CtlColor CtlParentColorOf(const QWidget& control) {
  const QWidget* parent = control.parentWidget();
  if (!parent) return clBtnFace;
  if (auto* root = qobject_cast<const CtlControlRoot*>(parent)) return root->Color();
  return QColorToCtl(parent->palette().color(QPalette::Window));
}

void CtlParentColorChanged(QWidget& parent) {
  for (QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    QEvent e(ParentColorEvent());
    QCoreApplication::sendEvent(child, &e);
  }
}

void CtlParentColor::Set(bool on) {
  if (on == on_) return;
  on_ = on;
  if (on_) apply_(CtlParentColorOf(control_));
}

void CtlParentColor::Event(const QEvent& e) {
  if (!on_) return;
  const QEvent::Type t = e.type();
  if (t == ParentColorEvent() || t == QEvent::ParentChange || t == QEvent::PaletteChange)
    apply_(CtlParentColorOf(control_));
}
