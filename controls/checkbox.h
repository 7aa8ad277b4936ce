// Check box and radio button drawn by the control: a mark cell from a strip
// (an image list entry, or the built-in strip) beside the caption, a focus
// mark, the caption's accelerator. Only the user's changes raise signals:
// setting Checked or State from code just stores and repaints.
#pragma once

#include <QPointer>
#include <memory>

#include "controls/button.h"
#include "controls/imagelist.h"
#include "controls/mnemonic.h"
#include "controls/panels.h"

class QAction;
class CtlCheckActionLink;

enum CtlCheckState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };
enum CtlGlyphTextFocusStyle : std::uint8_t { fcControl, fcText, fcGlyph, fcGlyphText, fcNone };

// The common base: the mark strip, the layout of mark and caption, focus
// marking and the focus taken on a click.
class CtlButtonControl : public CtlCustomPanel {
  Q_OBJECT
 public:
  explicit CtlButtonControl(QWidget* parent = nullptr);
  ~CtlButtonControl() override;

  // Mark and caption placement (mark at the left, caption Spacing pixels after
  // it); read right to left, the control draws it mirrored.
  CtlGlyphTextLayout& Alignment() { return alignment_; }
  void SetAlignment(const CtlGlyphTextLayout& a) { alignment_.Assign(a); }
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool on);
  Ctl3DCaption& Font3D() { return font3d_; }
  void SetFont3D(const Ctl3DCaption& fx) { font3d_.Assign(fx); }
  CtlGlyphTextFocusStyle FocusStyle() const { return focus_style_; }
  void SetFocusStyle(CtlGlyphTextFocusStyle s);
  CtlColor FocusColor() const { return focus_color_; }
  void SetFocusColor(CtlColor c);
  bool UseFocusColor() const { return use_focus_color_; }
  void SetUseFocusColor(bool on);
  int GlyphSize() const { return glyph_size_; }
  void SetGlyphSize(int size);
  bool GlyphFlat() const { return glyph_flat_; }
  void SetGlyphFlat(bool on);
  bool GlyphTransparent() const { return glyph_transparent_; }
  void SetGlyphTransparent(bool on);
  CtlColor GlyphTransparentColor() const { return glyph_transparent_color_; }
  void SetGlyphTransparentColor(CtlColor c);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool r) { read_only_ = r; }
  // Stored only: Qt already buffers the painting.
  bool UseBitmap() const { return use_bitmap_; }
  void SetUseBitmap(bool on) { use_bitmap_ = on; }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& c);
  // clNone leaves the parent's pixels under the control.
  void SetColor(CtlColor c);

  // The mark strip from an image list entry; the built-in strip when the entry is missing.
  using CtlCustomPanel::SetImageList;
  void SetImageList(const CtlCustomImageList* list, int list_index, int image_index);
  bool UsesListStrip() const { return HasEntry(); }
  QImage Strip() const;
  // Width of one cell of the strip in use.
  virtual int CellWidth() const = 0;
  // The cell drawn for the present state.
  virtual int CellIndex() const = 0;

  virtual bool Checked() const = 0;
  virtual void SetChecked(bool c) = 0;
  bool CanModify() const { return !read_only_; }
  // The action whose caption, hint, enabled and checked states the control
  // shows, and which a click triggers (controls/actionlink.h). Not owned;
  // null unlinks and leaves the control as it is.
  QAction* Action() const;
  void SetAction(QAction* action);
  // Size of mark plus caption, laid out from the top left.
  QSize MeasuredSize() const;

  // Where the mark and the caption go as the control stands now.
  GlyphTextPlaces Places() const;

 signals:
  void clicked();

 protected:
  virtual QImage BuiltInStrip() const = 0;
  virtual void Accelerator() = 0;
  // A click the control accepted (the press took the focus first).
  virtual void UserClick() = 0;
  void AdjustSize();
  void StripChanged();
  void ImageListChanged() override { StripChanged(); }
  // The cell of the present state.
  QImage Mark() const;
  // Enabled flag, text effects and the focus map for the layout routine.
  int LayoutState() const;
  // Alignment as drawn: mirrored while the control reads right to left.
  GlyphTextLayoutValues Placement() const;
  GlyphTextPlaces Places(const QImage& mark) const;

  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void changeEvent(QEvent*) override;

 private:
  CtlGlyphTextLayout alignment_;
  bool auto_size_ = false;
  Ctl3DCaption font3d_;
  CtlGlyphTextFocusStyle focus_style_ = fcText;
  CtlColor focus_color_ = 0x808080;
  bool use_focus_color_ = false;
  int glyph_size_ = 13;
  bool glyph_flat_ = false;
  bool glyph_transparent_ = false;
  CtlColor glyph_transparent_color_ = clOlive;
  bool read_only_ = false;
  bool use_bitmap_ = false;
  bool pressed_ = false;
  QString caption_;
  QPointer<QShortcut> accelerator_;
  std::unique_ptr<CtlCheckActionLink> action_link_;
};

class CtlCheckBox : public CtlButtonControl {
  Q_OBJECT
 public:
  explicit CtlCheckBox(QWidget* parent = nullptr);

  bool Checked() const override { return state_ == cbChecked; }
  void SetChecked(bool c) override { SetState(c ? cbChecked : cbUnchecked); }
  CtlCheckState State() const { return state_; }
  void SetState(CtlCheckState s);
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool a) { allow_grayed_ = a; }
  // Number of states drawn from the strip; 0 is stored as 1.
  int GlyphNumber() const { return glyph_number_; }
  void SetGlyphNumber(int n);
  int CellWidth() const override;
  int CellIndex() const override;
  // Unchecked, then grayed (with AllowGrayed) or checked, then unchecked; `changed` when it moved.
  void Toggle();

 signals:
  void changed();

 protected:
  QImage BuiltInStrip() const override;
  void Accelerator() override;
  void UserClick() override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  CtlCheckState state_ = cbUnchecked;
  bool allow_grayed_ = false;
  int glyph_number_ = 3;
};

class CtlRadioButton : public CtlButtonControl {
  Q_OBJECT
 public:
  explicit CtlRadioButton(QWidget* parent = nullptr);

  bool Checked() const override { return checked_; }
  // Checking unchecks the other radio buttons of the same parent, silently.
  void SetChecked(bool c) override;
  int CellWidth() const override;
  int CellIndex() const override;

 protected:
  QImage BuiltInStrip() const override;
  void Accelerator() override;
  void UserClick() override;
  void focusInEvent(QFocusEvent*) override;

 private:
  bool checked_ = false;
};
