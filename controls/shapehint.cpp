#include "controls/shapehint.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QScreen>

namespace {
CtlShapeHint* g_active = nullptr;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
}  // namespace

QSize CtlHintWindowSize(CtlHintStyle style, QSize t, int d) {
  int w = t.width(), h = t.height();
  switch (style) {
    case hsRect: return QSize(w + d, h + d);
    case hsRoundRect: return QSize(w + 8 + d, h + 4 + d);
    case hsEllipse: return QSize(w + w / 3 + d, h + h / 3 + d);
    case hsNoseRect:
    case hsNoseRoundRect: return QSize(std::max(w, 46) + 15 + d + 8, h + 15 + d + 3);
    case hsNoseEllipse: return QSize(w + w / 2 + d + 15, h + h / 2 + d + 15);
  }
  return t;
}

QPoint CtlHintOrigin(CtlHintPosition place, QPoint a, QSize s) {
  switch (place) {
    case hpAboveLeft: return QPoint(a.x() - 1 - s.width(), a.y() - 1 - s.height());
    case hpAboveRight: return QPoint(a.x() + 1, a.y() - 1 - s.height());
    case hpBelowLeft: return QPoint(a.x() - 3 - s.width(), a.y() + 1);
    case hpBelowRight: return QPoint(a.x() + 6, a.y() + 1);
  }
  return a;
}

CtlHintPlace CtlPlaceHint(QPoint anchor, QSize size, CtlHintPosition preferred, QRect screen) {
  QPoint pos;
  for (int k = 0; k < 4; ++k) {
    auto place = static_cast<CtlHintPosition>((static_cast<int>(preferred) + k) % 4);
    pos = CtlHintOrigin(place, anchor, size);
    bool fits = pos.x() >= screen.left() && pos.y() >= screen.top() &&
                pos.x() + size.width() <= screen.left() + screen.width() &&
                pos.y() + size.height() <= screen.top() + screen.height();
    if (fits) return {pos, place, true};
  }
  return {pos, preferred, false};
}

CtlShapeHintWindow::CtlShapeHintWindow(const CtlShapeHint* owner)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), owner_(owner) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setEnabled(false);
}

void CtlShapeHintWindow::ActivateHint(QPoint anchor, const QString& text) {
  text_ = text;
  setWindowTitle(text);
  QRect screen(0, 0, 1024, 768);
  if (QScreen* s = QGuiApplication::screenAt(anchor)) screen = s->geometry();
  else if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry();
  int limit = owner_->MaxWidth < 0 ? screen.width() / -owner_->MaxWidth : owner_->MaxWidth;
  limit = std::max(limit, 1);
  // Measured on the kind of device the balloon is painted on.
  QImage probe(1, 1, QImage::Format_ARGB32);
  QPainter mesure(&probe);
  mesure.setFont(owner_->Font);
  QRect tr = mesure.boundingRect(QRect(0, 0, limit, 0), kTextFlags, text);
  mesure.end();
  tr.moveTopLeft(QPoint(0, 0));
  QSize size = CtlHintWindowSize(owner_->Style, tr.size(), owner_->Shadow.Depth());
  CtlHintPlace pl = CtlPlaceHint(anchor, size, owner_->Position, screen);
  place_ = pl.place;
  picture_ = owner_->PaintShape(size, tr, place_, text);
  setGeometry(QRect(pl.pos, size));
  // The window takes the outline of body, nose and shadow.
  setMask(QBitmap::fromImage(picture_.createAlphaMask()));
  show();
  raise();
  update();
}

void CtlShapeHintWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, picture_);
}

