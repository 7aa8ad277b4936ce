#include "app/apropos.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "fenetres/donnees_images.h"
#include "fenetres/fonds.h"
#include "components/legende.h"
#include "controls/button.h"
#include "controls/fill.h"
#include "controls/formshadow.h"
#include "controls/image.h"

#ifndef QUORVEL_WEB_ADDRESS
#define QUORVEL_WEB_ADDRESS ""
#endif

QString web_address() { return QStringLiteral(QUORVEL_WEB_ADDRESS); }

TAboutBox::TAboutBox(QWidget* parent, CtlSimpleLabel::Opener opener, QString address, bool whole)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), opener_(std::move(opener)), address_(std::move(address)) {
  setWindowTitle("Quorvel v 3.1");
  setFixedSize(330, components::TRxGradientCaption::kCaptionHeight + 210);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ColorToRgb(clBtnFace));
  setPalette(pal);
  setAutoFillBackground(true);
  if (whole) {
    Complete();
    return;
  }
  // The window alone: its shadow belongs to it (under Wayland the shadow widens
  // the window before it is on the screen); nothing is drawn until Complete.
  MakeShadow();
  setUpdatesEnabled(false);
}

void TAboutBox::MakeShadow() {
  shadow_ = new CtlFormShadow(this);
  shadow_->Shadow().SetStyle(hssTracing);
  shadow_->Shadow().SetDepth(6);
}

void TAboutBox::Complete() {
  if (caption_) return;
  const TData* data = TData::Instance();
  caption_ = new components::TRxGradientCaption(this);
  caption_->SetFormBorderStyle(components::bsDialog);
  caption_->SetBorderIcons(components::biSystemMenu);
  QFont cf("MS Sans Serif");
  cf.setPixelSize(11);
  cf.setBold(true);
  caption_->SetFont({cf, clYellow});
  caption_->SetStartColor(clGreen);
  // The text last: the strip is drawn again at each setting, and measured
  // only once there is a text (the desktop's title font is then never looked up).
  caption_->SetFormCaption("Quorvel v 3.1");
  // The content sits below the caption strip.
  auto* corps = new QWidget(this);
  corps->setGeometry(0, components::TRxGradientCaption::kCaptionHeight, 330, 210);
  // The box's background: the dialogs' picture, tiled inside a raised bevel.
  auto* fond = new CtlFill(corps);
  fond->setGeometry(corps->rect());
  cadre_releve(fond->Bevel());
  fond_carrele(*fond, images::kDialogTile);
  logo_ = new CtlLImage(corps);
  logo_->move(16, 16);
  logo_->Bevel().SetStyleOuter(bvLowered);
  logo_->Bevel().SetWidthOuter(2);
  logo_->Bevel().SetWidthInner(0);
  logo_->SetStyle(sbAutosize);
  logo_->SetListIndex(images::kLogo);
  if (data) logo_->SetImageList(&data->BitmapList);
  else logo_->CheckAutoSize();

  title_ = new CtlLabel(corps);
  title_->SetAutoSize(false);
  QFont tf = font();
  tf.setPixelSize(24);
  tf.setBold(true);
  tf.setStyleStrategy(QFont::NoAntialias);
  title_->setFont(tf);
  title_->FontFx().SetStyle(tdRaisedShadow);
  title_->FontFx().SetLightDepth(1);
  title_->FontFx().SetShadowDepth(2);
  title_->SetFontColor(CtlRgb(0, 0, 128));
  title_->SetAlignment(agCenter);
  title_->Bevel().SetStyleOuter(bvRaised);
  title_->Bevel().SetWidthOuter(2);
  title_->setGeometry(80, 16, 234, 46);
  title_->SetCaption("Quorvel");

  auto* text = new QLabel(corps);
  text->setAttribute(Qt::WA_TranslucentBackground);
  text->setText("Landscape generator, version 3.1.\n\nGrows mountains from a key, reshapes them, and looks at them "
                "through rendered views and fly-through movies.");
  text->setWordWrap(true);
  text->setGeometry(16, 76, 298, 70);

  web_ = new CtlSimpleLabel(corps);
  web_->move(16, 152);
  web_->SetCaption(address_);
  web_->SetJumpMode(CtlSimpleLabel::jmInternet);
  web_->SetOpener(opener_ ? std::move(opener_)
                          : CtlSimpleLabel::Opener([](const QString& a) { return QDesktopServices::openUrl(QUrl(a)); }));
  web_->setVisible(!address_.isEmpty());

  auto* ok = new CtlButton(corps);
  ok_ = ok;
  ok->setText("OK");
  if (data) ok->SetGlyph(data->ImageList.GetImage(images::kSmallIcons, images::iconOk));
  ok_->setGeometry(240, 172, 75, 25);
  ok_->setDefault(true);
  ok->SetModalResult(1);

  if (!shadow_) MakeShadow();
  if (!updatesEnabled()) {
    // Completed on the screen: the content shows, the key goes where showing
    // the box would have put it, and the whole box is drawn at once.
    corps->show();
    if (isActiveWindow() && !focusWidget()) focusNextChild();
    setUpdatesEnabled(true);
  }
}
