// The program's folders come out where the program and its tests expect them.
#include "fenetres/dossiers.h"

#include <gtest/gtest.h>

TEST(DossiersProgramme, SkyTempAndOptionsUnderTheProgramFolder) {
  EXPECT_EQ(dossiers::ciels("/opt/quorvel"), "/opt/quorvel/ciels");
  EXPECT_EQ(dossiers::temporaire("/opt/quorvel"), "/opt/quorvel/temp");
  EXPECT_EQ(dossiers::options("/opt/quorvel"), "/opt/quorvel/montagne.ini");
  // A trailing separator is not doubled, and no folder leaves the bare name
  // (relative to the working folder, never the root).
  EXPECT_EQ(dossiers::ciels("/home/u/.quorvel/"), "/home/u/.quorvel/ciels");
  EXPECT_EQ(dossiers::ciels(""), "ciels");
  EXPECT_EQ(dossiers::temporaire(""), "temp");
  EXPECT_EQ(dossiers::dans("/", "temp"), "/temp");
}
