#include "platform/ini.h"

namespace plat {

std::string Ini::GetString(const std::string&, const std::string&, const std::string& fallback) const {
  return fallback;
}
int Ini::GetInt(const std::string&, const std::string&, int fallback) const { return fallback; }
bool Ini::WriteString(const std::string&, const std::string&, const std::string&) const { return false; }
bool Ini::WriteSection(const std::string&, const std::vector<std::string>&) const { return false; }

}  // namespace plat
