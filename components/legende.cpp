// The gradient caption strip: the text layout, the button count, and the
// component that prepares the strip when something changes and paints it.
#include "components/legende.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <bit>

#include "controls/ctlobject.h"

namespace components {

// ---- Caption texts ----

TRxCaption::TRxCaption(TRxGradientCaption* owner) : owner_(owner) {
  if (owner_) font_ = owner_->CaptionFont();
}

void TRxCaption::changed() {
  if (owner_) owner_->captions_changed();
}

void TRxCaption::SetCaption(const QString& s) {
  caption_ = s;
  changed();
}

void TRxCaption::SetFont(const TCaptionFont& f) {
  font_ = f;
  parent_font_ = false;
  changed();
}

void TRxCaption::SetParentFont(bool on) {
  parent_font_ = on;
  if (on && owner_) font_ = owner_->CaptionFont();
  changed();
}

void TRxCaption::SetInactiveColor(CtlColor c) {
  inactive_ = c;
  changed();
}

void TRxCaption::SetGlueNext(bool on) {
  glue_ = on;
  changed();
}

void TRxCaption::SetVisible(bool on) {
  visible_ = on;
  changed();
}

// ---- Layout ----

std::vector<PlacedPiece> LayoutCaptionPieces(const std::vector<CaptionPiece>& captions, const CaptionPiece& form,
                                             int room, THideDirection direction) {
  std::size_t first = 0;
  if (direction == hdLeftToRight) {
    int needed = 2 + form.width(form.text);
    for (const CaptionPiece& c : captions) needed += c.width(c.text);
    while (needed > room && first < captions.size()) {
      const bool glued = captions[first].glue_next && first + 1 < captions.size();
      needed -= captions[first].width(captions[first].text);
      ++first;
      if (glued) {
        needed -= captions[first].width(captions[first].text);
        ++first;
      }
    }
  }
  std::vector<PlacedPiece> placed;
  int left = 2;
  for (std::size_t i = first; i <= captions.size(); ++i) {
    const CaptionPiece& piece = i < captions.size() ? captions[i] : form;
    const int available = room - left;
    if (available <= 0 || piece.text.isEmpty()) {
      if (available <= 0) break;
      continue;
    }
    QString text = piece.text;
    const bool shortened = piece.width(text) > available;
    if (shortened) text = ShortenString(text, piece.width, available);
    placed.push_back({i < captions.size() ? static_cast<int>(i) : -1, text, left, shortened});
    left += piece.width(text);
    if (shortened) break;
  }
  return placed;
}

int CaptionButtonCount(TFormBorderStyle style, unsigned icons) {
  if (style == bsNone) return 0;
  if (style == bsDialog) icons &= biSystemMenu | biHelp;
  if (style == bsToolWindow || style == bsSizeToolWin) icons &= biSystemMenu;
  if (!(icons & biSystemMenu)) icons &= ~unsigned(biMinimize | biMaximize);
  if (icons & (biMinimize | biMaximize)) icons &= ~unsigned(biHelp);
  const bool one_box = ((icons & biMinimize) != 0) != ((icons & biMaximize) != 0);
  return std::popcount(icons) + (one_box ? 1 : 0);
}

// ---- The component ----

TRxGradientCaption::TRxGradientCaption(QWidget* owner) : QWidget(owner), form_(owner ? owner->window() : nullptr) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  font_ = default_caption_font();
  close_ = new QToolButton(this);
  close_->setFocusPolicy(Qt::NoFocus);
  close_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  close_->setIconSize(QSize(10, 10));
  close_->setToolTip("Close");
  connect(close_, &QToolButton::clicked, this, [this] {
    if (form_) form_->close();
  });
  if (form_) form_->installEventFilter(this);
  hide();
  Update();
}

TRxGradientCaption::~TRxGradientCaption() {
  if (form_) form_->removeEventFilter(this);
}

TCaptionFont TRxGradientCaption::default_caption_font() const {
  TCaptionFont f;
  f.Font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  if (f.Font.family().isEmpty()) f.Font = QFont("Sans");
  f.Font.setPixelSize(11);
  f.Font.setBold(true);
  f.Color = clCaptionText;
  return f;
}

