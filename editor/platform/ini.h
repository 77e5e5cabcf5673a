// The profile file format (sections in brackets, key=value lines) with the
// window system's semantics: section and key names compare without regard to
// ASCII case, the first match wins, every line the editor does not change is
// kept byte for byte, new lines end in CR LF. The file is read again on every
// call; nothing is cached. A name that is not a readable regular file (a
// directory, a FIFO, a file without read permission) reads as an empty file and
// is never written.
#pragma once

#include <string>
#include <vector>

namespace plat {

class Ini {
 public:
  explicit Ini(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  // The value of key in section: blanks around it trimmed, one pair of
  // surrounding quotes removed; fallback when the file, section or key is missing.
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& fallback = std::string()) const;
  // Leading decimal digits of the value ("12ab" -> 12, "x" -> 0); fallback
  // when the file, section or key is missing.
  int GetInt(const std::string& section, const std::string& key, int fallback) const;

  // Replaces the value of the first matching key in place (its spelling kept),
  // or appends "key=value" at the end of the section, or appends the section;
  // creates the file when it is missing. False when the file cannot be read or written.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) const;
  // Replaces all lines of the section (the first one of that name) by the
  // given lines ("key=value"), or appends the section. False when the file cannot be
  // read or written.
  bool WriteSection(const std::string& section, const std::vector<std::string>& lines) const;

 private:
  std::string path_;
};

}  // namespace plat
