// The LZRW1/KH block codec and the chunked stream: fixed vectors byte for
// byte, round trips over generated data, and corrupt input.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "controls/bitmapfile.h"
#include "controls/ctlerror.h"
#include "controls/imagelist.h"
#include "controls/lzrw.h"
#include "controls/streams.h"
#include "controls/wave.h"
#include "tests/support/memoire.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Repeat(const std::string& s, int times) {
  std::string r;
  for (int i = 0; i < times; ++i) r += s;
  return FromText(r);
}

Bytes FromHex(const std::string& hex) {
  Bytes out;
  std::string digits;
  for (char c : hex)
    if (c != ' ') digits += c;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) out.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return out;
}

std::string Hex(const Bytes& b) {
  std::string s;
  char part[4];
  for (std::size_t i = 0; i < b.size(); ++i) {
    std::snprintf(part, sizeof part, i ? " %02x" : "%02x", b[i]);
    s += part;
  }
  return s;
}

Bytes Compress(const Bytes& in) {
  Bytes out(in.size() + kLzrwSlack);
  out.resize(LZRWCompressBlock(in, out));
  return out;
}

std::optional<Bytes> Decompress(const Bytes& block) {
  Bytes out(kLzrwChunk);
  const auto n = LZRWDecompressBlock(block, out);
  if (!n) return std::nullopt;
  out.resize(*n);
  return out;
}

// The vector generator: seed := seed × 134775813 + 1, byte := (seed × m) >> 32.
Bytes Generated(std::uint32_t m, std::size_t n, std::uint32_t seed = 1) {
  Bytes out(n);
  for (auto& b : out) {
    seed = seed * 134775813u + 1u;
    b = static_cast<std::uint8_t>((static_cast<std::uint64_t>(seed) * m) >> 32);
  }
  return out;
}

QByteArray Packed(const Bytes& in) {
  QByteArray src(reinterpret_cast<const char*>(in.data()), static_cast<qsizetype>(in.size()));
  QBuffer source(&src);
  source.open(QIODevice::ReadOnly);
  QByteArray dst;
  QBuffer target(&dst);
  target.open(QIODevice::WriteOnly);
  CompressToStream(source, target, static_cast<std::int64_t>(in.size()));
  return dst;
}

QByteArray Unpacked(QByteArray stream) {
  QBuffer source(&stream);
  source.open(QIODevice::ReadOnly);
  QByteArray dst;
  QBuffer target(&dst);
  target.open(QIODevice::WriteOnly);
  DecompressFromStream(source, target);
  return dst;
}

Bytes ToBytes(const QByteArray& a) { return Bytes(a.begin(), a.end()); }

std::string Sha256(const QByteArray& a) {
  return QCryptographicHash::hash(a, QCryptographicHash::Sha256).toHex().toStdString();
}

std::string Sha256(const Bytes& b) {
  return Sha256(QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size())));
}

}  // namespace

TEST(LzrwBlock, FixedVectors) {
  const std::pair<Bytes, std::string> cases[] = {
      {Bytes{}, "80"},
      {FromText("A"), "80 41"},
      {FromText("ABC"), "80 41 42 43"},
      {FromText("AAAAAA"), "40 40 00 41 00 12"},
      {Repeat("A", 15), "40 40 00 41 00 1b"},
      {Repeat("A", 16), "40 80 00 00 00 00 41"},
      {Repeat("x", 4095), "40 80 00 00 0f ef 78"},
      {Repeat("x", 4096), "40 80 00 00 0f ef 78 78"},
      {FromText("abcabcabcabcabcabc"), "40 10 00 61 62 63 00 3c"},
      {Repeat("0123456789ABCDEF", 5),
       "40 00 00 30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46 f0 00 01 0f 02 0f 03 0f 04 07"},
      {Repeat("Grandes icones", 3), "40 00 03 47 72 61 6e 64 65 73 20 69 63 6f 6e 65 73 00 ef 01 c7"},
      {FromText("abbbbbabbaaa"), "40 30 00 61 62 00 11 00 60 61 61 61"},
      {FromText("cbbcaabbbaccbbcb"), "80 63 62 62 63 61 61 62 62 62 61 63 63 62 62 63 62"},
  };
  for (const auto& [input, hex] : cases) {
    const Bytes block = Compress(input);
    EXPECT_EQ(Hex(block), hex) << "input of " << input.size() << " bytes";
    const auto back = Decompress(block);
    ASSERT_TRUE(back.has_value()) << hex;
    EXPECT_EQ(*back, input) << hex;
  }
}

