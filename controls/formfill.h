// Background of a form's client area (the MDI area of the main window): the
// form colour with one picture of a list drawn over it, centred.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "controls/imagelist.h"
#include "controls/paintkit.h"

class CtlFormFill : public QObject {
  Q_OBJECT
 public:
  // `target` is the widget whose background is painted (an MDI area's viewport).
  CtlFormFill(QWidget* target, QObject* parent = nullptr);
  ~CtlFormFill() override;

  void SetImageList(const CtlCustomImageList* list, int list_index, int image_index = 0);
  void SetFormColor(CtlColor c);
  CtlAlignment Alignment() const { return alignment_; }
  void SetAlignment(CtlAlignment a);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  bool IsEmpty() const { return !list_ || !list_->IsValidImage(list_index_, image_index_); }
  // Paints the background; false when there is nothing to paint (the platform erases then).
  bool PaintBackground(QPainter& p, const QRect& client) const;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  QPointer<QWidget> target_;
  const CtlCustomImageList* list_ = nullptr;
  int list_index_ = 0, image_index_ = 0;
  CtlColor form_color_ = clAppWorkSpace;
  CtlAlignment alignment_ = agCenter;
  bool enabled_ = true;
};
