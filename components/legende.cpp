// The gradient caption strip: the text layout, the button count and hit
// areas, the buttons' faces, and the component that prepares the strip when
// something changes and paints it.
#include "components/legende.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWindow>
#include <QGuiApplication>
#include <QMainWindow>
#include <algorithm>
#include <bit>
#include <utility>

#include "components/legende_x11.h"
#include "controls/ctlobject.h"
#include "controls/windowhook.h"

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

// ---- Hit areas ----

QRect CaptionButtonRect(const CaptionFrame& f, TCaptionHit button) {
  if (CaptionButtonCount(f.border, f.icons) == 0 || !(f.icons & biSystemMenu)) return {};
  // Slots from the right: the close box, then help (dialogs) or maximise and minimise.
  int slot = -1;
  const bool boxes = f.border != bsDialog && f.border != bsToolWindow && f.border != bsSizeToolWin &&
                     (f.icons & (biMinimize | biMaximize));
  if (button == htClose) slot = 0;
  if (button == htMaxButton && boxes) slot = 1;
  if (button == htMinButton && boxes) slot = 2;
  if (slot < 0) return {};
  const int w = TRxGradientCaption::kButtonWidth;
  const int x = f.strip.width() - (slot + 1) * w + 1;
  return QRect(f.rtl ? f.strip.width() - x - 16 : x, (f.strip.height() - 14) / 2, 16, 14);
}

TCaptionHit CaptionHitTest(const CaptionFrame& f, QPoint p) {
  const int W = f.window.width(), H = f.window.height();
  if (p.x() < 0 || p.y() < 0 || p.x() >= W || p.y() >= H) return htClient;
  if (f.frame > 0) {
    const bool l = p.x() < f.frame, r = p.x() >= W - f.frame, t = p.y() < f.frame, b = p.y() >= H - f.frame;
    if (l || r || t || b) {
      const bool nl = p.x() < kCornerLength, nr = p.x() >= W - kCornerLength;
      const bool nt = p.y() < kCornerLength, nb = p.y() >= H - kCornerLength;
      if (nt && nl) return htTopLeft;
      if (nt && nr) return htTopRight;
      if (nb && nl) return htBottomLeft;
      if (nb && nr) return htBottomRight;
      return l ? htLeft : r ? htRight : t ? htTop : htBottom;
    }
  }
  if (!f.strip.contains(p)) return htClient;
  const QPoint q = p - f.strip.topLeft();
  for (TCaptionHit b : {htClose, htMaxButton, htMinButton})
    if (CaptionButtonRect(f, b).contains(q)) return b;
  const bool on_icon = f.rtl ? q.x() >= f.strip.width() - f.strip.height() : q.x() < f.strip.height();
  if ((f.icons & biSystemMenu) && (f.border == bsSingle || f.border == bsSizeable) && on_icon) return htSysMenu;
  return htCaption;
}

Qt::Edges CaptionHitEdges(TCaptionHit hit) {
  switch (hit) {
    case htLeft: return Qt::LeftEdge;
    case htRight: return Qt::RightEdge;
    case htTop: return Qt::TopEdge;
    case htBottom: return Qt::BottomEdge;
    case htTopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case htTopRight: return Qt::TopEdge | Qt::RightEdge;
    case htBottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case htBottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
  }
}

// ---- The buttons ----

CaptionGlyph CaptionButtonGlyph(TCaptionHit kind, bool restore) {
  CaptionGlyph g{};
  auto fill = [&g](int left, int top, int right, int bottom, bool on) {
    for (int y = top; y <= bottom; ++y) {
      std::uint16_t& row = g[static_cast<std::size_t>(y)];
      for (int x = left; x <= right; ++x) row = on ? row | (1u << x) : row & ~(1u << x);
    }
  };
  // A window: a box whose top edge is two pixels thick.
  auto window = [&fill](int left, int top, int right, int bottom) {
    fill(left, top, right, top + 1, true);
    fill(left, top, left, bottom, true);
    fill(right, top, right, bottom, true);
    fill(left, bottom, right, bottom, true);
  };
  switch (kind) {
    case htClose:  // a cross of two-pixel strokes, 8 x 7
      for (int i = 0; i < 7; ++i) {
        fill(4 + i, 3 + i, 5 + i, 3 + i, true);
        fill(10 - i, 3 + i, 11 - i, 3 + i, true);
      }
      break;
    case htMinButton:  // a bar at the foot
      fill(4, 9, 9, 10, true);
      break;
    case htMaxButton:
      if (!restore) {
        window(3, 2, 11, 10);
      } else {  // two windows, the front one over the back one
        window(5, 1, 10, 7);
        fill(3, 4, 8, 10, false);
        window(3, 4, 8, 10);
      }
      break;
    default:
      break;
  }
  return g;
}

