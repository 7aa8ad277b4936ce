// The bare Qt window the start-up benchmark compares the program with: an
// empty QMainWindow shown on the same platform plugin. Like the program under
// QUORVEL_QUIT_WHEN_SHOWN, it writes the line "shown" and its CPU time on its
// standard output once its window has handled its first exposure (painted and
// flushed: the line is posted from the exposure), then leaves its message loop.
#include <QApplication>
#include <QMainWindow>
#include <QWindow>
#include <cstdio>
#include <ctime>

namespace {

class FinALaPremiereVue : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* o, QEvent* e) override {
    auto* fenetre = qobject_cast<QWindow*>(o);
    if (e->type() == QEvent::Expose && fenetre && fenetre->isExposed()) {
      o->removeEventFilter(this);
      QMetaObject::invokeMethod(
          this,
          [] {
            timespec cpu{};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
            std::printf("shown %.3f\n", double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) * 1e-6);
            std::fflush(stdout);
            QCoreApplication::exit(0);
          },
          Qt::QueuedConnection);
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
