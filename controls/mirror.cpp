#include "controls/mirror.h"

#include <QEvent>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace {

// Where the code put a child (left to right), and where it stands now.
constexpr const char* kLeftToRight = "_ctl_ltr_left";
constexpr const char* kShownAt = "_ctl_shown_left";

class Mirror : public QObject {
 public:
  explicit Mirror(QWidget& parent) : QObject(&parent), parent_(parent) { parent.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o == &parent_ && (e->type() == QEvent::Resize || e->type() == QEvent::Show ||
                          e->type() == QEvent::LayoutDirectionChange))
      CtlMirrorChildrenNow(parent_);
    return false;
  }

 private:
  QWidget& parent_;
};

}  // namespace

void CtlMirrorChildrenNow(QWidget& parent) {
  const bool rtl = parent.isRightToLeft();
  for (QWidget* c : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (c->isWindow()) continue;
    const QVariant shown = c->property(kShownAt);
    // A child never placed here, or moved by the code since: its place now is the code's.
    if (!shown.isValid() || shown.toInt() != c->x()) c->setProperty(kLeftToRight, c->x());
    const int ltr = c->property(kLeftToRight).toInt();
    const int x = rtl ? CtlMirroredLeft(parent.width(), ltr, c->width()) : ltr;
    c->setProperty(kShownAt, x);
    if (x != c->x()) c->move(x, c->y());
  }
}

void CtlMirrorChildren(QWidget& parent) {
  new Mirror(parent);
  CtlMirrorChildrenNow(parent);
}

QString CtlIsolatePath(const QString& text, bool right_to_left) {
  if (!right_to_left) return text;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (i > 0 && text[i - 1] != u' ') continue;
    const bool racine = text[i] == u'/' || text[i] == u'\\';
    const bool lecteur = i + 2 < text.size() && text[i].isLetter() && text[i + 1] == u':' &&
                         (text[i + 2] == u'\\' || text[i + 2] == u'/');
    if (racine || lecteur) return text.left(i) + QChar(0x2066) + text.mid(i) + QChar(0x2069);
  }
  return text;
}
