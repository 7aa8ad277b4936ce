#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "fenetres/donnees_images.h"
#include "app/mainwindow.h"
#include "app/qt_platform.h"
#include "platform/messages.h"

TEST(MessagePump, PostedMessageArrivesAfterOneEventRound) {
  install_message_pump();
  int got = 0;
  platform::WindowHandle h = platform::register_window([&](const platform::Message& m) -> std::intptr_t {
    if (m.msg == platform::WM_LBUTTONDBLCLK) ++got;
    return 0;
  });
  ASSERT_TRUE(platform::post(h, platform::WM_LBUTTONDBLCLK));
  EXPECT_EQ(got, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(got, 1);
  platform::unregister_window(h);
  platform::set_wake_up({});
}

TEST(MainWindowShell, TitleAndHandle) {
  TData data;
  TBasewindow w(&data);
  EXPECT_EQ(w.windowTitle(), "Quorvel v3.1");
  EXPECT_TRUE(platform::is_window(w.handle()));
}

namespace {

// Starts the program on the offscreen platform with `arguments`.
void demarrer_offscreen(QProcess& p, const QStringList& arguments) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  p.setProcessEnvironment(env);
  p.start(QUORVEL_PROGRAM_DIR "/quorvel", arguments);
}

}  // namespace

TEST(Program, StartsAndEndsOnTerminate) {
  QProcess p;
  demarrer_offscreen(p, {});
  ASSERT_TRUE(p.waitForStarted(10000));
  EXPECT_FALSE(p.waitForFinished(2000)) << "the program ended by itself";
  EXPECT_EQ(p.state(), QProcess::Running);
  p.terminate();
  EXPECT_TRUE(p.waitForFinished(10000));
}

// Started by a file manager on a damaged document: the refusal is shown while
// the splash is up, and the program still runs once the splash is gone.
TEST(Program, KeepsRunningAfterRefusingADamagedDocument) {
  QTemporaryDir dossier;
  const QString vide = dossier.path() + "/damaged.vue";
  std::ofstream(vide.toStdString()).flush();
  QProcess p;
  demarrer_offscreen(p, {vide});
  ASSERT_TRUE(p.waitForStarted(10000));
  EXPECT_FALSE(p.waitForFinished(4000)) << "the program ended: " << p.readAllStandardError().toStdString();
  EXPECT_EQ(p.state(), QProcess::Running);
  p.terminate();
  EXPECT_TRUE(p.waitForFinished(10000));
}

// Started on a named pipe: the program refuses it without opening it (an
// open would wait for a writer, with the splash up and nothing answering).
// While the program starts and opens its file, the test looks for a reader
// on the pipe; if one waits, the test's open lets it go, so a fault fails the
// test instead of hanging it.
TEST(Program, StartsOnANamedPipeWithoutOpeningIt) {
  QTemporaryDir dossier;
  const QString tube = dossier.path() + "/tube.vue";
  ASSERT_EQ(::mkfifo(tube.toLocal8Bit().constData(), 0600), 0);
  QProcess p;
  demarrer_offscreen(p, {tube});
  ASSERT_TRUE(p.waitForStarted(10000));
  bool ouvert = false;
  for (int k = 0; k < 30 && p.state() == QProcess::Running; ++k) {
    p.waitForFinished(200);
    const int fd = ::open(tube.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) {
      ouvert = true;
      ::close(fd);
    }
  }
  EXPECT_FALSE(ouvert) << "the program opened the pipe";
  EXPECT_EQ(p.state(), QProcess::Running) << p.readAllStandardError().toStdString();
  p.terminate();
  EXPECT_TRUE(p.waitForFinished(10000));
}
