#include "controls/instancemutex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString LockFolder() {
  // Without XDG_RUNTIME_DIR Qt would warn and make a folder of its own.
  QString dir = qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")
                    ? QString()
                    : QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty() || !QDir().mkpath(dir)) dir = QDir::tempPath();
  return dir;
}

}  // namespace

QString CtlInstanceMutex::ExecutableName() {
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

CtlInstanceMutex::CtlInstanceMutex(const QString& name, const QString& folder)
    : name_(name), path_((folder.isEmpty() ? LockFolder() : folder) + u'/' + name + QStringLiteral(".lock")) {
  lock_ = std::make_unique<QLockFile>(path_);
  // Only a dead holder makes a lock stale, however old it is.
  lock_->setStaleLockTime(0);
  owned_ = lock_->tryLock(0);
}

CtlInstanceMutex::~CtlInstanceMutex() {
  if (owned_) lock_->unlock();
}
