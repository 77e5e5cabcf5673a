// A real full disk for the tests that save onto one: a small tmpfs mounted on a
// directory of the test's own and unmounted when the object goes, whatever the
// test did. Mounting needs root; Unavailable() says why there is no disk.
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

class FullDisk {
 public:
  // A tmpfs of sizeKiB mounted on dir (made here).
  FullDisk(const std::string& dir, int sizeKiB) : dir_(dir) {
    if (geteuid() != 0) {
      why_ = "mounting a small file system needs root";
      return;
    }
    if (mkdir(dir.c_str(), 0755) != 0) {
      why_ = "cannot make " + dir + ": " + std::strerror(errno);
      return;
    }
    const std::string options = "size=" + std::to_string(sizeKiB) + "k";
    if (mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      why_ = "cannot mount a tmpfs on " + dir + ": " + std::strerror(errno);
      return;
    }
    mounted_ = true;
  }
  ~FullDisk() {
    if (mounted_ && umount2(dir_.c_str(), 0) != 0) umount2(dir_.c_str(), MNT_DETACH);
    rmdir(dir_.c_str());
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

  const std::string& Unavailable() const { return why_; }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // Fills what is left with one file; true when the disk is then full.
  bool Fill() const {
    const int fd = open(Path("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const std::string block(4096, 'f');
    int error = 0;
    for (;;) {
      const ssize_t n = write(fd, block.data(), block.size());
      if (n > 0) continue;
      error = n < 0 ? errno : ENOSPC;
      if (error != EINTR) break;
    }
    close(fd);
    return error == ENOSPC;
  }

 private:
  std::string dir_;
  std::string why_;
  bool mounted_ = false;
};

// In a test body: skips the test when no full disk can be had here.
#define SKIP_WITHOUT(disk) \
  if (!(disk).Unavailable().empty()) GTEST_SKIP() << (disk).Unavailable()
