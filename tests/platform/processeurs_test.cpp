#include "platform/processeurs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <map>
#include <string>
#include <thread>
#include <vector>

using namespace platform;

TEST(Processeurs, QuotaFilesOfBothHierarchies) {
  EXPECT_FALSE(quota_cpu_max("max 100000\n"));
  EXPECT_DOUBLE_EQ(*quota_cpu_max("150000 100000\n"), 1.5);
  EXPECT_DOUBLE_EQ(*quota_cpu_max("100000 100000"), 1.0);
  EXPECT_DOUBLE_EQ(*quota_cpu_max("50000 100000"), 0.5);
  EXPECT_DOUBLE_EQ(*quota_cpu_max("800000 100000"), 8.0);
  for (const char* faux : {"", "max", "150000", "abc 100000", "150000 0", "-5 100000", "150000 10x"})
    EXPECT_FALSE(quota_cpu_max(faux)) << faux;
  EXPECT_FALSE(quota_cfs("-1\n", "100000\n"));
  EXPECT_DOUBLE_EQ(*quota_cfs("200000\n", "100000\n"), 2.0);
  EXPECT_FALSE(quota_cfs("200000", "0"));
}

TEST(Processeurs, GroupsOfTheProcess) {
  const auto v2 = groupes_processus("0::/user.slice/session-3.scope\n");
  EXPECT_EQ(v2.unifie.value_or("?"), "/user.slice/session-3.scope");
  EXPECT_FALSE(v2.cpu);
  const auto hybride = groupes_processus(
      "9:name=systemd:/\n4:memory:/job/77\n3:cpu,cpuacct:/job/77\n2:cpuset:/\n0::/\n");
  EXPECT_EQ(hybride.unifie.value_or("?"), "/");
  EXPECT_EQ(hybride.cpu.value_or("?"), "/job/77");
  EXPECT_FALSE(groupes_processus("").unifie);
  EXPECT_FALSE(groupes_processus("garbage\n1:cpuacct:/x\n").cpu);
}

// The smallest quota along the group and its parents; a container's own group
// is seen as the root, so missing folders in between are passed over.
TEST(Processeurs, SmallestQuotaUpToTheRoot) {
  std::map<std::string, std::string> fichiers;
  const LecteurFichier lire = [&](const std::string& c) -> std::optional<std::string> {
    const auto f = fichiers.find(c);
    if (f == fichiers.end()) return std::nullopt;
    return f->second;
  };
  EXPECT_FALSE(quota_groupes("0::/a/b\n", "/cg", lire));
  fichiers["/cg/a/b/cpu.max"] = "max 100000\n";
  fichiers["/cg/a/cpu.max"] = "250000 100000\n";
  EXPECT_DOUBLE_EQ(quota_groupes("0::/a/b\n", "/cg", lire).value_or(0), 2.5);
  fichiers["/cg/a/b/cpu.max"] = "100000 100000\n";
  EXPECT_DOUBLE_EQ(quota_groupes("0::/a/b\n", "/cg", lire).value_or(0), 1.0);
  fichiers.clear();
  fichiers["/cg/cpu.max"] = "150000 100000\n";  // a container's own group
  EXPECT_DOUBLE_EQ(quota_groupes("0::/docker/abc\n", "/cg", lire).value_or(0), 1.5);
  fichiers.clear();
  fichiers["/cg/cpu,cpuacct/job/cpu.cfs_quota_us"] = "300000\n";
  fichiers["/cg/cpu,cpuacct/job/cpu.cfs_period_us"] = "100000\n";
  EXPECT_DOUBLE_EQ(quota_groupes("3:cpu,cpuacct:/job\n0::/\n", "/cg", lire).value_or(0), 3.0);
  fichiers["/cg/cpu,cpuacct/job/cpu.cfs_quota_us"] = "-1\n";
  EXPECT_FALSE(quota_groupes("3:cpu,cpuacct:/job\n0::/\n", "/cg", lire));
}

