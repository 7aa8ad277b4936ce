// Labels: sizing to the text, effect layers, the accelerator and its focus
// control, and the jump labels with an injected opener.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "controls/application.h"
#include "controls/labels.h"

namespace {

QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Pixels of `img` in colour `c`, as a set of points.
std::vector<QPoint> PixelsOf(const QImage& img, QColor c) {
  std::vector<QPoint> out;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixelColor(x, y) == c) out.emplace_back(x, y);
  return out;
}

QFont Big() {
  QFont f;
  f.setPixelSize(20);
  f.setBold(true);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

}  // namespace

TEST(Labels, AutoSizeKeepsThePlaceAndTakesTheTextSize) {
  QWidget top;
  auto* l = new CtlSimpleLabel(&top);
  l->setGeometry(30, 40, 5, 5);
  l->SetCaption("Some words");
  EXPECT_EQ(l->pos(), QPoint(30, 40));
  EXPECT_EQ(l->size(), CalcTextSize(l->font(), "Some words", &l->Font3D(), 0, 0, true));
  // Switched off, the size stays whatever the text.
  l->SetAutoSize(false);
  l->resize(200, 30);
  l->SetCaption("x");
  EXPECT_EQ(l->size(), QSize(200, 30));
  // A deeper effect grows the label.
  l->SetAutoSize(true);
  const int before = l->width();
  l->Font3D().SetStyle(tdRaisedShadow);
  l->Font3D().SetShadowDepth(4);
  EXPECT_GT(l->width(), before);
}

TEST(Labels, RaisedShadowTextSitsAtItsDepths) {
  // Light depth 1, shadow depth 2: the shadow layer at (3, 3), the light
  // layer at the origin, the text at (1, 1); each layer is the plain text moved.
  QWidget top;
  top.resize(200, 60);
  auto* plain = new CtlSimpleLabel(&top);
  plain->setFont(Big());
  plain->SetTransparent(false);
  plain->SetColor(clWhite);
  plain->SetFontColor(CtlRgb(255, 0, 0));
  plain->SetCaption("Wq");
  auto* fx = new CtlSimpleLabel(&top);
  fx->setFont(Big());
  fx->SetTransparent(false);
  fx->SetColor(clWhite);
  fx->SetFontColor(CtlRgb(255, 0, 0));
  fx->Font3D().SetStyle(tdRaisedShadow);
  fx->Font3D().SetLightDepth(1);
  fx->Font3D().SetShadowDepth(2);
  fx->Font3D().SetLightColor(CtlRgb(0, 255, 0));
  fx->Font3D().SetShadowColor(CtlRgb(0, 0, 255));
  fx->SetCaption("Wq");
  fx->SetAutoSize(false);
  fx->resize(plain->width() + 10, plain->height() + 10);
  const std::vector<QPoint> glyph = PixelsOf(Shot(*plain), Qt::red);
  ASSERT_FALSE(glyph.empty());
  const QImage img = Shot(*fx);
  auto covered = [&](const std::vector<QPoint>& layer, QPoint shift) {
    for (const QPoint& q : layer)
      if (std::find(glyph.begin(), glyph.end(), q - shift) == glyph.end()) return false;
    return !layer.empty();
  };
  const std::vector<QPoint> text = PixelsOf(img, Qt::red);
  EXPECT_EQ(text.size(), glyph.size());  // drawn last, whole
  EXPECT_TRUE(covered(text, {1, 1}));
  EXPECT_TRUE(covered(PixelsOf(img, Qt::green), {0, 0}));
  EXPECT_TRUE(covered(PixelsOf(img, Qt::blue), {3, 3}));
}

