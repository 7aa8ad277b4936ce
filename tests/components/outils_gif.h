// The giflib tools the GIF tests build their inputs with and check our files
// against: whether they are installed, and running one on some input.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

inline bool outils() {
  return !QStandardPaths::findExecutable("gifbuild").isEmpty() && !QStandardPaths::findExecutable("gif2rgb").isEmpty();
}

#define EXIGER_OUTILS() \
  if (!outils()) GTEST_SKIP() << "giflib-tools (gifbuild, gif2rgb) are not installed"

inline QByteArray lancer(const QString& program, const QStringList& args, const QByteArray& input = {}) {
  QProcess p;
  p.start(program, args);
  p.waitForStarted();
  if (!input.isEmpty()) p.write(input);
  p.closeWriteChannel();
  p.waitForFinished(60000);
  return p.readAllStandardOutput();
}