TEST(Processeurs, CountFromTheMaskAndTheQuota) {
  EXPECT_EQ(processeurs_permis(8, std::nullopt), 8);
  EXPECT_EQ(processeurs_permis(1, std::nullopt), 1);  // taskset -c 0
  EXPECT_EQ(processeurs_permis(8, 1.5), 1);
  EXPECT_EQ(processeurs_permis(8, 2.0), 2);
  EXPECT_EQ(processeurs_permis(8, 0.5), 1);
  EXPECT_EQ(processeurs_permis(2, 6.0), 2);
  EXPECT_EQ(processeurs_permis(0, std::nullopt), 1);
  EXPECT_EQ(processeurs_permis(8, 7.999999), 7);
  EXPECT_EQ(processeurs_permis(8, 8.0), 8);
  // The largest quota the kernel takes, an administrator's "no limit", read
  // through the parser: far beyond int, it must not turn the helpers off.
  EXPECT_EQ(processeurs_permis(8, quota_cpu_max("17592186044415 1000\n")), 8);
  EXPECT_EQ(processeurs_permis(8, quota_cfs("17592186044415\n", "1000\n")), 8);
  EXPECT_EQ(processeurs_permis(3, quota_cpu_max("999999999999999999 1")), 3);
  const int ici = processeurs_utilisables();
  EXPECT_GE(ici, 1);
}

// The processors the other programs keep busy, from two readings of
// /proc/stat and of this process's CPU time: only the processors of the
// affinity mask count, idle and iowait are idle, steal is busy, this
// process's own time is taken off, and a window too short, readings of
// different processors or a clock that went back give nothing.
TEST(Processeurs, OtherProgramsBusyProcessorsFromTwoReadings) {
  // user nice system idle iowait irq softirq steal guest guest_nice
  const std::string avant =
      "cpu  900 0 300 9000 100 0 0 0 0 0\n"
      "cpu0 100 0 50 1000 0 0 0 0 0 0\n"
      "cpu1 200 0 50 1000 50 0 0 0 0 0\n"
      "cpu2 300 0 100 2000 50 0 0 0 0 0\n"
      "intr 12345 1 2 3\nctxt 999\nbtime 1\n";
  const std::string apres =
      "cpu  1000 0 300 9400 100 0 0 0 0 0\n"
      "cpu0 150 0 50 1050 0 0 0 0 0 0\n"   // half busy over 100 ticks
      "cpu1 200 0 50 1090 60 0 0 0 0 0\n"  // idle (iowait is idle)
      "cpu2 380 0 100 2000 50 0 0 20 0 0\n"  // busy, a fifth of it stolen
      "intr 12399 1 2 3\n";
  const auto a = lire_stat(avant, {});
  const auto b = lire_stat(apres, {});
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->processeurs, 3);
  EXPECT_EQ(a->occupe, 100 + 50 + 200 + 50 + 300 + 100);
  EXPECT_EQ(a->total, a->occupe + 1000 + 1000 + 50 + 2000 + 50);
  ReleveProcesseurs ra = *a, rb = *b;
  ra.secondes = 10.0;
  rb.secondes = 11.0;
  ra.cpu_propre = 5.0;
  rb.cpu_propre = 5.25;  // this process kept a quarter of a processor busy
  // 50 + 0 + 100 busy ticks of 300: 1.5 processors, less this process's 0.25.
  ASSERT_TRUE(occupes_autres(ra, rb));
  EXPECT_NEAR(*occupes_autres(ra, rb), 1.25, 1e-9);
  // Only the processors of the mask: cpu1 alone was idle.
  const std::vector<bool> masque{false, true};
  auto c = lire_stat(avant, masque), d = lire_stat(apres, masque);
  ASSERT_TRUE(c && d);
  EXPECT_EQ(c->processeurs, 1);
  c->secondes = 10.0;
  d->secondes = 11.0;
  EXPECT_NEAR(*occupes_autres(*c, *d), 0.0, 1e-9);
  // This process's time beyond what the processors show leaves none busy.
  rb.cpu_propre = 9.0;
  EXPECT_EQ(*occupes_autres(ra, rb), 0.0);
  rb.cpu_propre = 5.25;
  // Nothing to say: too short a window, other processors, times that went back.
  rb.secondes = ra.secondes + kFenetreReleves / 2;
  EXPECT_FALSE(occupes_autres(ra, rb));
  rb.secondes = 11.0;
  EXPECT_FALSE(occupes_autres(ra, *d));
  EXPECT_FALSE(occupes_autres(rb, ra));
  // Lines that are not those of a processor, or cut short, give nothing.
  EXPECT_FALSE(lire_stat("cpu  1 2 3 4 5\nintr 1\n", {}));
  EXPECT_FALSE(lire_stat("cpu0 1 2 3\n", {}));
  EXPECT_FALSE(lire_stat("cpu0 1 2 3 4 99999999999999999999\n", {}));
  EXPECT_FALSE(lire_stat("cpu0x 1 2 3 4 5\n", {}));
  EXPECT_FALSE(lire_stat("", {}));
  EXPECT_FALSE(lire_stat(avant, {false, false, false}));
}

