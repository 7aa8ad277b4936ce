#include "controls/labels.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include "controls/application.h"
#include "controls/mnemonic.h"

int CtlAlignmentTextFlags(CtlAlignment a, bool multiline) { return CaptionTextFlags(a, multiline, false); }

// ---- Base label

CtlBaseLabel::CtlBaseLabel(QWidget* parent) : CtlBaseGraphicControl(parent) { resize(65, 17); }

CtlBaseLabel::~CtlBaseLabel() { delete accelerator_; }

void CtlBaseLabel::SetCaption(const QString& c) {
  if (!CtlStore(caption_, c)) return;
  UpdateAccelerator();
  AdjustBounds();
  GetChange(nullptr);
}

void CtlBaseLabel::SetBoolProp(int index, bool value) {
  bool* field = index == kAutoSize ? &autosize_ : index == kMultiLine ? &multiline_ : &show_accel_;
  if (index < kAutoSize || index > kShowAccelChar || *field == value) return;
  *field = value;
  if (index == kAutoSize) {
    AdjustBounds();
  } else {
    if (index == kShowAccelChar) UpdateAccelerator();
    GetChange(nullptr);
  }
}

void CtlBaseLabel::SetAlignment(CtlAlignment a) { if (CtlStore(alignment_, a)) GetChange(nullptr); }

void CtlBaseLabel::SetOptions(unsigned o) { if (CtlStore(options_, o)) GetChange(nullptr); }

void CtlBaseLabel::SetFontColor(CtlColor c) { if (CtlStore(font_color_, c)) GetChange(nullptr); }

int CtlBaseLabel::TextFlags() const { return CaptionTextFlags(alignment_, multiline_, show_accel_); }

namespace {

// Where each character of `plain` starts in `shown`, its accelerator mark
// included; one more entry for the end.
std::vector<int> PlainStarts(const QString& shown, bool prefix, QString* plain) {
  std::vector<int> starts;
  for (int i = 0; i < shown.size(); ++i) {
    const int begin = i;
    if (prefix && shown[i] == u'&' && i + 1 < shown.size()) ++i;
    starts.push_back(begin);
    *plain += shown[i];
  }
  starts.push_back(int(shown.size()));
  return starts;
}

}  // namespace

QString CtlEditControlWrap(const QString& text, const QFont& font, int width, int height, bool prefix) {
  QStringList out;
  const int line_height = QFontMetrics(font).height();
  int top = 0;
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  for (QString shown : text.split(u'\n')) {
    if (shown.endsWith(u'\r')) shown.chop(1);
    // Lay out the text without its marks, then cut the original at the same characters.
    QString plain;
    const std::vector<int> starts = PlainStarts(shown, prefix, &plain);
    QTextLayout layout(plain, font);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(std::max(width, 1));
      if (height >= 0 && top + line_height > height) break;
      top += line_height;
      const int from = starts[size_t(line.textStart())];
      QString piece = shown.mid(from, starts[size_t(line.textStart() + line.textLength())] - from);
      while (piece.endsWith(u' ')) piece.chop(1);
      out << piece;
    }
    layout.endLayout();
    if (height >= 0 && top + line_height > height) break;
  }
  return out.join(u'\n');
}

QString CtlBaseLabel::MeasuredText() const {
  if (!multiline_ || !(options_ & loEditControl)) return caption_;
  return CtlEditControlWrap(GetLabelText(), font(), width(), -1, show_accel_);
}

QString CtlBaseLabel::ShownText(const QFont& f, int width, int height) const {
  const QString t = GetLabelText();
  if (multiline_ && (options_ & loEditControl)) return CtlEditControlWrap(t, f, width, height, show_accel_);
  if (multiline_ || !(options_ & (loPathEllipsis | loEndEllipsis))) return t;
  const Qt::TextElideMode mode = (options_ & loPathEllipsis) ? Qt::ElideMiddle : Qt::ElideRight;
  return QFontMetrics(f).elidedText(t, mode, std::max(width, 0),
                                    show_accel_ ? Qt::TextShowMnemonic : 0);
}

void CtlBaseLabel::FontChanged(CtlObject*) {
  AdjustBounds();
  GetChange(nullptr);
}

void CtlBaseLabel::changeEvent(QEvent* e) {
  CtlBaseGraphicControl::changeEvent(e);
  if (e->type() == QEvent::FontChange) FontChanged(nullptr);
}

void CtlBaseLabel::SetFocusControl(QWidget* w) {
  if (w == focus_control_) return;
  if (focus_control_) disconnect(focus_control_, &QObject::destroyed, this, nullptr);
  focus_control_ = w;
  if (w)
    connect(w, &QObject::destroyed, this, [this] {
      focus_control_ = nullptr;
      UpdateAccelerator();
    });
  UpdateAccelerator();
}

void CtlBaseLabel::UpdateAccelerator() {
  const bool claims = show_accel_ && focus_control_;
  CtlReplaceMnemonic(accelerator_, this, claims ? caption_ : QString(), [this] { Accelerator(); });
}

void CtlBaseLabel::Accelerator() {
  QWidget* target = focus_control_;
  if (!target || !isEnabled() || !show_accel_) return;
  if (target->isEnabled() && target->isVisible() && target->focusPolicy() != Qt::NoFocus)
    target->setFocus(Qt::ShortcutFocusReason);
}

// ---- Simple label

CtlSimpleLabel::CtlSimpleLabel(QWidget* parent) : CtlBaseLabel(parent) {
  font3d_.OnChange = [this](CtlObject* sender) { FontChanged(sender); };
}

