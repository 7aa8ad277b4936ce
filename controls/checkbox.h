// Check box drawn by the control: a mark cell from a strip (an image list
// entry, or the built-in strip) beside the caption. Only the user's changes
// raise Change; setting the state from code just stores and repaints.
#pragma once

#include <QWidget>

#include "controls/imagelist.h"
#include "controls/paintkit.h"

enum CtlCheckState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };

class CtlCheckBox : public QWidget {
  Q_OBJECT
 public:
  explicit CtlCheckBox(QWidget* parent = nullptr);

  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool c) { SetState(c ? cbChecked : cbUnchecked); }
  CtlCheckState State() const { return state_; }
  void SetState(CtlCheckState s);
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool a) { allow_grayed_ = a; }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool r) { read_only_ = r; }
  int GlyphNumber() const { return glyph_number_; }
  void SetGlyphNumber(int n);
  int GlyphSize() const { return glyph_size_; }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& c);
  CtlColor Color() const { return color_; }
  void SetColor(CtlColor c);
  // The mark strip from an image list entry; the built-in strip when the entry is missing.
  void SetImageList(const CtlImageList* list, int list_index, int image_index);
  QImage Strip() const;
  // The cell drawn for the present state.
  int CellIndex() const;
  void Toggle();

 signals:
  void Change();
  void clicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  QImage BuiltInStrip() const;
  CtlCheckState state_ = cbUnchecked;
  bool allow_grayed_ = false;
  bool read_only_ = false;
  bool pressed_ = false;
  int glyph_number_ = 3;
  int glyph_size_ = 13;
  QString caption_;
  CtlColor color_ = clBtnFace;
  const CtlImageList* list_ = nullptr;
  int list_index_ = 0, image_index_ = 0;
};