TEST(LzrwBlock, LimitsAndMisuse) {
  // A run longer than 4095 is cut and the rest starts a new item.
  const Bytes long_run(9000, 7);
  EXPECT_EQ(Decompress(Compress(long_run)), long_run);
  // A full chunk of noise is stored, one byte longer.
  const Bytes noise = Generated(256, kLzrwChunk);
  const Bytes block = Compress(noise);
  EXPECT_EQ(block.size(), kLzrwChunk + 1);
  EXPECT_EQ(block[0], kLzrwStored);
  EXPECT_EQ(Decompress(block), noise);

  Bytes small(10);
  const Bytes too_long(kLzrwChunk + 1);
  Bytes room(too_long.size() + kLzrwSlack);
  EXPECT_THROW(LZRWCompressBlock(too_long, room), CtlInvalidOperation);
  EXPECT_THROW(LZRWCompressBlock(Bytes(5), small), CtlInvalidOperation);
  EXPECT_EQ(Decompress(Bytes{}), Bytes{});
  EXPECT_EQ(Decompress(FromHex("40 00 00")), Bytes{});
}

TEST(LzrwBlock, CorruptBlocksFailInsideTheirBuffers) {
  // Eight runs of 4111 bytes: more than a block may hold.
  Bytes runs = FromHex("40 ff 00");
  for (int i = 0; i < 8; ++i) {
    const Bytes item = FromHex("00 0f ff 41");
    runs.insert(runs.end(), item.begin(), item.end());
  }
  EXPECT_FALSE(Decompress(runs).has_value());
  EXPECT_FALSE(Decompress(FromHex("40 80 00 05 00")).has_value());  // a copy 80 bytes back at the start
  EXPECT_FALSE(Decompress(FromHex("40 80 00 00")).has_value());     // a cut item
  EXPECT_FALSE(Decompress(FromHex("40 80 00 00 00 00")).has_value());
  EXPECT_FALSE(Decompress(FromHex("40 00 00 41 42 43 44 45 46 47 48 49 4a 4b 4c 4d 4e 4f 50 ff")).has_value());
  // A stored block longer than the output room.
  Bytes out(4);
  EXPECT_FALSE(LZRWDecompressBlock(FromHex("80 01 02 03 04 05"), out).has_value());
}

TEST(LzrwStream, FixedVectors) {
  EXPECT_EQ(Hex(ToBytes(Packed({}))), "00 00 00 00");
  EXPECT_EQ(Hex(ToBytes(Packed(FromText("AAAAAA")))), "0a 00 00 00 06 00 00 00 40 40 00 41 00 12");

  std::string zeros = "31 00 00 00 27 00 00 00 40 ff 80";
  for (int i = 0; i < 8; ++i) zeros += " 00 0f ef 00";
  zeros += " 00 00 05 00 02 00 00 00 80 00";
  const QByteArray packed = Packed(Bytes(32782, 0));
  EXPECT_EQ(packed.size(), 53);
  EXPECT_EQ(Hex(ToBytes(packed)), zeros);
  EXPECT_EQ(ToBytes(Unpacked(packed)), Bytes(32782, 0));

  const Bytes quads = Generated(4, 100000);
  ASSERT_EQ(Sha256(quads), "482180574dad5d0b531c40c29fe8c9f137d2d25264cb2cd10bf8a57b4d7eba8f");
  const QByteArray q = Packed(quads);
  EXPECT_EQ(q.size(), 63972);
  EXPECT_EQ(Sha256(q), "cff237b86397560b0aa40af126a4bdaf0ed58f1b4235770fe3040555b1a296a3");
  EXPECT_EQ(ToBytes(Unpacked(q)), quads);

  const Bytes noise = Generated(256, 70000);
  ASSERT_EQ(Sha256(noise), "99509ad0a35bc4fd2321417fb34d185f6cd383124885a549e4d8e34f09d490c5");
  const QByteArray r = Packed(noise);
  EXPECT_EQ(r.size(), 70019);
  EXPECT_EQ(Sha256(r), "37db92a01cda87afb95c762cb4033104b1a7d37905cba034a4bfa4881fea193c");
  EXPECT_EQ(ToBytes(Unpacked(r)), noise);
}

