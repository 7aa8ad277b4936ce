// The "Import ..." command of the main window (menu item and tool button):
// asks for an elevation source or a bitmap, refuses when five mountains are
// open, and opens the import window on the file, closing an earlier one.
// The adoption of the imported terrain is the request dispatcher's.
#pragma once

class TBasewindow;

class CommandesImport {
 public:
  // Connects the command to the main window's menu item.
  explicit CommandesImport(TBasewindow& w);

  void ImporterClick();

 private:
  TBasewindow& w_;
};