int TRxGradientCaption::strip_height() const { return tool_window() ? kToolCaptionHeight : kCaptionHeight; }

bool TRxGradientCaption::Effective() const {
  return active_ && form_ && form_->isWindow() && (form_->windowFlags() & Qt::FramelessWindowHint);
}

bool TRxGradientCaption::RightToLeftReading() const { return form_ && form_->layoutDirection() == Qt::RightToLeft; }

QRect TRxGradientCaption::CaptionRect() const {
  if (!form_) return {};
  const int buttons = CaptionButtonCount(border_, icons_);
  return QRect(0, 0, std::max(0, form_->width() - buttons * kButtonWidth), strip_height());
}

void TRxGradientCaption::SetActive(bool on) {
  if (!CtlStore(active_, on)) return;
  Update();
  if (on ? OnActivate : OnDeactivate) (on ? OnActivate : OnDeactivate)();
}

void TRxGradientCaption::SetFormCaption(const QString& s) {
  form_caption_ = s;
  if (active_) recalc();
}

void TRxGradientCaption::SetFont(const TCaptionFont& f) {
  font_ = f;
  default_font_ = false;
  for (auto& c : captions_)
    if (c->parent_font_) c->font_ = f;
  if (active_) recalc();
}

void TRxGradientCaption::SetDefaultFont(bool on) {
  if (on) {
    SetFont(default_caption_font());
    default_font_ = true;
  } else {
    default_font_ = false;
  }
  if (active_) recalc();
}

void TRxGradientCaption::SetFontInactiveColor(CtlColor c) {
  font_inactive_ = c;
  if (active_ && !window_active_) recalc();
}

void TRxGradientCaption::SetGradientActive(bool on) {
  gradient_active_ = on;
  if (active_ && window_active_) recalc();
}

void TRxGradientCaption::SetGradientInactive(bool on) {
  gradient_inactive_ = on;
  if (active_ && !window_active_) recalc();
}

void TRxGradientCaption::SetGradientSteps(int n) {
  steps_ = n;
  if (active_ && (window_active_ ? gradient_active_ : gradient_inactive_)) recalc();
}

void TRxGradientCaption::SetHideDirection(THideDirection d) {
  hide_ = d;
  if (active_) recalc();
}

void TRxGradientCaption::SetStartColor(CtlColor c) {
  start_ = c;
  if (active_) recalc();
}

void TRxGradientCaption::SetFormBorderStyle(TFormBorderStyle s) {
  border_ = s;
  Update();
}

void TRxGradientCaption::SetBorderIcons(unsigned icons) {
  icons_ = icons;
  Update();
}

TRxCaption* TRxGradientCaption::AddCaption() {
  captions_.push_back(std::make_unique<TRxCaption>(this));
  captions_changed();
  return captions_.back().get();
}

void TRxGradientCaption::ClearCaptions() {
  captions_.clear();
  captions_changed();
}

void TRxGradientCaption::captions_changed() {
  if (active_) recalc();
}

void TRxGradientCaption::SetWindowActive(bool on) {
  window_active_ = on;
  recalc();
}

void TRxGradientCaption::Update() {
  const bool shown = Effective() && border_ != bsNone;
  if (shown) {
    setGeometry(0, 0, form_->width(), strip_height());
    const QRect cap = CaptionRect();
    close_->setGeometry(cap.right() + 2, (strip_height() - 14) / 2, 16, 14);
    close_->setVisible(CaptionButtonCount(border_, icons_) > 0 && (icons_ & biSystemMenu));
    raise();
    if (form_->isVisible()) window_active_ = form_->isActiveWindow();
  }
  setVisible(shown);
  recalc();
}

