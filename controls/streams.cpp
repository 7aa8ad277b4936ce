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

}  // namespace

QByteArray CtlStreamObject::SavedForm() const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  SaveToStream(buffer);
  return bytes;
}

void CtlStreamObject::LoadForm(QByteArray bytes) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  LoadFromStream(buffer);
}

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

namespace {

// The most a chunked stream of `total` bytes unpacks to, from its chunk
// headers alone (no chunk unpacks to more than kLzrwChunk bytes): the blocks
// are stepped over and the stream put back where it was. −1 when the device
// cannot seek or the headers do not hold together (reading then says why).
std::int64_t UnpackedBound(QIODevice& stream, std::int64_t total) {
  if (stream.isSequential()) return -1;
  const qint64 start = stream.pos(), size = stream.size();
  std::int64_t chunks = 0;
  qint64 at = start;
  unsigned char b[4];
  while (total > 0) {
    if (at + 4 > size || !stream.seek(at) || stream.read(reinterpret_cast<char*>(b), 4) != 4) break;
    const std::int64_t n = static_cast<std::int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24));
    if (n < 1 || static_cast<std::size_t>(n) > kLzrwMaxBlock || 4 + n > total || at + 4 + n > size) break;
    at += 4 + n;
    total -= 4 + n;
    ++chunks;
  }
  if (!stream.seek(start)) throw CtlReadError(kReadError);
  return total > 0 ? -1 : chunks * static_cast<std::int64_t>(kLzrwChunk);
}

}  // namespace

QByteArray ReadPackedBytes(QIODevice& stream, CtlDeclaredSize declared) {
  std::int64_t total = ReadStreamInt(stream);
  std::int64_t limit = kPackedStreamLimit;
  if (CtlUnpackBudget::Left() >= 0) limit = std::min(limit, CtlUnpackBudget::Left());
  const std::int64_t fixed_limit = limit;
  const std::int64_t bound = UnpackedBound(stream, total);
  // Each block is unpacked straight onto the end of the one result, made as
  // large as the headers allow (within the limit) after the first block, so
  // that it is not grown and copied again and again: the memory taken is the
  // output's own size, and at most one chunk more.
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
    if (first) {
      const std::int64_t declared_size = declared ? declared(result) : 0;
      if (declared_size > 0) limit = std::min(limit, declared_size + static_cast<std::int64_t>(kLzrwChunk));
      std::int64_t room = bound > 0 ? std::min(bound, limit) : 0;
      if (declared_size > 0) room = std::min(limit, declared_size);
      if (room > result.size()) result.reserve(static_cast<qsizetype>(room));
    }
    first = false;
  }
  // A small result does not keep room for a chunk it did not need.
  if (result.capacity() - result.size() > result.size()) result.squeeze();
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
  QByteArray bytes = object.SavedForm();
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
  object.LoadForm(compressed ? ReadPackedBytes(stream) : ReadPlainBytes(stream));
}

void SplitString(const QString& text, QChar separator, QStringList* list) {
  if (text.isEmpty() || !list) return;
  *list = text.split(separator, Qt::KeepEmptyParts);
}

namespace {

// Each line of a text read with CR LF or LF (a CR before the LF, or at the
// very end, is not part of the line), handed to `line(start, length)`.
template <class Line>
void ForEachLine(const QByteArray& text, Line line) {
  qsizetype from = 0;
  while (from < text.size()) {
    qsizetype end = text.indexOf('\n', from);
    if (end < 0) end = text.size();
    qsizetype stop = end;
    if (stop > from && text[stop - 1] == '\r') --stop;
    line(from, stop - from);
    from = end + 1;
  }
}

// Whether the text is already as saved: every line ends with CR LF.
bool SavedAsIs(const QByteArray& text) {
  if (text.isEmpty()) return true;
  if (!text.endsWith('\n')) return false;
  for (qsizetype at = text.indexOf('\n'); at >= 0; at = text.indexOf('\n', at + 1))
    if (at == 0 || text[at - 1] != '\r') return false;
  return true;
}

}  // namespace

QStringList CtlStrings::Lines() const {
  QStringList lines;
  ForEachLine(text_, [&](qsizetype from, qsizetype n) { lines << QString::fromLatin1(text_.constData() + from, n); });
  return lines;
}

void CtlStrings::SetLines(const QStringList& lines) {
  QByteArray text;
  for (const QString& line : lines) {
    text += line.toLatin1();
    text += "\r\n";
  }
  text_ = text;
}

QByteArray CtlStrings::SavedForm() const {
  if (SavedAsIs(text_)) return text_;
  QByteArray saved;
  saved.reserve(text_.size() + 2);
  ForEachLine(text_, [&](qsizetype from, qsizetype n) {
    saved.append(text_.constData() + from, n);
    saved.append("\r\n");
  });
  return saved;
}

void CtlStrings::SaveToStream(QIODevice& stream) const {
  const QByteArray bytes = SavedForm();
  WriteAll(stream, bytes.constData(), bytes.size());
}

void CtlStrings::LoadFromStream(QIODevice& stream) { LoadForm(stream.readAll()); }
