// The change protocol of the library's objects. A property setter compares,
// stores, then calls Change(); an equal value does nothing. Several stores
// bracketed by BeginUpdate()/EndUpdate(true) notify once. Sub-objects are
// linked to their owner with ForwardChange and copied with Assign, never
// replaced.
#pragma once

#include <QObject>
#include <functional>
#include <string>

// The compare-and-store of every setter: false when `field` already equals
// `value`, else stores it and returns true; the caller notifies only on true.
template <class T, class V>
bool CtlStore(T& field, const V& value) {
  if (field == value) return false;
  field = static_cast<T>(value);
  return true;
}

// Drawing property objects and other plain objects of the library.
class CtlObject {
 public:
  CtlObject() = default;
  // A copy takes the values, not the change hook nor the update lock.
  CtlObject(const CtlObject&) {}
  CtlObject& operator=(const CtlObject&) { return *this; }
  virtual ~CtlObject() = default;

  // Called with the object itself after every change, unless updating.
  std::function<void(CtlObject*)> OnChange;

  void Change();
  // What a sub-object's OnChange calls on its owner.
  void ForwardChange(CtlObject*) { Change(); }
  void BeginUpdate() { updating_ = true; }
  void EndUpdate(bool notify);
  bool Updating() const { return updating_; }

  // Copies the values of another object of a compatible class; the base
  // refuses every class but its own (CtlError).
  virtual void Assign(const CtlObject& source);
  // The class name used in messages ("TCtlWave").
  virtual std::string ClassName() const { return "TCtlObject"; }

 private:
  bool updating_ = false;
};

// Non-visual components: QObjects owned by a form (their QObject parent).
class CtlCustomComponent : public QObject {
  Q_OBJECT
 public:
  explicit CtlCustomComponent(QObject* owner = nullptr) : QObject(owner) {}

  // Called with the component after every change, unless updating.
  std::function<void(CtlCustomComponent*)> OnChange;

  void Changed();
  void ForwardChange(CtlObject*) { Changed(); }
  void BeginUpdate() { updating_ = true; }
  void EndUpdate(bool notify);
  bool Updating() const { return updating_; }

 private:
  bool updating_ = false;
};

// The base of the library's non-visual components.
class CtlComponent : public CtlCustomComponent {
  Q_OBJECT
 public:
  using CtlCustomComponent::CtlCustomComponent;
};