void TRxGradientCaption::recalc() {
  if (!Effective() || border_ == bsNone || !form_) {
    bar_ = QImage();
    update();
    return;
  }
  bar_ = QImage(form_->width(), strip_height(), QImage::Format_RGB32);
  QPainter p(&bar_);
  CtlPreparePainter(p);
  const CtlColor colour = window_active_ ? clActiveCaption : clInactiveCaption;
  CtlFillRect(p, bar_.rect(), ColorToRgb(colour));
  QRect r = CaptionRect();
  if (window_active_ ? gradient_active_ : gradient_inactive_)
    GradientFillRect(p, r, start_, colour, fdLeftToRight, static_cast<std::uint8_t>(std::clamp(steps_, 0, 255)));
  if ((icons_ & biSystemMenu) && (border_ == bsSingle || border_ == bsSizeable)) {
    QIcon icon = form_->windowIcon();
    if (icon.isNull()) icon = QApplication::windowIcon();
    if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_TitleBarMenuButton);
    const int side = r.height();
    icon.paint(&p, QRect(r.left() + (side - 16) / 2, r.top() + (side - 16) / 2, 16, 16));
    r.setLeft(r.left() + side);
  }
  paint_texts(p, r);
  p.end();
  update();
}

void TRxGradientCaption::paint_texts(QPainter& p, QRect r) {
  bool any = !form_caption_.isEmpty();
  for (const auto& c : captions_) any = any || !c->caption_.isEmpty();
  if (!any) return;
  auto drawing_font = [](const TCaptionFont& f) {
    QFont font = f.Font;
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
  };
  auto width_of = [&](const TCaptionFont& f) {
    const QFontMetrics fm(drawing_font(f));
    return TextWidth([fm](const QString& s) { return fm.horizontalAdvance(s); });
  };
  std::vector<CaptionPiece> pieces;
  std::vector<const TRxCaption*> sources;
  for (const auto& c : captions_) {
    if (!c->visible_) continue;
    pieces.push_back({c->caption_, width_of(c->parent_font_ ? font_ : c->font_), c->glue_});
    sources.push_back(c.get());
  }
  const CaptionPiece form{form_caption_, width_of(font_), false};
  const bool rtl = RightToLeftReading();
  p.setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
  for (const PlacedPiece& placed : LayoutCaptionPieces(pieces, form, r.width(), hide_)) {
    const TRxCaption* c = placed.index >= 0 ? sources[static_cast<std::size_t>(placed.index)] : nullptr;
    const TCaptionFont& f = c && !c->parent_font_ ? c->font_ : font_;
    const CtlColor colour = window_active_ ? f.Color : (c ? c->inactive_ : font_inactive_);
    p.setFont(drawing_font(f));
    p.setPen(ColorToRgb(colour));
    // A right-to-left form reads its pieces from the right edge, each in right-to-left order.
    const QRect piece = rtl ? QRect(r.left(), r.top(), r.width() - placed.x, r.height())
                            : QRect(r.left() + placed.x, r.top(), r.width(), r.height());
    p.drawText(piece, (rtl ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute | Qt::AlignVCenter | Qt::TextSingleLine,
               placed.text);
  }
}

bool TRxGradientCaption::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_) {
    switch (event->type()) {
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::ParentChange:
        Update();
        break;
      case QEvent::ActivationChange:
        if (Effective()) SetWindowActive(form_->isActiveWindow());
        break;
      case QEvent::LayoutDirectionChange:
        recalc();
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TRxGradientCaption::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!bar_.isNull()) p.drawImage(0, 0, bar_);
}

void TRxGradientCaption::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton && popup_) {
    right_pressed_ = true;
    return;
  }
  if (e->button() != Qt::LeftButton || !form_) return;
  QWindow* w = form_->windowHandle();
  if (w && w->startSystemMove()) return;
  // Without the window manager's move, the strip moves the window itself.
  dragging_ = true;
  drag_from_ = e->globalPosition().toPoint() - form_->pos();
}

void TRxGradientCaption::mouseMoveEvent(QMouseEvent* e) {
  if (dragging_ && form_) form_->move(e->globalPosition().toPoint() - drag_from_);
}

void TRxGradientCaption::mouseReleaseEvent(QMouseEvent* e) {
  dragging_ = false;
  if (e->button() == Qt::RightButton && right_pressed_) {
    right_pressed_ = false;
    if (popup_) popup_->popup(e->globalPosition().toPoint());
  }
}

}  // namespace components