void PaintCaptionButton(QPainter& p, const QRect& r, TCaptionHit kind, bool restore, bool down, bool enabled) {
  QRect face = r;
  const unsigned edge = down ? BDR_SUNKENOUTER | BDR_SUNKENINNER : BDR_RAISEDOUTER | BDR_RAISEDINNER;
  CtlDrawEdge(p, face, edge, BF_RECT | BF_SOFT | BF_MIDDLE);
  const CaptionGlyph g = CaptionButtonGlyph(kind, restore);
  const QPoint origin = r.topLeft() + QPoint((r.width() - 16) / 2, (r.height() - 14) / 2) +
                        (down ? QPoint(1, 1) : QPoint(0, 0));
  auto draw = [&](QPoint at, CtlColor colour) {
    const QColor c = ColorToRgb(colour);
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 16; ++x)
        if (g[static_cast<std::size_t>(y)] & (1u << x)) p.fillRect(at.x() + x, at.y() + y, 1, 1, c);
  };
  if (enabled) {
    draw(origin, clBtnText);
  } else {
    draw(origin + QPoint(1, 1), clBtnHighlight);
    draw(origin, clBtnShadow);
  }
}

TCaptionButton::TCaptionButton(TCaptionHit kind, QWidget* parent) : QAbstractButton(parent), kind_(kind) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCaptionButton::SetRestore(bool on) {
  if (CtlStore(restore_, on)) update();
}

void TCaptionButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintCaptionButton(p, rect(), kind_, restore_, isDown(), isEnabled());
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

// ---- The sizing frame ----

namespace {
int g_system_move = -1;
}

// One edge of the sizing frame drawn around a sizeable owner: it shows the
// cursor of the area under the pointer and resizes the window from there.
class CaptionGrip : public QWidget {
 public:
  CaptionGrip(TRxGradientCaption* caption, QWidget* form) : QWidget(form), caption_(caption), form_(form) {
    setMouseTracking(true);
  }

 protected:
  TCaptionHit hit(QPoint local) const { return CaptionHitTest(caption_->Frame(), mapTo(form_, local)); }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!(e->buttons() & Qt::LeftButton)) {
      setCursor(cursor_of(hit(e->position().toPoint())));
      return;
    }
    if (edges_) resize_by(e->globalPosition().toPoint() - from_);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    const Qt::Edges edges = CaptionHitEdges(hit(e->position().toPoint()));
    if (!edges) return;
    QWindow* w = form_->windowHandle();
    if (w && w->startSystemResize(edges)) return;
    // Without the window manager's sizing, the frame sizes the window itself.
    edges_ = edges;
    from_ = e->globalPosition().toPoint();
    start_ = form_->geometry();
  }
  void mouseReleaseEvent(QMouseEvent*) override { edges_ = {}; }
  void paintEvent(QPaintEvent*) override {
    // The frame's outer line, dark, along the window's edge.
    QPainter p(this);
    const QRect outer = QRect(mapFrom(form_, QPoint(0, 0)), caption_->Frame().window);
    p.setPen(ColorToRgb(clBtnShadow));
    p.drawRect(outer.adjusted(0, 0, -1, -1));
  }

 private:
  static Qt::CursorShape cursor_of(TCaptionHit h) {
    switch (h) {
      case htLeft:
      case htRight: return Qt::SizeHorCursor;
      case htTop:
      case htBottom: return Qt::SizeVerCursor;
      case htTopLeft:
      case htBottomRight: return Qt::SizeFDiagCursor;
      case htTopRight:
      case htBottomLeft: return Qt::SizeBDiagCursor;
      default: return Qt::ArrowCursor;
    }
  }
  void resize_by(QPoint d) {
    QRect g = start_;
    const QSize least = form_->minimumSizeHint().expandedTo(form_->minimumSize()).expandedTo(QSize(100, 50));
    if (edges_ & Qt::LeftEdge) g.setLeft(std::min(g.left() + d.x(), g.right() + 1 - least.width()));
    if (edges_ & Qt::RightEdge) g.setRight(std::max(g.right() + d.x(), g.left() + least.width() - 1));
    if (edges_ & Qt::TopEdge) g.setTop(std::min(g.top() + d.y(), g.bottom() + 1 - least.height()));
    if (edges_ & Qt::BottomEdge) g.setBottom(std::max(g.bottom() + d.y(), g.top() + least.height() - 1));
    form_->setGeometry(g);
  }

  TRxGradientCaption* caption_;
  QWidget* form_;
  Qt::Edges edges_;
  QPoint from_;
  QRect start_;
};