CtlSimpleLabel::~CtlSimpleLabel() { font3d_.OnChange = nullptr; }

void CtlSimpleLabel::AdjustBounds() {
  if (!AutoSize()) return;
  const QSize s = CalcTextSize(font(), MeasuredText(), &font3d_, MultiLine() ? width() : 0, 0, ShowAccelChar());
  setGeometry(QRect(pos(), s));
}

void CtlSimpleLabel::SetJumpColor(int index, CtlColor c) {
  CtlColor& field = index == 0 ? active_ : inactive_;
  if (index < 0 || index > 1 || field == c) return;
  field = c;
}

void CtlSimpleLabel::SetJumpUnderline(bool on) {
  if (!CtlStore(underline_, on)) return;
  if (jump_mode_ == jmNone) return;
  QFont f = font();
  f.setUnderline(on);
  setFont(f);
}

void CtlSimpleLabel::SetJumpMode(JumpMode m) {
  jump_mode_ = m;
  QFont f = font();
  if (m == jmNone) {
    unsetCursor();
    SetFontColor(clBlack);
    if (underline_) f.setUnderline(false);
  } else {
    clicks_ = 0;
    SetFontColor(inactive_);
    if (underline_) f.setUnderline(true);
    setCursor(CtlApplication::Cursor(crHandPoint));
  }
  setFont(f);
  update();
}

QString CtlSimpleLabel::JumpTarget() const {
  QString j = jump_.trimmed();
  if (!j.isEmpty()) return jump_;
  if (jump_mode_ == jmInternet && Caption().contains('@')) return "mailto:" + Caption();
  return Caption();
}

void CtlSimpleLabel::Click() {
  if (jump_mode_ == jmInternet) {
    bool ok = opener_ && opener_(JumpTarget());
    if (!ok) {
      SetJumpMode(jmNone);
      setEnabled(false);
    }
  } else if (jump_mode_ == jmApplication) {
    if (opener_) opener_(JumpTarget());
  }
}

void CtlSimpleLabel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && jump_mode_ != jmNone) {
    ++clicks_;
    SetFontColor(active_);
  }
}

void CtlSimpleLabel::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) Click();
}

void CtlSimpleLabel::paintEvent(QPaintEvent*) {
  if (NoBorder()) return;
  QPainter p(this);
  CtlPreparePainter(p);
  if (!Transparent()) CtlFillRect(p, rect(), ColorToRgb(Color()));
  p.setFont(font());
  const unsigned state = isEnabled() ? fxEnabled : 0;
  DrawFxText(p, ShownText(font(), width(), height()), &font3d_, nullptr, state, TextFlags(), rect(), ColorToRgb(FontColor()),
             ColorToRgb(Color()));
}

// ---- Label

CtlLabel::CtlLabel(QWidget* parent) : CtlBaseLabel(parent) {
  bevel_.OnChange = [this](CtlObject*) {
    AdjustBounds();
    GetChange(nullptr);
  };
  fontfx_.OnChange = [this](CtlObject* sender) { FontChanged(sender); };
}

CtlLabel::~CtlLabel() {
  bevel_.OnChange = nullptr;
  fontfx_.OnChange = nullptr;
}

void CtlLabel::FontChanged(CtlObject* sender) {
  // A turned text needs a TrueType font: a new font straightens the text, a
  // new turn changes the font.
  if (!in_rule_ && fontfx_.Angle() != 0 && !IsTrueTypeFont(font())) {
    in_rule_ = true;
    if (sender == &fontfx_) {
      QFont f = font();
      f.setFamily("Arial");
      setFont(f);
    } else {
      fontfx_.SetAngle(0);
    }
    in_rule_ = false;
  }
  CtlBaseLabel::FontChanged(sender);
}

void CtlLabel::AdjustBounds() {
  if (!AutoSize()) return;
  const int b = bevel_.BevelExtend();
  const QSize s = CalcTextSize(font(), fontfx_.Angle() != 0 ? Caption() : MeasuredText(), &fontfx_,
                               MultiLine() ? width() : 0, b, ShowAccelChar(),
                               fontfx_.Angle());
  setGeometry(QRect(pos(), s));
}

void CtlLabel::paintEvent(QPaintEvent*) {
  if (NoBorder()) return;
  QPainter p(this);
  CtlPreparePainter(p);
  p.setFont(font());
  QRect r = rect();
  if (!Transparent()) CtlFillRect(p, r, ColorToRgb(Color()));
  if (bevel_.BevelExtend() > 0) r = bevel_.PaintBevel(p, r, Transparent() || bevel_.BorderColor() == Color());
  const unsigned state = (isEnabled() ? fxEnabled : 0) | fxClip;
  const int angle = fontfx_.Angle();
  int flags = TextFlags();
  QRect place = r;
  if (angle != 0) {
    flags = (flags & ~Qt::TextWordWrap) | Qt::TextSingleLine;
    if (Alignment() != agTopLeft)
      place = CalcAlignedTextRect(Alignment(), font(), Caption(), &fontfx_, r, false, ShowAccelChar(), 0, angle);
  }
  DrawFxText(p, ShownText(font(), angle != 0 ? QWIDGETSIZE_MAX : r.width(), angle != 0 ? -1 : r.height()), &fontfx_, &r, state, flags, place, ColorToRgb(FontColor()),
             ColorToRgb(Color()), angle);
}
