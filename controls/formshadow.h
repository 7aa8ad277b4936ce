// Drop shadow of a form: two strip windows to the right of and below it that
// follow its moves, size changes and activation.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "controls/properties.h"

class CtlShadowStrip : public QWidget {
  Q_OBJECT
 public:
  CtlShadowStrip(QWidget* owner, const CtlShadow* shadow);
  void Reshape();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  const CtlShadow* shadow_;
};

class CtlFormShadow : public QObject {
  Q_OBJECT
 public:
  explicit CtlFormShadow(QWidget* form);
  ~CtlFormShadow() override;

  CtlShadow& Shadow() { return shadow_; }
  void ShadowChanged();
  bool ShowInActive = true;

  // Right strip and bottom strip for a form frame (left, top, right, bottom; right and bottom excluded).
  static QRect RightStrip(const QRect& frame, int depth);
  static QRect BottomStrip(const QRect& frame, int depth);
  bool Allowed() const;
  CtlShadowStrip* Right() const { return right_; }
  CtlShadowStrip* Bottom() const { return bottom_; }
  void Reposition();

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void Hide();
  void Show();
  QPointer<QWidget> form_;
  CtlShadow shadow_;
  QPointer<CtlShadowStrip> right_, bottom_;
};
