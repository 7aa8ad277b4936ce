// How many processors this process may really keep busy: the processors its
// affinity mask allows (taskset, a container's cpuset) and the CPU time its
// control group grants (a quota of 1.5 CPUs lets 1.5 cores' worth of work run
// per period, whatever the machine has). The helper threads of the model's
// loops and of the renderer are counted from it: threads beyond it only take
// turns with the caller on the same processors.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

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
// group's next period), never less than 1.
int processeurs_permis(int affinite, std::optional<double> quota);

// For this process now: the affinity mask (sched_getaffinity) and the quota
// of its groups (read once per process).
int processeurs_utilisables();

}  // namespace platform
