#include "controls/bitmapfile.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <array>
#include <limits>
#include <vector>

#include "controls/ctlerror.h"
#include "controls/streams.h"

namespace {

constexpr std::array<QRgb, 16> kClassic16 = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0), qRgb(0, 0, 128),   qRgb(128, 0, 128),
    qRgb(0, 128, 128),   qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

int BitsFor(const QImage& bmp, int colours) {
  switch (colours) {
    case 2: return 1;
    case 16: return 4;
    case 256: return 8;
    default: break;
  }
  const int depth = bmp.depth();
  if (depth == 1 || depth == 4 || depth == 8) return depth;
  return 24;
}

void Put16(QByteArray& b, std::uint16_t v) {
  b.append(static_cast<char>(v & 0xFF));
  b.append(static_cast<char>(v >> 8));
}
void Put32(QByteArray& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}
std::uint32_t Get32(const QByteArray& b, int at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
  return v;
}

int Nearest(const std::vector<QRgb>& table, QRgb c) {
  int best = 0;
  long long best_d = std::numeric_limits<long long>::max();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const long long dr = qRed(c) - qRed(table[i]), dg = qGreen(c) - qGreen(table[i]), db = qBlue(c) - qBlue(table[i]);
    const long long d = dr * dr + dg * dg + db * db;
    if (d < best_d) {
      best_d = d;
      best = static_cast<int>(i);
    }
  }
  return best;
}

// The colour table of a palette form and the index of every pixel.
std::vector<QRgb> PaletteFor(const QImage& img, int bits) {
  if (bits == 1) return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
  if (bits == 4) return {kClassic16.begin(), kClassic16.end()};
  std::vector<QRgb> own;
  QHash<QRgb, int> seen;
  for (int y = img.height() - 1; y >= 0 && own.size() <= 256; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = line[x] | 0xFF000000u;
      if (!seen.contains(c)) {
        seen.insert(c, static_cast<int>(own.size()));
        own.push_back(c);
        if (own.size() > 256) break;
      }
    }
  }
  if (own.size() <= 256) return own;
  std::vector<QRgb> cube;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) cube.push_back(qRgb(r * 51, g * 51, b * 51));
  for (int i = 1; i <= 40; ++i) cube.push_back(qRgb(i * 255 / 41, i * 255 / 41, i * 255 / 41));
  return cube;
}

}  // namespace

CtlBitmapInfoHeader InitBitmapInfoHeader(const QImage& bmp, int colours) {
  CtlBitmapInfoHeader h;
  h.Width = bmp.width();
  h.Height = bmp.height();
  h.BitCount = static_cast<std::uint16_t>(BitsFor(bmp, colours));
  h.SizeImage = static_cast<std::uint32_t>((static_cast<std::int64_t>(h.Width) * h.BitCount + 31) / 32 * 4 * h.Height);
  return h;
}

void BitmapInfoSizes(const CtlBitmapInfoHeader& info, int& info_size, int& image_size) {
  info_size = 40 + (info.BitCount < 24 ? 4 * (1 << info.BitCount) : 0);
  image_size = static_cast<int>(info.SizeImage);
}

QByteArray PackDIBFile(int width, int height, int bits, const std::vector<QRgb>& table,
                       const std::function<std::uint32_t(int x, int y)>& pixel, std::uint32_t important) {
  const std::int64_t row_bytes = (static_cast<std::int64_t>(width) * bits + 31) / 32 * 4;
  const std::int64_t image_size = row_bytes * height;
  const int info_size = 40 + (bits < 24 ? 4 * (1 << bits) : 0);
  if (width < 0 || height < 0 || 14 + info_size + image_size > std::numeric_limits<int>::max())
    throw CtlError("Image bitmap incorrecte");
  QByteArray out;
  out.reserve(static_cast<int>(14 + info_size + image_size));
  out.append("BM", 2);
  Put32(out, static_cast<std::uint32_t>(14 + info_size + image_size));
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, static_cast<std::uint32_t>(14 + info_size));
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint16_t>(bits));
  Put32(out, 0);
  Put32(out, static_cast<std::uint32_t>(image_size));
  for (int i = 0; i < 3; ++i) Put32(out, 0);
  Put32(out, important);
  if (bits < 24) {
    for (int i = 0; i < (1 << bits); ++i) {
      const QRgb c = i < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(i)] : 0;
      out.append(static_cast<char>(qBlue(c)));
      out.append(static_cast<char>(qGreen(c)));
      out.append(static_cast<char>(qRed(c)));
      out.append('\0');
    }
  }
  for (int y = height - 1; y >= 0; --y) {
    QByteArray row(static_cast<int>(row_bytes), '\0');
    auto* r = reinterpret_cast<unsigned char*>(row.data());
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = pixel(x, y);
      if (bits == 24) {
        r[3 * x] = static_cast<unsigned char>(qBlue(v));
        r[3 * x + 1] = static_cast<unsigned char>(qGreen(v));
        r[3 * x + 2] = static_cast<unsigned char>(qRed(v));
      } else {
        const int per_byte = 8 / bits;
        const int shift = 8 - bits * (x % per_byte + 1);
        r[x / per_byte] |= static_cast<unsigned char>((v & ((1u << bits) - 1)) << shift);
      }
    }
    out.append(row);
  }
  return out;
}