TEST(Labels, AcceleratorShownOrPlainAndFocusControl) {
  QWidget form;
  form.resize(300, 100);
  auto* edit = new QLineEdit(&form);
  edit->move(100, 10);
  auto* other = new QLineEdit(&form);
  other->move(100, 50);
  auto* l = new CtlSimpleLabel(&form);
  l->SetCaption("&Name");
  l->SetFocusControl(edit);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  other->setFocus();
  QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(edit->hasFocus());
  // Without accelerators the "&" is text, and Alt+N does nothing.
  l->SetAutoSize(false);
  l->resize(80, 20);
  const QImage underlined = Shot(*l);
  l->SetShowAccelChar(false);
  EXPECT_EQ(l->TextFlags() & Qt::TextShowMnemonic, 0);
  EXPECT_NE(Shot(*l), underlined);
  other->setFocus();
  QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(other->hasFocus());
  // The focus control is forgotten when it goes.
  l->SetShowAccelChar(true);
  delete edit;
  EXPECT_EQ(l->FocusControl(), nullptr);
  QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(other->hasFocus());
  // Without a focus control the label leaves its letter to a button of the form.
  auto* button = new QPushButton("&New", &form);
  button->show();
  QTest::keyClick(&form, Qt::Key_N, Qt::AltModifier);
  EXPECT_TRUE(button->isDown());  // its shortcut ran (the click itself follows later)
  EXPECT_TRUE(form.findChildren<QShortcut*>().isEmpty());
}

TEST(Labels, OpaqueSimpleLabelFillsItsColour) {
  CtlSimpleLabel l;
  l.SetAutoSize(false);
  l.resize(40, 20);
  l.SetCaption(" ");
  l.SetColor(CtlRgb(10, 200, 30));
  EXPECT_TRUE(l.Transparent());
  l.SetTransparent(false);
  EXPECT_EQ(Shot(l).pixelColor(38, 18), QColor(10, 200, 30));
  // Transparent with no caption: nothing to show.
  l.SetTransparent(true);
  l.SetCaption("");
  EXPECT_TRUE(l.NoBorder());
}

TEST(Labels, EndEllipsisShortensASingleLine) {
  CtlSimpleLabel l;
  l.SetAutoSize(false);
  l.resize(40, 20);
  l.SetCaption("A rather long caption for this label");
  EXPECT_EQ(l.ShownText(l.font(), 40), l.Caption());
  l.SetOptions(loEndEllipsis);
  const QString s = l.ShownText(l.font(), 40);
  EXPECT_TRUE(s.endsWith(QChar(0x2026))) << s.toStdString();
  EXPECT_LE(QFontMetrics(l.font()).horizontalAdvance(s), 40);
}

TEST(Labels, TurnedLabelNeedsATrueTypeFont) {
  SetTrueTypeTestHook([](const QFont& f) { return f.family() == "Arial"; });
  CtlLabel l;
  QFont f = l.font();
  f.setFamily("Courier");
  l.setFont(f);
  l.FontFx().SetAngle(90);  // the effect changed: the font becomes Arial
  EXPECT_EQ(l.font().family(), "Arial");
  EXPECT_EQ(l.FontFx().Angle(), 90);
  SetTrueTypeTestHook([](const QFont&) { return false; });
  f.setFamily("Fixed");
  l.setFont(f);  // the font changed: the text is straightened
  EXPECT_EQ(l.FontFx().Angle(), 0);
  SetTrueTypeTestHook(nullptr);
}

