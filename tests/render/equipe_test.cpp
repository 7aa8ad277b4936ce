#include "render/equipe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

using namespace render;

// Every index of every batch runs exactly once, on a helper or in aider(),
// whether the batches follow each other at once (helpers still at work on the
// last one) or after pauses (they sleep and are woken, two by the caller and
// two more by each woken helper); the team then ends at once.
TEST(Equipe, EveryIndexOnceWhetherHelpersWatchOrSleep) {
  for (int aides : {1, 3, 7}) {
    Equipe equipe(aides);
    for (int lot = 0; lot < 40; ++lot) {
      const int nombre = 1 + (lot * 37) % 200;
      std::vector<std::atomic<int>> vus(static_cast<std::size_t>(nombre));
      const std::function<void(std::int32_t)> travail = [&](std::int32_t k) {
        vus[static_cast<std::size_t>(k)].fetch_add(1, std::memory_order_release);
      };
      equipe.lancer(nombre, travail);
      if (lot % 4 == 3) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      equipe.aider();
      // aider() leaves the indices a helper took: wait for those.
      for (int k = 0; k < nombre; ++k)
        while (vus[static_cast<std::size_t>(k)].load(std::memory_order_acquire) == 0) std::this_thread::yield();
      // A further batch closes this one; nothing runs twice.
      for (int k = 0; k < nombre; ++k) ASSERT_EQ(vus[static_cast<std::size_t>(k)].load(), 1) << aides << " " << lot;
      const std::function<void(std::int32_t)> rien = [](std::int32_t) {};
      equipe.lancer(0, rien);
    }
    // After a sleep every helper is asleep: they are woken for the batch.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::atomic<int> faits{0};
    const std::function<void(std::int32_t)> compte = [&](std::int32_t) {
      faits.fetch_add(1);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    };
    equipe.lancer(64, compte);
    equipe.aider();
    while (faits.load() < 64) std::this_thread::yield();
    EXPECT_EQ(faits.load(), 64);
  }
}

// A team ends while its helpers are still watching for a batch, or were
// never given one.
TEST(Equipe, EndsWhileHelpersWatch) {
  for (int k = 0; k < 20; ++k) {
    Equipe equipe(3);
    std::atomic<int> faits{0};
    const std::function<void(std::int32_t)> compte = [&](std::int32_t) { faits.fetch_add(1); };
    if (k % 2 == 0) {
      equipe.lancer(8, compte);
      equipe.aider();
      while (faits.load() < 8) std::this_thread::yield();
    }
    EXPECT_EQ(faits.load(), k % 2 == 0 ? 8 : 0);
  }
}

// One caller at a time takes the team with a number of its helpers: the
// others sleep (no index runs on them), and giving the team back waits for
// every index a helper took, so the caller may free the work at once.
TEST(Equipe, TakenWithSomeHelpersAndGivenBackAfterTheirLastIndex) {
  Equipe equipe(3);
  for (int aides : {0, 1, 3, 2}) {
    ASSERT_TRUE(equipe.prendre(aides));
    EXPECT_FALSE(equipe.prendre(1));  // taken
    std::mutex garde;
    std::set<std::thread::id> fils;
    auto faits = std::make_unique<std::atomic<int>>(0);
    const std::function<void(std::int32_t)> travail = [&](std::int32_t) {
      {
        const std::lock_guard<std::mutex> verrou(garde);
        fils.insert(std::this_thread::get_id());
      }
      std::this_thread::sleep_for(std::chrono::microseconds(300));
      faits->fetch_add(1);
    };
    for (int lot = 0; lot < 6; ++lot) {
      equipe.lancer(40, travail);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      equipe.aider();
      while (faits->load() < 40 * (lot + 1)) std::this_thread::yield();
    }
    fils.erase(std::this_thread::get_id());
    EXPECT_LE(static_cast<int>(fils.size()), aides);
    // A batch left running: every index a helper took ends before rendre()
    // returns, and none starts after it.
    equipe.lancer(400, travail);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    equipe.rendre();
    const int a_la_fin = faits->load();
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    EXPECT_EQ(faits->load(), a_la_fin);
    EXPECT_LT(a_la_fin, 6 * 40 + 400);
  }
  EXPECT_GE(Equipe::commune().taille(), 0);
  EXPECT_LE(Equipe::commune().taille(), 7);
}

