// Background of a form painted by a fill object: the main window (an MDI
// main form) shows a picture of its bitmap list centred in its client area.
// The component watches the form, or the viewport of the form's MDI area.
#pragma once

#include <QImage>
#include <functional>
#include <vector>

#include "controls/basecontrols.h"
#include "controls/formcomponent.h"
#include "controls/properties.h"

enum CtlPaintMode : std::uint8_t { pcNone, pcControl, pcOwnerDraw };

class CtlCustomFormFill : public CtlWndProcComponent, public CtlEntryOwner {
  Q_OBJECT
 public:
  using PaintEvent = std::function<void(QPainter&, const QRect& client)>;

  explicit CtlCustomFormFill(QWidget* form);
  ~CtlCustomFormFill() override;

  // Colour of the client area (the MDI work space of the main window).
  CtlColor FormColor() const { return form_color_; }
  void SetFormColor(CtlColor c);
  bool DefaultFill() const { return default_fill_; }
  void SetDefaultFill(bool on) { default_fill_ = on; }
  CtlPaintMode PaintMode() const { return paint_mode_; }
  void SetPaintMode(CtlPaintMode m);
  PaintEvent OnPaint;
  bool RebuildPending() const { return rebuild_pending_; }
  bool EraseOnResize() const { return erase_on_resize_; }

  // Paints the client area; false lets the platform paint it.
  virtual bool PaintBackground(QPainter& p, const QRect& client);
  bool WndProc(QObject* watched, QEvent* event) override;
  // Hooking also follows the scroll bars of the watched area: a scroll moves
  // the pixels already shown, so the whole background is painted again.
  void Init() override;
  void Done() override;

 protected:
  void ImageListChanged() override { Invalidate(); }
  // The fill changed: recompute, mark for rebuilding and repaint.
  virtual void FillChanged();
  void Invalidate();

  bool rebuild_pending_ = true, erase_on_resize_ = true;

 private:
  std::vector<QMetaObject::Connection> scrolls_;
  CtlColor form_color_ = clBtnFace;
  bool default_fill_ = true;
  CtlPaintMode paint_mode_ = pcControl;
};

class CtlFormFill : public CtlCustomFormFill {
  Q_OBJECT
 public:
  explicit CtlFormFill(QWidget* form);
  ~CtlFormFill() override;

  CtlFillObject& FillObject() { return fill_; }
  void SetFillObject(const CtlFillObject& f) { fill_.Assign(f); }
  bool IsEmpty() const { return fill_.IsEmpty(); }
  // The gradient as last rendered for the client, kept while size and fill stay.
  const QImage& GradientBuffer() const { return buffer_; }

  bool PaintBackground(QPainter& p, const QRect& client) override;

 protected:
  // Copies the entry into the fill's list picture, or clears it.
  void ImageListChanged() override;
  void FillChanged() override;

 private:
  CtlFillObject fill_;
  QImage buffer_;
};