TEST(LzrwStream, CountAndShortSources) {
  const Bytes text = Repeat("Grandes icones", 10);
  QByteArray src(reinterpret_cast<const char*>(text.data()), static_cast<qsizetype>(text.size()));
  QBuffer source(&src);
  source.open(QIODevice::ReadOnly);
  QByteArray dst = "head";
  QBuffer target(&dst);
  target.open(QIODevice::ReadWrite);
  target.seek(4);
  CompressToStream(source, target, 20);  // only 20 of the 140 bytes
  EXPECT_EQ(source.pos(), 20);
  EXPECT_EQ(target.pos(), target.size());
  CompressToStream(source, target, 1000);  // the source ends first
  EXPECT_EQ(source.pos(), 140);
  target.seek(4);
  QByteArray first, rest;
  QBuffer a(&first), b(&rest);
  a.open(QIODevice::WriteOnly);
  b.open(QIODevice::WriteOnly);
  DecompressFromStream(target, a);
  DecompressFromStream(target, b);
  EXPECT_EQ(first, src.left(20));
  EXPECT_EQ(rest, src.mid(20));
  EXPECT_TRUE(dst.startsWith("head"));
}

namespace {

// Walks a stream's chunks and the items of each block, checking the frame.
void CheckStream(const QByteArray& stream, const Bytes& input) {
  const Bytes s = ToBytes(stream);
  auto int_at = [&](std::size_t at) {
    return static_cast<std::int32_t>(s[at] | (s[at + 1] << 8) | (s[at + 2] << 16) | (static_cast<std::uint32_t>(s[at + 3]) << 24));
  };
  ASSERT_GE(s.size(), 4u);
  EXPECT_EQ(static_cast<std::size_t>(int_at(0)), s.size() - 4);
  std::size_t at = 4, packed = 0;
  while (at < s.size()) {
    const auto b = static_cast<std::size_t>(int_at(at));
    at += 4;
    const Bytes block(s.begin() + static_cast<std::ptrdiff_t>(at), s.begin() + static_cast<std::ptrdiff_t>(at + b));
    at += b;
    const auto out = Decompress(block);
    ASSERT_TRUE(out.has_value());
    EXPECT_LE(b, out->size() + 1);
    if (at < s.size()) {
      EXPECT_EQ(out->size(), kLzrwChunk);
    }
    if (block[0] == kLzrwCompressed) {
      // No copy item with distance 0: such a word is always a run of 16 or more.
      std::size_t ip = 3, produced = 0;
      std::uint16_t control = static_cast<std::uint16_t>((block[1] << 8) | block[2]);
      int bits = 16;
      while (ip < b) {
        if (bits == 0) {
          control = static_cast<std::uint16_t>((block[ip] << 8) | block[ip + 1]);
          ip += 2;
          bits = 16;
        }
        if (control & 0x8000) {
          const std::size_t d = block[ip] * 16u + (block[ip + 1] >> 4);
          if (d == 0) {
            produced += block[ip + 1] * 256u + block[ip + 2] + 16;
            ip += 4;
          } else {
            EXPECT_LE(d, produced);
            produced += (block[ip + 1] & 15u) + 3;
            ip += 2;
          }
        } else {
          ++produced;
          ++ip;
        }
        control = static_cast<std::uint16_t>(control << 1);
        --bits;
      }
      EXPECT_EQ(produced, out->size());
    }
    packed += out->size();
  }
  EXPECT_EQ(at, s.size());
  EXPECT_EQ(packed, input.size());
}

// Random bytes, runs, repeats and text, from the generator.
Bytes Sample(std::uint32_t& seed, std::size_t n) {
  auto next = [&](std::uint32_t m) {
    seed = seed * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed) * m) >> 32);
  };
  static const std::string words[] = {"Grandes ", "icones ", "petites ", "montagne ", "vue ", "\r\n"};
  Bytes out;
  out.reserve(n);
  while (out.size() < n) {
    switch (next(4)) {
      case 0:
        for (std::uint32_t k = next(200); k > 0; --k) out.push_back(static_cast<std::uint8_t>(next(256)));
        break;
      case 1:
        out.insert(out.end(), next(6000), static_cast<std::uint8_t>(next(256)));
        break;
      case 2:
        if (!out.empty()) {
          const std::size_t from = next(static_cast<std::uint32_t>(out.size()));
          const std::size_t len = std::min<std::size_t>(next(40), out.size() - from);
          for (std::size_t k = 0; k < len; ++k) out.push_back(out[from + k]);
        }
        break;
      default:
        for (std::uint32_t k = next(30); k > 0; --k) {
          const std::string& w = words[next(6)];
          out.insert(out.end(), w.begin(), w.end());
        }
    }
  }
  out.resize(n);
  return out;
}

}  // namespace

