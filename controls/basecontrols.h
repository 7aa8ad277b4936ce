// The two roots of the library's visible controls. `CtlCustomControl` is a
// windowed control (it can take the focus, draws flat borders and fires its
// focus events after the focus change); `CtlBaseControl` and its descendants
// are window-less: they never take the focus and report moves and resizes.
// Transparency is Qt's own composition: a control that paints no background
// shows its parent's pixels. The predicates below only decide whether a
// control fills its background with its colour.
#pragma once

#include <QMetaObject>
#include <QString>
#include <QWidget>
#include <functional>

#include "controls/imagelist.h"
#include "controls/properties.h"

// A control's link to one entry (ListIndex, ImageIndex) of an image list. The
// list is not owned; when it is destroyed the link forgets it.
class CtlImageEntry {
 public:
  explicit CtlImageEntry(std::function<void()> changed);
  ~CtlImageEntry();
  CtlImageEntry(const CtlImageEntry&) = delete;
  CtlImageEntry& operator=(const CtlImageEntry&) = delete;

  const CtlCustomImageList* List() const { return link_.Container() ? list_ : nullptr; }
  // Unregisters from the old list, registers with the new one, then reports.
  void SetList(const CtlCustomImageList* list);
  int ListIndex() const { return list_index_; }
  int ImageIndex() const { return image_index_; }
  // A negative or unchanged value is ignored; a change reports when a list is linked.
  void SetListIndex(int i) { SetIndex(list_index_, i); }
  void SetImageIndex(int i) { SetIndex(image_index_, i); }
  // Without a list the entry counts as missing.
  bool HasEntry() const { return List() && List()->IsValidImage(list_index_, image_index_); }
  QImage Picture() const { return HasEntry() ? List()->GetImage(list_index_, image_index_) : QImage(); }
  QSize ItemSize() const;

 private:
  void SetIndex(int& field, int value);
  const CtlCustomImageList* list_ = nullptr;
  int list_index_ = 0, image_index_ = 0;
  CtlChangeLink link_;
  QMetaObject::Connection destroyed_;
  std::function<void()> changed_;
};


// A linked picture-list entry with its accessors, for the controls and
// components that show one. A change of the list, of its contents or of the
// entry's indexes calls ImageListChanged.
class CtlEntryOwner {
 public:
  CtlEntryOwner() = default;
  virtual ~CtlEntryOwner() = default;
  CtlEntryOwner(const CtlEntryOwner&) = delete;
  CtlEntryOwner& operator=(const CtlEntryOwner&) = delete;

  const CtlCustomImageList* ImageList() const { return entry_.List(); }
  void SetImageList(const CtlCustomImageList* list) { entry_.SetList(list); }
  int ListIndex() const { return entry_.ListIndex(); }
  void SetListIndex(int i) { entry_.SetListIndex(i); }
  int ImageIndex() const { return entry_.ImageIndex(); }
  void SetImageIndex(int i) { entry_.SetImageIndex(i); }
  bool HasEntry() const { return entry_.HasEntry(); }
  const CtlImageEntry& Entry() const { return entry_; }

 protected:
  virtual void ImageListChanged() {}

 private:
  CtlImageEntry entry_{[this] { ImageListChanged(); }};
};

// What both roots share: the colour, the linked picture-list entry, the
// change handler of owned sub-objects, and the pointer entering and leaving.
class CtlControlRoot : public QWidget, public CtlEntryOwner {
  Q_OBJECT
 public:
  explicit CtlControlRoot(QWidget* parent = nullptr) : QWidget(parent) {}

  CtlColor Color() const { return color_; }
  // A change also reaches the children that follow this colour (controls/parentcolor.h).
  void SetColor(CtlColor c);

  // True when the control's pixels let the parent's show through.
  virtual bool IsTransparent() const { return false; }
  // True when nothing frames the control.
  virtual bool NoBorder() const { return true; }
  // Change handler of owned sub-objects (null sender: the control itself).
  virtual void GetChange(CtlObject* sender);

