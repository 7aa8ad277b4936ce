#include "controls/actionlink.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QPainter>

#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/graphicbutton.h"

namespace {

constexpr int kFirstActionGroup = 0x40000000;
constexpr char kGroupProperty[] = "ctlGroupIndex";
constexpr QRgb kGlyphBackground = 0xFF00FF;

int NextGroup() {
  static int next = kFirstActionGroup;
  return next++;
}

// The icon on a magenta bitmap of its first size (16 x 16 without one).
QImage IconGlyph(const QIcon& icon) {
  if (icon.isNull()) return QImage();
  const QList<QSize> sizes = icon.availableSizes();
  const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
  QImage glyph(size, QImage::Format_RGB32);
  glyph.fill(kGlyphBackground);
  QPainter p(&glyph);
  icon.paint(&p, glyph.rect());
  return glyph;
}

// What every linked control shows: caption, hint and enabled state.
template <typename Control>
void ShowCommon(Control* control, const QAction& action) {
  control->SetCaption(action.text());
  control->setToolTip(action.toolTip());
  control->setEnabled(action.isEnabled());
}

}  // namespace

int CtlActionGroupIndex(const QAction* action) {
  QObject* owner = action->actionGroup() ? static_cast<QObject*>(action->actionGroup()) : const_cast<QAction*>(action);
  QVariant group = owner->property(kGroupProperty);
  if (!group.isValid()) {
    group = NextGroup();
    owner->setProperty(kGroupProperty, group);
  }
  return group.toInt();
}

CtlActionLinkBase::~CtlActionLinkBase() {
  for (const auto& c : connections_) QObject::disconnect(c);
}

void CtlActionLinkBase::TakeChecked(bool checked) {
  if (!action_ || updating_ || !action_->isCheckable()) return;
  updating_ = true;
  action_->setChecked(checked);
  updating_ = false;
}

void CtlActionLinkBase::Click(bool control_checked) {
  if (!action_ || !action_->isEnabled()) return;
  if (!action_->isCheckable()) {
    action_->trigger();
    return;
  }
  TakeChecked(control_checked);
  QPointer<QAction> action = action_;
  emit action->triggered(action->isChecked());
}

CtlButtonActionLink::CtlButtonActionLink(CtlBaseGraphicButton* button, QAction* action)
    : CtlActionLinkBase(action), button_(button) {
  connections_.push_back(QObject::connect(action, &QAction::changed, button, [this] { Update(); }));
  Update();
}

void CtlButtonActionLink::Update() {
  Refresh([this](QAction& action) {
    ShowCommon(button_, action);
    button_->SetGlyph(IconGlyph(action.icon()));
    if (!action.isCheckable()) return;
    if (button_->GroupIndex() == 0 || button_->GroupIndex() >= kFirstActionGroup) {
      const QActionGroup* group = action.actionGroup();
      button_->SetGroupIndex(CtlActionGroupIndex(&action));
      button_->SetAllowAllUp(!group || group->exclusionPolicy() != QActionGroup::ExclusionPolicy::Exclusive);
    }
    // A pressed button of a group that allows no release lets go only when another goes down.
    if (action.isChecked() || button_->AllowAllUp() || !button_->Pressed()) button_->SetPressed(action.isChecked());
  });
}

void CtlButtonActionLink::Clicked() { Click(button_->Pressed()); }

void CtlButtonActionLink::PressedChanged() { TakeChecked(button_->Pressed()); }

CtlCheckActionLink::CtlCheckActionLink(CtlButtonControl* control, QAction* action)
    : CtlActionLinkBase(action), control_(control) {
  connections_.push_back(QObject::connect(action, &QAction::changed, control, [this] { Update(); }));
  connections_.push_back(QObject::connect(control, &CtlButtonControl::clicked, control, [this] { Clicked(); }));
  if (auto* box = qobject_cast<CtlCheckBox*>(control))
    connections_.push_back(QObject::connect(box, &CtlCheckBox::changed, control, [this] { UserChanged(); }));
  Update();
}

void CtlCheckActionLink::Update() {
  Refresh([this](QAction& action) {
    ShowCommon(control_, action);
    if (action.isCheckable()) control_->SetChecked(action.isChecked());
  });
}

void CtlCheckActionLink::UserChanged() { TakeChecked(control_->Checked()); }

void CtlCheckActionLink::Clicked() { Click(control_->Checked()); }

CtlPushActionLink::CtlPushActionLink(CtlButton* button, QAction* action) : CtlActionLinkBase(action), button_(button) {
  connections_.push_back(QObject::connect(action, &QAction::changed, button, [this] { Update(); }));
  Update();
}

void CtlPushActionLink::Update() {
  Refresh([this](QAction& action) {
    ShowCommon(button_, action);
    button_->SetGlyph(IconGlyph(action.icon()));
  });
}

void CtlPushActionLink::Clicked() { Click(action_ && action_->isCheckable() && !action_->isChecked()); }