TEST(LzrwStream, RoundTripsOfGeneratedData) {
  std::uint32_t seed = 77;
  for (int i = 0; i < 2000; ++i) {
    seed = seed * 134775813u + 1u;
    // Mostly short inputs, some up to 100000 bytes.
    const std::uint32_t top = static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed) * 100001u) >> 32);
    seed = seed * 134775813u + 1u;
    const std::size_t n = static_cast<std::size_t>((static_cast<std::uint64_t>(seed) * (top + 1)) >> 32);
    const Bytes input = Sample(seed, n);
    const QByteArray packed = Packed(input);
    CheckStream(packed, input);
    ASSERT_EQ(ToBytes(Unpacked(packed)), input) << "case " << i << ", " << n << " bytes";
    if (HasFailure()) return;
  }
}

TEST(LzrwStream, CorruptChunksRaiseAndWriteNothing) {
  const QByteArray good = Packed(Repeat("Grandes icones", 20));
  auto with_length = [&](std::int32_t b) {
    QByteArray s = good;
    const auto u = static_cast<std::uint32_t>(b);
    for (int k = 0; k < 4; ++k) s[4 + k] = static_cast<char>((u >> (8 * k)) & 0xFF);
    return s;
  };
  for (std::int32_t b : {-4, 0, 32783, 2147483647}) {
    QByteArray s = with_length(b);
    QBuffer source(&s);
    source.open(QIODevice::ReadOnly);
    QByteArray dst;
    QBuffer target(&dst);
    target.open(QIODevice::WriteOnly);
    EXPECT_THROW(DecompressFromStream(source, target), CtlReadError) << b;
    EXPECT_TRUE(dst.isEmpty());
  }
  QByteArray total_too_big = good;
  total_too_big[0] = static_cast<char>(total_too_big[0] + 8);
  EXPECT_THROW(Unpacked(total_too_big), CtlReadError);
  QByteArray total_too_small = good;
  total_too_small[0] = static_cast<char>(total_too_small[0] - 1);
  EXPECT_THROW(Unpacked(total_too_small), CtlReadError);
  QByteArray negative = good;
  negative[3] = static_cast<char>(0x80);
  EXPECT_TRUE(Unpacked(negative).isEmpty());
  // The eight oversized runs inside a stream.
  QByteArray runs = QByteArray::fromHex("40ff00") + QByteArray::fromHex("000fff41").repeated(8);
  QByteArray stream;
  QBuffer out(&stream);
  out.open(QIODevice::WriteOnly);
  WriteStreamInt(out, static_cast<std::int32_t>(4 + runs.size()));
  WriteStreamInt(out, static_cast<std::int32_t>(runs.size()));
  out.write(runs);
  EXPECT_THROW(Unpacked(stream), CtlReadError);
}

TEST(LzrwStream, RandomMutationsNeverCrash) {
  std::uint32_t seed = 4242;
  auto next = [&](std::uint32_t m) {
    seed = seed * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(seed) * m) >> 32);
  };
  std::vector<QByteArray> streams;
  for (std::size_t n : {0u, 40u, 300u, 2000u, 40000u}) streams.push_back(Packed(Sample(seed, n)));
  int refused = 0;
  for (int i = 0; i < 20000; ++i) {
    // The multi-chunk stream one time in ten, the short ones otherwise.
    QByteArray s = i % 10 == 0 ? streams.back() : streams[next(static_cast<std::uint32_t>(streams.size() - 1))];
    if (next(4) == 0) {
      s.truncate(static_cast<qsizetype>(next(static_cast<std::uint32_t>(s.size()) + 1)));
    } else {
      for (std::uint32_t k = 1 + next(3); k > 0 && !s.isEmpty(); --k) {
        const auto at = static_cast<qsizetype>(next(static_cast<std::uint32_t>(s.size())));
        s[at] = static_cast<char>(s[at] ^ (1 << next(8)));
      }
    }
    try {
      Unpacked(s);
    } catch (const CtlReadError&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0);
}

