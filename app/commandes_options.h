// The Mountain menu's option dialogs: "&Creation options ..." (F7, the Get
// button, card request 7), "&Refine options ..." (card request 8) and
// "Combine two mountains" (request 6). Each builds its dialog, fills it, runs
// it through the main window's run hook and acts on OK only.
#pragma once

class TBasewindow;

class CommandesOptions {
 public:
  explicit CommandesOptions(TBasewindow& w);

  void options_creation();
  void options_raffinage();
  void combiner();

 private:
  TBasewindow& w_;
};