 signals:
  void mouseEntered();
  void mouseExited();

 protected:
  virtual void MouseEnter() { emit mouseEntered(); }
  virtual void MouseExit() { emit mouseExited(); }
  // Called after Color changed.
  virtual void ColorChanged() { update(); }
  // The list, its contents or the entry's indexes changed.
  void ImageListChanged() override { GetChange(nullptr); }

  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;

 private:
  CtlColor color_ = clBtnFace;
};

class CtlCustomControl : public CtlControlRoot {
  Q_OBJECT
 public:
  explicit CtlCustomControl(QWidget* parent = nullptr);

  QString About;  // a label for the reader, no effect

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool t);
  bool Flat() const { return flat_; }
  void SetFlat(bool f);
  bool Ctl3D() const { return ctl3d_; }
  void SetCtl3D(bool on);
  // A control without tab stop still takes the focus on a click.
  bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
  void SetTabStop(bool on) { setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus); }
  bool RepaintOnChange() const { return repaint_on_change_; }
  void SetRepaintOnChange(bool on) { repaint_on_change_ = on; }
  bool MouseInside() const { return mouse_inside_; }
  bool Focused() const { return focused_; }

  // True when Transparent is set and a background is there to show through.
  bool IsTransparent() const override { return transparent_ && CanSupplyBack(); }
  // Whether this control can give its transparent children a background.
  virtual bool CanSupplyBack() const { return false; }
  void GetChange(CtlObject* sender) override;

 signals:
  // Fired once the focus change has completed.
  void afterEnter();
  void afterExit();

 protected:
  // Fills with Color unless the parent's pixels show through.
  virtual void PaintBackground(QPainter& p);
  void MouseEnter() override;
  void MouseExit() override;
  // Flat borders, painted last: inactive when neither focused nor hovered.
  virtual void DrawFlatInactive(QPainter& p);
  virtual void DrawFlatActive(QPainter& p);
  // The flat border that fits the current state, when Flat.
  void DrawFlatBorder(QPainter& p);
  // Called after Ctl3D changed.
  virtual void Ctl3DChanged() { update(); }
  // Called after Transparent changed.
  virtual void TransparentChanged() { update(); }

  void paintEvent(QPaintEvent*) override;
  void focusInEvent(QFocusEvent*) override;
  void focusOutEvent(QFocusEvent*) override;

 private:
  bool transparent_ = false, flat_ = false, ctl3d_ = true, repaint_on_change_ = true;
  bool mouse_inside_ = false, focused_ = false;
};

// Window-less root: no focus, bounds reported by flags.
class CtlBaseControl : public CtlControlRoot {
  Q_OBJECT
 public:
  // Bits of boundsChanged.
  static constexpr unsigned kSizeChanged = 2, kPositionChanged = 4;

  explicit CtlBaseControl(QWidget* parent = nullptr);

 signals:
  void boundsChanged(unsigned flags);

 protected:
  virtual void BoundsChanged(unsigned flags) { emit boundsChanged(flags); }

  void moveEvent(QMoveEvent*) override;
  void resizeEvent(QResizeEvent*) override;
};

class CtlBaseGraphicControl : public CtlBaseControl {
  Q_OBJECT
 public:
  explicit CtlBaseGraphicControl(QWidget* parent = nullptr);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool t);
  // Transparent over a showing library parent that supplies a background.
  bool IsTransparent() const override;

 private:
  bool transparent_ = true;
};

// Window-less control with a bevel.
class CtlGraphicControl : public CtlBaseGraphicControl {
  Q_OBJECT
 public:
  explicit CtlGraphicControl(QWidget* parent = nullptr);
  ~CtlGraphicControl() override;

  CtlBevel& Bevel() { return bevel_; }
  const CtlBevel& Bevel() const { return bevel_; }
  void SetBevel(const CtlBevel& b) { bevel_.Assign(b); }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  CtlBevel bevel_;
};
