// The offscreen application (with the image data module) that benchmarks of
// windows and progress windows need; made once, on first use.
#pragma once

#include <QApplication>
#include <cstdlib>

#include "fenetres/donnees_images.h"

inline QApplication* application_bench() {
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "quorvel_bench";
    static char* argv[] = {name, nullptr};
    auto* a = new QApplication(argc, argv);
    new TData;
    return a;
  }();
  return app;
}