// The load average for want of two readings: the load of the last minute,
// bounded by the threads runnable now besides the caller (it also counts this
// program's own work just before), read with a dot whatever the locale.
TEST(Processeurs, LoadAverageBoundedByTheThreadsRunnable) {
  const auto c = lire_charge("6.50 3.10 1.05 5/812 40213\n");
  ASSERT_TRUE(c);
  EXPECT_DOUBLE_EQ(c->minute, 6.5);
  EXPECT_EQ(c->executables, 5);
  EXPECT_DOUBLE_EQ(occupes_selon_charge(*c), 4.0);  // four other threads running now
  EXPECT_DOUBLE_EQ(occupes_selon_charge({6.5, 1}), 0.0);  // a load left by our own renders
  EXPECT_DOUBLE_EQ(occupes_selon_charge({2.5, 9}), 2.5);  // a momentary crowd above the average
  EXPECT_DOUBLE_EQ(occupes_selon_charge({2.5, 0}), 2.5);  // no count of runnable threads
  EXPECT_DOUBLE_EQ(occupes_selon_charge({-1.0, 0}), 0.0);
  // The runnable threads are optional; the load is not.
  const auto seule = lire_charge("0.25 0.20 0.10");
  ASSERT_TRUE(seule);
  EXPECT_DOUBLE_EQ(seule->minute, 0.25);
  EXPECT_EQ(seule->executables, 0);
  EXPECT_EQ(lire_charge("0.25 0.20 0.10 x/9 1")->executables, 0);
  for (const char* faux : {"", "\n", "0,52 0,58 0,59 3/467 1", "abc 1 1 1/1 1", "-1.0 0 0 1/1 1", "nan 0 0 1/1 1"})
    EXPECT_FALSE(lire_charge(faux)) << faux;
}

namespace {

// A machine as the measure sees it: readings made on demand from given ticks.
struct MachineFictive {
  double horloge = 100.0;
  std::int64_t occupe = 0, total = 0;  // over two processors
  double cpu_propre = 0.0;
  int processeurs = 2;
  bool stat_lisible = true;
  std::optional<ChargeMachine> charge = ChargeMachine{1.5, 3};
  int releves = 0, charges = 0;

  // `autres` processors kept busy by the others and `propres` by this
  // process, for `secondes` at 100 ticks a second.
  void avancer(double secondes, double autres, double propres) {
    horloge += secondes;
    total += std::int64_t(secondes * 100 * processeurs);
    occupe += std::int64_t(secondes * 100 * (autres + propres));
    cpu_propre += secondes * propres;
  }
  MesureOccupation::Sources sources() {
    return {
        .relever = [this]() -> std::optional<ReleveProcesseurs> {
          ++releves;
          if (!stat_lisible) return std::nullopt;
          return ReleveProcesseurs{horloge, cpu_propre, occupe, total, processeurs};
        },
        .charge = [this] {
          ++charges;
          return charge;
        },
        .horloge = [this] { return horloge; },
    };
  }
};

}  // namespace

