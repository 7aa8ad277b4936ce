#include "controls/ctlobject.h"

#include "controls/ctlerror.h"

void CtlObject::Change() {
  if (!updating_ && OnChange) OnChange(this);
}

void CtlObject::EndUpdate(bool notify) {
  updating_ = false;
  if (notify) Change();
}

void CtlObject::Assign(const CtlObject& source) {
  if (&source == this) return;
  throw CtlError("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}

void CtlCustomComponent::Changed() {
  if (!updating_ && OnChange) OnChange(this);
}

void CtlCustomComponent::EndUpdate(bool notify) {
  updating_ = false;
  if (notify) Changed();
}
