#include "controls/streams.h"

#include <QBuffer>
#include <algorithm>
#include <limits>
#include <vector>

#include "controls/ctlerror.h"
#include "controls/lzrw.h"

namespace {

const char kReadError[] = "Stream read error";
const char kCorrupt[] = "Corrupt compressed data";
const char kTooLarge[] = "Compressed data unpacks to more than 256 MB";  // in one stream or one file
const char kPastDeclared[] = "Compressed data unpacks past its declared size";

void WriteAll(QIODevice& stream, const char* data, qint64 size) {
  if (size > 0 && stream.write(data, size) != size) throw CtlError("Stream write error");
}

void ReadExactly(QIODevice& stream, char* data, qint64 size) {
  if (size > 0 && stream.read(data, size) != size) throw CtlReadError(kReadError);
}

QByteArray SavedBytes(const CtlStreamObject& object) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  object.SaveToStream(buffer);
  return bytes;
}

void LoadBytes(CtlStreamObject& object, QByteArray bytes) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  object.LoadFromStream(buffer);
}

}  // namespace

std::int64_t StreamBytesLeft(QIODevice& stream) {
  if (stream.isSequential()) return stream.bytesAvailable();
  return std::max<qint64>(0, stream.size() - stream.pos());
}

void WriteStreamInt(QIODevice& stream, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  const char bytes[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                         static_cast<char>((u >> 16) & 0xFF), static_cast<char>(u >> 24)};
  WriteAll(stream, bytes, 4);
}

std::int32_t ReadStreamInt(QIODevice& stream) {
  unsigned char b[4];
  ReadExactly(stream, reinterpret_cast<char*>(b), 4);
  return static_cast<std::int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
}

void WriteStreamByte(QIODevice& stream, std::uint8_t value) {
  const char c = static_cast<char>(value);
  WriteAll(stream, &c, 1);
}

std::uint8_t ReadStreamByte(QIODevice& stream) {
  char c;
  ReadExactly(stream, &c, 1);
  return static_cast<std::uint8_t>(c);
}

void WriteStreamString(QIODevice& stream, const QString& text) {
  const QByteArray bytes = text.toLatin1().left(255);
  WriteStreamByte(stream, static_cast<std::uint8_t>(bytes.size()));
  WriteAll(stream, bytes.constData(), bytes.size());
}

QString ReadStreamString(QIODevice& stream) {
  const int n = ReadStreamByte(stream);
  QByteArray bytes(n, '\0');
  ReadExactly(stream, bytes.data(), n);
  return QString::fromLatin1(bytes);
}

void CompressToStream(QIODevice& source, QIODevice& target, std::int64_t count) {
  const qint64 start = target.pos();
  WriteStreamInt(target, 0);
  std::vector<std::uint8_t> input(kLzrwChunk);
  std::vector<std::uint8_t> block(kLzrwChunk + kLzrwSlack);
  std::int64_t total = 0;
  while (count > 0) {
    const qint64 want = std::min<std::int64_t>(count, static_cast<std::int64_t>(kLzrwChunk));
    const qint64 got = source.read(reinterpret_cast<char*>(input.data()), want);
    if (got <= 0) break;
    const std::size_t b = LZRWCompressBlock({input.data(), static_cast<std::size_t>(got)}, block);
    WriteStreamInt(target, static_cast<std::int32_t>(b));
    WriteAll(target, reinterpret_cast<const char*>(block.data()), static_cast<qint64>(b));
    total += 4 + static_cast<std::int64_t>(b);
    if (total > std::numeric_limits<std::int32_t>::max()) throw CtlError("Stream write error");
    count -= got;
    if (got < want) break;
  }
  const qint64 end = target.pos();
  if (!target.seek(start)) throw CtlError("Stream write error");
  WriteStreamInt(target, static_cast<std::int32_t>(total));
  target.seek(end);
}

namespace {
thread_local CtlUnpackBudget* budget_in_force = nullptr;
}  // namespace

CtlUnpackBudget::CtlUnpackBudget(std::int64_t bytes) : left_(bytes), outermost_(budget_in_force == nullptr) {
  if (outermost_) budget_in_force = this;
}

CtlUnpackBudget::~CtlUnpackBudget() {
  if (outermost_) budget_in_force = nullptr;
}

std::int64_t CtlUnpackBudget::Left() { return budget_in_force ? budget_in_force->left_ : -1; }

