// The small stream routines and the plain and packed forms of objects.
#include <gtest/gtest.h>

#include <QBuffer>

#include "controls/ctlerror.h"
#include "controls/streams.h"

namespace {

// A memory stream opened for reading and writing.
struct Memory {
  QByteArray bytes;
  QBuffer stream{&bytes};
  Memory() { stream.open(QIODevice::ReadWrite); }
  explicit Memory(const QByteArray& b) : bytes(b) { stream.open(QIODevice::ReadWrite); }
};

}  // namespace

TEST(StreamRoutines, IntegersBytesAndStrings) {
  Memory m;
  WriteStreamInt(m.stream, -2);
  WriteStreamInt(m.stream, 0x12345678);
  WriteStreamByte(m.stream, 0xE9);
  WriteStreamString(m.stream, "Grandes icones");
  EXPECT_EQ(m.bytes.toHex(' '), "fe ff ff ff 78 56 34 12 e9 0e 47 72 61 6e 64 65 73 20 69 63 6f 6e 65 73");
  m.stream.seek(0);
  EXPECT_EQ(ReadStreamInt(m.stream), -2);
  EXPECT_EQ(ReadStreamInt(m.stream), 0x12345678);
  EXPECT_EQ(ReadStreamByte(m.stream), 0xE9);
  EXPECT_EQ(ReadStreamString(m.stream), "Grandes icones");
  EXPECT_THROW(ReadStreamByte(m.stream), CtlReadError);

  Memory longer;
  WriteStreamString(longer.stream, QString(300, QChar(0xE9)));
  ASSERT_EQ(longer.bytes.size(), 256);
  EXPECT_EQ(static_cast<unsigned char>(longer.bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(longer.bytes[255]), 0xE9);
}

TEST(StreamRoutines, ShortReadsRaise) {
  Memory m(QByteArray::fromHex("0102030405"));
  m.stream.seek(3);
  try {
    ReadStreamInt(m.stream);
    FAIL() << "no error";
  } catch (const CtlReadError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
  Memory cut(QByteArray::fromHex("0561"));
  EXPECT_THROW(ReadStreamString(cut.stream), CtlReadError);
}

TEST(StreamRoutines, SplitStringKeepsEmptyPieces) {
  QStringList list{"old"};
  SplitString("a;b;;c", ';', &list);
  EXPECT_EQ(list, (QStringList{"a", "b", "", "c"}));
  SplitString("", ';', &list);
  EXPECT_EQ(list, (QStringList{"a", "b", "", "c"}));
  SplitString("x;", ';', &list);
  EXPECT_EQ(list, (QStringList{"x", ""}));
  SplitString("x", ';', nullptr);
}

TEST(StreamRoutines, StringListsPlainAndPacked) {
  CtlStrings strings;
  strings.SetLines(QStringList{QString(QChar(0xE9)), "x"});
  Memory plain;
  WriteObjectToStream(plain.stream, strings, false);
  EXPECT_EQ(plain.bytes.toHex(' '), "06 00 00 00 e9 0d 0a 78 0d 0a");
  plain.stream.seek(0);
  CtlStrings back;
  ReadObjectFromStream(plain.stream, back, false);
  EXPECT_EQ(back.Lines(), strings.Lines());

  Memory packed;
  WriteObjectToStream(packed.stream, strings, true);
  packed.stream.seek(0);
  CtlStrings unpacked;
  ReadObjectFromStream(packed.stream, unpacked, true);
  EXPECT_EQ(unpacked.Lines(), strings.Lines());
  EXPECT_EQ(packed.stream.pos(), packed.bytes.size());

  // Lines ending with LF only, and a last line without an end.
  Memory lf(QByteArray("\x09\x00\x00\x00one\ntwo\nz", 13));
  CtlStrings read;
  ReadObjectFromStream(lf.stream, read, false);
  EXPECT_EQ(read.Lines(), (QStringList{"one", "two", "z"}));
  // Saved with CR LF after every line; a text read as it is saved is shared, not copied.
  EXPECT_EQ(read.SavedForm(), "one\r\ntwo\r\nz\r\n");
  const QByteArray as_saved("a\r\n\r\nb\r\r\n");
  CtlStrings shared;
  shared.LoadForm(as_saved);
  EXPECT_EQ(shared.Lines(), (QStringList{"a", "", "b\r"}));
  EXPECT_EQ(shared.SavedForm().constData(), as_saved.constData());
  for (const char* text : {"a\r\nb\n", "a\r\nb", "\n", "\r"}) {
    CtlStrings mixed;
    mixed.LoadForm(text);
    CtlStrings again;
    again.SetLines(mixed.Lines());
    EXPECT_EQ(mixed.SavedForm(), again.SavedForm()) << text;
  }
}

TEST(StreamRoutines, PlainLengthsAreChecked) {
  CtlStrings strings;
  strings.SetLines(QStringList{"kept"});
  for (const char* hex : {"07000000414243", "ffffffff41", "0000"}) {
    Memory m(QByteArray::fromHex(hex));
    EXPECT_THROW(ReadObjectFromStream(m.stream, strings, false), CtlReadError) << hex;
    EXPECT_EQ(strings.Lines(), QStringList{"kept"});
  }
  Memory empty(QByteArray::fromHex("00000000"));
  ReadObjectFromStream(empty.stream, strings, false);
  EXPECT_TRUE(strings.Lines().isEmpty());
}