TEST(JumpLabels, TargetsFailureColoursAndCursor) {
  CtlSimpleLabel l;
  QString opened;
  bool answer = true;
  l.SetOpener([&](const QString& a) {
    opened = a;
    return answer;
  });
  EXPECT_EQ(l.cursor().shape(), Qt::ArrowCursor);
  l.SetCaption("a@b.c");
  l.SetJumpMode(CtlSimpleLabel::jmInternet);
  EXPECT_EQ(l.cursor().shape(), CtlApplication::Cursor(crHandPoint).shape());
  EXPECT_TRUE(l.font().underline());
  EXPECT_EQ(l.FontColor(), l.InActiveColor());
  l.Click();
  EXPECT_EQ(opened, "mailto:a@b.c");
  l.SetCaption("www.example.org");
  l.Click();
  EXPECT_EQ(opened, "www.example.org");
  // A press makes it ActiveColor, kept after the click.
  l.show();
  QTest::mouseClick(&l, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(l.FontColor(), l.ActiveColor());
  EXPECT_EQ(l.Clicks(), 1);
  // Without underline the jump look leaves the font alone.
  l.SetJumpUnderline(false);
  EXPECT_FALSE(l.font().underline());
  l.SetJumpUnderline(true);
  // In jmApplication a failing opener changes nothing.
  answer = false;
  l.SetJumpMode(CtlSimpleLabel::jmApplication);
  l.Click();
  EXPECT_TRUE(l.isEnabled());
  EXPECT_EQ(l.Mode(), CtlSimpleLabel::jmApplication);
  // In jmInternet it makes the label disabled, black and plain.
  l.SetJumpMode(CtlSimpleLabel::jmInternet);
  l.Click();
  EXPECT_FALSE(l.isEnabled());
  EXPECT_EQ(l.Mode(), CtlSimpleLabel::jmNone);
  EXPECT_EQ(l.FontColor(), clBlack);
  EXPECT_FALSE(l.font().underline());
  EXPECT_EQ(l.cursor().shape(), Qt::ArrowCursor);
}

TEST(Labels, EditControlWrappingBreaksLongWordsAndDropsACutLastLine) {
  const QFont f = Big();
  const QFontMetrics fm(f);
  const QString text = "Go Supercalifragilistic now";
  const int width = 120;
  const QStringList lines = CtlEditControlWrap(text, f, width, -1, true).split(u'\n');
  ASSERT_GE(lines.size(), 3);
  for (const QString& line : lines) EXPECT_LE(fm.horizontalAdvance(line), width) << line.toStdString();
  EXPECT_EQ(lines.first(), "Go");
  EXPECT_EQ(lines.join("").remove(u' '), QString(text).remove(u' '));
  // The plain rule keeps the long word whole, wider than the label.
  EXPECT_GT(fm.boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap, text).width(), width);
  // Only whole lines are kept.
  const int h = fm.height();
  EXPECT_EQ(CtlEditControlWrap(text, f, width, 2 * h + h / 2, true), lines.mid(0, 2).join(u'\n'));
  EXPECT_EQ(CtlEditControlWrap(text, f, width, h - 1, true), "");
  // Accelerator marks take no room and stay with their letter; empty lines stay.
  EXPECT_EQ(CtlEditControlWrap("&Open\r\n\nthe && file", f, 1000, -1, true), "&Open\n\nthe && file");
  const QString marks = CtlEditControlWrap("Go Super&califragilistic", f, width, -1, true);
  EXPECT_EQ(marks.count(u'&'), 1);
  EXPECT_EQ(QString(marks).remove(u'\n').remove(u' '), "GoSuper&califragilistic");

  CtlSimpleLabel l;
  l.SetAutoSize(false);
  l.setFont(f);
  l.SetMultiLine(true);
  l.resize(width, 3 * h);
  l.SetCaption(text);
  EXPECT_EQ(l.ShownText(f, width, 3 * h), text);
  l.SetOptions(loEditControl);
  EXPECT_EQ(l.ShownText(f, width, 3 * h), lines.mid(0, 3).join(u'\n'));
  l.SetMultiLine(false);  // a single line is never wrapped
  EXPECT_EQ(l.ShownText(f, width, 3 * h), text);
}

TEST(Labels, AutoSizeMeasuresTheEditControlLines) {
  CtlSimpleLabel l;
  l.setFont(Big());
  l.SetMultiLine(true);
  l.resize(120, 20);
  l.SetCaption("Go Supercalifragilistic now");
  EXPECT_GT(l.width(), 200);  // the whole word runs past the width
  l.resize(120, 20);
  l.SetOptions(loEditControl);
  l.SetCaption("Go Supercalifragilistically now");
  EXPECT_LE(l.width(), 120 + 2);  // the lines and the measure's margin
  EXPECT_GE(l.height(), 3 * QFontMetrics(Big()).height());
}
