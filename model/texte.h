// Plain text reading and writing for the document files: Latin-1 bytes,
// CR LF line ends on writing, CR LF or LF on reading, numbers in the C locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/erreur.h"
#include "platform/nombres.h"

namespace model {

// Unusable text in a document: names the line (1-based; 0 when the text
// does not come from a file line) and what was expected there.
struct ReadError : ModelError {
  ReadError(int line, const std::string& what);
  int line;
  std::string detail;  // what was expected, without the line
};

// Reads a text held in memory. Every byte passes through unchanged; a line
// ends at LF, and a CR just before that LF (or before the end of the text)
// belongs to the line end.
class TextReader {
 public:
  explicit TextReader(std::string bytes);
  // Reads bytes the caller keeps alive and unchanged while the reader is
  // used, without copying them (a document body of tens of megabytes).
  static TextReader borrowing(std::string_view bytes);
  // The whole file; ModelError when it cannot be read.
  static TextReader from_file(const std::filesystem::path& path);

  // The next decimal integer (optional sign), after skipping blanks, tabs and
  // line ends. ReadError for a character that cannot start or continue a
  // number, a value outside int32_t, or the end of the text.
  std::int32_t read_int() { return read_number(false); }
  // Like read_int, but a number also ends where a sign follows a digit: in
  // fixed-width fields "   607-32767" holds 607 and -32767.
  std::int32_t read_field_int() { return read_number(true); }
  // The next real (optional sign, "." as the decimal point, optional
  // exponent), after skipping blanks, tabs and line ends; it ends at a blank
  // or a line end. ReadError otherwise.
  double read_real();
  // Up to n bytes of the current line; stops before its line end.
  std::string read_chars(std::size_t n);
  // The next character of the current line, or nullopt at its end (the line
  // end is not consumed).
  std::optional<char> read_char();
  // The rest of the current line without its line end, which is consumed.
  // At the end of the text: an empty string.
  std::string read_line();
  // Consumes the rest of the current line and its line end.
  void skip_line();
  // Skips blanks and tabs within the current line; true when a character of
  // the line remains (the next read_int then stays on this line).
  bool more_on_line();
  bool eof() const { return pos_ >= bytes_.size(); }
  // Lines of the whole text: a last line without a line end counts, an empty
  // text has none.
  std::size_t line_count() const;
  // Line number (1-based) of the current position.
  int line() const { return line_; }
  std::size_t position() const { return pos_; }
  // Goes to byte `position` of line `line`, as position() and line() gave
  // them (a reader made again over more of the same text goes on there).
  void seek(std::size_t position, int line) {
    pos_ = position;
    line_ = line;
  }

 private:
  TextReader() = default;
  bool at_line_end() const;
  void skip_space();
  std::int32_t read_number(bool sign_ends);
  // The text read from: the reader's own copy (kept on the heap, so that a
  // moved reader still points into it) or bytes it borrows.
  std::shared_ptr<const std::string> own_;
  std::string_view bytes_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

// Builds a text in memory: CR LF line ends, numbers in the C locale, other
// bytes written as given.
class TextWriter {
 public:
  void write(std::string_view s) { out_.append(s); }
  void write_char(char c) { out_.push_back(c); }
  void write_int(std::int64_t v);
  void end_line() { out_.append("\r\n"); }
  void reserve(std::size_t n) { out_.reserve(n); }
  const std::string& bytes() const { return out_; }
  // Writes the text to a file; ModelError when that fails.
  void save(const std::filesystem::path& path) const;

 private:
  std::string out_;
};

// The number parsers of document fields, shared with the controls.
using platform::convertir_entier;
using platform::convertir_entier_ligne;
using platform::convertir_reel;

}  // namespace model
