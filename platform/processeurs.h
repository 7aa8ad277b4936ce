// How many processors this process may really keep busy: the processors its
// affinity mask allows (taskset, a container's cpuset) and the CPU time its
// control group grants (a quota of 1.5 CPUs lets 1.5 cores' worth of work run
// per period, whatever the machine has). The helper threads of the model's
// loops and of the renderer are counted from it: threads beyond it only take
// turns with the caller on the same processors.
//
// And how many of them the other programs keep busy now, the one measure both
// teams of helpers start from (each then decides its own count from it).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The quota of a cgroup v2 `cpu.max` ("max 100000": none; "150000 100000":
// 1.5 CPUs). Anything unreadable counts as no quota.
std::optional<double> quota_cpu_max(std::string_view contenu);
// The quota of a cgroup v1 pair `cpu.cfs_quota_us` / `cpu.cfs_period_us`
// ("-1": none).
std::optional<double> quota_cfs(std::string_view quota, std::string_view periode);

// The process's groups as `/proc/self/cgroup` lists them: the unified (v2)
// one ("0::/path") and the one of the v1 cpu controller ("4:cpu,cpuacct:/path").
struct GroupesProcessus {
  std::optional<std::string> unifie;
  std::optional<std::string> cpu;
};
GroupesProcessus groupes_processus(std::string_view proc_self_cgroup);

// Reads a whole small file; nothing when it cannot be read.
using LecteurFichier = std::function<std::optional<std::string>(const std::string& chemin)>;

// The smallest quota along the process's groups and their parents up to the
// hierarchy's root (a container sees its own group as the root), read through
// `lire` under `racine` (normally /sys/fs/cgroup); nothing when no group has one.
std::optional<double> quota_groupes(std::string_view proc_self_cgroup, const std::string& racine,
                                    const LecteurFichier& lire);

// Processors to use from the affinity count and the quota: the lesser of the
// two, the quota rounded down (a thread beyond it would mostly wait for the
// group's next period), never less than 1. A quota at or above the affinity
// count is no quota.
int processeurs_permis(int affinite, std::optional<double> quota);

// For this process now: the affinity mask (sched_getaffinity) and the quota
// of its groups (read once per process).
int processeurs_utilisables();

// What the processors did up to a moment: the ticks of `/proc/stat` over the
// processors counted, and this process's own CPU time.
struct ReleveProcesseurs {
  double secondes = 0.0;     // a steady clock
  double cpu_propre = 0.0;   // seconds of CPU of every thread of this process
  std::int64_t occupe = 0;   // ticks not idle (iowait counts as idle, steal as busy)
  std::int64_t total = 0;
  int processeurs = 0;       // processors counted
};
// Two readings closer than this (seconds) tell nothing: the kernel counts
// ticks of 10 ms.
inline constexpr double kFenetreReleves = 0.05;

// Reads the per-processor lines of `/proc/stat` ("cpuN user nice system idle
// iowait irq softirq steal ..."), counting processor N when permis(N) (all
// when permis is empty); nothing when no line could be read.
std::optional<ReleveProcesseurs> lire_stat(std::string_view stat, const std::vector<bool>& permis);
// The processors the other programs kept busy between two readings of the
// same processors: those busy on average less this process's own share (its
// helpers included); nothing when the window is shorter than
// kFenetreReleves or the readings do not fit.
std::optional<double> occupes_autres(const ReleveProcesseurs& avant, const ReleveProcesseurs& apres);

// The load average of the last minute and the threads runnable now, from
// `/proc/loadavg` ("0.52 0.58 0.59 3/467 12345"); nothing when unreadable.
struct ChargeMachine {
  double minute = 0.0;
  int executables = 0;
};
std::optional<ChargeMachine> lire_charge(std::string_view loadavg);
// The processors the others keep busy as a load average tells it, for want of
// two readings: the load of the last minute also counts this program's own
// work just before, so the threads runnable now besides the caller bound it
// (0: not known).
double occupes_selon_charge(const ChargeMachine& charge);

// The processors the other programs keep busy, measured between two readings
// of the processors' times at least kFenetreReleves apart; before the first
// such pair, from the load average. Within kFenetreReleves of its last
// reading it gives the same value again without reading anything, so a loop
// may ask every few hundred microseconds. Safe to call from several threads.
class MesureOccupation {
 public:
  struct Sources {
    std::function<std::optional<ReleveProcesseurs>()> relever;  // the processors' times now
    std::function<std::optional<ChargeMachine>()> charge;       // the load average now
    std::function<double()> horloge;                            // a steady clock, in seconds
  };
  explicit MesureOccupation(Sources sources);

  double occupes();

 private:
  double mesurer(double maintenant);  // under garde_

  Sources sources_;
  std::mutex garde_;
  std::optional<ReleveProcesseurs> dernier_;  // under garde_: the start of the next window
  bool mesure_ = false;                       // under garde_: a window was measured
  std::atomic<double> valeur_{0.0};
  std::atomic<double> lue_{-1.0};  // when the last reading was made (-1: never)
};

// For this machine now: `/proc/stat` over the affinity mask, this process's
// CPU time and `/proc/loadavg`, process-wide.
double processeurs_occupes_autres();

}  // namespace platform