// The first answer goes by the load average; from the second reading at least
// kFenetreReleves later, by the processors' times less this process's own;
// in between the last answer stands without reading anything; readings that
// do not fit keep the last measure, and a change of processors starts a new
// window.
TEST(Processeurs, MeasureOfTheOthersBusyProcessorsOverTime) {
  MachineFictive m;
  MesureOccupation mesure(m.sources());
  EXPECT_DOUBLE_EQ(mesure.occupes(), 1.5);  // the load, the runnable threads allowing it
  EXPECT_EQ(m.releves, 1);
  EXPECT_EQ(m.charges, 1);
  m.avancer(kFenetreReleves / 5, 1.0, 1.0);
  for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(mesure.occupes(), 1.5);
  EXPECT_EQ(m.releves, 1);  // within the window: nothing read
  m.avancer(1.0, 1.0, 1.0);
  EXPECT_NEAR(mesure.occupes(), 1.0, 0.02);  // two busy, one of them ours
  EXPECT_EQ(m.releves, 2);
  EXPECT_EQ(m.charges, 1);  // the load is not read once a window was measured
  m.avancer(0.5, 0.25, 1.5);
  EXPECT_NEAR(mesure.occupes(), 0.25, 0.02);
  // Counters that went back: the last measure stands, then a new window.
  m.occupe -= 1000;
  m.avancer(0.5, 1.0, 0.0);
  EXPECT_NEAR(mesure.occupes(), 0.25, 0.02);
  m.avancer(0.5, 1.0, 0.0);
  EXPECT_NEAR(mesure.occupes(), 1.0, 0.02);
  // Another mask: a new window from that reading on, the last measure meanwhile.
  m.processeurs = 4;
  m.avancer(0.5, 3.0, 0.0);
  EXPECT_NEAR(mesure.occupes(), 1.0, 0.02);
  m.avancer(0.5, 3.0, 0.0);
  EXPECT_NEAR(mesure.occupes(), 3.0, 0.02);
  // /proc unreadable: the last measure stands.
  m.stat_lisible = false;
  m.avancer(0.5, 0.0, 0.0);
  EXPECT_NEAR(mesure.occupes(), 3.0, 0.02);
  EXPECT_EQ(m.charges, 1);

  // Nothing readable at all: an idle machine; the load alone otherwise.
  MachineFictive vide;
  vide.stat_lisible = false;
  vide.charge.reset();
  MesureOccupation rien(vide.sources());
  EXPECT_DOUBLE_EQ(rien.occupes(), 0.0);
  vide.charge = ChargeMachine{2.75, 0};
  vide.avancer(1.0, 0.0, 0.0);
  EXPECT_DOUBLE_EQ(rien.occupes(), 2.75);
}

// Threads asking together all get a value of the machine, and the readings
// stay one per window however many ask.
TEST(Processeurs, MeasureAskedFromSeveralThreads) {
  std::atomic<int> releves{0};
  std::atomic<std::int64_t> temps{0};  // in microseconds, moved by the askers
  MesureOccupation mesure({
      .relever = [&]() -> std::optional<ReleveProcesseurs> {
        releves.fetch_add(1);
        const std::int64_t t = temps.load();
        return ReleveProcesseurs{double(t) * 1e-6, 0.0, t, 2 * t, 2};  // one processor busy
      },
      .charge = [] { return std::optional<ChargeMachine>(ChargeMachine{0.5, 0}); },
      .horloge = [&] { return double(temps.load()) * 1e-6; },
  });
  constexpr int kFils = 4, kAppels = 2000;
  std::vector<std::thread> fils;
  std::atomic<int> hors{0};
  for (int f = 0; f < kFils; ++f)
    fils.emplace_back([&] {
      for (int k = 0; k < kAppels; ++k) {
        temps.fetch_add(100);  // each call 100 us later
        const double v = mesure.occupes();
        if (v != 0.5 && (v < 0.98 || v > 1.02)) hors.fetch_add(1);
      }
    });
  for (auto& f : fils) f.join();
  EXPECT_EQ(hors.load(), 0);
  // 0.8 s of clock in all: at most one reading a window, and a few more
  // for callers that found the window over at the same time.
  const double fenetres = double(temps.load()) * 1e-6 / kFenetreReleves;
  EXPECT_LE(releves.load(), int(fenetres) + 1 + kFils);
  EXPECT_GE(releves.load(), 2);
}

// On this machine: a count, never negative.
TEST(Processeurs, MeasureOfThisMachine) {
  for (int k = 0; k < 3; ++k) {
    const double autres = processeurs_occupes_autres();
    EXPECT_TRUE(std::isfinite(autres));
    EXPECT_GE(autres, 0.0);
  }
}
