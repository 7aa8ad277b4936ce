// The about box: a frameless box with its gradient caption strip, then the
// title, logo, a short text, the web label and OK. Also the splash shown at
// start-up.
#pragma once

#include <QDialog>
#include <functional>

#include "controls/labels.h"

class CtlFormShadow;
class CtlLImage;
class CtlLabel;
class QPushButton;
class TData;
namespace components {
class TRxGradientCaption;
}

// The program's web page; empty unless the build sets it, and then the label is hidden.
QString web_address();

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  // `opener` opens an address in the browser; the default uses the desktop's.
  explicit TAboutBox(QWidget* parent = nullptr, CtlSimpleLabel::Opener opener = {}, QString address = web_address());

  CtlSimpleLabel* WebLabel() const { return web_; }
  CtlLabel* Title() const { return title_; }
  CtlLImage* Logo() const { return logo_; }
  QPushButton* OkButton() const { return ok_; }
  CtlFormShadow* Shadow() const { return shadow_; }
  components::TRxGradientCaption* Caption() const { return caption_; }

 private:
  CtlLabel* title_;
  CtlLImage* logo_;
  CtlSimpleLabel* web_;
  QPushButton* ok_;
  CtlFormShadow* shadow_;
  components::TRxGradientCaption* caption_;
};