// ---- The component ----

bool TRxGradientCaption::SystemMoveAvailable() {
  if (g_system_move >= 0) return g_system_move != 0;
  const QString p = QGuiApplication::platformName();
  return p == "xcb" || p.startsWith("wayland");
}

void TRxGradientCaption::SetSystemMoveForTest(int available) { g_system_move = available; }

TRxGradientCaption::TRxGradientCaption(QWidget* owner) : QWidget(owner), form_(owner ? owner->window() : nullptr) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  auto button = [this](TCaptionHit kind, const char* tip, auto action) {
    auto* b = new TCaptionButton(kind, this);
    b->setToolTip(tip);
    b->hide();
    connect(b, &QAbstractButton::clicked, this, action);
    return b;
  };
  close_ = button(htClose, "Close", [this] { close_window(); });
  max_ = button(htMaxButton, "Maximize", [this] { toggle_maximized(); });
  min_ = button(htMinButton, "Minimize", [this] {
    if (form_) form_->showMinimized();
  });
  hook_ = new TRxWindowHook(this);
  hook_->SetActive(false);
  hook_->BeforeMessage = [this](TRxWindowHook*, QEvent* e, bool& handled) { before_message(e, handled); };
  hook_->AfterMessage = [this](TRxWindowHook*, QEvent* e, bool&) { after_message(e); };
  hook_->SetWinControl(form_);
  hide();
  Update();
}

TRxGradientCaption::~TRxGradientCaption() {
  watcher_.reset();
  hook_->SetActive(false);
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

int TRxGradientCaption::FrameWidth() const {
  const bool sizeable = border_ == bsSizeable || border_ == bsSizeToolWin;
  if (!Effective() || !sizeable) return 0;
  return form_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen) ? 0 : kFrameWidth;
}

CaptionFrame TRxGradientCaption::Frame() const {
  CaptionFrame f;
  f.border = border_;
  f.icons = icons_;
  if (!form_) return f;
  // Margins that others gave the owner (a shadow's, say) lie outside the window's frame.
  const QMargins others = form_->contentsMargins() - applied_;
  f.window = form_->size() - QSize(std::max(0, others.right()), std::max(0, others.bottom()));
  f.frame = FrameWidth();
  f.rtl = RightToLeftReading();
  f.strip = QRect(f.frame, f.frame, std::max(0, f.window.width() - 2 * f.frame), strip_height());
  return f;
}

