// Loops spread over the cores: every index runs once whoever takes it, with
// the resident helpers, from nested loops and from two threads at once; a stop
// hands what is left to the skipping step; an error reaches the caller and the
// helpers serve again after it.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "model/parallele.h"

#if defined(__linux__)
#include <sched.h>
#endif

namespace {

// A cost that shares any loop among every helper there is.
constexpr double kTout = 1e12;

}  // namespace

TEST(Repartir, EveryIndexOnceAcrossManyLoops) {
  for (int tour = 0; tour < 300; ++tour) {
    const std::int32_t nombre = 1 + tour * 37 % 500;
    std::vector<std::atomic<int>> fois(static_cast<std::size_t>(nombre));
    model::repartir(nombre, [&](std::int32_t k) { fois[static_cast<std::size_t>(k)].fetch_add(1); }, kTout);
    for (std::int32_t k = 0; k < nombre; ++k) ASSERT_EQ(fois[static_cast<std::size_t>(k)].load(), 1) << tour << " " << k;
  }
}

TEST(Repartir, NestedLoopsAndTwoCallersAtOnceFinish) {
  std::atomic<int> total{0};
  auto boucle = [&] {
    for (int tour = 0; tour < 20; ++tour)
      model::repartir(16, [&](std::int32_t) { model::repartir(32, [&](std::int32_t) { total.fetch_add(1); }, kTout); }, kTout);
  };
  std::thread autre(boucle);
  boucle();
  autre.join();
  EXPECT_EQ(total.load(), 2 * 20 * 16 * 32);
}

TEST(Repartir, AStopSkipsWhatIsLeftAndAnErrorReachesTheCaller) {
  const auto appelant = std::this_thread::get_id();
  std::atomic<int> faits{0}, sautes{0};
  int suites = 0;
  // The helpers are slow, so the caller's third index comes long before the end.
  model::repartir(
      2000,
      [&](std::int32_t) {
        if (std::this_thread::get_id() != appelant) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        faits.fetch_add(1);
      },
      [&] { return ++suites < 3; }, [&](std::int32_t) { sautes.fetch_add(1); }, kTout);
  EXPECT_EQ(suites, 3);
  EXPECT_EQ(faits.load() + sautes.load(), 2000);
  EXPECT_GT(sautes.load(), 1000);

  std::atomic<int> apres{0};
  EXPECT_THROW(model::repartir(
                   5000,
                   [&](std::int32_t k) {
                     if (k == 1000) throw std::runtime_error("step");
                     apres.fetch_add(1);
                   },
                   kTout),
               std::runtime_error);
  EXPECT_LT(apres.load(), 5000);
  std::atomic<int> tous{0};
  model::repartir(5000, [&](std::int32_t) { tous.fetch_add(1); }, kTout);
  EXPECT_EQ(tous.load(), 5000);
}