// The helpers taking part change during a batch's life: those left out take
// no further index, the caller's aider() says how many indices it ran itself,
// and every index still runs once.
TEST(Equipe, HelpersTakingPartChangeBetweenBatches) {
  Equipe equipe(4);
  ASSERT_TRUE(equipe.prendre(4));
  std::mutex garde;
  std::set<std::thread::id> fils;
  std::atomic<int> faits{0};
  const std::function<void(std::int32_t)> travail = [&](std::int32_t) {
    {
      const std::lock_guard<std::mutex> verrou(garde);
      fils.insert(std::this_thread::get_id());
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    faits.fetch_add(1);
  };
  int attendus = 0;
  for (int aides : {4, 1, 0, 2}) {
    equipe.participants(aides);
    {
      const std::lock_guard<std::mutex> verrou(garde);
      fils.clear();
    }
    for (int lot = 0; lot < 4; ++lot) {
      equipe.lancer(30, travail);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      const std::int32_t propres = equipe.aider();
      EXPECT_GE(propres, 0);
      EXPECT_LE(propres, 30);
      if (aides == 0) {
        EXPECT_EQ(propres, 30);  // nobody else takes part
      }
      attendus += 30;
      while (faits.load() < attendus) std::this_thread::yield();
    }
    const std::lock_guard<std::mutex> verrou(garde);
    fils.erase(std::this_thread::get_id());
    EXPECT_LE(static_cast<int>(fils.size()), aides) << aides;
  }
  equipe.rendre();
  EXPECT_EQ(faits.load(), attendus);
}

namespace {

// Waits until `fait` holds, at most a few seconds (a batch whose indices were
// lost would otherwise hang the test); says whether it held.
template <class F>
bool attendre(F fait) {
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!fait())
    if (std::chrono::steady_clock::now() > limite) return false;
    else std::this_thread::yield();
  return true;
}

}  // namespace

// Two batches are open at once: helpers that finish the older one go on with
// the newer one, the caller finishes either by its number, and a third batch
// closes the oldest (its untaken indices then run nowhere, and aider() on it
// runs nothing). Every index still runs at most once, and every index of a
// batch that the caller helped with runs exactly once.
TEST(Equipe, TwoOpenBatchesTheOlderFirstAndAThirdClosesTheOldest) {
  for (int aides : {0, 2, 5}) {
    Equipe equipe(aides);
    constexpr int kLots = 30, kNombre = 48;
    std::vector<std::atomic<int>> vus(static_cast<std::size_t>(kLots * kNombre));
    std::vector<std::function<void(std::int32_t)>> travaux;
    travaux.reserve(kLots);
    for (int lot = 0; lot < kLots; ++lot)
      travaux.emplace_back([&vus, lot](std::int32_t k) {
        vus[static_cast<std::size_t>(lot * kNombre + k)].fetch_add(1, std::memory_order_release);
        std::this_thread::sleep_for(std::chrono::microseconds(20));
      });
    std::vector<std::uint32_t> numeros;
    for (int lot = 0; lot < kLots; ++lot) {
      numeros.push_back(equipe.lancer(kNombre, travaux[static_cast<std::size_t>(lot)]));
      if (lot > 0) EXPECT_NE(numeros[static_cast<std::size_t>(lot)], numeros[static_cast<std::size_t>(lot) - 1]);
      // The caller finishes the batch before the last one, as a render
      // finishes a line before drawing it; every third time it skips it,
      // and the next batch closes it.
      if (lot >= 1 && lot % 3 != 0) {
        const std::uint32_t ancien = numeros[static_cast<std::size_t>(lot) - 1];
        const std::int32_t propres = equipe.aider(ancien);
        EXPECT_GE(propres, 0);
        EXPECT_LE(propres, kNombre);
        if (aides == 0) EXPECT_EQ(propres, kNombre);
        EXPECT_EQ(equipe.aider(ancien), 0);  // nothing left
        for (int k = 0; k < kNombre; ++k)
          ASSERT_TRUE(attendre([&] {
            return vus[static_cast<std::size_t>((lot - 1) * kNombre + k)].load(std::memory_order_acquire) != 0;
          })) << aides << " " << lot << " " << k;
      }
    }
    // The last batch and the one before: the caller may still finish them.
    for (int lot = kLots - 2; lot < kLots; ++lot) {
      equipe.aider(numeros[static_cast<std::size_t>(lot)]);
      for (int k = 0; k < kNombre; ++k)
        ASSERT_TRUE(attendre([&] {
          return vus[static_cast<std::size_t>(lot * kNombre + k)].load(std::memory_order_acquire) != 0;
        })) << aides << " " << lot << " " << k;
    }
    // A batch two batches old is closed: the caller finds nothing of it.
    const std::uint32_t vieux = numeros[static_cast<std::size_t>(kLots - 3)];
    EXPECT_EQ(equipe.aider(vieux), 0);
    if (equipe.prendre(0)) equipe.rendre();  // waits for the helpers' last indices
    for (std::size_t k = 0; k < vus.size(); ++k) ASSERT_LE(vus[k].load(), 1) << aides << " " << k;
    for (int lot = 0; lot < kLots; ++lot)
      if ((lot + 1) % 3 != 0 || lot >= kLots - 2)
        for (int k = 0; k < kNombre; ++k)
          ASSERT_EQ(vus[static_cast<std::size_t>(lot * kNombre + k)].load(), 1) << aides << " " << lot << " " << k;
  }
}

