#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/run_lock.h"

namespace kestrova {

namespace {

class FileLock : public RunLock {
 public:
  explicit FileLock(int fd) : fd_(fd) {}
  ~FileLock() override { close(fd_); }

 private:
  int fd_;
};

std::string TemporaryDirectory() {
  const char* directory = std::getenv("TMPDIR");
  return directory && *directory ? directory : "/tmp";
}

}  // namespace

std::unique_ptr<RunLock> AcquireSystemRunLock(const std::string& name,
                                              uint32_t timeout_milliseconds) {
  // The lock file stays: removing it would let a waiting run lock a file that is no longer there.
  const std::string path = TemporaryDirectory() + "/" + RunLockKey(name) + ".lock";
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_milliseconds);
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return std::make_unique<FileLock>(fd);
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  close(fd);
  return nullptr;
}

}  // namespace kestrova
