#include "platform/processeurs.h"

#include <gtest/gtest.h>

#include <map>

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
  const int ici = processeurs_utilisables();
  EXPECT_GE(ici, 1);
}
