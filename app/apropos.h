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
  // Not `whole`: the box's window alone (its size, colour and shadow), which
  // can be shown at once and draws nothing until Complete() adds the rest (the
  // splash: it is on the screen before the main window, and filled in once the
  // main window has appeared). The accessors below are null until then.
  explicit TAboutBox(QWidget* parent = nullptr, CtlSimpleLabel::Opener opener = {}, QString address = web_address(),
                     bool whole = true);
  // Adds the caption strip and the content (nothing when they are there).
  void Complete();
  bool Completed() const { return caption_ != nullptr; }

  CtlSimpleLabel* WebLabel() const { return web_; }
  CtlLabel* Title() const { return title_; }
  CtlLImage* Logo() const { return logo_; }
  QPushButton* OkButton() const { return ok_; }
  CtlFormShadow* Shadow() const { return shadow_; }
  components::TRxGradientCaption* Caption() const { return caption_; }

 private:
  void MakeShadow();
  CtlSimpleLabel::Opener opener_;
  QString address_;
  CtlLabel* title_ = nullptr;
  CtlLImage* logo_ = nullptr;
  CtlSimpleLabel* web_ = nullptr;
  QPushButton* ok_ = nullptr;
  CtlFormShadow* shadow_ = nullptr;
  components::TRxGradientCaption* caption_ = nullptr;
};
