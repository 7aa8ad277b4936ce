// A disk that fills at a chosen size: once poser(octets) is called, no file
// of the process grows past it (the file-size limit, which needs no rights)
// and a write past it fails with EFBIG, SIGXFSZ being ignored. Both come back
// when the guard goes.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <csignal>

struct LimiteFichiers {
  rlimit avant{};
  void (*signal_avant)(int) = SIG_DFL;
  bool posee = false;
  LimiteFichiers() { ::getrlimit(RLIMIT_FSIZE, &avant); }
  ~LimiteFichiers() {
    ::setrlimit(RLIMIT_FSIZE, &avant);
    if (posee) std::signal(SIGXFSZ, signal_avant);
  }
  bool poser(rlim_t octets) {  // false when the system refused it
    if (!posee) signal_avant = std::signal(SIGXFSZ, SIG_IGN);
    posee = true;
    const rlimit l{std::min(avant.rlim_cur, octets), avant.rlim_max};  // RLIM_INFINITY is the largest value
    return ::setrlimit(RLIMIT_FSIZE, &l) == 0;
  }
};
