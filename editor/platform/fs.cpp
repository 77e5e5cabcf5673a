#include "platform/fs.h"

namespace plat {
namespace fs {

std::string CurrentDir() { return std::string(); }
bool SetCurrentDir(const std::string&) { return false; }
std::string Join(const std::string& dir, const std::string& name) { return dir + "/" + name; }
std::string FromWinPath(std::string path) { return path; }
std::string Resolve(const std::string& path) { return path; }
bool ExistsNoCase(const std::string&) { return false; }
bool DeleteAllCases(const std::string&) { return false; }
bool CopyReplace(const std::string&, const std::string&) { return false; }
bool SameFile(const std::string&, const std::string&) { return false; }

}  // namespace fs
}  // namespace plat
