// A window-less bevelled area filled by a fill object (brush, picture, list
// picture or gradient) with a caption over it. The list picture comes from
// the control's image-list entry. The control lets its parent show through
// exactly when the fill paints nothing opaque.
#pragma once

#include "controls/basecontrols.h"
#include "controls/paintkit.h"
#include "controls/properties.h"

// How a control follows its parent's client area.
enum CtlAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

class CtlFill : public CtlGraphicControl {
  Q_OBJECT
 public:
  explicit CtlFill(QWidget* parent = nullptr);
  ~CtlFill() override;

  CtlFillObject& FillObject() { return fill_; }
  void SetFillObject(const CtlFillObject& f) { fill_.Assign(f); }
  CtlCaption& Caption() { return caption_; }
  const CtlCaption& Caption() const { return caption_; }
  void SetCaption(const CtlCaption& c) { caption_.Assign(c); }
  CtlAlign Align() const { return align_; }
  // Places the control along an edge of its parent (keeping its height or
  // width) or over the whole parent, now and at every resize of the parent.
  void SetAlign(CtlAlign a);
  // Whether the fill, the bevel or the caption paints anything.
  bool NoBorder() const override { return fill_.IsEmpty() && Caption().Caption().isEmpty(); }

 signals:
  void clicked();
  void dblClicked();

 protected:
  // Copies the entry into the fill's list picture, or clears it.
  void ImageListChanged() override;
  void paintEvent(QPaintEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void FillChanged();
  void Realign();
  CtlFillObject fill_;
  CtlCaption caption_;
  CtlAlign align_ = alNone;
  bool pressed_ = false;
};
