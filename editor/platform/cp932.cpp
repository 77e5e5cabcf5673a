#include "platform/cp932.h"
namespace plat::cp932 {
bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
QString ToQString(std::string_view bytes) { return QString::fromLatin1(bytes.data(), (qsizetype)bytes.size()); }
std::string FromQString(const QString& text, std::size_t) { return text.toStdString(); }
std::string CutBytes(std::string_view bytes, std::size_t maxBytes) { return std::string(bytes.substr(0, maxBytes)); }
std::string FromUtf8(std::string_view utf8) { return std::string(utf8); }
QString ToEditText(std::string_view b) { return ToQString(b); }
std::string FromEditText(const QString& t, std::size_t m) { return FromQString(t, m); }
std::string ToUtf8Cut(const QString& t, std::size_t) { return t.toStdString(); }
}  // namespace plat::cp932
