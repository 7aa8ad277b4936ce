// Rectangle and text routines, and the settings storage in a temporary
// configuration folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "controls/application.h"
#include "controls/ctlerror.h"
#include "controls/ctlutils.h"
#include "controls/inictrl.h"
#include "platform/fichiers.h"

namespace {

// (left, top, right, bottom), right and bottom excluded.
QRect Ltrb(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

}  // namespace

TEST(Utilities, Rectangles) {
  EXPECT_EQ(FitRect(Ltrb(0, 0, 100, 50), Ltrb(10, 20, 70, 80)), Ltrb(10, 20, 70, 50));
  EXPECT_EQ(FitRect(Ltrb(0, 0, 10, 20), Ltrb(0, 0, 40, 40)), Ltrb(0, 0, 20, 40));  // enlarges too
  EXPECT_EQ(FitRect(Ltrb(0, 0, 0, 50), Ltrb(10, 20, 70, 80)), Ltrb(10, 20, 10, 20));
  EXPECT_EQ(FitRect(Ltrb(0, 0, 3, 2), Ltrb(0, 0, 5, 5)), Ltrb(0, 0, 5, 3));  // 3.333 rounds to 3

  QRect r = Ltrb(0, 0, 40, 20);
  RotatedRectSize(r, 90);
  EXPECT_EQ(r, Ltrb(0, 0, 20, 40));
  r = Ltrb(0, 0, 40, 20);
  RotatedRectSize(r, 45);
  EXPECT_EQ(r, Ltrb(0, 0, 42, 42));
  r = Ltrb(5, 5, 45, 25);
  RotatedRectSize(r, 0);
  EXPECT_EQ(r, Ltrb(5, 5, 45, 25));

  const QRect a = Ltrb(0, 0, 10, 10);
  EXPECT_FALSE(RectInRect(a, a));
  EXPECT_TRUE(RectInRect(Ltrb(1, 1, 9, 9), a));
  EXPECT_FALSE(RectInRect(Ltrb(1, 1, 10, 9), a));

  GrowRect(r, 3, -2);
  int w = 0, h = 0;
  RectSize(r, w, h);
  EXPECT_EQ(w, 43);
  EXPECT_EQ(h, 18);
}

TEST(Utilities, NumbersAndTexts) {
  const std::vector<int> ints{3, -7, 12, 0};
  EXPECT_EQ(MaxOfInts(ints), 12);
  EXPECT_EQ(MinOfInts(ints), -7);
  EXPECT_EQ(MinOfExtended(std::vector<double>{2.5, -0.5}), -0.5);
  EXPECT_EQ(MidValue(2147483647, 2147483645), 2147483646);
  EXPECT_EQ(MidValue(-3, 0), -1);

  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank("   "));
  EXPECT_FALSE(IsBlank(" \t"));
  EXPECT_EQ(TrimText("\t Grandes icones \r"), "Grandes icones");
  EXPECT_EQ(TrimText("\x01\n"), "");
  EXPECT_EQ(IncludeTrailingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(IncludeTrailingBackslash("Software"), "Software\\");
  EXPECT_EQ(IncludeTrailingBackslash("  "), "  \\");
  EXPECT_EQ(ExcludeTrailingBackslash("C:\\"), "C:");
  EXPECT_EQ(ExcludeTrailingBackslash("  "), "  ");
  EXPECT_FALSE(GetLogonUserName().isEmpty());
  EXPECT_EQ(GetProgramDir(), QCoreApplication::applicationDirPath() + "/");
  EXPECT_EQ(GetPrefixPath(ppProgram, false), QCoreApplication::applicationDirPath());
  EXPECT_EQ(GetPrefixPath(ppFixed, true), "");
}

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    old_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
  }
  void TearDown() override {
    simuler_echec_ecriture(std::nullopt);
    if (old_.isEmpty())
      qunsetenv("XDG_CONFIG_HOME");
    else
      qputenv("XDG_CONFIG_HOME", old_);
  }
  static QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
  }
  QTemporaryDir dir_;
  QByteArray old_;
};

TEST_F(Settings, IniTargetWritesPerUserSections) {
  CtlIniCtrl ini;
  ini.SetTarget(itIniFile);
  ini.SetCommon(false);
  ini.SetUser("bob");
  EXPECT_EQ(ini.SectionName(""), "Common");
  const QString path = ini.FileName();
  EXPECT_TRUE(path.startsWith(GetWindowsDir()));
  EXPECT_TRUE(path.endsWith("/" + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".INI"));
  EXPECT_TRUE(GetWindowsDir().startsWith(dir_.path()));

  ini.WriteString("Main", "a", "1");
  EXPECT_EQ(Read(path), QByteArray("[Main.bob]\r\na=1\r\n"));
  EXPECT_EQ(ini.SectionName(""), "Main.bob");
  EXPECT_EQ(ini.ReadString("", "A", "none"), "1");
  ini.WriteString("", "b", "2");
  ini.WriteString("Other", "a", "x");
  ini.WriteString("MAIN", "a", "3");
  EXPECT_EQ(Read(path), QByteArray("[Main.bob]\r\na=3\r\nb=2\r\n[Other.bob]\r\na=x\r\n"));
  EXPECT_EQ(ini.ReadString("Main", "missing", "def"), "def");
  ini.DeleteKey("Main", "a");
  EXPECT_EQ(ini.ReadString("Main", "a", "def"), "def");
  EXPECT_EQ(Read(path), QByteArray("[Main.bob]\r\nb=2\r\n[Other.bob]\r\na=x\r\n"));

  ini.SetCommon(true);
  EXPECT_EQ(ini.SectionName("Main"), "Main");
  ini.SetCommon(false);
  ini.SetNetUser(true);
  EXPECT_EQ(ini.User(), GetLogonUserName());
  EXPECT_EQ(ini.SectionName("Main"), "Main." + GetLogonUserName());
}

