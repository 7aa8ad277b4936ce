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

// Idle cores: the load average counts the program's own helpers of the renders
// just before, so the threads runnable now bound it; the caller's core is never
// counted, and the count stays within 0..7.
TEST(Equipe, HelpersForTheIdleCores) {
  EXPECT_EQ(Equipe::aides_pour(8, 0.1, 1), 7);
  EXPECT_EQ(Equipe::aides_pour(8, 6.5, 1), 7);   // a load left by the renders before
  EXPECT_EQ(Equipe::aides_pour(8, 6.5, 5), 3);   // four other threads running now
  EXPECT_EQ(Equipe::aides_pour(8, 2.5, 9), 4);   // a momentary crowd above the average
  EXPECT_EQ(Equipe::aides_pour(8, 2.5, 0), 4);   // no count of runnable threads
  EXPECT_EQ(Equipe::aides_pour(2, 0.0, 1), 1);
  EXPECT_EQ(Equipe::aides_pour(2, 3.0, 4), 0);
  EXPECT_EQ(Equipe::aides_pour(64, 0.0, 1), 7);
  EXPECT_EQ(Equipe::aides_pour(1, 0.0, 1), 0);
}
