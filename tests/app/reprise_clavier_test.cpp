// The main window's watch for the keyboard after a modal window closed.
#include <gtest/gtest.h>

#include "app/reprise_clavier.h"

// Nothing is done before the window manager has dealt with the closed window;
// then the activation is taken when the server gives the keyboard, asked for
// once when it does not, and left to another program's window; the watch ends
// once the activation has held, or after its time.
TEST(RepriseClavier, TakesOrAsksOnlyOnceTheWindowManagerHasSettled) {
  constexpr std::uint32_t p = 0x1400005, attente = 0x1400120, autre = 0x2200007;
  RepriseClavier r;
  EXPECT_EQ(r.pas(false, {p, 0, 0, false}), Reprise::rien) << "not started";
  r.commencer();
  for (std::uint32_t focus : {0u, autre}) EXPECT_EQ(r.pas(false, {p, focus, attente, true}), Reprise::rien);
  EXPECT_EQ(r.pas(false, {p, p, attente, true}), Reprise::prendre);
  for (int k = 1; k < RepriseClavier::kPasStables; ++k) r.pas(true, {p, p, p, true});
  EXPECT_EQ(r.pas(false, {p, p, p, true}), Reprise::prendre) << "lost again before it held";
  for (int k = 0; k < RepriseClavier::kPasStables; ++k) r.pas(true, {p, p, p, true});
  EXPECT_FALSE(r.en_cours());
  for (std::uint32_t active : {0u, p}) {
    r.commencer();
    EXPECT_EQ(r.pas(false, {p, 0, active, active != 0}), Reprise::demander);
    EXPECT_EQ(r.pas(false, {p, 0, active, active != 0}), Reprise::rien) << "asked once";
    EXPECT_EQ(r.pas(false, {p, p, p, true}), Reprise::prendre);
  }
  r.commencer();
  EXPECT_EQ(r.pas(false, {p, autre, autre, false}), Reprise::rien);
  EXPECT_FALSE(r.en_cours()) << "another program keeps the keyboard";
  r.commencer();
  for (int k = 0; k <= RepriseClavier::kPasMax; ++k) r.pas(false, {p, 0, attente, true});
  EXPECT_FALSE(r.en_cours()) << "a window manager that never settles";
}
