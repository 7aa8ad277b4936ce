// A named pipe that must never be opened, for the tests that hand one to a
// reader: opening it would wait for a writer, so a guard thread plays the
// writer whenever a reader waits. A fault then fails the test (the pipe was
// opened) instead of hanging it.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

class GardeTube {
 public:
  // Makes the pipe at `chemin`; `cree()` says whether it could.
  explicit GardeTube(std::string chemin) : chemin_(std::move(chemin)) {
    cree_ = ::mkfifo(chemin_.c_str(), 0600) == 0;
    if (cree_) garde_ = std::thread([this] { surveiller(); });
  }
  ~GardeTube() { arreter(); }
  GardeTube(const GardeTube&) = delete;
  GardeTube& operator=(const GardeTube&) = delete;

  bool cree() const { return cree_; }
  // Stops the guard; true when a reader opened the pipe meanwhile.
  bool ouvert() {
    arreter();
    return ouvert_;
  }

 private:
  void surveiller() {
    while (!fini_) {
      const int fd = ::open(chemin_.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {  // a reader was waiting on the pipe
        ouvert_ = true;
        ::close(fd);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  void arreter() {
    fini_ = true;
    if (garde_.joinable()) garde_.join();
  }

  std::string chemin_;
  bool cree_ = false;
  std::atomic<bool> fini_{false}, ouvert_{false};
  std::thread garde_;
};
