// CP932 text at the widget boundary. The document keeps CP932 bytes; Qt widgets show
// Unicode. Conversion goes through iconv "CP932" (not Shift_JIS: 0x5C stays '\').
#pragma once
#include <QString>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace plat::cp932 {

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

// True for a byte that starts a double-byte character (81-9F, E0-FC).
bool IsLeadByte(unsigned char b);

// Bytes -> Unicode. A byte sequence that is not CP932 shows as U+FFFD.
QString ToQString(std::string_view bytes);

// Unicode -> bytes, at most maxBytes bytes, cut before a character that does not fit
// whole. A character with no CP932 form becomes '?'.
std::string FromQString(const QString& text, std::size_t maxBytes = kNoLimit);

// The longest prefix of bytes of at most maxBytes bytes that ends on a character boundary.
std::string CutBytes(std::string_view bytes, std::size_t maxBytes);

// A UTF-8 literal of the source code as CP932 bytes (for texts the document stores).
std::string FromUtf8(std::string_view utf8);

// Multi-line edit texts: the document holds CR LF, the widget LF.
QString ToEditText(std::string_view bytesWithCrLf);            // CR LF -> LF
std::string FromEditText(const QString& text, std::size_t maxBytes = kNoLimit);  // LF -> CR LF

// The longest prefix of UTF-8 bytes of at most maxBytes bytes that does not end inside a
// sequence (bytes that are not UTF-8 are cut like single characters).
std::string CutUtf8(std::string_view bytes, std::size_t maxBytes);

}  // namespace plat::cp932
