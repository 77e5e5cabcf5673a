#include "platform/ini.h"

#include "platform/fs.h"

#include <cstdio>
#include <fstream>

namespace plat {
namespace {

// One physical line of the file: its bytes without the line end, and the
// line end it had ("\r\n", "\n" or "" for a last line without one).
struct Line {
  std::string text;
  std::string end;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

const char kUtf8Bom[] = "\xEF\xBB\xBF";

// The file's lines; a UTF-8 byte-order mark before the first one is kept in
// *bom, apart from the line, so that the first section header is still seen.
// A missing file has no lines; so has one that is not a readable regular file
// (a directory or FIFO of that name), which the writers then leave alone.
fs::ReadResult ReadLines(const std::string& path, std::vector<Line>* lines, std::string* bom) {
  std::string all;
  const fs::ReadResult result = fs::ReadFile(path, &all);
  if (result != fs::ReadResult::Ok) return result;
  std::size_t pos = 0;
  if (all.compare(0, 3, kUtf8Bom) == 0) {
    *bom = kUtf8Bom;
    pos = 3;
  }
  while (pos < all.size()) {
    std::size_t nl = all.find('\n', pos);
    Line line;
    if (nl == std::string::npos) {
      line.text = all.substr(pos);
      pos = all.size();
    } else {
      line.text = all.substr(pos, nl - pos);
      line.end = "\n";
      if (!line.text.empty() && line.text.back() == '\r') {
        line.text.pop_back();
        line.end = "\r\n";
      }
      pos = nl + 1;
    }
    lines->push_back(line);
  }
  return result;
}

// Lines of a file to be rewritten: false when the file exists but cannot be read,
// so that writing would lose what it holds (or block on a FIFO).
bool ReadLinesForWrite(const std::string& path, std::vector<Line>* lines, std::string* bom) {
  return ReadLines(path, lines, bom) != fs::ReadResult::Unreadable;
}

bool WriteLines(const std::string& path, const std::vector<Line>& lines, const std::string& bom) {
  std::string all = bom;
  for (const Line& l : lines) all += l.text + l.end;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(all.data(), static_cast<std::streamsize>(all.size()));
  out.close();
  return !out.fail();
}

// The section name of a header line "[name]", or false for any other line.
bool SectionHeader(const std::string& text, std::string* name) {
  std::string t = Trim(text);
  if (t.empty() || t[0] != '[') return false;
  std::size_t close = t.rfind(']');
  if (close == std::string::npos || close == 0) return false;
  *name = Trim(t.substr(1, close - 1));
  return true;
}

// The key of a "key=value" line; comment lines and lines without '=' have none.
bool KeyOf(const std::string& text, std::string* key, std::string* value) {
  std::string t = Trim(text);
  if (t.empty() || t[0] == ';') return false;
  std::size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  *key = Trim(t.substr(0, eq));
  if (value) *value = Trim(t.substr(eq + 1));
  return true;
}

// Where the first section of that name lies: its header line and the line
// after its last line (the next header or the end of the file).
struct SectionSpan {
  bool found = false;
  std::size_t header = 0;
  std::size_t end = 0;
};

SectionSpan FindSection(const std::vector<Line>& lines, const std::string& section) {
  SectionSpan span;
  std::string name;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!SectionHeader(lines[i].text, &name)) continue;
    if (span.found) {
      span.end = i;
      return span;
    }
    if (fs::EqualNoCase(name, section)) {
      span.found = true;
      span.header = i;
    }
  }
  span.end = lines.size();
  return span;
}

// The line after the last non-blank line of the section, so that blank lines
// separating it from the next section stay where they are.
std::size_t SectionContentEnd(const std::vector<Line>& lines, const SectionSpan& span) {
  std::size_t end = span.end;
  while (end > span.header + 1 && Trim(lines[end - 1].text).empty()) --end;
  return end;
}

// The line before an insertion point must end, or the new line would join it.
void EndLineBefore(std::vector<Line>* lines, std::size_t at) {
  if (at > 0 && (*lines)[at - 1].end.empty()) (*lines)[at - 1].end = "\r\n";
}

}  // namespace

std::string Ini::GetString(const std::string& section, const std::string& key,
                           const std::string& fallback) const {
  std::vector<Line> lines;
  std::string bom;
  if (ReadLines(path_, &lines, &bom) != fs::ReadResult::Ok) return fallback;
  SectionSpan span = FindSection(lines, section);
  if (!span.found) return fallback;
  std::string k, v;
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    if (!KeyOf(lines[i].text, &k, &v) || !fs::EqualNoCase(k, key)) continue;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
      v = v.substr(1, v.size() - 2);
    return v;
  }
  return fallback;
}

int Ini::GetInt(const std::string& section, const std::string& key, int fallback) const {
  // A marker that no trimmed value can equal tells a missing key from an empty one.
  const std::string missing(1, '\n');
  std::string v = GetString(section, key, missing);
  if (v == missing || v.empty()) return fallback;
  std::size_t i = 0;
  bool negative = false;
  if (v[0] == '-' || v[0] == '+') {
    negative = v[0] == '-';
    ++i;
  }
  long long n = 0;
  for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
    n = n * 10 + (v[i] - '0');
    if (n > 2147483647LL) n = 2147483648LL;  // held at the limit, never overflows
  }
  if (negative) n = -n;
  if (n > 2147483647LL) n = 2147483647LL;
  return static_cast<int>(n);
}

bool Ini::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
  std::vector<Line> lines;
  std::string bom;
  if (!ReadLinesForWrite(path_, &lines, &bom)) return false;  // a missing file is an empty one
  SectionSpan span = FindSection(lines, section);
  if (!span.found) {
    EndLineBefore(&lines, lines.size());
    lines.push_back({"[" + section + "]", "\r\n"});
    lines.push_back({key + "=" + value, "\r\n"});
    return WriteLines(path_, lines, bom);
  }
  std::string k;
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    if (!KeyOf(lines[i].text, &k, nullptr) || !fs::EqualNoCase(k, key)) continue;
    lines[i].text = k + "=" + value;
    if (lines[i].end.empty() && i + 1 < lines.size()) lines[i].end = "\r\n";
    return WriteLines(path_, lines, bom);
  }
  std::size_t at = SectionContentEnd(lines, span);
  EndLineBefore(&lines, at);
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{key + "=" + value, "\r\n"});
  return WriteLines(path_, lines, bom);
}

bool Ini::WriteSection(const std::string& section, const std::vector<std::string>& entries) const {
  std::vector<Line> lines;
  std::string bom;
  if (!ReadLinesForWrite(path_, &lines, &bom)) return false;
  std::vector<Line> fresh;
  for (const std::string& e : entries) fresh.push_back({e, "\r\n"});
  SectionSpan span = FindSection(lines, section);
  if (!span.found) {
    EndLineBefore(&lines, lines.size());
    lines.push_back({"[" + section + "]", "\r\n"});
    lines.insert(lines.end(), fresh.begin(), fresh.end());
    return WriteLines(path_, lines, bom);
  }
  std::size_t end = SectionContentEnd(lines, span);
  if (lines[span.header].end.empty()) lines[span.header].end = "\r\n";
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(span.header + 1),
              lines.begin() + static_cast<std::ptrdiff_t>(end));
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(span.header + 1), fresh.begin(), fresh.end());
  return WriteLines(path_, lines, bom);
}

}  // namespace plat