void CtlUnpackBudget::Spend(std::int64_t bytes) {
  if (budget_in_force) budget_in_force->left_ -= bytes;
}

QByteArray ReadPackedBytes(QIODevice& stream, CtlDeclaredSize declared) {
  std::int64_t total = ReadStreamInt(stream);
  std::int64_t limit = kPackedStreamLimit;
  if (CtlUnpackBudget::Left() >= 0) limit = std::min(limit, CtlUnpackBudget::Left());
  const std::int64_t fixed_limit = limit;
  // Each block is unpacked straight onto the end of the one result, which
  // grows as it goes: the memory taken never passes the output's own size
  // (and the growing room the result keeps).
  QByteArray result;
  std::vector<std::uint8_t> block(kLzrwMaxBlock);
  std::vector<std::uint8_t> output(kLzrwChunk);
  bool first = true;
  while (total > 0) {
    const std::int32_t b = ReadStreamInt(stream);
    if (b < 1 || static_cast<std::size_t>(b) > kLzrwMaxBlock || 4 + static_cast<std::int64_t>(b) > total)
      throw CtlReadError(kCorrupt);
    if (stream.read(reinterpret_cast<char*>(block.data()), b) != b) throw CtlReadError(kCorrupt);
    const auto n = LZRWDecompressBlock({block.data(), static_cast<std::size_t>(b)}, output);
    if (!n) throw CtlReadError(kCorrupt);
    if (result.size() + static_cast<std::int64_t>(*n) > limit)
      throw CtlReadError(limit == fixed_limit ? kTooLarge : kPastDeclared);
    result.append(reinterpret_cast<const char*>(output.data()), static_cast<qsizetype>(*n));
    total -= 4 + b;
    if (first && declared) {
      const std::int64_t declared_size = declared(result);
      if (declared_size > 0) {
        limit = std::min(limit, declared_size + static_cast<std::int64_t>(kLzrwChunk));
        result.reserve(static_cast<qsizetype>(std::min(limit, declared_size)));
      }
    }
    first = false;
  }
  CtlUnpackBudget::Spend(result.size());
  return result;
}

void DecompressFromStream(QIODevice& source, QIODevice& target) {
  const QByteArray bytes = ReadPackedBytes(source);
  WriteAll(target, bytes.constData(), bytes.size());
}

QByteArray ReadPlainBytes(QIODevice& stream) {
  const std::int32_t length = ReadStreamInt(stream);
  if (length < 0 || length > StreamBytesLeft(stream)) throw CtlReadError(kReadError);
  QByteArray bytes(length, '\0');
  ReadExactly(stream, bytes.data(), length);
  return bytes;
}

void WriteObjectToStream(QIODevice& stream, const CtlStreamObject& object, bool compressed) {
  QByteArray bytes = SavedBytes(object);
  if (compressed) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CompressToStream(buffer, stream, bytes.size());
    return;
  }
  if (bytes.size() > std::numeric_limits<std::int32_t>::max()) throw CtlError("Stream write error");
  WriteStreamInt(stream, static_cast<std::int32_t>(bytes.size()));
  WriteAll(stream, bytes.constData(), bytes.size());
}

void ReadObjectFromStream(QIODevice& stream, CtlStreamObject& object, bool compressed) {
  LoadBytes(object, compressed ? ReadPackedBytes(stream) : ReadPlainBytes(stream));
}

void SplitString(const QString& text, QChar separator, QStringList* list) {
  if (text.isEmpty() || !list) return;
  *list = text.split(separator, Qt::KeepEmptyParts);
}

void CtlStrings::SaveToStream(QIODevice& stream) const {
  QByteArray bytes;
  for (const QString& line : Lines) {
    bytes += line.toLatin1();
    bytes += "\r\n";
  }
  WriteAll(stream, bytes.constData(), bytes.size());
}

void CtlStrings::LoadFromStream(QIODevice& stream) {
  const QByteArray bytes = stream.readAll();
  QStringList lines;
  qsizetype from = 0;
  while (from < bytes.size()) {
    qsizetype end = bytes.indexOf('\n', from);
    if (end < 0) end = bytes.size();
    qsizetype stop = end;
    if (stop > from && bytes[stop - 1] == '\r') --stop;
    lines << QString::fromLatin1(bytes.constData() + from, stop - from);
    from = end + 1;
  }
  Lines = lines;
}
