#include "platform/fs.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace plat {
namespace fs {

namespace {
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The names in dir that match name without regard to case, in name order.
std::vector<std::string> MatchesIn(const std::string& dir, const std::string& name) {
  std::vector<std::string> found;
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return found;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n == "." || n == "..") continue;
    if (EqualNoCase(n, name)) found.push_back(n);
  }
  closedir(d);
  std::sort(found.begin(), found.end());
  return found;
}

// Splits a path into its directory ("" for a bare name, "/" for the root) and last component.
void SplitLast(const std::string& path, std::string* dir, std::string* name) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    dir->clear();
    *name = path;
  } else {
    *dir = slash == 0 ? "/" : path.substr(0, slash);
    *name = path.substr(slash + 1);
  }
}

// Opens path for reading when it is a regular file: the descriptor, or -1 with *why
// telling a missing entry from one that is not a readable regular file. O_NONBLOCK
// keeps a FIFO from blocking the open; it means nothing for a regular file.
int OpenRegular(const std::string& path, ReadResult* why, struct stat* st) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *why = errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Unreadable;
    return -1;
  }
  if (fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
    close(fd);
    *why = ReadResult::Unreadable;
    return -1;
  }
  *why = ReadResult::Ok;
  return fd;
}

// Creates a new empty file for writing next to target: in its directory, named
// "." + its name + a suffix unique in this process, mode 0666 less the umask.
// The descriptor, or -1.
int CreateTempNear(const std::string& target, std::string* tempPath) {
  static unsigned serial = 0;
  std::string dir, name;
  SplitLast(target, &dir, &name);
  for (int attempt = 0; attempt < 100; ++attempt) {
    *tempPath = Join(dir, "." + name + "." + std::to_string(getpid()) + "-" + std::to_string(++serial));
    const int fd = open(tempPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The permission bits a replacing file takes from st (never set-id bits).
mode_t KeptMode(const struct stat& st) { return st.st_mode & 07777 & ~static_cast<mode_t>(S_ISUID | S_ISGID); }

WriteStep g_failAt = WriteStep::None;
std::string g_failName;

// Whether the seam makes step of writing the file called name fail now.
bool Injected(WriteStep step, const std::string& name) {
  if (g_failAt != step || !(g_failName.empty() || g_failName == name)) return false;
  g_failAt = WriteStep::None;
  errno = EIO;
  return true;
}

}  // namespace

void FailNextWriteAt(WriteStep step, const std::string& name) {
  g_failAt = step;
  g_failName = name;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
  std::string target = path;
  struct stat st;
  const bool exists = stat(path.c_str(), &st) == 0;
  struct stat link;
  if (lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (char* real = realpath(path.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  }
  std::string dir, name;
  SplitLast(path, &dir, &name);
  std::string temp;
  const int fd = CreateTempNear(target, &temp);
  if (fd < 0) return false;
  if (exists && S_ISREG(st.st_mode)) fchmod(fd, KeptMode(st));  // best effort, as some file systems refuse
  std::FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(temp.c_str());
    return false;
  }
  // A full disk may show only at the flush, when the buffer goes out.
  bool ok = !Injected(WriteStep::Write, name) && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = ok && !Injected(WriteStep::Flush, name) && std::fflush(file) == 0 && !std::ferror(file);
  if (std::fclose(file) != 0 || Injected(WriteStep::Close, name)) ok = false;
  ok = ok && !Injected(WriteStep::Rename, name) && std::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

ReadResult ReadFile(const std::string& path, std::string* bytes, std::size_t maxBytes) {
  bytes->clear();
  ReadResult result;
  struct stat st;
  const int fd = OpenRegular(path, &result, &st);
  if (fd < 0) return result;
  if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
    close(fd);
    return ReadResult::TooLarge;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      bytes->clear();
      result = ReadResult::Unreadable;
      break;
    }
    // A file that grew past the limit while it was read is refused as well.
    if (static_cast<std::size_t>(n) > maxBytes - bytes->size()) {
      bytes->clear();
      result = ReadResult::TooLarge;
      break;
    }
    bytes->append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return result;
}

bool ReadResource(const std::string& name, std::string* bytes) {
  bytes->clear();
  QFile f(QString::fromStdString(name));
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray all = f.readAll();
  bytes->assign(all.constData(), static_cast<std::size_t>(all.size()));
  return true;
}

std::string CurrentDir() {
  std::vector<char> buffer(4096);
  for (;;) {
    if (getcwd(buffer.data(), buffer.size())) return std::string(buffer.data());
    if (errno != ERANGE || buffer.size() > (1u << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

bool SetCurrentDir(const std::string& dir) { return !dir.empty() && chdir(dir.c_str()) == 0; }

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

std::string FromWinPath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string Resolve(const std::string& path) {
  if (path.empty() || Exists(path)) return path;
  std::string result;
  std::size_t pos = 0;
  if (path[0] == '/') {
    result = "/";
    pos = 1;
  }
  bool matching = true;  // once a component matches nothing, the rest are kept as given
  while (pos <= path.size()) {
    std::size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(pos, slash - pos);
    if (!part.empty()) {
      std::string chosen = part;
      if (matching && part != "." && part != "..") {
        std::string candidate = Join(result, part);
        if (!Exists(candidate)) {
          std::vector<std::string> found = MatchesIn(result, part);
          if (found.empty())
            matching = false;
          else
            chosen = found.front();
        }
      }
      result = Join(result, chosen);
    }
    if (slash == path.size()) break;
    if (slash + 1 == path.size()) result += '/';  // a trailing '/' stays
    pos = slash + 1;
  }
  return result;
}

bool ExistsNoCase(const std::string& path) { return !path.empty() && Exists(Resolve(path)); }

std::vector<std::string> ListNoCase(const std::string& dir, const std::string& name) {
  std::vector<std::string> files;
  for (std::string& n : MatchesIn(dir, name)) {
    struct stat st;
    if (stat(Join(dir, n).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
    files.push_back(std::move(n));
  }
  return files;
}

bool IsReadableFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), R_OK) == 0;
}

bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool MakeDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return true;
  struct stat st;
  return errno == EEXIST && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString ToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string FromQString(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string AbsolutePath(const std::string& path) { return FromQString(QFileInfo(ToQString(path)).absoluteFilePath()); }

bool DeleteAllCases(const std::string& path) {
  std::string dir, name;
  SplitLast(path, &dir, &name);
  if (name.empty()) return false;
  std::string realDir = dir.empty() ? dir : Resolve(dir);
  bool removed = false;
  for (const std::string& n : MatchesIn(realDir, name)) {
    std::string full = Join(realDir, n);
    struct stat st;
    if (lstat(full.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
    if (unlink(full.c_str()) == 0) removed = true;
  }
  return removed;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool CopyReplace(const std::string& from, const std::string& to) {
  if (SameFile(from, to)) return true;
  ReadResult why;
  struct stat st;
  const int in = OpenRegular(from, &why, &st);
  if (in < 0) return false;
  std::string tmpName;
  const int out = CreateTempNear(to, &tmpName);
  if (out < 0) {
    close(in);
    return false;
  }
  bool ok = true;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(in, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(out, buffer + done, static_cast<std::size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        ok = false;
        break;
      }
      done += w;
    }
    if (!ok) break;
  }
  close(in);
  if (ok) ok = fchmod(out, KeptMode(st)) == 0;
  if (close(out) != 0) ok = false;
  if (ok) ok = rename(tmpName.c_str(), to.c_str()) == 0;
  if (!ok) unlink(tmpName.c_str());
  return ok;
}

}  // namespace fs
}  // namespace plat
