#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace plat::cp932 {
namespace {

// One iconv conversion descriptor per direction, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one unit (a whole character of the source); false when it has no form
  // in the target or is not a valid sequence.
  bool ConvertOne(const char* in, std::size_t inLen, std::string& out) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buf[16];
    char* inPtr = const_cast<char*>(in);
    char* outPtr = buf;
    std::size_t outLeft = sizeof buf;
    std::size_t r = iconv(cd_, &inPtr, &inLen, &outPtr, &outLeft);
    if (r == static_cast<std::size_t>(-1) || inLen != 0) return false;
    // Flush any shift state (none for these encodings, but harmless).
    iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buf, static_cast<std::size_t>(outPtr - buf));
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ToCp932() {
  static Converter c("CP932", "UTF-8");
  return c;
}
Converter& FromCp932() {
  static Converter c("UTF-8", "CP932");
  return c;
}

// Length of the UTF-8 sequence starting with byte b (1 for a stray byte).
std::size_t Utf8Length(unsigned char b) {
  if (b >= 0xF0) return 4;
  if (b >= 0xE0) return 3;
  if (b >= 0xC0) return 2;
  return 1;
}

// CP932 bytes of one Unicode character given as UTF-8; '?' when it has none.
std::string EncodeChar(const char* utf8, std::size_t len) {
  std::string out;
  if (len == 1 && static_cast<unsigned char>(utf8[0]) < 0x80) {
    out.push_back(utf8[0]);
    return out;
  }
  if (!ToCp932().ConvertOne(utf8, len, out)) out = "?";
  return out;
}

// Applies f(bytes of the next character) over text until f returns false.
template <class F>
void ForEachEncoded(const QString& text, F f) {
  const QByteArray utf8 = text.toUtf8();
  const char* p = utf8.constData();
  const std::size_t n = static_cast<std::size_t>(utf8.size());
  std::size_t i = 0;
  while (i < n) {
    std::size_t len = Utf8Length(static_cast<unsigned char>(p[i]));
    if (i + len > n) len = n - i;
    if (!f(EncodeChar(p + i, len))) return;
    i += len;
  }
}

}  // namespace

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

QString ToQString(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size() * 3 / 2);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      utf8.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    std::size_t len = IsLeadByte(b) ? 2 : 1;
    if (i + len > bytes.size() || !FromCp932().ConvertOne(bytes.data() + i, len, utf8)) {
      utf8 += "\xEF\xBF\xBD";  // U+FFFD
      len = 1;                 // resynchronise on the next byte
      if (IsLeadByte(b) && i + 1 < bytes.size() &&
          static_cast<unsigned char>(bytes[i + 1]) >= 0x40)
        len = 2;               // a lead and trail pair with no mapping: one character
    }
    i += len;
  }
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& text, std::size_t maxBytes) {
  std::string out;
  ForEachEncoded(text, [&](const std::string& c) {
    if (c.size() > maxBytes - out.size()) return false;
    out += c;
    return true;
  });
  return out;
}

std::string CutBytes(std::string_view bytes, std::size_t maxBytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t len =
        IsLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
    if (len > maxBytes - i) break;
    i += len;
  }
  return std::string(bytes.substr(0, i));
}

std::string FromUtf8(std::string_view utf8) {
  return FromQString(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

QString ToEditText(std::string_view bytes) {
  QString s = ToQString(bytes);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

std::string FromEditText(const QString& text, std::size_t maxBytes) {
  // A CR LF pair is one unit: a cut never leaves a lone CR.
  std::string out;
  ForEachEncoded(text, [&](const std::string& c) {
    const std::string unit = c == "\n" ? std::string("\r\n") : c;
    if (unit.size() > maxBytes - out.size()) return false;
    out += unit;
    return true;
  });
  return out;
}

std::string CutUtf8(std::string_view bytes, std::size_t maxBytes) {
  if (bytes.size() <= maxBytes) return std::string(bytes);
  std::size_t i = maxBytes;
  while (i > 0 && (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80) --i;
  return std::string(bytes.substr(0, i));
}

}  // namespace plat::cp932
