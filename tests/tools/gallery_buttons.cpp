// Review pictures of the buttons, check boxes and combo boxes for
// controls_gallery: shapes.png (the eleven shapes with each bevel style and
// both shadow styles), buttons.png (shape buttons in every state and both
// styles, speed buttons of every style with and without the drop-down strip,
// push buttons up, held, focused, default and disabled, shape buttons in
// fill mode and multimedia buttons), checks.png (check
// boxes and radio buttons in every cell) and combos.png (closed and open).
#include <QAbstractItemView>
#include <QBuffer>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <cstdio>

#include "gallery.h"
#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/combobox.h"
#include "controls/imagelist.h"
#include "controls/mmbutton.h"
#include "controls/shapebutton.h"
#include "controls/speedbutton.h"
#include "platform/fichiers.h"

namespace {

bool Save(const QImage& img, const QString& path) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  img.save(&buffer, "PNG");
  const Echec e = ecrire_fichier(path.toLocal8Bit().toStdString(), std::string_view(png.constData(), png.size()));
  if (!e.empty()) std::fprintf(stderr, "cannot write %s: %s\n", path.toLocal8Bit().constData(), e.c_str());
  return e.empty();
}

// Drives a graphic button into state 2 (hot) or 4 (held) as the mouse would.
void MouseState(CtlBaseGraphicButton* b, int state) {
  const QPointF c(b->width() / 2.0, b->height() / 2.0);
  QMouseEvent move(QEvent::MouseMove, c, b->mapToGlobal(c), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(b, &move);
  if (state == 4) {
    QMouseEvent press(QEvent::MouseButtonPress, c, b->mapToGlobal(c), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(b, &press);
  }
}

QImage Shapes() {
  QWidget w;
  w.resize(11 * 70 + 100, 5 * 60 + 30);
  w.setAutoFillBackground(true);
  const char* noms[] = {"Ellipse", "Rectangle", "RoundRect", "DirectUp", "DirectRight", "DirectDown",
                        "DirectLeft", "Diamond", "Comb", "Octagon", "Star"};
  const char* lignes[] = {"Normal", "Inset", "Offset", "shadow solid", "shadow tracing"};
  for (int t = 0; t < 11; ++t) Caption(&w, 100 + 70 * t, 4, noms[t]);
  for (int r = 0; r < 5; ++r) {
    Caption(&w, 4, 40 + 60 * r, lignes[r]);
    for (int t = 0; t < 11; ++t) {
      auto* b = new CtlShapeButton(&w);
      b->setGeometry(100 + 70 * t, 22 + 60 * r, 60, 50);
      b->Shape().SetShape(static_cast<CtlShapeType>(t));
      b->Shape().Bevel.SetStyle(r < 3 ? static_cast<CtlSimpleBevelStyle>(r) : sbNormal);
      b->Shape().Bevel.SetLightColor(clWhite);
      b->Shape().Bevel.SetShadowColor(CtlRgb(64, 64, 64));
      b->Shape().Shadow.SetStyle(r == 3 ? hssSolid : (r == 4 ? hssTracing : hssNone));
      b->Colors().SetUp(CtlRgb(200, 210, 230));
    }
  }
  return w.grab().toImage();
}

// The gallery's face pictures of the multimedia buttons: a disc of a colour per state on white.
void MultimediaFaces(CtlBitmapList& faces) {
  const QColor couleurs[] = {QColor(60, 120, 200), QColor(170, 170, 170), QColor(90, 170, 240), QColor(40, 80, 160),
                             QColor(20, 50, 120)};
  for (const QColor& c : couleurs) {
    QImage img(26, 26, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int y = 0; y < 26; ++y)
      for (int x = 0; x < 26; ++x)
        if ((x - 13) * (x - 13) + (y - 13) * (y - 13) < 144) img.setPixelColor(x, y, c);
    faces.AddBitmap(img);
  }
}

// Shape buttons in fill mode (a gradient body, then a tiled picture) and
// multimedia buttons, in the five states.
void FillModeAndMultimediaRows(QWidget& w, const CtlBitmapList& faces) {
  QImage tuile(8, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) tuile.setPixelColor(x, y, (x / 4 + y / 4) % 2 ? QColor(230, 200, 120) : QColor(200, 150, 90));
  for (int row = 0; row < 3; ++row) {
    Caption(&w, 4, 300 + 40 * row, row == 0 ? "fill gradient" : row == 1 ? "fill picture 3D" : "multimedia");
    for (int s = 0; s < 5; ++s) {
      CtlBaseGraphicButton* b;
      if (row < 2) {
        auto* f = new CtlShapeButton(&w);
        f->setGeometry(100 + 90 * s, 292 + 40 * row, 81, 30);
        f->SetMode(sbmShapeFill);
        f->SetStyle(row == 0 ? sbsShadow : sbs3D);
        f->Shape().SetShape(row == 0 ? stRoundRect : stOctagon);
        f->Shape().Shadow.SetDepth(3);
        f->ShapeFill().SetStyle(row == 0 ? sfGradient : sfBitmap);
        f->ShapeFill().Gradient().SetEndColor(CtlRgb(200, 230, 255));
        f->ShapeFill().SetBitmap(tuile);
        f->SetEnterColorChange(true);
        f->SetEnterColor(clWhite);
        b = f;
      } else {
        auto* m = new CtlMMButton(&w);
        m->setGeometry(100 + 90 * s, 292 + 40 * row, 26, 26);
        m->SetButtonFaceImageList(&faces);
        for (int st = 0; st < 5; ++st) m->SetFace(st, st, 0);
        b = m;
      }
      b->SetCaption(row < 2 ? "&Memo" : "");
      b->SetTransparent(true);
      b->SetAllowMouseOver(true);
      b->SetAllowTransparency(false);
      if (s == 1 || s == 2) MouseState(b, s == 1 ? 2 : 4);
      if (s == 3) {
        b->SetGroupIndex(20 + row);
        b->SetPressed(true);
      }
      if (s == 4) b->setEnabled(false);
    }
  }
}

QImage Buttons(QMenu* menu) {
  QWidget w;
  w.resize(900, 420);
  CtlBitmapList faces;
  MultimediaFaces(faces);
  FillModeAndMultimediaRows(w, faces);
  w.setAutoFillBackground(true);
  const char* etats[] = {"up", "hot", "held", "pressed", "disabled"};
  for (int s = 0; s < 5; ++s) Caption(&w, 100 + 90 * s, 4, etats[s]);
  for (int style = 0; style < 2; ++style) {
    Caption(&w, 4, 30 + 40 * style, style == 0 ? "shape shadow" : "shape 3D");
    for (int s = 0; s < 5; ++s) {
      auto* b = new CtlShapeButton(&w);
      b->setGeometry(100 + 90 * s, 22 + 40 * style, 81, 26);
      b->SetStyle(style == 0 ? sbsShadow : sbs3D);
      b->Shape().SetShape(stRoundRect);
      b->Shape().SetRoundPercent(100);
      b->Shape().Shadow.SetDepth(2);
      b->Shape().Bevel.SetWidth(style == 0 ? 1 : 2);
      b->Colors().SetUp(CtlRgb(224, 220, 200));
      b->Colors().SetMouseOver(CtlRgb(240, 236, 160));
      b->Colors().SetDown(CtlRgb(200, 196, 176));
      b->Colors().SetOptionSet(CtlRgb(180, 200, 176));
      b->Colors().SetDisabled(CtlRgb(210, 210, 210));
      b->SetCaption("&Memo");
      b->SetAllowTransparency(false);
      if (s == 1 || s == 2) MouseState(b, s == 1 ? 2 : 4);
      if (s == 3) {
        b->SetGroupIndex(10 + style);
        b->SetPressed(true);
      }
      if (s == 4) b->setEnabled(false);
    }
  }
  Caption(&w, 4, 104, "speed styles");
  for (int st = 0; st <= ubsIntegrated; ++st) {
    for (int combo = 0; combo < 2; ++combo) {
      for (int s = 0; s < 3; ++s) {
        auto* b = new CtlSpeedButton(&w);
        b->setGeometry(100 + 72 * st + 24 * s, 104 + 34 * combo, 23, 22);
        b->SetStyle(static_cast<CtlUserButtonStyle>(st));
        b->SetCaption("A");
        if (combo) {
          b->SetDropDownMenu(menu);
          b->SetDropDownCombo(true);
          b->move(100 + 72 * st, 104 + 34 * combo + 24 * s);
        }
        if (s > 0) MouseState(b, s == 1 ? 2 : 4);
      }
    }
  }
  Caption(&w, 4, 250, "push buttons");
  const char* pousse[] = {"up", "held", "focused", "default", "disabled"};
  for (int s = 0; s < 5; ++s) {
    auto* b = new CtlButton(&w);
    b->setGeometry(100 + 90 * s, 246, 80, 25);
    b->setText(pousse[s]);
    if (s == 1) b->setDown(true);
    if (s == 2) b->setFocus();
    if (s == 3) b->setDefault(true);
    if (s == 4) b->setEnabled(false);
  }
  w.show();
  return w.grab().toImage();
}

QImage Checks() {
  QWidget w;
  w.resize(560, 120);
  w.setAutoFillBackground(true);
  const CtlCheckState etats[] = {cbUnchecked, cbChecked, cbGrayed};
  for (int k = 0; k < 3; ++k)
    for (int actif = 0; actif < 2; ++actif) {
      auto* c = new CtlCheckBox(&w);
      c->setGeometry(8 + 180 * k, 8 + 24 * actif, 170, 17);
      c->SetAllowGrayed(true);
      c->SetState(etats[k]);
      c->SetCaption(QString("&Check %1%2").arg(k).arg(actif ? " disabled" : ""));
      c->setEnabled(actif == 0);
    }
  for (int k = 0; k < 2; ++k)
    for (int actif = 0; actif < 2; ++actif) {
      auto* holder = new QWidget(&w);
      holder->setGeometry(8 + 180 * k + 90 * actif, 64, 90, 20);
      auto* r = new CtlRadioButton(holder);
      r->setGeometry(0, 0, 90, 17);
      r->SetChecked(k == 1);
      r->SetCaption(actif ? "Radio off" : "&Radio");
      r->setEnabled(actif == 0);
    }
  auto* focus = new CtlCheckBox(&w);
  focus->setGeometry(380, 64, 170, 17);
  focus->SetCaption("Focused, colour");
  focus->SetUseFocusColor(true);
  w.show();
  focus->setFocus();
  return w.grab().toImage();
}

QImage Combos(QImage* open) {
  QWidget w;
  w.resize(420, 60);
  w.setAutoFillBackground(true);
  auto* c = new CtlComboBox(&w);
  c->setGeometry(8, 8, 120, 22);
  c->addItems({"Oak", "Fir", "Poplar", "Pine"});
  c->SetMRUList(true);
  auto* f = new CtlComboBox(&w);
  f->setGeometry(140, 8, 120, 22);
  f->addItems({"Flat box"});
  f->SetFlat(true);
  auto* i = new CtlImageComboBox(&w);
  i->setGeometry(272, 8, 140, 22);
  i->addItems({"AVI CVID Cinepack", "MPEG|1"});
  w.show();
  const QImage closed = w.grab().toImage();
  c->showPopup();
  *open = c->view()->window()->grab().toImage();
  c->hidePopup();
  return closed;
}

}  // namespace

QLabel* Caption(QWidget* parent, int x, int y, const QString& text) {
  auto* l = new QLabel(text, parent);
  QFont f = l->font();
  f.setPixelSize(11);
  l->setFont(f);
  l->move(x, y);
  l->adjustSize();
  return l;
}

QImage TrackBarsPicture();  // gallery_trackbars.cpp
QImage ScrollBarsPicture();  // gallery_scrollbars.cpp
QImage ListsPicture();       // gallery_lists.cpp
QImage HintsPicture();       // gallery_hints.cpp

// Writes the pictures into `folder`; false when one could not be written.
bool SavePicture(const QImage& img, const QString& path) { return Save(img, path); }

bool WritePanelPictures(const QString& folder);  // gallery_panels.cpp

bool WriteButtonPictures(const QString& folder) {
  QMenu menu;
  menu.addAction("one");
  QImage open;
  const QImage closed = Combos(&open);
  QImage combos(closed.width() + open.width() + 8, std::max(closed.height(), open.height()), QImage::Format_RGB32);
  combos.fill(ColorToRgb(clBtnFace));
  {
    QPainter p(&combos);
    p.drawImage(0, 0, closed);
    p.drawImage(closed.width() + 8, 0, open);
  }
  return Save(Shapes(), folder + "/shapes.png") && Save(Buttons(&menu), folder + "/buttons.png") &&
         Save(Checks(), folder + "/checks.png") && Save(combos, folder + "/combos.png") &&
         Save(TrackBarsPicture(), folder + "/trackbars.png") &&
         Save(ScrollBarsPicture(), folder + "/scrollbars.png") && Save(ListsPicture(), folder + "/lists.png") &&
         Save(HintsPicture(), folder + "/hints.png") && WritePanelPictures(folder);
}
