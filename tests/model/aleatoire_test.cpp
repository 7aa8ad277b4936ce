#include "model/aleatoire.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/erreur.h"
#include "model/interfaces.h"
#include "tests/support/fakes.h"

TEST(Random, SequenceFromKnownSeeds) {
  set_seed(12345);
  const std::uint32_t states[] = {1655067934u, 1242767767u, 342459380u, 2377737157u, 2721613530u};
  for (std::uint32_t s : states) {
    Random();
    EXPECT_EQ(seed(), s);
  }
  set_seed(12345);
  EXPECT_NEAR(Random(), 0.38535053236, 1e-11);
  EXPECT_NEAR(Random(), 0.28935441910, 1e-11);
  EXPECT_NEAR(Random(), 0.07973503787, 1e-11);

  set_seed(0);
  EXPECT_EQ(Random(3u), 0u);
  EXPECT_EQ(Random(3u), 0u);
  EXPECT_EQ(Random(3u), 2u);
}

TEST(Random, RandomizeReadsTimeOfDay) {
  set_clock_for_tests([] { return ((10u * 60 + 20) * 60 + 30) * 1000 + 456; });
  Randomize();
  EXPECT_EQ(seed(), 37230456u);
  set_clock_for_tests({});
  Randomize();
  EXPECT_LT(seed(), 86400000u);
}

TEST(Random, KeySeedsUnlessZeroOrANewKeyIsAsked) {
  set_clock_for_tests([] { return 1234u; });
  semer_cle(77, false);
  EXPECT_EQ(seed(), 77u);
  semer_cle(-2, false);
  EXPECT_EQ(seed(), 0xFFFFFFFEu);
  semer_cle(0, false);
  EXPECT_EQ(seed(), 1234u);
  semer_cle(77, true);
  EXPECT_EQ(seed(), 1234u);
  set_clock_for_tests({});
}

TEST(Interfaces, CancelPollRemovesOneMessageOfThatWindow) {
  using namespace platform;
  WindowHandle a = register_window([](const Message&) -> std::intptr_t { return 0; });
  WindowHandle b = register_window([](const Message&) -> std::intptr_t { return 0; });
  post(a, WM_CANCEL);
  post(a, WM_CANCEL);
  post(b, WM_USER);
  EXPECT_FALSE(cancel_requested(b));
  EXPECT_TRUE(cancel_requested(a));
  EXPECT_TRUE(cancel_requested(a));
  EXPECT_FALSE(cancel_requested(a));
  EXPECT_TRUE(peek(b, WM_USER, WM_USER, false));
  unregister_window(a);
  unregister_window(b);
}

TEST(Interfaces, QuestionsWithoutInterfaceAnswerNo) {
  EXPECT_FALSE(ask_yes_no("Delete?", "Quorvel"));
  ScopedFakeUserInterface ui;
  ui.answers = {true};
  EXPECT_TRUE(ask_yes_no("Delete?", "Trees "));
  EXPECT_FALSE(ask_yes_no("Again?", "Trees "));
  warn("Nothing", "Quorvel");
  ASSERT_EQ(ui.entries.size(), 3u);
  EXPECT_EQ(ui.entries[1].caption, "Trees ");
  EXPECT_FALSE(ui.entries[2].question);
}

TEST(Interfaces, FakeProgressPostsCancelAtItsTurn) {
  using namespace platform;
  WindowHandle w = register_window([](const Message&) -> std::intptr_t { return 0; });
  FakeProgress p;
  p.cancel_at(2, w);
  p.tester_annulation();
  EXPECT_FALSE(cancel_requested(w));
  p.tester_annulation();
  EXPECT_TRUE(cancel_requested(w));
  unregister_window(w);
}

TEST(Random, JumpLeavesTheStateOfTheDrawsItSkips) {
  for (std::uint32_t depart : {0u, 1u, 12345u, 4294967295u})
    for (std::uint64_t k : {0ull, 1ull, 2ull, 3ull, 7ull, 64ull, 1000ull, 123457ull}) {
      Generateur pas_a_pas(depart), saut(depart);
      for (std::uint64_t n = 0; n < k; ++n) pas_a_pas.tirer();
      saut.sauter(Generateur::saut(k));
      EXPECT_EQ(saut.etat(), pas_a_pas.etat()) << "seed " << depart << ", " << k << " draws";
    }
}
