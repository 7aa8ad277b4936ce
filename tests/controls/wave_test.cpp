// The wave object: its plain, packed and file forms, and refused data.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "controls/ctlerror.h"
#include "controls/wave.h"
#include "platform/fichiers.h"

namespace {

void Put16(QByteArray& b, int v) {
  b.append(static_cast<char>(v & 0xFF));
  b.append(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(QByteArray& b, std::uint32_t v) {
  Put16(b, static_cast<int>(v & 0xFFFF));
  Put16(b, static_cast<int>(v >> 16));
}

// A PCM RIFF file of 44 bytes: mono, 8000 Hz, 8 bits, eight samples.
QByteArray Pcm44() {
  QByteArray b("RIFF");
  Put32(b, 36);
  b += "WAVEfmt ";
  Put32(b, 16);
  Put16(b, 1);
  Put16(b, 1);
  Put32(b, 8000);
  Put32(b, 8000);
  Put16(b, 1);
  Put16(b, 8);
  b += "data";
  Put32(b, 0);
  return b;
}

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string Thrown(const std::function<void()>& f) {
  try {
    f();
  } catch (const CtlEInvalidWave& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

}  // namespace

TEST(Wave, PlainPackedAndFileFormsRoundTrip) {
  const QByteArray riff = Pcm44();
  ASSERT_EQ(riff.size(), 44);
  CtlWave wave;
  int changes = 0;
  wave.OnChange = [&](CtlObject* o) {
    EXPECT_EQ(o, &wave);
    ++changes;
  };
  QByteArray src = riff;
  QBuffer in(&src);
  in.open(QIODevice::ReadOnly);
  wave.LoadFromStream(in);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(wave.Size(), 44);

  QByteArray plain;
  QBuffer p(&plain);
  p.open(QIODevice::ReadWrite);
  WriteWave(p, wave, false);
  EXPECT_EQ(plain.left(4).toHex(), "2c000000");
  EXPECT_EQ(plain.mid(4), riff);
  p.seek(0);
  CtlWave back;
  ReadWave(p, back, false);
  EXPECT_EQ(back.Bytes(), riff);

  QByteArray packed;
  QBuffer k(&packed);
  k.open(QIODevice::ReadWrite);
  WriteWave(k, wave, true);
  k.seek(0);
  CtlWave unpacked;
  ReadWave(k, unpacked, true);
  EXPECT_EQ(unpacked.Bytes(), riff);

  QTemporaryDir dir;
  const QString path = dir.path() + "/sound.wav";
  wave.SaveToFile(path);
  EXPECT_EQ(Bytes(path), riff);
  EXPECT_EQ(CtlWave::CreateFromFile(path)->Bytes(), riff);
  EXPECT_THROW(CtlWave::CreateFromFile(dir.path() + "/missing.wav"), CtlError);
}

TEST(Wave, InvalidDataIsRefusedAndTheOldDataKept) {
  CtlWave wave;
  QByteArray good = Pcm44();
  QBuffer g(&good);
  g.open(QIODevice::ReadOnly);
  wave.LoadFromStream(g);

  QByteArray wavx = Pcm44();
  wavx.replace(8, 4, "WAVX");
  QByteArray stub = Pcm44().left(12);
  for (QByteArray bad : {wavx, stub}) {
    QBuffer b(&bad);
    b.open(QIODevice::ReadOnly);
    EXPECT_EQ(Thrown([&] { wave.LoadFromStream(b); }), "TCtlWave: Cannot open file");
    EXPECT_EQ(wave.Bytes(), Pcm44());
  }
  // A plain length past the end.
  QByteArray cut = QByteArray::fromHex("2c000000") + Pcm44().left(20);
  QBuffer c(&cut);
  c.open(QIODevice::ReadOnly);
  EXPECT_THROW(wave.ReadData(c), CtlReadError);
  EXPECT_EQ(wave.Size(), 44);
}

TEST(Wave, EmptyWaves) {
  CtlWave wave;
  QByteArray riff = Pcm44();
  QBuffer r(&riff);
  r.open(QIODevice::ReadOnly);
  wave.LoadFromStream(r);
  QByteArray zero = QByteArray::fromHex("00000000");
  QBuffer z(&zero);
  z.open(QIODevice::ReadOnly);
  wave.ReadData(z);
  EXPECT_TRUE(wave.IsEmpty());
  EXPECT_FALSE(wave.HasData());

  CtlWave empty, target;
  target.Assign(wave);  // no data at all
  EXPECT_TRUE(target.IsEmpty());
  EXPECT_EQ(target.Size(), 0);
  wave.Assign(empty);
  EXPECT_TRUE(wave.IsEmpty());
  QByteArray out;
  QBuffer o(&out);
  o.open(QIODevice::WriteOnly);
  wave.WriteData(o);
  EXPECT_EQ(out.toHex(), "00000000");
  CtlObject other;
  EXPECT_THROW(wave.Assign(other), CtlError);
}

TEST(Wave, AFailedSaveLeavesTheFile) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/kept.wav";
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("old bytes");
  f.close();
  CtlWave wave;
  QByteArray riff = Pcm44();
  QBuffer r(&riff);
  r.open(QIODevice::ReadOnly);
  wave.LoadFromStream(r);
  simuler_echec_ecriture(10);
  EXPECT_THROW(wave.SaveToFile(path), CtlError);
  simuler_echec_ecriture(std::nullopt);
  EXPECT_EQ(Bytes(path), "old bytes");
  EXPECT_THROW(wave.SaveToFile(path + "/inside.wav"), CtlError);
  EXPECT_EQ(Bytes(path), "old bytes");
}
