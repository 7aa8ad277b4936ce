#include "controls/checkbox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>

CtlCheckBox::CtlCheckBox(QWidget* parent) : QWidget(parent) {
  resize(105, 17);
  setFocusPolicy(Qt::StrongFocus);
}

void CtlCheckBox::SetState(CtlCheckState s) {
  if (s == state_) return;
  state_ = s;
  update();
}

void CtlCheckBox::SetGlyphNumber(int n) {
  glyph_number_ = n <= 0 ? 1 : n;
  update();
}

void CtlCheckBox::SetCaption(const QString& c) {
  caption_ = c;
  const QKeySequence touche = QKeySequence::mnemonic(c);
  if (!touche.isEmpty() && parentWidget()) {
    auto* s = new QShortcut(touche, parentWidget());
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, [this] {
      if (!isEnabled() || !isVisible()) return;
      setFocus(Qt::ShortcutFocusReason);
      if (!read_only_) Toggle();
    });
  }
  update();
}

void CtlCheckBox::SetColor(CtlColor c) {
  color_ = c;
  update();
}

void CtlCheckBox::SetImageList(const CtlImageList* list, int list_index, int image_index) {
  list_ = list;
  list_index_ = list_index;
  image_index_ = image_index;
  update();
}

QImage CtlCheckBox::BuiltInStrip() const {
  const int g = glyph_size_;
  QImage strip(6 * g, g, QImage::Format_RGB32);
  strip.fill(ColorToRgb(clBtnFace));
  QPainter p(&strip);
  CtlPreparePainter(p);
  for (int k = 0; k < 6; ++k) {
    const QRect cell(k * g, 0, g, g);
    const bool inactif = k % 2 == 1;
    CtlFillRect(p, cell.adjusted(2, 2, -2, -2), inactif ? ColorToRgb(clBtnFace) : QColor(Qt::white));
    QRect bord = cell;
    CtlDrawEdge(p, bord, BDR_SUNKENOUTER | BDR_SUNKENINNER, BF_RECT);
    if (k >= 2) {
      const QColor marque = k >= 4 || inactif ? ColorToRgb(clBtnShadow) : QColor(Qt::black);
      const int x = cell.x() + 3, y = cell.y() + 5;
      for (int i = 0; i < 7; ++i) {
        const int dy = i < 3 ? i : 4 - i;
        CtlLine(p, x + i, y + dy, x + i, y + dy + 3, marque);
      }
    }
  }
  return strip;
}

QImage CtlCheckBox::Strip() const {
  if (list_ && list_->HasEntry(list_index_, image_index_)) return list_->Picture(list_index_, image_index_);
  return BuiltInStrip();
}

int CtlCheckBox::CellIndex() const {
  return (isEnabled() ? 0 : 1) + 2 * std::min<int>(state_, glyph_number_ - 1);
}

void CtlCheckBox::Toggle() {
  const CtlCheckState avant = state_;
  if (state_ == cbUnchecked) state_ = allow_grayed_ ? cbGrayed : cbChecked;
  else if (state_ == cbChecked) state_ = cbUnchecked;
  else state_ = cbChecked;
  update();
  if (state_ != avant) emit Change();
}

void CtlCheckBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  if (color_ != clNone) CtlFillRect(p, rect(), ColorToRgb(color_));  // clNone: the parent shows through
  const QImage strip = Strip();
  const bool liste = list_ && list_->HasEntry(list_index_, image_index_);
  const int cellules = liste ? glyph_number_ * 2 : 6;
  const int w = strip.width() / std::max(cellules, 1);
  const int h = strip.height();
  const int y = (height() - h) / 2;
  p.drawImage(QPoint(0, y), strip, QRect(CellIndex() * w, 0, w, h));
  p.setPen(isEnabled() ? ColorToRgb(clBtnText) : ColorToRgb(clGrayText));
  const QRect texte(w + 4, 0, width() - w - 4, height());
  p.drawText(texte, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption_);
  if (hasFocus()) {
    const QRect f = p.boundingRect(texte, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption_);
    p.setPen(QPen(ColorToRgb(clBtnText), 1, Qt::DotLine));
    p.drawRect(f.adjusted(-1, 0, 0, -1));
  }
}

void CtlCheckBox::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  pressed_ = true;
}

void CtlCheckBox::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  if (!rect().contains(e->position().toPoint())) return;
  if (!read_only_) Toggle();
  emit clicked();
}

void CtlCheckBox::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
    if (!read_only_) Toggle();
    return;
  }
  QWidget::keyPressEvent(e);
}
