// A disk that fills at a chosen size, for the tests of writes that fail
// midway: once poser(octets) is called, no file of the process grows past
// that size (the system's file-size limit, which needs no rights), and a
// write past it fails with EFBIG instead of ending the process with SIGXFSZ.
// Both come back as they were when the guard goes.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <csignal>

class LimiteFichiers {
 public:
  LimiteFichiers() { ::getrlimit(RLIMIT_FSIZE, &avant_); }
  ~LimiteFichiers() {
    ::setrlimit(RLIMIT_FSIZE, &avant_);
    if (posee_) std::signal(SIGXFSZ, signal_avant_);
  }
  LimiteFichiers(const LimiteFichiers&) = delete;
  LimiteFichiers& operator=(const LimiteFichiers&) = delete;

  // False when the system refused it.
  bool poser(rlim_t octets) {
    if (!posee_) signal_avant_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit l = avant_;
    l.rlim_cur = std::min(l.rlim_cur, octets);  // RLIM_INFINITY is the largest value
    posee_ = true;
    return ::setrlimit(RLIMIT_FSIZE, &l) == 0;
  }

 private:
  rlimit avant_{};
  void (*signal_avant_)(int) = SIG_DFL;
  bool posee_ = false;
};
