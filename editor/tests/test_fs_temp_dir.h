// A fresh temporary directory made the current one for the life of a test;
// the previous current directory is restored and the directory removed after.
#pragma once

#include "platform/fs.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>
#include <string>

class TempCwd {
 public:
  TempCwd() : previous_(QDir::currentPath()) {
    EXPECT_TRUE(dir_.isValid());
    EXPECT_TRUE(QDir::setCurrent(dir_.path()));
    // The canonical path, as the current directory reports it.
    char buffer[4096];
    path_ = getcwd(buffer, sizeof buffer) ? buffer : "";
  }
  ~TempCwd() { QDir::setCurrent(previous_); }
  TempCwd(const TempCwd&) = delete;
  TempCwd& operator=(const TempCwd&) = delete;

  const std::string& path() const { return path_; }

 private:
  QString previous_;
  QTemporaryDir dir_;
  std::string path_;
};

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every entry of dir, hidden ones included, in name order.
inline QStringList DirEntries(const std::string& dir) {
  return QDir(plat::fs::ToQString(dir))
      .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