TEST_F(Settings, IniFilesWithLineFeedsAndOtherLinesAreKept) {
  const QString path = dir_.path() + "/fixed.ini";
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("; note\n[main]\nkey = value \nplain line\n\n[x]\ny=\xe9\n");
  f.close();
  CtlIniCtrl ini;
  ini.SetTarget(itIniFile);
  ini.SetIniPrefix(ppFixed);
  ini.SetIniFile(dir_.path() + "/fixed");
  EXPECT_EQ(ini.FileName(), path.left(path.size() - 4) + ".INI");
  ini.SetIniFile(path);
  EXPECT_EQ(ini.FileName(), path);
  EXPECT_EQ(ini.ReadString("Main", "KEY", ""), "value");
  EXPECT_EQ(ini.ReadString("x", "y", ""), QString(QChar(0xE9)));
  ini.WriteString("main", "new", "1");
  EXPECT_EQ(Read(path), QByteArray("; note\r\n[main]\r\nkey = value \r\nplain line\r\nnew=1\r\n\r\n[x]\r\ny=\xe9\r\n"));
}

TEST_F(Settings, RegistryTargetUsesOneFilePerRoot) {
  CtlIniCtrl ini;
  EXPECT_EQ(ini.Target(), itAuto);
  EXPECT_EQ(ini.IniPrefix(), ppWindows);
  EXPECT_EQ(ini.MaxEntries(), 16);
  EXPECT_TRUE(ini.Common());
  ini.SetRegPath("Software\\Test");
  ini.WriteString("#ROOT", "top", "1");
  ini.WriteString("", "again", "2");
  ini.WriteString("Sub", "k", "3");
  const QString path = GetWindowsDir() + "registry-80000001.ini";
  EXPECT_EQ(ini.FileName(), path);
  EXPECT_EQ(Read(path), QByteArray("[Software\\Test\\]\r\ntop=1\r\nagain=2\r\n[Software\\Test\\Sub]\r\nk=3\r\n"));
  EXPECT_EQ(ini.ReadString("#ROOT", "top", ""), "1");
  ini.SetRegRoot(rpCurrentConfig);
  EXPECT_TRUE(ini.FileName().endsWith("registry-80000005.ini"));
  EXPECT_EQ(ini.ReadString("#ROOT", "top", "none"), "none");
  ini.SetRegPath("");
  EXPECT_EQ(ini.RegistryPath(), "Software\\" + QCoreApplication::applicationName() + "\\");
}

TEST_F(Settings, AlphaCounterCapsTheEntries) {
  CtlIniCtrl ini;
  ini.SetMaxEntries(40);
  EXPECT_EQ(ini.MaxEntries(), 40);
  ini.SetAlphaCounter(true);
  EXPECT_EQ(ini.MaxEntries(), 26);
  ini.SetMaxEntries(27);
  EXPECT_EQ(ini.MaxEntries(), 26);
  ini.SetMaxEntries(5);
  EXPECT_EQ(ini.MaxEntries(), 5);
}

TEST_F(Settings, AFailedWriteRaisesAndKeepsTheFile) {
  CtlIniCtrl ini;
  ini.SetTarget(itIniFile);
  ini.WriteString("Main", "a", "1");
  const QByteArray before = Read(ini.FileName());
  simuler_echec_ecriture(3);
  EXPECT_THROW(ini.WriteString("Main", "b", "a longer value"), CtlError);
  EXPECT_THROW(ini.DeleteKey("Main", "a"), CtlError);
  simuler_echec_ecriture(std::nullopt);
  EXPECT_EQ(Read(ini.FileName()), before);
  // A folder that cannot hold the file.
  ini.SetIniPrefix(ppFixed);
  ini.SetIniFile(ini.FileName() + "/inside.ini");
  EXPECT_THROW(ini.WriteString("Main", "a", "1"), CtlError);
}

TEST_F(Settings, TheApplicationHasOne) {
  EXPECT_NE(CtlApplication::Instance()->Settings(), nullptr);
  EXPECT_EQ(CtlApplication::Instance()->Settings()->parent(), CtlApplication::Instance());
}
