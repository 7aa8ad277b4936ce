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
class CtlButtonControl;

class CtlButtonActionLink {
 public:
  // Takes over the action's values at once.
  CtlButtonActionLink(CtlBaseGraphicButton* button, QAction* action);
  ~CtlButtonActionLink();
  CtlButtonActionLink(const CtlButtonActionLink&) = delete;
  CtlButtonActionLink& operator=(const CtlButtonActionLink&) = delete;

  QAction* Action() const { return action_; }
  // The action's values onto the button.
  void Update();
  // The user clicked the button.
  void Clicked();
  // The button's Pressed changed without the action: by a click or because
  // another button of its group went down.
  void PressedChanged();

 private:
  CtlBaseGraphicButton* button_;
  QPointer<QAction> action_;
  QMetaObject::Connection changed_;
  bool updating_ = false;
};

// The link between a check box or radio button and a QAction: the control
// shows the action's text as its caption, its tool tip and its enabled state,
// and the checked state of a checkable action (set as code sets it, firing
// nothing). The user's change of the mark sets the action's checked state; a
// click triggers the action.
class CtlCheckActionLink {
 public:
  CtlCheckActionLink(CtlButtonControl* control, QAction* action);
  ~CtlCheckActionLink();
  CtlCheckActionLink(const CtlCheckActionLink&) = delete;
  CtlCheckActionLink& operator=(const CtlCheckActionLink&) = delete;

  QAction* Action() const { return action_; }
  void Update();

 private:
  void UserChanged();
  void Clicked();

  CtlButtonControl* control_;
  QPointer<QAction> action_;
  std::vector<QMetaObject::Connection> connections_;
  bool updating_ = false;
};

// The group number a checkable action's button takes: one per action group,
// else one per action; never a number a form would choose.
int CtlActionGroupIndex(const QAction* action);
