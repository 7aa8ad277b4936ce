// Push button with its own face and a glyph beside the caption; a glyph strip
// of two images shows the second one while the button is disabled.
#pragma once

#include <QImage>
#include <QPushButton>

#include "controls/glyphcache.h"
#include "controls/properties.h"

enum CtlNormalButtonStyle : std::uint8_t { nbsAutoDetect, nbsWin31, nbsWin40 };


// Where glyph and caption go inside `area` as one block placed by the layout.
struct CtlGlyphTextPlace {
  QRect glyph, text;
};
CtlGlyphTextPlace CtlPlaceGlyphText(const CtlButtonLayout& layout, QSize glyph, QSize text, const QRect& area);

class CtlButton : public QPushButton {
  Q_OBJECT
 public:
  explicit CtlButton(QWidget* parent = nullptr);

  // A strip of equally sized images (up, disabled, ...); the bottom-left pixel is the transparent colour.
  void SetGlyph(const QImage& strip);
  CtlGlyph& Glyph() { return glyph_; }

  CtlColor Color() const { return color_; }
  void SetColor(CtlColor c);
  CtlNormalButtonStyle Style() const { return style_; }
  void SetStyle(CtlNormalButtonStyle s);
  CtlButtonLayout& ButtonLayout() { return layout_; }

  // Button state for the face: 0 up, 1 disabled, 4 held.
  int FaceState() const;
  // Face flags: 3 while default-styled, 33 focused otherwise, else 1.
  unsigned FaceFlags() const;
  // Where the glyph and the caption went at the last paint.
  QRect last_glyph_rect() const { return last_glyph_rect_; }
  QRect last_text_rect() const { return last_text_rect_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  CtlGlyph glyph_;
  CtlColor color_ = clBtnFace;
  CtlNormalButtonStyle style_ = nbsAutoDetect;
  CtlButtonLayout layout_;
  QRect last_glyph_rect_, last_text_rect_;
};
