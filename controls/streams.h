// Stream routines of the library on QIODevice (QBuffer in memory, QFile for
// reading): little-endian integers, bytes and short Latin-1 strings, the
// chunked LZRW stream, and the plain and packed forms of objects that save
// themselves to a stream. A fixed-size field that comes up short, a plain
// length past the end and corrupt packed data raise CtlReadError; no routine
// returns garbage.
//
// Chunked stream: an int32 total (sum over the chunks of 4 + block length),
// then per chunk an int32 block length and the block; every chunk but the
// last packs kLzrwChunk bytes.
#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <cstdint>

// An object that writes itself to and reads itself from a stream.
class CtlStreamObject {
 public:
  virtual ~CtlStreamObject() = default;
  virtual void SaveToStream(QIODevice& stream) const = 0;
  // Reads from the current position to the end.
  virtual void LoadFromStream(QIODevice& stream) = 0;
  // The saved form as bytes, and loading from them (what the plain and packed
  // forms carry); by default through the stream operations over a buffer. An
  // object that keeps its content as these bytes shares them instead.
  virtual QByteArray SavedForm() const;
  virtual void LoadForm(QByteArray bytes);
};

// Lines of text saved in Latin-1 with CR LF after every line; read with CR LF
// or LF. The text is kept as its Latin-1 bytes, as read: a text of a few
// hundred megabytes takes that much once, shared with the bytes it was read
// from, and lines become QStrings only when asked for.
class CtlStrings : public CtlStreamObject {
 public:
  QStringList Lines() const;
  void SetLines(const QStringList& lines);
  bool IsEmpty() const { return text_.isEmpty(); }
  void Clear() { text_.clear(); }
  void SaveToStream(QIODevice& stream) const override;
  void LoadFromStream(QIODevice& stream) override;
  QByteArray SavedForm() const override;
  void LoadForm(QByteArray bytes) override { text_ = std::move(bytes); }

 private:
  QByteArray text_;
};

void WriteStreamInt(QIODevice& stream, std::int32_t value);
std::int32_t ReadStreamInt(QIODevice& stream);
void WriteStreamByte(QIODevice& stream, std::uint8_t value);
std::uint8_t ReadStreamByte(QIODevice& stream);
// A length byte, then the Latin-1 characters; a longer text is cut at 255 bytes.
void WriteStreamString(QIODevice& stream, const QString& text);
QString ReadStreamString(QIODevice& stream);

// Packs `count` bytes of `source` (from its position; fewer when it ends first).
void CompressToStream(QIODevice& source, QIODevice& target, std::int64_t count);
// Unpacks one chunked stream; on corrupt data (CtlReadError "Corrupt compressed
// data") nothing is written to `target`.
void DecompressFromStream(QIODevice& source, QIODevice& target);

// Packed: the chunked stream of the saved form. Plain: an int32 length L (the
// saved bytes only), then the L bytes; 0 <= L <= the bytes left.
void WriteObjectToStream(QIODevice& stream, const CtlStreamObject& object, bool compressed);
void ReadObjectFromStream(QIODevice& stream, CtlStreamObject& object, bool compressed);

// The most bytes a packed stream may unpack to. A few kilobytes of runs can
// stand for gigabytes, so a stream that would grow past this is refused.
constexpr std::int64_t kPackedStreamLimit = std::int64_t{256} << 20;

// The size the unpacked content gives for itself in its first bytes (at least
// the first chunk's output), or 0 when it gives none.
using CtlDeclaredSize = std::int64_t (*)(const QByteArray& head);

// While one lives, the packed streams read on its thread share its bytes: a
// file of many packed items unpacks to no more in all than the budget. An
// inner budget made while one is in force has no effect of its own.
class CtlUnpackBudget {
 public:
  explicit CtlUnpackBudget(std::int64_t bytes = kPackedStreamLimit);
  ~CtlUnpackBudget();
  CtlUnpackBudget(const CtlUnpackBudget&) = delete;
  CtlUnpackBudget& operator=(const CtlUnpackBudget&) = delete;
  // The bytes left to the budget in force, or −1 without one.
  static std::int64_t Left();
  // Takes unpacked bytes from the budget in force, if any.
  static void Spend(std::int64_t bytes);

 private:
  std::int64_t left_;
  bool outermost_;
};

// The bytes of a plain or packed object (what ReadObjectFromStream loads from).
QByteArray ReadPlainBytes(QIODevice& stream);
// A packed stream may unpack to at most kPackedStreamLimit bytes (or what is
// left of the budget in force), and, when `declared` finds a size in the
// content, to at most that size plus one chunk; past it CtlReadError, having
// read no further chunk.
QByteArray ReadPackedBytes(QIODevice& stream, CtlDeclaredSize declared = nullptr);

// Clears the list and adds each piece between separators, empty ones
// included; nothing for an empty text or no list.
void SplitString(const QString& text, QChar separator, QStringList* list);

// Bytes left from the stream's position.
std::int64_t StreamBytesLeft(QIODevice& stream);
