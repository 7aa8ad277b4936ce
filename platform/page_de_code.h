// Document text (comment lines, movie information) is single bytes of the
// Windows Latin-1 code page (Windows-1252) on disk and UTF-8 in the program's
// strings. Every byte has a character and comes back as the same byte: the
// five bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// stand for the control characters of the same number.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The character of a document byte.
char32_t caractere_page_de_code(unsigned char octet);
// The byte of a character; nullopt when the code page cannot hold it.
std::optional<unsigned char> octet_page_de_code(char32_t c);

std::string page_de_code_vers_utf8(std::string_view octets);
// A character the code page cannot hold, or a byte that is not UTF-8, becomes
// "?". `remplaces`, when given, receives each such character once, in the
// order met (UTF-8; U+FFFD stands for bytes that are not UTF-8).
std::string utf8_vers_page_de_code(std::string_view utf8, std::string* remplaces = nullptr);

}  // namespace platform
