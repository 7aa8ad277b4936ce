// The mutex named after the executable that marks a running instance of the
// program. Here it is a lock file "<name>.lock" in the user's runtime folder,
// held from creation to destruction. A holder made while another holds the
// name, in this process or another, does not get it: it only learns that an
// instance was there first, as a second creator of a named mutex would. A lock
// left behind by a process that has died is taken over.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

class CtlInstanceMutex {
 public:
  // `folder` empty: the user's runtime folder, else the temporary folder.
  explicit CtlInstanceMutex(const QString& name = ExecutableName(), const QString& folder = QString());
  ~CtlInstanceMutex();
  CtlInstanceMutex(const CtlInstanceMutex&) = delete;
  CtlInstanceMutex& operator=(const CtlInstanceMutex&) = delete;

  QString Name() const { return name_; }
  QString FilePath() const { return path_; }
  // Whether another holder had the name when this one was made.
  bool AlreadyExisted() const { return !owned_; }
  bool Owned() const { return owned_; }

  // The executable's file name without its folder.
  static QString ExecutableName();

 private:
  QString name_;
  QString path_;
  std::unique_ptr<QLockFile> lock_;
  bool owned_ = false;
};
