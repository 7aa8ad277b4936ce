// The bare Qt window the start-up benchmark compares the program with: an
// empty QMainWindow shown on the same platform plugin. Like the program under
// QUORVEL_QUIT_WHEN_SHOWN, it writes the line "shown" on its standard output
// when its window is first exposed, then leaves its message loop.
#include <QApplication>
#include <QMainWindow>
#include <QWindow>
#include <cstdio>

namespace {

class FinALaPremiereVue : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* o, QEvent* e) override {
    auto* fenetre = qobject_cast<QWindow*>(o);
    if (e->type() == QEvent::Expose && fenetre && fenetre->isExposed()) {
      std::fputs("shown\n", stdout);
      std::fflush(stdout);
      o->removeEventFilter(this);
      QCoreApplication::exit(0);
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.resize(900, 660);
  w.show();
  w.windowHandle()->installEventFilter(new FinALaPremiereVue(&w));
  return app.exec();
}
