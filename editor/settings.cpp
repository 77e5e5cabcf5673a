#include "settings.h"

#include "document.h"
#include "platform/fs.h"
#include "platform/ini.h"

std::string SettingsPath() { return plat::fs::Resolve(plat::fs::Join(plat::fs::CurrentDir(), "vork.ini")); }

void FillDefaultDirectory(const std::string& section, const std::string& key, const std::string& subdir,
                          const std::string& path) {
  plat::Ini ini(path);
  if (ini.GetString(section, key) != "None") return;
  // A failing write is not noticed: the value stays "None" and is replaced at the next start.
  ini.WriteString(section, key, plat::fs::Join(g_startDirectory, subdir) + "/");
}

int ReadAdvanceMode(const std::string& path) {
  return plat::Ini(path).GetString("Private", "Mode") == "Advance" ? 1 : 0;
}

std::string ReadDirectorySetting(const std::string& path, const std::string& key) {
  return plat::fs::FromWinPath(plat::Ini(path).GetString("Directory", key));
}

int ReadCompilerType(const std::string& path) { return plat::Ini(path).GetInt("Compiler", "Type", 0); }

std::string ReadCompilerCommand(const std::string& path, int language) {
  return plat::Ini(path).GetString("Compiler", language == 0 ? "C_Command" : "F_Command");
}

bool WriteCompilerSettings(const std::string& path, int type, const std::string& cCommand,
                           const std::string& fCommand) {
  plat::Ini ini(path);
  bool ok = ini.WriteSection("Compiler", {type == 0 ? "Type=0" : "Type=1"});
  ok = ini.WriteString("Compiler", "C_Command", cCommand) && ok;
  ok = ini.WriteString("Compiler", "F_Command", fCommand) && ok;
  return ok;
}
