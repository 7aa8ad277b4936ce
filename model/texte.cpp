#include "model/texte.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/fichiers.h"

namespace model {

namespace {

std::string line_message(int line, const std::string& what) {
  if (line <= 0) return what;
  return "line " + std::to_string(line) + ": " + what;
}

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The refusals of a number, out of the way of its scan: "a number was
// expected, ..." with the character found at `c` (none at the end of the text).
[[noreturn, gnu::noinline, gnu::cold]] void refuse_number(int line, const char* c, const char* what) {
  if (!c) throw ReadError(line, std::string(what) + ", the end of the file was found");
  throw ReadError(line, std::string(what) + ", \"" + std::string(1, *c) + "\" was found");
}
[[noreturn, gnu::noinline, gnu::cold]] void refuse_continuation(int line, char c) {
  throw ReadError(line, "a number was expected, \"" + std::string(1, c) + "\" cannot continue it");
}
[[noreturn, gnu::noinline, gnu::cold]] void refuse_range(int line) {
  throw ReadError(line, "a number within the 32-bit range was expected");
}

}  // namespace

ReadError::ReadError(int l, const std::string& what) : ModelError(line_message(l, what)), line(l), detail(what) {}

TextReader::TextReader(std::string bytes)
    : own_(std::make_shared<const std::string>(std::move(bytes))), bytes_(*own_) {}

TextReader TextReader::borrowing(std::string_view bytes) {
  TextReader r;
  r.bytes_ = bytes;
  return r;
}

TextReader TextReader::from_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ModelError("cannot open " + path.string());
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw ModelError("cannot read " + path.string());
  return TextReader(std::move(data));
}

bool TextReader::at_line_end() const {
  if (pos_ >= bytes_.size()) return true;
  char c = bytes_[pos_];
  if (c == '\n') return true;
  if (c == '\r') return pos_ + 1 >= bytes_.size() || bytes_[pos_ + 1] == '\n';
  return false;
}

// The scans below work on local copies of the position: a byte read through
// a char pointer may alias the reader's own fields, which would otherwise be
// written back before every byte. Blanks are skipped inline, before every
// number read.
[[gnu::always_inline]] inline void TextReader::skip_space() {
  const char* const d = bytes_.data();
  const std::size_t size = bytes_.size();
  std::size_t p = pos_;
  int lignes = 0;
  for (; p < size && blank(d[p]); ++p)
    if (d[p] == '\n') ++lignes;
  pos_ = p;
  line_ += lignes;
}

std::int32_t TextReader::read_number(bool sign_ends) {
  skip_space();
  const char* const d = bytes_.data();
  const std::size_t size = bytes_.size();
  std::size_t p = pos_;
  if (p >= size) refuse_number(line_, nullptr, "a number was expected");
  bool negative = false;
  if (d[p] == '-' || d[p] == '+') {
    negative = d[p] == '-';
    pos_ = ++p;
    if (p >= size) refuse_number(line_, nullptr, "a digit was expected");
  }
  if (d[p] < '0' || d[p] > '9') refuse_number(line_, d + p, "a number was expected");
  // The magnitude of INT32_MIN is the largest one allowed.
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t v = 0;
  for (; p < size && d[p] >= '0' && d[p] <= '9'; ++p) {
    v = v * 10 + (d[p] - '0');
    if (v > limit) {
      pos_ = p;
      refuse_range(line_);
    }
  }
  pos_ = p;
  if (p < size && !blank(d[p]) && !(sign_ends && (d[p] == '-' || d[p] == '+'))) refuse_continuation(line_, d[p]);
  return static_cast<std::int32_t>(negative ? -v : v);
}

double TextReader::read_real() {
  skip_space();
  if (pos_ >= bytes_.size()) throw ReadError(line_, "a number was expected, the end of the file was found");
  const std::size_t start = pos_;
  while (pos_ < bytes_.size() && !blank(bytes_[pos_])) ++pos_;
  const std::string_view token(bytes_.data() + start, pos_ - start);
  const auto v = convertir_reel(token);
  if (!v) throw ReadError(line_, "a number was expected, \"" + std::string(token) + "\" was found");
  return *v;
}

std::string TextReader::read_chars(std::size_t n) {
  const std::size_t start = pos_;
  while (pos_ - start < n && !at_line_end()) ++pos_;
  return std::string(bytes_.substr(start, pos_ - start));
}

std::size_t TextReader::line_count() const {
  std::size_t count = 0;
  for (char c : bytes_)
    if (c == '\n') ++count;
  if (!bytes_.empty() && bytes_.back() != '\n') ++count;
  return count;
}

std::optional<char> TextReader::read_char() {
  if (at_line_end()) return std::nullopt;
  return bytes_[pos_++];
}

std::string TextReader::read_line() {
  std::size_t start = pos_;
  std::size_t end = bytes_.find('\n', pos_);
  if (end == std::string::npos) {
    pos_ = bytes_.size();
    end = pos_;
  } else {
    pos_ = end + 1;
    ++line_;
  }
  if (end > start && bytes_[end - 1] == '\r') --end;
  return std::string(bytes_.substr(start, end - start));
}

void TextReader::skip_line() {
  std::size_t end = bytes_.find('\n', pos_);
  if (end == std::string::npos) {
    pos_ = bytes_.size();
  } else {
    pos_ = end + 1;
    ++line_;
  }
}

bool TextReader::more_on_line() {
  while (pos_ < bytes_.size() && (bytes_[pos_] == ' ' || bytes_[pos_] == '\t')) ++pos_;
  return !at_line_end();
}

void TextWriter::write_int(std::int64_t v) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  out_.append(buf, r.ptr);
}

void TextWriter::save(const std::filesystem::path& path) const {
  const Echec e = ecrire_fichier(path.string(), out_);
  if (!e.empty()) throw ModelError("cannot write " + path.string() + ": " + e);
}

}  // namespace model
