// Links from controls to a QAction. First, the link between a graphic button
// (speed, office, shape or multimedia button) and a QAction. The button shows what the action holds: its text as
// the caption, its tool tip as the hint, its enabled state, its icon as the
// glyph (drawn on magenta, the glyph's transparent colour; no icon clears the
// glyph) and, for a checkable action, its checked state as Pressed. A click on
// the button triggers the action; on a checkable one the button's Pressed
// becomes the action's checked state first.
//
// A checkable action needs a button that can stay down: a button outside any
// group gets a group of its own (AllowAllUp, so it toggles), or the group its
// action group stands for (AllowAllUp unless that group is exclusive).
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <vector>

class QAction;
class CtlBaseGraphicButton;
class CtlButton;
class CtlButtonControl;

// What both links share: the action (forgotten when it is destroyed), the
// connections dropped with the link, and the guard that keeps a change from
// echoing between the control and the action.
class CtlActionLinkBase {
 public:
  CtlActionLinkBase(const CtlActionLinkBase&) = delete;
  CtlActionLinkBase& operator=(const CtlActionLinkBase&) = delete;

  QAction* Action() const { return action_; }

 protected:
  explicit CtlActionLinkBase(QAction* action) : action_(action) {}
  ~CtlActionLinkBase();

  // Runs `show` over the action, unless the action is gone or a change is under way.
  template <typename Show>
  void Refresh(Show show) {
    if (!action_ || updating_) return;
    updating_ = true;
    show(*action_);
    updating_ = false;
  }
  // The control's state becomes a checkable action's checked state.
  void TakeChecked(bool checked);
  // A click: a plain action is triggered; a checkable one takes the control's
  // state first, then reports the trigger with its checked state.
  void Click(bool control_checked);

  QPointer<QAction> action_;
  std::vector<QMetaObject::Connection> connections_;

 private:
  bool updating_ = false;
};

class CtlButtonActionLink : public CtlActionLinkBase {
 public:
  // Takes over the action's values at once.
  CtlButtonActionLink(CtlBaseGraphicButton* button, QAction* action);

  // The action's values onto the button.
  void Update();
  // The user clicked the button.
  void Clicked();
  // The button's Pressed changed without the action: by a click or because
  // another button of its group went down.
  void PressedChanged();

 private:
  CtlBaseGraphicButton* button_;
};

// The link between a check box or radio button and a QAction: the control
// shows the action's text as its caption, its tool tip and its enabled state,
// and the checked state of a checkable action (set as code sets it, firing
// nothing). The user's change of the mark sets the action's checked state; a
// click triggers the action.
class CtlCheckActionLink : public CtlActionLinkBase {
 public:
  CtlCheckActionLink(CtlButtonControl* control, QAction* action);

  void Update();

 private:
  void UserChanged();
  void Clicked();

  CtlButtonControl* control_;
};

// The link between a push button and a QAction: the button shows the action's
// text as its caption, its tool tip, its enabled state and its icon as the
// glyph (on magenta; no icon clears the glyph). A click triggers the action; a
// checkable action changes its checked state with each click.
class CtlPushActionLink : public CtlActionLinkBase {
 public:
  CtlPushActionLink(CtlButton* button, QAction* action);

  void Update();
  void Clicked();

 private:
  CtlButton* button_;
};

// The group number a checkable action's button takes: one per action group,
// else one per action; never a number a form would choose.
int CtlActionGroupIndex(const QAction* action);
