#include "controls/caret.h"

#include <QApplication>
#include <QPainter>

namespace {

// Paints the prepared picture, inverting what lies under it, in its visible phase.
class CaretView : public QWidget {
 public:
  explicit CaretView(QWidget* owner) : QWidget(owner) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }
  void SetPicture(const QImage& img) {
    picture_ = img;
    resize(img.size());
    update();
  }
  void Toggle() {
    on_ = !on_;
    update();
  }
  void SetOn() {
    on_ = true;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!on_ || picture_.isNull()) return;
    QPainter p(this);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(0, 0, picture_);
  }

 private:
  QImage picture_;
  bool on_ = true;
};

}  // namespace

CtlCaret::CtlCaret(QWidget* owner) : owner_(owner), blink_rate_(std::max(QApplication::cursorFlashTime() / 2, 1)) {
  blink_.setInterval(blink_rate_);
  QObject::connect(&blink_, &QTimer::timeout, [this] {
    if (auto* v = static_cast<CaretView*>(view_.data())) v->Toggle();
  });
}

CtlCaret::~CtlCaret() { delete view_.data(); }

void CtlCaret::SetBlinkRate(int ms) {
  if (ms <= 0 || ms == blink_rate_) return;
  blink_rate_ = ms;
  blink_.setInterval(ms);
  Change();
}

void CtlCaret::SetBitmap(const QImage& img) {
  bitmap_ = img.convertToFormat(QImage::Format_RGB32);
  entry_.SetList(nullptr);
  Change();
}

QImage CtlCaret::SourceBitmap() const {
  return entry_.HasEntry() ? entry_.Picture().convertToFormat(QImage::Format_RGB32) : bitmap_;
}

void CtlCaret::Assign(const CtlObject& source) {
  const auto* c = dynamic_cast<const CtlCaret*>(&source);
  if (!c) {
    CtlObject::Assign(source);
    return;
  }
  blink_rate_ = c->blink_rate_;
  blink_.setInterval(blink_rate_);
  width_ = c->width_;
  height_ = c->height_;
  style_ = c->style_;
  Change();
}

QImage CtlCaret::Picture() const {
  QSize size;
  switch (style_) {
    case csDefault: size = QSize(1, line_height_); break;
    case csBlock:
    case csUnderBlock: size = QSize(width_, height_); break;
    case csUnder:
    case csOver: size = QSize(width_, 1); break;
    case csBitmap: size = bmp_mode_ == cbBmpSize ? SourceBitmap().size() : QSize(width_, height_); break;
  }
  if (size.width() <= 0 || size.height() <= 0) return QImage();
  QImage img(size, QImage::Format_RGB32);
  img.fill(Qt::white);  // white inverts
  const QImage source = style_ == csBitmap ? SourceBitmap() : QImage();
  if (source.isNull()) return img;
  QPainter p(&img);
  if (bmp_mode_ == cbTile)
    p.fillRect(img.rect(), QBrush(source));
  else
    p.drawImage(img.rect(), source);
  return img;
}

void CtlCaret::Show(QPoint at) {
  if (!owner_) return;
  if (!view_) view_ = new CaretView(owner_);
  auto* v = static_cast<CaretView*>(view_.data());
  v->SetPicture(Picture());
  v->move(at);
  v->SetOn();
  v->show();
  v->raise();
  blink_.start();
  shown_ = true;
}

void CtlCaret::Hide() {
  shown_ = false;
  blink_.stop();
  if (view_) view_->hide();
}
