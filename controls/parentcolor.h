// ParentColor: a control whose colour is its parent's while the flag is set.
// A library control tells its direct children when its colour changes; a
// plain parent's window colour reaches them through Qt's palette. The
// follower takes the parent's colour when it is switched on, when either
// tells of a change, and when the control moves to another parent; setting
// the control's own colour switches it off.
#pragma once

#include <QEvent>
#include <functional>

#include "controls/paintkit.h"

class QWidget;

// The colour a control takes from its parent: a library control's Color,
// else the parent's window colour; clBtnFace without a parent.
CtlColor CtlParentColorOf(const QWidget& control);

// Tells the direct children of `parent` that its colour changed.
void CtlParentColorChanged(QWidget& parent);

// The ParentColor flag of one control. `apply` stores a colour taken from the
// parent in the control (and repaints it) without touching the flag.
class CtlParentColor {
 public:
  CtlParentColor(QWidget& control, std::function<void(CtlColor)> apply)
      : control_(control), apply_(std::move(apply)) {}

  bool On() const { return on_; }
  // Switched on, the control takes its parent's colour at once.
  void Set(bool on);
  // The control's own colour was set.
  void Clear() { on_ = false; }
  // Called with each event of the control: follows its parent while on.
  void Event(const QEvent& e);

 private:
  QWidget& control_;
  std::function<void(CtlColor)> apply_;
  bool on_ = false;
};