QByteArray BuildDIBFile(const QImage& bmp, int colours) {
  if (bmp.isNull()) throw CtlError("Image bitmap incorrecte");
  const CtlBitmapInfoHeader h = InitBitmapInfoHeader(bmp, colours);
  const QImage img = bmp.convertToFormat(QImage::Format_RGB32);
  const int bits = h.BitCount;
  std::vector<QRgb> table;
  QHash<QRgb, int> index;
  if (bits < 24) table = PaletteFor(img, bits);
  auto index_of = [&](QRgb c) {
    if (bits == 1) return (qRed(c) + qGreen(c) + qBlue(c)) >= 384 ? 1 : 0;
    c |= 0xFF000000u;
    auto it = index.constFind(c);
    if (it != index.constEnd()) return it.value();
    const int i = Nearest(table, c);
    index.insert(c, i);
    return i;
  };
  return PackDIBFile(h.Width, h.Height, bits, table, [&](int x, int y) -> std::uint32_t {
    const QRgb c = reinterpret_cast<const QRgb*>(img.constScanLine(y))[x];
    return bits == 24 ? c : static_cast<std::uint32_t>(index_of(c));
  });
}

void WriteDIB(QIODevice& stream, const QImage& bmp, int colours, bool with_length) {
  const QByteArray file = BuildDIBFile(bmp, colours);
  if (with_length) WriteStreamInt(stream, static_cast<std::int32_t>(file.size()));
  if (stream.write(file) != file.size()) throw CtlError("Stream write error");
}

void WriteBitmapDIB(QIODevice& stream, const QImage& bmp, int colours) {
  WriteDIB(stream, bmp, bmp.depth() == 1 ? 2 : colours, false);
  stream.seek(0);
}

QImage ReadBMP(const QByteArray& bytes) {
  const char* kBad = "Invalid bitmap";
  if (bytes.size() < 18 || bytes[0] != 'B' || bytes[1] != 'M') throw CtlReadError(kBad);
  const std::uint32_t offset = Get32(bytes, 10), header = Get32(bytes, 14);
  if (offset > static_cast<std::uint32_t>(bytes.size()) || header > static_cast<std::uint32_t>(bytes.size()) - 14)
    throw CtlReadError(kBad);
  // Read by Qt's own BMP reader alone: told the format, QImage::loadFromData
  // would still load every picture plugin to ask whether it reads it.
  QBuffer tampon;
  tampon.setData(bytes);
  tampon.open(QIODevice::ReadOnly);
  QImageReader lecteur(&tampon, "bmp");
  lecteur.setAutoDetectImageFormat(false);
  QImage img;
  if (!lecteur.read(&img) || img.isNull()) throw CtlReadError(kBad);
  if (img.depth() == 1) {
    QImage mono = img.convertToFormat(QImage::Format_Mono);
    return mono;
  }
  return img.convertToFormat(QImage::Format_RGB32);
}

void WriteBitmapToStream(QIODevice& stream, const QImage& bmp, bool compressed, int colours) {
  if (compressed) {
    QByteArray file = BuildDIBFile(bmp, bmp.depth() == 1 ? 2 : colours);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    CompressToStream(buffer, stream, file.size());
    return;
  }
  WriteDIB(stream, bmp, colours, true);
}

namespace {

// The total size in a BMP file header; 0 when the head is no BMP.
std::int64_t DeclaredBMPSize(const QByteArray& head) {
  if (head.size() < 6 || head[0] != 'B' || head[1] != 'M') return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(head.constData());
  return static_cast<std::int64_t>(b[2] | (b[3] << 8) | (b[4] << 16) | (static_cast<std::uint32_t>(b[5]) << 24));
}

}  // namespace

QImage ReadBitmapFromStream(QIODevice& stream, bool compressed) {
  return ReadBMP(compressed ? ReadPackedBytes(stream, DeclaredBMPSize) : ReadPlainBytes(stream));
}
