#include "controls/spinedit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWheelEvent>
#include <algorithm>
#include <optional>

#include "controls/ctlutils.h"
#include "platform/nombres.h"

namespace {

bool IsNumberCharacter(QChar c) { return c == u'+' || c == u'-' || (c >= u'0' && c <= u'9'); }

// The signs and digits of a text, in order.
QString NumberCharacters(const QString& text) {
  QString out;
  for (QChar c : text)
    if (IsNumberCharacter(c)) out += c;
  return out;
}

std::optional<std::int32_t> Parse(const QString& text) { return platform::convertir_entier(text.toStdString()); }

}  // namespace

CtlSpinEdit::CtlSpinEdit(QWidget* parent) : QLineEdit(parent), button_(new CtlSpinButton(this)) {
  connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
    if (!CtlStore(last_text_, t)) return;
    emit changed();
  });
  connect(button_, &CtlSpinButton::topClicked, this, &CtlSpinEdit::Increase);
  connect(button_, &CtlSpinButton::bottomClicked, this, &CtlSpinEdit::Decrease);
  setMinimumHeight(MinimumHeight());
  resize(121, std::max(MinimumHeight(), sizeHint().height()));
  setText(QStringLiteral("0"));
  PlaceButton();
}

int CtlSpinEdit::MinimumHeight() const {
  const int own = fontMetrics().height();
  const int system = QFontMetrics(QApplication::font()).height();
  return std::min(own, system) / 4 + own + (hasFrame() ? 4 : 0);
}

int CtlSpinEdit::Clamp(std::int64_t v) const { return int(std::clamp<std::int64_t>(v, min_, max_)); }

void CtlSpinEdit::Show(const QString& text) {
  if (text != this->text()) setText(text);
}

int CtlSpinEdit::Value() {
  std::optional<std::int32_t> n;
  if (!suffix_.isEmpty()) {
    QString digits = NumberCharacters(text());
    if (digits.isEmpty()) digits = QString::number(min_);
    Show(digits + suffix_);
    n = Parse(digits);
  } else {
    if (text().isEmpty()) Show(QString::number(min_));
    n = Parse(text());
  }
  if (n) last_value_ = Clamp(*n);
  return last_value_;
}

void CtlSpinEdit::SetValue(int v) {
  last_value_ = Clamp(v);
  Show(TextOf(last_value_));
}

void CtlSpinEdit::SetMinValue(int v) {
  if (v == min_ || v >= max_) return;
  const int old = Value();
  min_ = v;
  if (old < min_) SetValue(min_);
  last_value_ = Clamp(last_value_);
}

void CtlSpinEdit::SetMaxValue(int v) {
  if (v == max_ || v <= min_) return;
  const int old = Value();
  max_ = v;
  if (old > max_) SetValue(max_);
  last_value_ = Clamp(last_value_);
}

void CtlSpinEdit::SetSuffix(const QString& s) {
  if (s == suffix_) return;
  const int v = Value();
  suffix_ = s;
  SetValue(v);
}

void CtlSpinEdit::Step(std::int64_t delta) { SetValue(Clamp(std::int64_t(Value()) + delta)); }

void CtlSpinEdit::Increase() {
  if (isReadOnly())
    CtlBeep();
  else
    Step(line_size_);
}

void CtlSpinEdit::Decrease() {
  if (isReadOnly())
    CtlBeep();
  else
    Step(-std::int64_t(line_size_));
}

bool CtlSpinEdit::AcceptsCharacter(const QString& text) const {
  if (text.size() != 1) return true;
  const QChar c = text[0];
  if (IsNumberCharacter(c) || c == u'\b') return editor_enabled_;
  return !c.isPrint();
}

void CtlSpinEdit::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Up: Increase(); e->accept(); return;
    case Qt::Key_Down: Decrease(); e->accept(); return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      if (!isReadOnly()) Step(e->key() == Qt::Key_PageUp ? page_size_ : -std::int64_t(page_size_));
      e->accept();
      return;
    default: break;
  }
  if ((e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Paste)) && !CanCutOrPaste()) {
    e->accept();
    return;
  }
  if (!AcceptsCharacter(e->text())) {
    CtlBeep();
    e->accept();
    return;
  }
  // Enter and Escape are left to the dialog's default and cancel buttons.
  QLineEdit::keyPressEvent(e);
}

void CtlSpinEdit::wheelEvent(QWheelEvent* e) {
  const int dy = e->angleDelta().y();
  e->accept();
  if (dy > 0) Increase();
  if (dy < 0) Decrease();
}

void CtlSpinEdit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  if (auto_select_ && e->reason() != Qt::MouseFocusReason) selectAll();
}

void CtlSpinEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  const QString digits = suffix_.isEmpty() ? text() : NumberCharacters(text());
  const std::optional<std::int32_t> n = Parse(digits);
  if (n && (*n < min_ || *n > max_)) SetValue(*n);
}

void CtlSpinEdit::PlaceButton() {
  const int frame = hasFrame() ? 2 : 0;
  const int side = std::max(height() - 2 * frame, 0);
  button_->setGeometry(width() - frame - side, frame, side, side);
  setTextMargins(0, 0, side + 2, 0);
}

void CtlSpinEdit::resizeEvent(QResizeEvent* e) {
  QLineEdit::resizeEvent(e);
  PlaceButton();
}

void CtlSpinEdit::changeEvent(QEvent* e) {
  QLineEdit::changeEvent(e);
  if (e->type() == QEvent::FontChange) {
    setMinimumHeight(MinimumHeight());
    PlaceButton();
  }
}

void CtlSpinEdit::contextMenuEvent(QContextMenuEvent* e) {
  QMenu* menu = createStandardContextMenu();
  for (QAction* a : menu->actions())
    if (a->objectName() == QLatin1String("edit-cut") || a->objectName() == QLatin1String("edit-paste"))
      a->setEnabled(a->isEnabled() && CanCutOrPaste());
  menu->exec(e->globalPos());
  delete menu;
}
