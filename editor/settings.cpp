#include "settings.h"

std::string SettingsPath() { return "vork.ini"; }
void FillDefaultDirectory(const std::string&, const std::string&, const std::string&, const std::string&) {}
int ReadAdvanceMode(const std::string&) { return 0; }
std::string ReadDirectorySetting(const std::string&, const std::string&) { return std::string(); }
int ReadCompilerType(const std::string&) { return 0; }
std::string ReadCompilerCommand(const std::string&, int) { return std::string(); }
bool WriteCompilerSettings(const std::string&, int, const std::string&, const std::string&) { return false; }