QRect TRxGradientCaption::CaptionRect() const {
  if (!form_) return {};
  const CaptionFrame f = Frame();
  const int buttons = CaptionButtonCount(border_, icons_) * kButtonWidth;
  return QRect(f.rtl ? std::min(buttons, f.strip.width()) : 0, 0, std::max(0, f.strip.width() - buttons),
               f.strip.height());
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

const TCaptionFont& TRxGradientCaption::CaptionFont() const {
  // The desktop's title font is looked up when first needed: most owners set a
  // font of their own before that.
  if (!font_known_) {
    font_ = default_caption_font();
    font_known_ = true;
  }
  return font_;
}

void TRxGradientCaption::SetFont(const TCaptionFont& f) {
  font_ = f;
  font_known_ = true;
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
  hook_->SetActive(active_ && form_);
  const bool shown = Effective() && border_ != bsNone;
  place_frame();
  if (shown) {
    setGeometry(Frame().strip);
    place_buttons();
    raise();
    if (form_->isVisible()) window_active_ = form_->isActiveWindow() || grabbed_;
    if (!watcher_ && x11::Available())
      watcher_ = std::make_unique<x11::Watcher>(form_, [this](const x11::Event& e) { NativeEvent(e); });
  }
  setVisible(shown);
  recalc();
}

// The owner's contents leave room for the frame and the strip; margins that
// others set stay as they are.
void TRxGradientCaption::place_frame() {
  if (!form_) return;
  const bool shown = Effective() && border_ != bsNone;
  const int f = shown ? FrameWidth() : 0;
  const QMargins want = shown ? QMargins(f, f + strip_height(), f, f) : QMargins();
  if (want != applied_) {
    form_->setContentsMargins(form_->contentsMargins() - applied_ + want);
    applied_ = want;
  }
  const CaptionFrame frame = Frame();
  const int W = frame.window.width(), H = frame.window.height();
  const std::array<QRect, 4> sides = {QRect(0, 0, f, H), QRect(0, 0, W, f), QRect(W - f, 0, f, H),
                                      QRect(0, H - f, W, f)};
  for (std::size_t k = 0; k < grips_.size(); ++k) {
    if (f > 0 && !grips_[k]) grips_[k] = new CaptionGrip(this, form_);
    if (!grips_[k]) continue;
    grips_[k]->setGeometry(sides[k]);
    grips_[k]->setVisible(f > 0);
    if (f > 0) grips_[k]->raise();
  }
}

void TRxGradientCaption::place_buttons() {
  const CaptionFrame f = Frame();
  const bool maximized = form_ && form_->isMaximized();
  for (auto [button, hit] : {std::pair{close_, htClose}, std::pair{max_, htMaxButton}, std::pair{min_, htMinButton}}) {
    const QRect r = CaptionButtonRect(f, hit);
    button->setVisible(!r.isEmpty());
    if (!r.isEmpty()) button->setGeometry(r);
  }
  // Both boxes show when either is asked; the other one is then greyed.
  max_->setEnabled(icons_ & biMaximize);
  min_->setEnabled(icons_ & biMinimize);
  max_->SetRestore(maximized);
  max_->setToolTip(maximized ? "Restore" : "Maximize");
}

void TRxGradientCaption::recalc() {
  if (!Effective() || border_ == bsNone || !form_) {
    bar_ = QImage();
    update();
    return;
  }
  const QRect strip = Frame().strip;
  if (strip.isEmpty()) {
    bar_ = QImage();
    update();
    return;
  }
  bar_ = QImage(strip.size(), QImage::Format_RGB32);
  QPainter p(&bar_);
  CtlPreparePainter(p);
  // Gradient captions count as switched on, as on the desktops the program was
  // made for: the inactive texts (the main window's in the inactive caption
  // colour) read on the lighter inactive gradient colour, never on their own.
  const CtlColor colour = window_active_ ? clGradientActiveCaption : clGradientInactiveCaption;
  CtlFillRect(p, bar_.rect(), ColorToRgb(colour));
  // A right-to-left owner has the whole strip mirrored: the gradient starts
  // at the right, where the icon and the text begin.
  const bool rtl = RightToLeftReading();
  QRect r = CaptionRect();
  if (window_active_ ? gradient_active_ : gradient_inactive_)
    GradientFillRect(p, r, start_, colour, rtl ? fdRightToLeft : fdLeftToRight,
                     static_cast<std::uint8_t>(std::clamp(steps_, 0, 255)));
  if ((icons_ & biSystemMenu) && (border_ == bsSingle || border_ == bsSizeable)) {
    QIcon icon = form_->windowIcon();
    if (icon.isNull()) icon = QApplication::windowIcon();
    if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_TitleBarMenuButton);
    const int side = r.height();
    const int left = rtl ? r.right() + 1 - side : r.left();
    icon.paint(&p, QRect(left + (side - 16) / 2, r.top() + (side - 16) / 2, 16, 16));
    if (rtl) r.setRight(r.right() - side);
    else r.setLeft(r.left() + side);
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
    pieces.push_back({c->caption_, width_of(c->parent_font_ ? CaptionFont() : c->font_), c->glue_});
    sources.push_back(c.get());
  }
  const CaptionPiece form{form_caption_, width_of(CaptionFont()), false};
  const bool rtl = RightToLeftReading();
  p.setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
  for (const PlacedPiece& placed : LayoutCaptionPieces(pieces, form, r.width(), hide_)) {
    const TRxCaption* c = placed.index >= 0 ? sources[static_cast<std::size_t>(placed.index)] : nullptr;
    const TCaptionFont& f = c && !c->parent_font_ ? c->font_ : CaptionFont();
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

// ---- The owner's window, through the hook ----

void TRxGradientCaption::before_message(QEvent* e, bool& handled) {
  const bool press = e->type() == QEvent::NonClientAreaMouseButtonPress;
  if (!Effective() || (!press && e->type() != QEvent::NonClientAreaMouseButtonRelease)) return;
  const auto* m = static_cast<QMouseEvent*>(e);
  if (m->button() != Qt::RightButton) return;
  if (press && popup_) {
    right_pressed_ = true;
    handled = true;
  } else if (!press && right_pressed_) {
    right_pressed_ = false;
    handled = true;
    if (popup_) popup_->popup(m->globalPosition().toPoint());
  }
}

void TRxGradientCaption::after_message(QEvent* e) {
  switch (e->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowStateChange:
      Update();
      break;
    case QEvent::WindowIconChange:
      recalc();
      break;
    case QEvent::NonClientAreaMouseButtonDblClick:
      if (Effective() && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) toggle_maximized();
      break;
    default:
      break;
  }
}

void TRxGradientCaption::non_client(QEvent::Type type, QMouseEvent* e) {
  if (!form_) return;
  QMouseEvent nc(type, mapTo(form_, e->position().toPoint()), e->globalPosition(), e->button(), e->buttons(),
                 e->modifiers());
  if (QWindow* w = form_->windowHandle()) {
    QCoreApplication::sendEvent(w, &nc);
    return;
  }
  bool handled = false;
  before_message(&nc, handled);
  after_message(&nc);
}

void TRxGradientCaption::start_move(QPoint global) {
  QWindow* w = form_->windowHandle();
  if (w && x11::StartMoveFrom(w, global)) return;
  // Without the window manager's move, the strip moves the window itself.
  dragging_ = true;
  drag_from_ = global - form_->pos();
}

void TRxGradientCaption::toggle_maximized() {
  if (!form_ || !(icons_ & biMaximize) || (border_ != bsSizeable && border_ != bsSizeToolWin)) return;
  if (form_->isMaximized()) form_->showNormal();
  else form_->showMaximized();
}

void TRxGradientCaption::close_window() {
  if (!form_) return;
  if (BlockedByModalWindow()) {
    if (OnCloseBlocked) OnCloseBlocked();
    return;
  }
  if (OnClose) OnClose();
  else form_->close();
}

bool TRxGradientCaption::BlockedByModalWindow() const {
  QWidget* modal = QApplication::activeModalWidget();
  if (!form_ || !modal || modal == form_) return false;
  if (modal->windowModality() == Qt::ApplicationModal) return true;
  for (QWidget* p = modal->parentWidget(); p; p = p->parentWidget())
    if (p->window() == form_) return true;
  return false;
}

bool TRxGradientCaption::StartKeyboardMove() { return form_ && x11::StartKeyboardMove(form_->windowHandle()); }

bool TRxGradientCaption::StartKeyboardSize() { return form_ && x11::StartKeyboardSize(form_->windowHandle()); }

// The window manager draws an ordinary window's frame active while the window
// holds the activation, which the toolkit follows; the keyboard that a grab
// takes meanwhile (a pop-up menu's, the window manager's move) changes neither.
void TRxGradientCaption::follow_activation() {
  if (!Effective() || !form_->isVisible()) return;
  const bool on = form_->isActiveWindow() || grabbed_;
  if (on != window_active_) SetWindowActive(on);
}

void TRxGradientCaption::NativeEvent(const x11::Event& e) {
  switch (e.kind) {
    case x11::Event::focus_out_grab:
      grabbed_ = window_active_;
      break;
    case x11::Event::focus_in:
      grabbed_ = false;  // the toolkit's activation follows
      break;
    case x11::Event::focus_out:
      grabbed_ = false;
      follow_activation();
      break;
    case x11::Event::press:
    case x11::Event::release:
      blocked_pointer(e);
      break;
    default:
      break;
  }
}

TCaptionButton* TRxGradientCaption::button_of(TCaptionHit hit) const {
  switch (hit) {
    case htClose: return close_;
    case htMaxButton: return max_;
    case htMinButton: return min_;
    default: return nullptr;
  }
}

// The toolkit gives a blocked window no mouse events; the title bar still
// answers the left button as the window manager's own would: a click on a
// button (pressed and let go on it) clicks it, and a press elsewhere on the
// strip hands the window manager a move.
void TRxGradientCaption::blocked_pointer(const x11::Event& e) {
  if (e.button != 1 || !Effective() || !BlockedByModalWindow()) {
    blocked_press_ = htClient;
    return;
  }
  const QPoint at = (QPointF(e.position) / form_->devicePixelRatioF()).toPoint();
  const TCaptionHit hit = CaptionHitTest(Frame(), at);
  if (e.kind == x11::Event::press) {
    blocked_press_ = hit;
    if ((hit == htCaption || hit == htSysMenu) && form_->windowHandle())
      x11::StartMoveFrom(form_->windowHandle(), form_->mapToGlobal(at));
    return;
  }
  if (std::exchange(blocked_press_, htClient) != hit) return;
  TCaptionButton* b = button_of(hit);
  if (b && b->isVisible() && b->isEnabled()) b->click();
}

void TRxGradientCaption::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::LayoutDirectionChange) Update();
}

