// File names on a case-sensitive file system for a program whose files are
// named without regard to case. Paths are file-system (UTF-8) bytes joined with '/'.
// Every file the editor reads, writes, lists or creates goes through here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class QString;

namespace plat {
namespace fs {

// True when a and b are equal but for the case of ASCII letters, as the
// platform compares file names and profile keys.
bool EqualNoCase(const std::string& a, const std::string& b);

// The current directory; empty when it cannot be read.
std::string CurrentDir();
bool SetCurrentDir(const std::string& dir);

// dir + '/' + name (no second '/' when dir already ends in one; name alone when dir is empty).
std::string Join(const std::string& dir, const std::string& name);

// A stored path with '\' separators read as '/'.
std::string FromWinPath(std::string path);

// The existing path that matches path component by component without regard
// to ASCII case (an exact match preferred, else the first in name order);
// components that match nothing are kept as given.
std::string Resolve(const std::string& path);

// Whether an entry matching path without regard to case exists.
bool ExistsNoCase(const std::string& path);

// The names of the entries of dir (the current directory when empty) that match
// name without regard to ASCII case and are not directories, in name order. A link
// counts as what it names; a dangling one is listed.
std::vector<std::string> ListNoCase(const std::string& dir, const std::string& name);

// Whether path is a regular file (a link followed) that this process may read.
bool IsReadableFile(const std::string& path);

// Removes the entry at path (a link itself, never a directory). False when it could not.
bool RemoveFile(const std::string& path);

// Creates the directory path (one level, mode 0777 less the umask). True when it
// was made or is a directory already; false otherwise.
bool MakeDirectory(const std::string& path);

// A path as Qt shows it and back, in the file-name encoding of the locale; the one
// pair for every path that crosses to or from Qt.
QString ToQString(const std::string& path);
std::string FromQString(const QString& path);

// path made absolute against the current directory, "." and ".." removed by name.
std::string AbsolutePath(const std::string& path);

// Removes every file in path's directory whose name matches path's last
// component without regard to case. True when at least one was removed.
bool DeleteAllCases(const std::string& path);

// Copies from over to (replacing it) through a temporary file in to's
// directory and a rename. When both name the same file nothing is done and
// the result is true. False when from is not a readable regular file or to
// cannot be written (to is then unchanged).
bool CopyReplace(const std::string& from, const std::string& to);

// Replaces the file at path with bytes, whole or not at all: the bytes go to a
// new file in path's directory, whose every write, flush and close must succeed
// before it is renamed over path. A link is followed and its target replaced; an
// existing file keeps its permission bits, a new one gets 0666 less the umask.
// On any failure the new file is removed, path is untouched and the result is
// false.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

// Test seam: a step of WriteFileAtomic that can be made to fail.
enum class WriteStep { None, Write, Flush, Close, Rename };
// The next WriteFileAtomic of a file called name (path's last component; any
// file when name is empty) that reaches step fails there, as if the system had
// refused it; the seam then disarms itself. None disarms it.
void FailNextWriteAt(WriteStep step, const std::string& name = std::string());

// Whether both paths name the same existing file.
bool SameFile(const std::string& a, const std::string& b);

// What reading a whole file found.
enum class ReadResult {
  Ok,          // a regular file, read whole
  Missing,     // no entry of that name
  Unreadable,  // an entry that is not a regular file (directory, FIFO, device) or cannot be read
  TooLarge,    // a regular file longer than the limit
};
// Reads the regular file at path whole into *bytes (emptied first); a file longer
// than maxBytes is refused and *bytes left empty. Never blocks on a FIFO and never
// throws.
ReadResult ReadFile(const std::string& path, std::string* bytes, std::size_t maxBytes = std::string::npos);

// The bytes of the program's own resource name (":/..."); false when there is none.
bool ReadResource(const std::string& name, std::string* bytes);

}  // namespace fs
}  // namespace plat
