// A blinking caret drawn over its owner widget: a line, a block, an underline
// or a picture (as it is, tiled or stretched to the caret's size; the entry of
// a picture list when one is linked and holds it, else Bitmap), inverting
// the pixels under it. It blinks with its own timer at BlinkRate milliseconds
// per phase and never changes a system setting. The scroll bar shows one on
// the thumb of a focused bar.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "controls/basecontrols.h"
#include "controls/ctlobject.h"

enum CtlCaretStyle : std::uint8_t { csDefault, csBlock, csUnder, csOver, csBitmap, csUnderBlock };
enum CtlCaretBitmap : std::uint8_t { cbBmpSize, cbTile, cbStretch };

class CtlCaret : public CtlObject {
 public:
  // `owner` shows the caret; it may go before the caret.
  explicit CtlCaret(QWidget* owner);
  ~CtlCaret() override;
  CtlCaret(const CtlCaret&) = delete;
  CtlCaret& operator=(const CtlCaret&) = delete;

  int BlinkRate() const { return blink_rate_; }
  void SetBlinkRate(int ms);
  CtlCaretStyle Style() const { return style_; }
  void SetStyle(CtlCaretStyle s) { Store(style_, s); }
  int Width() const { return width_; }
  void SetWidth(int w) { Store(width_, w); }
  int Height() const { return height_; }
  void SetHeight(int h) { Store(height_, h); }
  // The height of the csDefault caret (one pixel wide).
  int LineHeight() const { return line_height_; }
  void SetLineHeight(int h) { Store(line_height_, h); }
  CtlCaretBitmap CaretBmpMode() const { return bmp_mode_; }
  void SetCaretBmpMode(CtlCaretBitmap m) { Store(bmp_mode_, m); }
  const QImage& Bitmap() const { return bitmap_; }
  // Also unlinks the picture list, which would otherwise take precedence.
  void SetBitmap(const QImage& img);
  // The picture of csBitmap: the entry (ListIndex, ImageIndex) of the list
  // when it holds one. Like the sizes, these are stored for the next Show.
  const CtlCustomImageList* ImageList() const { return entry_.List(); }
  void SetImageList(const CtlCustomImageList* list) { entry_.SetList(list); }
  int ImageIndex() const { return entry_.ImageIndex(); }
  void SetImageIndex(int i) { entry_.SetImageIndex(i); }
  int ListIndex() const { return entry_.ListIndex(); }
  void SetListIndex(int i) { entry_.SetListIndex(i); }
  // The picture csBitmap draws from: the list entry, else Bitmap.
  QImage SourceBitmap() const;

  // Copies BlinkRate, Width, Height and Style.
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlCaret"; }

  // Shows the caret at `at` of the owner, with the picture of the current settings.
  void Show(QPoint at);
  void Hide();
  bool Shown() const { return shown_; }
  // The caret's picture for the current settings (null for an empty size).
  QImage Picture() const;
  // The widget that draws it (null before the first Show).
  QWidget* View() const { return view_; }

 private:
  template <typename T>
  void Store(T& field, T value) {
    if (CtlStore(field, value)) Change();
  }

  QPointer<QWidget> owner_;
  QPointer<QWidget> view_;
  QTimer blink_;
  int blink_rate_;
  CtlCaretStyle style_ = csDefault;
  int width_ = 2, height_ = 10, line_height_ = 0;
  CtlCaretBitmap bmp_mode_ = cbBmpSize;
  QImage bitmap_;
  CtlImageEntry entry_{[this] { Change(); }};
  bool shown_ = false;
};