bool TRxGradientCaption::event(QEvent* e) {
  // The window passes its activation changes on to its children.
  if (e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate) follow_activation();
  return QWidget::event(e);
}

void TRxGradientCaption::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!bar_.isNull()) p.drawImage(0, 0, bar_);
}

// The strip is the window's title bar: its presses reach the window as
// non-client ones. A move starts once the pointer leaves the press point, so
// that a double click still reaches the strip.
void TRxGradientCaption::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) press_at_ = e->globalPosition().toPoint();
  non_client(QEvent::NonClientAreaMouseButtonPress, e);
}

void TRxGradientCaption::mouseDoubleClickEvent(QMouseEvent* e) {
  non_client(QEvent::NonClientAreaMouseButtonDblClick, e);
}

void TRxGradientCaption::mouseMoveEvent(QMouseEvent* e) {
  const QPoint global = e->globalPosition().toPoint();
  if (dragging_ && form_) {
    form_->move(global - drag_from_);
  } else if ((e->buttons() & Qt::LeftButton) && !press_at_.isNull() && form_ &&
             (global - press_at_).manhattanLength() >= QApplication::startDragDistance()) {
    const QPoint from = press_at_;
    press_at_ = QPoint();
    start_move(from);
    if (dragging_) form_->move(global - drag_from_);
  }
}

void TRxGradientCaption::mouseReleaseEvent(QMouseEvent* e) {
  dragging_ = false;
  press_at_ = QPoint();
  non_client(QEvent::NonClientAreaMouseButtonRelease, e);
}

}  // namespace components
