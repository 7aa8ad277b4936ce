// The CPU time of the whole process (every thread, helpers included), for
// benchmarks whose work is spread over threads: their own CPU column counts
// the calling thread alone.
#pragma once

#include <ctime>

inline double cpu_processus_ms() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
}
