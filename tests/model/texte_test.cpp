#include "model/texte.h"

#include <gtest/gtest.h>

#include <filesystem>

using model::ReadError;
using model::TextReader;
using model::TextWriter;

TEST(TextReader, IntegersAcrossBlanksAndLineEnds) {
  TextReader r("  12 -3\r\n\r\n+7\t0 \n-2147483648 2147483647");
  EXPECT_EQ(r.read_int(), 12);
  EXPECT_EQ(r.read_int(), -3);
  EXPECT_EQ(r.line(), 1);
  EXPECT_EQ(r.read_int(), 7);
  EXPECT_EQ(r.line(), 3);
  EXPECT_EQ(r.read_int(), 0);
  EXPECT_EQ(r.read_int(), -2147483648);
  EXPECT_EQ(r.read_int(), 2147483647);
  EXPECT_TRUE(r.eof());
}

TEST(TextReader, BadNumbersNameTheLine) {
  auto fails_on_line = [](const char* text, int line) {
    TextReader r(text);
    try {
      for (;;) r.read_int();
    } catch (const ReadError& e) {
      EXPECT_EQ(e.line, line) << text;
      EXPECT_NE(std::string(e.what()).find("line " + std::to_string(line)), std::string::npos);
      return;
    }
  };
  fails_on_line("1\r\n2\r\n3x\r\n", 3);
  fails_on_line("1 \n a", 2);
  fails_on_line("99999999999", 1);
  fails_on_line("2147483648", 1);
  fails_on_line("-2147483649", 1);
  fails_on_line("1\n-", 2);
  fails_on_line("1\n- 4", 2);
  fails_on_line("5 \xE9", 1);
  fails_on_line("1\r\n2\r\n", 3);  // end of file where a number must follow
  EXPECT_THROW(TextReader("").read_int(), ModelError);
}

TEST(TextReader, LinesAndCharacters) {
  TextReader r("ab\r\n[Sol]\ncaf\xE9\r\r\nlast\r");
  EXPECT_EQ(r.read_char(), 'a');
  EXPECT_EQ(r.read_char(), 'b');
  EXPECT_EQ(r.read_char(), std::nullopt);
  EXPECT_EQ(r.read_char(), std::nullopt);  // the line end stays until skipped
  r.skip_line();
  EXPECT_EQ(r.read_line(), "[Sol]");
  // Latin-1 passes through; only the CR right before the LF is dropped.
  EXPECT_EQ(r.read_line(), "caf\xE9\r");
  EXPECT_EQ(r.line(), 4);
  EXPECT_EQ(r.read_line(), "last");
  EXPECT_TRUE(r.eof());
  EXPECT_EQ(r.read_line(), "");
  EXPECT_EQ(r.read_char(), std::nullopt);

  TextReader mid("a\rb\r\n");
  EXPECT_EQ(mid.read_char(), 'a');
  EXPECT_EQ(mid.read_char(), '\r');  // a CR inside a line is an ordinary byte
  EXPECT_EQ(mid.read_char(), 'b');
  EXPECT_EQ(mid.read_char(), std::nullopt);
}

TEST(TextReader, FieldsRealsAndLineCounts) {
  // Fixed-width fields: a sign right after a digit starts the next number,
  // which read_int keeps refusing.
  TextReader f("   607-32767 +12   3\r\n-4");
  EXPECT_EQ(f.read_field_int(), 607);
  EXPECT_EQ(f.read_field_int(), -32767);
  EXPECT_EQ(f.read_field_int(), 12);
  EXPECT_EQ(f.read_field_int(), 3);
  EXPECT_EQ(f.read_field_int(), -4);
  EXPECT_THROW(TextReader("12-3").read_int(), ReadError);
  try {
    TextReader bad("1\n2 12.5");
    bad.read_field_int();
    bad.read_field_int();
    bad.read_field_int();
    FAIL();
  } catch (const ReadError& e) {
    EXPECT_EQ(e.line, 2);
  }

  TextReader r(" 1.5e3\n-0.25 x 7,5");
  EXPECT_DOUBLE_EQ(r.read_real(), 1500.0);
  EXPECT_DOUBLE_EQ(r.read_real(), -0.25);
  EXPECT_THROW(r.read_real(), ReadError);
  EXPECT_THROW(TextReader("  \n").read_real(), ReadError);

  // read_chars stops before the line end and leaves it in place.
  TextReader c("abcdef\r\nxy");
  EXPECT_EQ(c.read_chars(4), "abcd");
  EXPECT_EQ(c.read_chars(10), "ef");
  EXPECT_EQ(c.read_chars(3), "");
  c.skip_line();
  EXPECT_EQ(c.read_chars(1), "x");

  EXPECT_EQ(TextReader("").line_count(), 0u);
  EXPECT_EQ(TextReader("a").line_count(), 1u);
  EXPECT_EQ(TextReader("a\r\nb\r\n").line_count(), 2u);
  EXPECT_EQ(TextReader("a\nb").line_count(), 2u);
  EXPECT_EQ(TextReader("a\n\n").line_count(), 2u);
}

TEST(TextWriter, CrLfAndCLocaleNumbers) {
  TextWriter w;
  w.write_int(-2000);
  w.write_char(' ');
  w.write_int(1234567);
  w.end_line();
  w.write("\xE9t\xE9");
  w.end_line();
  EXPECT_EQ(w.bytes(), "-2000 1234567\r\n\xE9t\xE9\r\n");

  auto path = std::filesystem::temp_directory_path() / "quorvel_texte_test.txt";
  w.save(path);
  TextReader r = TextReader::from_file(path);
  EXPECT_EQ(r.read_int(), -2000);
  EXPECT_EQ(r.read_int(), 1234567);
  r.skip_line();
  EXPECT_EQ(r.read_line(), "\xE9t\xE9");
  std::filesystem::remove(path);
  EXPECT_THROW(TextReader::from_file(path), ModelError);
}