// A team is had by one caller at a time; giving it back waits for the helpers
// that took part, and withdraws the places no helper has taken.
TEST(Equipe, OneCallerAtATimeAndGivingBackWaitsForTheHelpersAtWork) {
  model::Equipe equipe(3);
  struct Compte {
    std::atomic<int> debuts{0}, fins{0};
  } compte;
  const auto tache = [](void* p, int) {
    auto& c = *static_cast<Compte*>(p);
    c.debuts.fetch_add(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    c.fins.fetch_add(1);
  };
  for (int tour = 0; tour < 3; ++tour) {
    ASSERT_TRUE(equipe.prendre());
    EXPECT_FALSE(equipe.prendre());
    EXPECT_EQ(equipe.lancer(10, tache, &compte), 3);
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (compte.debuts.load() == 3 * tour && std::chrono::steady_clock::now() < limite) std::this_thread::yield();
    equipe.rendre();
    EXPECT_EQ(compte.fins.load(), compte.debuts.load());
    EXPECT_LE(compte.debuts.load(), 3 * (tour + 1));
    // Helpers that came too late run nothing now.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(compte.fins.load(), compte.debuts.load());
    compte.debuts.store(3 * (tour + 1));
    compte.fins.store(3 * (tour + 1));
  }
}

// A loop takes one thread per minimal share of its cost, within the helpers
// allowed and the indices it has; none for a loop without a cost.
TEST(Repartir, ThreadsFollowTheCostWithinTheHelpersAllowed) {
  const model::Partage avant = model::partage();
  const int machine = 1 + model::aides_paralleles();
  model::fixer_partage({.aides = 7, .part_minimale = 100e3});
  EXPECT_EQ(model::participants_pour(1000, 0), 1);
  EXPECT_EQ(model::participants_pour(1000, 199e3), 1);
  EXPECT_EQ(model::participants_pour(1000, 300e3), std::min(3, machine));
  EXPECT_EQ(model::participants_pour(1000, 1e12), std::min(8, machine));
  EXPECT_EQ(model::participants_pour(2, 1e12), std::min(2, machine));
  EXPECT_EQ(model::participants_pour(1, 1e12), 1);
  model::fixer_partage({.aides = 3, .part_minimale = 0});
  EXPECT_EQ(model::participants_pour(1000, 1), std::min(4, machine));
  EXPECT_EQ(model::participants_pour(1000, 0), 1);
  model::fixer_partage({.aides = 0, .part_minimale = 0});
  EXPECT_EQ(model::participants_pour(1000, 1e12), 1);

  // Whatever the count, each index runs once.
  for (int aides : {0, 1, 3, 7}) {
    model::fixer_partage({.aides = aides, .part_minimale = 0});
    std::vector<std::atomic<int>> fois(777);
    model::repartir(777, [&](std::int32_t k) { fois[static_cast<std::size_t>(k)].fetch_add(1); }, 1.0);
    for (std::size_t k = 0; k < fois.size(); ++k) ASSERT_EQ(fois[k].load(), 1) << aides << " " << k;
  }
  model::fixer_partage(avant);
}

// Own shares cut by weight: consecutive, covering every index, each within
// one index's weight of an equal part of the total; by count when nothing
// weighs. Weighted loops still run every index once, whatever the count.
TEST(Repartir, SharesCutByWeightHoldAboutTheSameWork) {
  auto cumuls_de = [](const std::vector<double>& poids) {
    std::vector<double> c(poids.size());
    double s = 0;
    for (std::size_t k = 0; k < poids.size(); ++k) c[k] = s += poids[k];
    return c;
  };
  // The rows of a triangular lattice: row k holds 2049 - k nodes.
  std::vector<double> rangees(2049);
  for (std::size_t k = 0; k < rangees.size(); ++k) rangees[k] = double(rangees.size() - k);
  for (int parts : {2, 3, 8}) {
    const std::vector<double> c = cumuls_de(rangees);
    std::array<std::int32_t, 9> d{};
    model::detail::decouper(c, parts, d.data());
    EXPECT_EQ(d[0], 0);
    EXPECT_EQ(d[static_cast<std::size_t>(parts)], 2049);
    for (int p = 0; p < parts; ++p) {
      const auto a = static_cast<std::size_t>(d[static_cast<std::size_t>(p)]);
      const auto b = static_cast<std::size_t>(d[static_cast<std::size_t>(p) + 1]);
      ASSERT_LT(a, b) << parts << " " << p;
      const double part = c[b - 1] - (a > 0 ? c[a - 1] : 0.0);
      EXPECT_NEAR(part, c.back() / parts, 2049.0) << parts << " " << p;
    }
    // The heavy first rows make the first share the shortest.
    EXPECT_LT(d[1] - d[0], d[static_cast<std::size_t>(parts)] - d[static_cast<std::size_t>(parts) - 1]);
  }
  std::array<std::int32_t, 9> d{};
  model::detail::decouper(cumuls_de(std::vector<double>(10, 0.0)), 4, d.data());
  EXPECT_EQ((std::vector<std::int32_t>(d.begin(), d.begin() + 5)), (std::vector<std::int32_t>{0, 2, 5, 7, 10}));
  model::detail::decouper(cumuls_de({5, 0, 0}), 8, d.data());
  for (int p = 0; p < 8; ++p) EXPECT_LE(d[static_cast<std::size_t>(p)], d[static_cast<std::size_t>(p) + 1]);
  EXPECT_EQ(d[8], 3);

  const model::Partage avant = model::partage();
  for (int aides : {0, 1, 3, 7}) {
    model::fixer_partage({.aides = aides, .part_minimale = 0});
    std::vector<std::atomic<int>> fois(901);
    // Weights that fall, some nil, one negative (taken as nil).
    model::repartir(901, [&](std::int32_t k) { fois[static_cast<std::size_t>(k)].fetch_add(1); }, 1.0,
                    [](std::int32_t k) { return k % 7 == 0 ? 0 : k == 5 ? -3 : 1000 - k; });
    for (std::size_t k = 0; k < fois.size(); ++k) ASSERT_EQ(fois[k].load(), 1) << aides << " " << k;
  }
  model::fixer_partage(avant);
}

#if defined(__linux__)
// Helpers, resident or started for a nested loop, run as batch threads (they
// wait for a free processor rather than preempt the caller that wakes them);
// the caller keeps its own policy.
TEST(Repartir, HelpersRunAsBatchThreadsAndTheCallerKeepsItsPolicy) {
  const model::Partage avant = model::partage();
  model::fixer_partage({.aides = 3, .part_minimale = 0});
  const auto appelant = std::this_thread::get_id();
  const int politique = sched_getscheduler(0);
  std::atomic<int> aides{0}, autres{0};
  auto noter = [&] {
    if (std::this_thread::get_id() == appelant) return;
    (sched_getscheduler(0) == SCHED_BATCH ? aides : autres).fetch_add(1);
  };
  // The caller is slow, so the helpers take indices of both loops.
  model::repartir(8, [&](std::int32_t) {
    noter();
    model::repartir(8, [&](std::int32_t) {
      if (std::this_thread::get_id() == appelant) std::this_thread::sleep_for(std::chrono::milliseconds(2));
      noter();
    }, 1.0);
    if (std::this_thread::get_id() == appelant) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }, 1.0);
  model::fixer_partage(avant);
  EXPECT_EQ(sched_getscheduler(0), politique);
  if (model::aides_paralleles() == 0) GTEST_SKIP() << "one processor: no helper";
  EXPECT_GT(aides.load(), 0);
  EXPECT_EQ(autres.load(), 0);
}
#endif

// The automatic count: the further processors less those the others keep
// busy, to the nearest, never below half of them; none on one processor.
// Loops follow it unless a count is fixed.
TEST(Repartir, AutomaticHelpersLeaveTheBusyProcessorsWithinHalfOfThem) {
  EXPECT_EQ(model::aides_pour_charge(8, 0.0), 7);
  EXPECT_EQ(model::aides_pour_charge(8, 0.2), 7);  // a daemon's few ticks
  EXPECT_EQ(model::aides_pour_charge(8, 1.7), 5);
  EXPECT_EQ(model::aides_pour_charge(8, 2.0), 5);
  EXPECT_EQ(model::aides_pour_charge(8, 12.0), 4);  // half of the further processors at least
  EXPECT_EQ(model::aides_pour_charge(8, -3.0), 7);
  EXPECT_EQ(model::aides_pour_charge(4, 1.2), 2);
  EXPECT_EQ(model::aides_pour_charge(2, 5.0), 1);
  EXPECT_EQ(model::aides_pour_charge(1, 0.0), 0);
  EXPECT_EQ(model::aides_pour_charge(64, 0.0), 7);

  const int disponibles = model::aides_disponibles();
  EXPECT_GE(disponibles, model::aides_paralleles() / 2);
  EXPECT_LE(disponibles, model::aides_paralleles());
  const model::Partage avant = model::partage();
  EXPECT_EQ(model::Partage{}.aides, model::Partage::kAutomatique);
  model::fixer_partage({.aides = model::Partage::kAutomatique, .part_minimale = 0});
  const int automatique = model::participants_pour(1000, 1.0);
  EXPECT_GE(automatique, 1 + model::aides_paralleles() / 2);
  EXPECT_LE(automatique, 1 + model::aides_paralleles());
  EXPECT_EQ(model::participants_pour(1000, 0), 1);
  model::fixer_partage({.aides = 7, .part_minimale = 0});
  EXPECT_EQ(model::participants_pour(1000, 1.0), 1 + model::aides_paralleles()) << "a fixed count ignores the load";
  model::fixer_partage(avant);
}

// A team's shares follow its ranks' speed: a rank that ran its share slower
// than the others gets a smaller one next time (halfway there each loop,
// within bounds); ranks with too little work to tell, or a loop with fewer
// than two of them, change nothing.
TEST(Repartir, SharesFollowTheSpeedOfEachRank) {
  double lenteurs[4] = {1.0, 1.0, 1.0, 1.0};
  // Ranks 0 and 1 at 90 ns a unit, rank 2 at 180, rank 3 with too little work.
  const double cpu[4] = {900e3, 900e3, 1800e3, 20e3};
  const double poids[4] = {10000, 10000, 10000, 100};
  model::detail::ajuster_lenteurs(4, cpu, poids, lenteurs);
  EXPECT_NEAR(lenteurs[0], 0.5 + 0.5 * 90 / 120, 1e-9);
  EXPECT_NEAR(lenteurs[2], 0.5 + 0.5 * 180 / 120, 1e-9);
  EXPECT_EQ(lenteurs[3], 1.0);
  for (int tour = 0; tour < 20; ++tour) model::detail::ajuster_lenteurs(4, cpu, poids, lenteurs);
  EXPECT_NEAR(lenteurs[2] / lenteurs[0], 2.0, 1e-6);
  const double rien[4] = {900e3, 10e3, 0, 0};
  const double avant = lenteurs[0];
  model::detail::ajuster_lenteurs(4, rien, poids, lenteurs);
  EXPECT_EQ(lenteurs[0], avant);
  const double extremes[4] = {100e3, 100e6, 100e6, 100e6};
  double bornees[4] = {1.0, 1.0, 1.0, 1.0};
  for (int tour = 0; tour < 40; ++tour) model::detail::ajuster_lenteurs(4, extremes, poids, bornees);
  EXPECT_DOUBLE_EQ(bornees[0], 0.5);
  const double un_lent[4] = {100e3, 100e3, 100e3, 100e6};
  for (int tour = 0; tour < 40; ++tour) model::detail::ajuster_lenteurs(4, un_lent, poids, bornees);
  EXPECT_DOUBLE_EQ(bornees[3], 2.5);

  double f[4];
  const double l[4] = {1.0, 1.0, 2.0, 0.0};  // 0: taken as the fastest allowed
  model::detail::fractions_pour(4, l, f);
  EXPECT_NEAR(f[0] + f[1] + f[2] + f[3], 1.0, 1e-12);
  EXPECT_NEAR(f[0], 2 * f[2], 1e-12);
  EXPECT_NEAR(f[3], 4 * f[2], 1e-12);

  // The cut follows the fractions, by weight and by count.
  const double moitie_quart[3] = {0.5, 0.25, 0.25};
  std::vector<double> cumuls(100);
  for (std::size_t k = 0; k < cumuls.size(); ++k) cumuls[k] = double(k + 1);
  std::array<std::int32_t, 9> d{};
  model::detail::decouper(cumuls, 3, d.data(), moitie_quart);
  EXPECT_EQ((std::vector<std::int32_t>(d.begin(), d.begin() + 4)), (std::vector<std::int32_t>{0, 50, 75, 100}));
  model::detail::decouper(100, 3, d.data(), moitie_quart);
  EXPECT_EQ((std::vector<std::int32_t>(d.begin(), d.begin() + 4)), (std::vector<std::int32_t>{0, 50, 75, 100}));
  model::detail::decouper(100, 3, d.data());
  EXPECT_EQ((std::vector<std::int32_t>(d.begin(), d.begin() + 4)), (std::vector<std::int32_t>{0, 33, 66, 100}));
}