// A helper that finishes the older batch takes the newer one's indices
// without being woken for it: with one helper and a caller that never helps,
// both batches are done.
TEST(Equipe, AHelperGoesOnWithTheNewerBatch) {
  Equipe equipe(1);
  ASSERT_TRUE(equipe.prendre(1));
  std::atomic<int> faits{0};
  const std::function<void(std::int32_t)> travail = [&](std::int32_t) {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
    faits.fetch_add(1);
  };
  equipe.lancer(20, travail);
  equipe.lancer(20, travail);
  EXPECT_TRUE(attendre([&] { return faits.load() == 40; })) << faits.load();
  equipe.rendre();
}

// The count of helpers taking part in a render's lines: it rises when the
// drawing computed parts of two lines in a row or most of one, falls after a
// run of lines that one fewer would have computed in time, stays within
// 1..maximum, and the next render starts with the count that held over most
// lines rather than the last one.
TEST(ReglageAides, RisesWhenLateFallsWhenAtEaseAndKeepsTheCountOfMostLines) {
  constexpr int kParts = 32;
  {
    ReglageAides r(2, 7);
    EXPECT_EQ(r.retenu(), 0);
    EXPECT_EQ(r.ligne(kParts, 1, -1.0, 1.0), 2);  // one late line: a helper may have lost its core
    EXPECT_EQ(r.ligne(kParts, 0, 0.5, 1.0), 2);
    EXPECT_EQ(r.ligne(kParts, 2, -1.0, 1.0), 2);
    EXPECT_EQ(r.ligne(kParts, 1, -1.0, 1.0), 3);  // two in a row
    EXPECT_EQ(r.ligne(kParts, 1, -1.0, 1.0), 3);  // two new ones for the next
    EXPECT_EQ(r.ligne(kParts, 1, -1.0, 1.0), 4);
    EXPECT_EQ(r.ligne(kParts, 9, -1.0, 1.0), 5);  // more than a helper's share at once
    for (int k = 0; k < 10; ++k) r.ligne(kParts, kParts, -1.0, 1.0);
    EXPECT_EQ(r.aides(), 7);  // never above the maximum
  }
  {
    // Three helpers that finish in 0.3 of a line's drawing: two would have
    // taken 0.45 < 0.8, so one fewer after kLignesAisees such lines; two
    // that take 0.45 would leave one at 0.9: no further fall.
    ReglageAides r(3, 7);
    for (int k = 0; k + 1 < ReglageAides::kLignesAisees; ++k) EXPECT_EQ(r.ligne(kParts, 0, 0.3, 1.0), 3);
    EXPECT_EQ(r.ligne(kParts, 0, 0.3, 1.0), 2);
    for (int k = 0; k < 3 * ReglageAides::kLignesAisees; ++k) EXPECT_EQ(r.ligne(kParts, 0, 0.45, 1.0), 2);
    // A line in between that was late or not finished breaks the run.
    ReglageAides s(3, 7);
    for (int k = 0; k < 3 * ReglageAides::kLignesAisees; ++k)
      s.ligne(kParts, 0, k % ReglageAides::kLignesAisees == 4 ? -1.0 : 0.3, 1.0);
    EXPECT_EQ(s.aides(), 3);
    // Never below one helper.
    ReglageAides u(1, 7);
    for (int k = 0; k < 3 * ReglageAides::kLignesAisees; ++k) EXPECT_EQ(u.ligne(kParts, 0, 0.01, 1.0), 1);
  }
  {
    // Most lines with four helpers, the last few with fewer.
    ReglageAides r(4, 7);
    for (int k = 0; k < 40; ++k) r.ligne(kParts, 0, 0.7, 1.0);  // three would take 0.93
    EXPECT_EQ(r.aides(), 4);
    for (int k = 0; k < 2 * ReglageAides::kLignesAisees + 2; ++k) r.ligne(kParts, 0, 0.01, 1.0);
    EXPECT_EQ(r.aides(), 2);
    EXPECT_EQ(r.retenu(), 4);
    // The start is kept within 1..maximum.
    EXPECT_EQ(ReglageAides(9, 7).aides(), 7);
    EXPECT_EQ(ReglageAides(0, 7).aides(), 1);
    EXPECT_EQ(ReglageAides(3, 0).aides(), 0);
  }
}

// The helpers of a render: one per further processor the others leave idle,
// to the nearest, from none to all of them and never more than 7.
TEST(Equipe, HelpersForTheProcessorsTheOthersLeaveIdle) {
  EXPECT_EQ(Equipe::aides_libres(8, 0.0), 7);
  EXPECT_EQ(Equipe::aides_libres(8, 0.4), 7);
  EXPECT_EQ(Equipe::aides_libres(8, 2.6), 4);
  EXPECT_EQ(Equipe::aides_libres(8, 12.0), 0);
  EXPECT_EQ(Equipe::aides_libres(8, -1.0), 7);
  EXPECT_EQ(Equipe::aides_libres(2, 0.2), 1);
  EXPECT_EQ(Equipe::aides_libres(1, 0.0), 0);
  EXPECT_EQ(Equipe::aides_libres(64, 0.0), 7);
  // On this machine: within 0..7, whatever it does now.
  EXPECT_GE(Equipe::aides_machine(), 0);
  EXPECT_LE(Equipe::aides_machine(), 7);
}