namespace {

// A chunk whose block is eight runs of 4095 bytes: 39 bytes standing for 32760.
QByteArray RunChunk() { return QByteArray::fromHex("23000000" "40ff00") + QByteArray::fromHex("000fef41").repeated(8); }

// A packed stream: `head` packed as its own first chunk, then `runs` run chunks.
QByteArray Hostile(const QByteArray& head, int runs) {
  QByteArray first = Packed(ToBytes(head)).mid(4);
  QByteArray body = first + RunChunk().repeated(runs);
  QByteArray total(4, '\0');
  for (int k = 0; k < 4; ++k) total[k] = static_cast<char>((body.size() >> (8 * k)) & 0xFF);
  return total + body;
}

}  // namespace

TEST(LzrwStream, UnpackingStopsAtTheCapWithoutReadingFurther) {
  // 3 MB that would unpack to 2.5 GB of text lines: refused at the cap (here
  // a budget of 1 MB), having read only the chunks up to it.
  {
    CtlUnpackBudget budget(1 << 20);
    CtlUnpackBudget inner(1 << 30);  // the outer budget stays in force
    EXPECT_EQ(CtlUnpackBudget::Left(), 1 << 20);
    QByteArray lines_stream = Hostile("line\r\n", 78000);
    QBuffer lines_source(&lines_stream);
    lines_source.open(QIODevice::ReadOnly);
    CtlStrings lines;
    lines.SetLines({"kept"});
    try {
      ReadObjectFromStream(lines_source, lines, true);
      ADD_FAILURE() << "2.5 GB of lines were read";
    } catch (const CtlReadError& e) {
      EXPECT_STREQ(e.what(), "Compressed data unpacks to more than 256 MB");
    }
    EXPECT_LT(lines_source.pos(), 40 * ((1 << 20) / 32760 + 2));
    EXPECT_EQ(lines.Lines(), QStringList{"kept"});
    QByteArray small = Hostile("line\r\n", 10);
    QBuffer small_source(&small);
    small_source.open(QIODevice::ReadOnly);
    EXPECT_EQ(ReadPackedBytes(small_source).size(), 6 + 10 * 32760);
    EXPECT_EQ(CtlUnpackBudget::Left(), (1 << 20) - (6 + 10 * 32760));
  }
  EXPECT_EQ(CtlUnpackBudget::Left(), -1);

  // A bitmap and a sound that declare 200 bytes may not pass one chunk more.
  QByteArray bmp("BM\xc8\0\0\0", 6);
  QByteArray bmp_stream = Hostile(bmp, 1000);
  QBuffer bmp_source(&bmp_stream);
  bmp_source.open(QIODevice::ReadOnly);
  try {
    ReadBitmapFromStream(bmp_source, true);
    ADD_FAILURE() << "a bitmap past its declared size was read";
  } catch (const CtlReadError& e) {
    EXPECT_STREQ(e.what(), "Compressed data unpacks past its declared size");
  }
  EXPECT_LE(bmp_source.pos(), 4 + 4 + 7 + 2 * 39);

  QByteArray riff("RIFF\xc0\0\0\0WAVEfmt ", 16);
  QByteArray wave_stream = Hostile(riff, 1000);
  QBuffer wave_source(&wave_stream);
  wave_source.open(QIODevice::ReadOnly);
  CtlWave wave;
  EXPECT_THROW(wave.ReadPacked(wave_source), CtlReadError);
  EXPECT_LE(wave_source.pos(), 4 + 4 + 17 + 2 * 39);
  EXPECT_TRUE(wave.IsEmpty());

  // Within its declared size, the same kind of stream still reads.
  QByteArray riff_ok("RIFF\x00\x00\x01\x00WAVEfmt ", 16);
  QByteArray ok_stream = Hostile(riff_ok, 1);
  QBuffer ok_source(&ok_stream);
  ok_source.open(QIODevice::ReadOnly);
  wave.ReadPacked(ok_source);
  EXPECT_EQ(wave.Bytes().size(), 16 + 32760);
}

TEST(LzrwStream, ThePackedItemsOfOneListShareTheCap) {
  // Three sounds of about 100 MB each, each within its declared size: the
  // third passes the 256 MB the list may unpack to, and the list is unchanged.
  const QByteArray riff("RIFF\x00\x00\x40\x06WAVEfmt ", 16);  // 100 MB + 8
  const QByteArray item = QByteArray(1, '\x09') + Hostile(riff, 3100);
  QByteArray stream(4, '\0');
  stream[0] = 3;
  stream += item.repeated(3);
  QBuffer source(&stream);
  source.open(QIODevice::ReadOnly);
  CtlWaveList list;
  list.Add();
  try {
    list.LoadItems(source, false);
    ADD_FAILURE() << "300 MB of sounds were read";
  } catch (const CtlReadError& e) {
    EXPECT_STREQ(e.what(), "Compressed data unpacks to more than 256 MB");
  }
  EXPECT_LT(source.pos(), stream.size() - item.size() / 4);
  EXPECT_EQ(list.Count(), 1);
}

