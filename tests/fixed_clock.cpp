// Every test starts with new keys drawn from one fixed time of day, so that a
// terrain grown without a key ("a new key") is the same in every run and a
// test never passes or fails by the millisecond it happened to start at.
// A test may still set its own clock; the next test gets the fixed one back.
#include <gtest/gtest.h>

#include "model/aleatoire.h"

namespace {

class HorlogeFixe : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    set_clock_for_tests([] { return std::uint32_t{((12u * 60 + 34) * 60 + 56) * 1000 + 789}; });
  }
  void OnTestEnd(const ::testing::TestInfo&) override { set_clock_for_tests({}); }
};

[[maybe_unused]] const bool g_horloge = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new HorlogeFixe);
  return true;
}();

}  // namespace
