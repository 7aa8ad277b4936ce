// The one-line numeric edit with the square up/down button at its right end
// (the import dialog's mesh degree). The text shows what was typed until the
// edit is left, where it is clamped to the range; `Value` always answers a
// number within the range and never fails on a text that is not a number.
// Every change of the text fires `changed`.
#pragma once

#include <QLineEdit>

#include "controls/spinbutton.h"

class CtlSpinEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit CtlSpinEdit(QWidget* parent = nullptr);

  // The number of the text, clamped to the range. A text that is not an
  // integer of 32 bits gives the last value read or set. With a Suffix the
  // text is rewritten as its signs and digits followed by the suffix; an
  // empty text becomes MinValue. Either rewrite fires `changed` only when the
  // text differs.
  int Value();
  // The clamped value (unclamped when MinValue equals MaxValue) followed by Suffix.
  void SetValue(int v);
  int MinValue() const { return min_; }
  // Taken when different and below MaxValue; pulls Value into the range.
  void SetMinValue(int v);
  int MaxValue() const { return max_; }
  // Taken when different and above MinValue; pulls Value into the range.
  void SetMaxValue(int v);
  int LineSize() const { return line_size_; }
  void SetLineSize(int v) { line_size_ = v; }
  int PageSize() const { return page_size_; }
  void SetPageSize(int v) { page_size_ = v; }
  // The button's repeat interval in milliseconds.
  int Interval() const { return button_->Interval(); }
  void SetInterval(int ms) { button_->SetInterval(ms); }
  const QString& Suffix() const { return suffix_; }
  // Shows the current value with the new suffix.
  void SetSuffix(const QString& s);
  bool EditorEnabled() const { return editor_enabled_; }
  void SetEditorEnabled(bool on) { editor_enabled_ = on; }
  bool AutoSelect() const { return auto_select_; }
  void SetAutoSelect(bool on) { auto_select_ = on; }
  CtlSpinButton* Button() const { return button_; }
  // Font height / 4 + font height, plus the frame.
  int MinimumHeight() const;

  // Value ± LineSize, or a beep when read-only.
  void Increase();
  void Decrease();

 signals:
  void changed();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  QString TextOf(int v) const { return QString::number(v) + suffix_; }
  int Clamp(std::int64_t v) const;
  // Sets the text only when it differs.
  void Show(const QString& text);
  void Step(std::int64_t delta);
  // Whether a typed character may go in; false drops it with a beep.
  bool AcceptsCharacter(const QString& text) const;
  bool CanCutOrPaste() const { return editor_enabled_ && !isReadOnly(); }
  void PlaceButton();

  int min_ = 0, max_ = 100, line_size_ = 1, page_size_ = 10;
  int last_value_ = 0;
  QString suffix_;
  QString last_text_;
  bool editor_enabled_ = true, auto_select_ = true;
  CtlSpinButton* button_;
};