// Unpacking keeps one buffer: a stream just under the 256 MB cap takes its
// own size at the peak, and the few tens of megabytes the buffer leaves behind
// while it grows, where keeping every chunk and joining them at the end took
// twice its size.
TEST(LzrwStream, UnpackingKeepsOneBuffer) {
  const int runs = 7800;
  QByteArray stream = Hostile("line\r\n", runs);
  QBuffer source(&stream);
  source.open(QIODevice::ReadOnly);
  QByteArray bytes;
  const std::int64_t pic = test_memoire::croissance_pic([&] { bytes = ReadPackedBytes(source); });
  ASSERT_EQ(bytes.size(), 6 + qsizetype(runs) * 32760);
  EXPECT_LT(bytes.size(), kPackedStreamLimit);
  EXPECT_EQ(bytes.left(6), "line\r\n");
  EXPECT_EQ(bytes.right(3), "AAA");
  if (pic >= 0) EXPECT_LT(pic, test_memoire::borne(bytes.size() + (64 << 20)));
}

// A list file of 400 KB whose one string item unpacks to 100 MB of text ending
// in CR LF. Read from its file, the item takes its unpacked size once: the
// buffer is made from the chunk headers, not grown; the text is not copied out
// of it, nor widened to two bytes a character. Saved, it shares the text; read
// again while the first list lives, it takes its size once more.
TEST(LzrwStream, PackedStringItemsTakeTheirUnpackedSizeOnce) {
  const int runs = 3100;
  QByteArray packed = Hostile("line\r\n", runs);
  const QByteArray tail = Packed(FromText("\r\n")).mid(4);
  packed += tail;
  const auto body = static_cast<std::int32_t>(packed.size() - 4);
  for (int k = 0; k < 4; ++k) packed[k] = static_cast<char>((body >> (8 * k)) & 0xFF);
  const qsizetype unpacked = 6 + qsizetype(runs) * 32760 + 2;
  QByteArray file = QByteArray(1, '\x08') + "CtlSLL30" + QByteArray::fromHex("01000000" "11000000" "09") + packed;
  QTemporaryDir dir;
  const QString path = dir.filePath("lines.txt");
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(file);
  }
  file.clear();

  CtlStringList list;
  const std::int64_t lecture = test_memoire::croissance_pic([&] { list.LoadFromFile(path); });
  ASSERT_EQ(list.Count(), 1);
  const CtlStrings& items = static_cast<CtlStringListItem*>(list.GetItem(0))->Items;
  const QByteArray text = items.SavedForm();
  ASSERT_EQ(text.size(), unpacked);
  EXPECT_EQ(text.left(7), "line\r\nA");
  // Room for what the chunk headers allow: 32781 bytes a chunk, here 3102.
  EXPECT_LE(text.capacity(), qsizetype(runs + 2) * 32781);
  if (lecture >= 0) {
    EXPECT_LT(lecture, test_memoire::borne(unpacked + unpacked / 4 + (16 << 20)));
  }

  QByteArray saved;
  QBuffer out(&saved);
  out.open(QIODevice::WriteOnly);
  const std::int64_t ecriture = test_memoire::croissance_pic([&] { list.SaveItems(out, true); });
  EXPECT_LT(saved.size(), 1 << 20);
  if (ecriture >= 0) {
    EXPECT_LT(ecriture, test_memoire::borne(16 << 20));
  }

  out.close();
  out.open(QIODevice::ReadOnly);
  CtlStringList again;
  const std::int64_t relecture = test_memoire::croissance_pic([&] { again.LoadItems(out, true); });
  ASSERT_EQ(again.Count(), 1);
  EXPECT_TRUE(static_cast<CtlStringListItem*>(again.GetItem(0))->Items.SavedForm() == text);
  if (relecture >= 0) {
    EXPECT_LT(relecture, test_memoire::borne(unpacked + unpacked / 4 + (16 << 20)));
  }
}
