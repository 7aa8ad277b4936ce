// A disk that fills at a chosen size, for the tests of writes that fail
// midway: while the guard lives, no file of the process grows beyond
// `octets` bytes (the system's file-size limit, which needs no rights), and a
// write past it fails with EFBIG instead of ending the process with SIGXFSZ.
// The limit and the signal's handling come back when the guard goes.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

class LimiteFichiers {
 public:
  explicit LimiteFichiers(std::uint64_t octets) {
    ::getrlimit(RLIMIT_FSIZE, &avant_);
    signal_avant_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit l = avant_;
    if (l.rlim_cur == RLIM_INFINITY || l.rlim_cur > octets) l.rlim_cur = octets;
    posee_ = ::setrlimit(RLIMIT_FSIZE, &l) == 0;
  }
  ~LimiteFichiers() {
    ::setrlimit(RLIMIT_FSIZE, &avant_);
    std::signal(SIGXFSZ, signal_avant_);
  }
  LimiteFichiers(const LimiteFichiers&) = delete;
  LimiteFichiers& operator=(const LimiteFichiers&) = delete;

  bool posee() const { return posee_; }

 private:
  rlimit avant_{};
  void (*signal_avant_)(int) = SIG_DFL;
  bool posee_ = false;
};