QImage CtlShapeHint::PaintShape(QSize size, QRect tr, CtlHintPosition place, const QString& text) const {
  QImage img(size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  CtlPreparePainter(p);
  const int d = Shadow.Depth(), W = size.width(), H = size.height();
  const QColor body = ColorToRgb(Color), border = ColorToRgb(BorderColor), shadow = ColorToRgb(Shadow.Color());
  auto rect = [](int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); };
  // One shape: body rectangle and nose (tip, base start); no nose when base is null.
  auto shape = [&](QRect r, bool nose, QPoint tip, QPoint base, bool fill_only, QColor fill) {
    p.setBrush(fill);
    p.setPen(fill_only ? QPen(Qt::NoPen) : QPen(border, 0));
    QRect drawn = fill_only ? r : r.adjusted(0, 0, -1, -1);
    switch (Style) {
      case hsRect:
      case hsNoseRect: p.drawRect(drawn); break;
      case hsRoundRect:
      case hsNoseRoundRect: p.drawRoundedRect(drawn, 8, 8); break;
      case hsEllipse:
      case hsNoseEllipse: p.drawEllipse(drawn); break;
    }
    if (nose) {
      QPolygon tri({base, tip, base + QPoint(30, 0)});
      p.drawPolygon(tri);
      if (!fill_only) CtlLine(p, base.x(), base.y(), base.x() + 30, base.y(), fill);
    }
  };
  bool nosed = Style == hsNoseRect || Style == hsNoseRoundRect || Style == hsNoseEllipse;
  QPoint text_shift;
  if (!nosed) {
    if (Shadow.Style() != hssNone) shape(rect(d, d, W, H), false, {}, {}, true, shadow);
    shape(rect(0, 0, W - d, H - d), false, {}, {}, false, body);
    text_shift = Style == hsRect ? QPoint(3, 3) : Style == hsRoundRect ? QPoint(5, 5)
                                 : QPoint((tr.right() + 1 - d) / 5 + 3, (tr.bottom() + 1 - d) / 5 + 3);
  } else {
    struct Row {
      QRect sbody;
      bool snose;
      QPoint stip, sbase;
      QRect bbody;
      QPoint btip, bbase;
      QPoint text;
    };
    Row r{};
    switch (place) {
      case hpAboveLeft:
        r = {rect(d, d, W - 15, H - 15), true, {W, H}, {W - 55, H - 16}, rect(0, 0, W - d - 15, H - d - 15),
             {W - d, H - d}, {W - d - 55, H - d - 16}, {4, 4}};
        break;
      case hpAboveRight:
        r = {rect(d + 15, d, W, H - 15), true, {0, H}, {d + 25, H - 16}, rect(15, 0, W - d, H - d - 15),
             {0, H - d}, {25, H - d - 16}, {19, 4}};
        break;
      case hpBelowLeft:
        r = {rect(d, d + 15, W - 15, H), true, {W, d}, {W - 55, d + 16}, rect(0, 15, W - d - 15, H - d),
             {W, 0}, {W - d - 55, 16}, {4, 19}};
        break;
      case hpBelowRight:
        r = {rect(d + 15, d + 15, W, H), false, {}, {}, rect(15, 15, W - d, H - d), {0, 0}, {25, 16}, {19, 19}};
        break;
    }
    if (Shadow.Style() != hssNone) shape(r.sbody, r.snose, r.stip, r.sbase, true, shadow);
    shape(r.bbody, true, r.btip, r.bbase, false, body);
    text_shift = r.text;
  }
  p.setFont(Font);
  DrawFxText(p, text, &Font3D, nullptr, fxEnabled, kTextFlags, tr.translated(text_shift), ColorToRgb(FontColor), body);
  return img;
}

CtlShapeHint::CtlShapeHint(QObject* parent) : QObject(parent) {
  Font = QApplication::font();
  Font.setPixelSize(11);
  Font.setStyleStrategy(QFont::NoAntialias);
  SetEnabled(true);
}

CtlShapeHint::~CtlShapeHint() {
  if (g_active == this) g_active = nullptr;
  if (qApp) qApp->removeEventFilter(this);
  delete window_;
}

CtlShapeHint* CtlShapeHint::Active() { return g_active; }

void CtlShapeHint::SetEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  if (e) {
    g_active = this;
    qApp->installEventFilter(this);
  } else {
    if (g_active == this) g_active = nullptr;
    qApp->removeEventFilter(this);
    HideHint();
  }
}

void CtlShapeHint::ShowHint(QPoint anchor, const QString& text) {
  if (!window_) window_ = new CtlShapeHintWindow(this);
  window_->ActivateHint(anchor, text);
}

void CtlShapeHint::HideHint() {
  if (window_) window_->hide();
}

bool CtlShapeHint::eventFilter(QObject* o, QEvent* e) {
  auto* w = qobject_cast<QWidget*>(o);
  switch (e->type()) {
    case QEvent::ToolTip:
      if (w && !w->toolTip().isEmpty() && g_active == this) {
        hinted_ = w;
        ShowHint(static_cast<QHelpEvent*>(e)->globalPos(), w->toolTip().section('|', 0, 0));
        return true;
      }
      break;
    case QEvent::Enter:
      // The status line takes the long part of a hint ("short|long").
      if (w && w->toolTip().contains('|')) emit hintChanged(w->toolTip().section('|', 1));
      break;
    case QEvent::Leave:
      if (w && w == hinted_) HideHint();
      if (w && w->toolTip().contains('|')) emit hintChanged(QString());
      break;
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::WindowDeactivate: HideHint(); break;
    default: break;
  }
  return QObject::eventFilter(o, e);
}
