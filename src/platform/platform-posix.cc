#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <ctime>

#include "platform/host_path.h"
#include "platform/system_platform.h"

namespace kestrova {

namespace {

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

class PosixInputFile : public InputFile {
 public:
  explicit PosixInputFile(int fd) : fd_(fd) {}
  ~PosixInputFile() override { close(fd_); }
  long Read(char* buffer, size_t size) override {
    for (;;) {
      const ssize_t got = read(fd_, buffer, size);
      if (got < 0 && errno == EINTR) continue;
      return got < 0 ? -1 : static_cast<long>(got);
    }
  }

 private:
  int fd_;
};

class PosixOutputFile : public OutputFile {
 public:
  explicit PosixOutputFile(int fd) : fd_(fd) {}
  // The lock goes with the descriptor.
  ~PosixOutputFile() override {
    Flush();
    close(fd_);
  }
  bool Write(const std::string& bytes) override {
    buffer_ += bytes;
    return buffer_.size() < kBufferLimit || Flush();
  }
  bool Flush() override {
    const bool written = WriteAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
    return written;
  }

 private:
  static constexpr size_t kBufferLimit = 64 * 1024;
  int fd_;
  std::string buffer_;
};

// Where a fault inside a guarded call jumps back to. A signal handler can reach nothing else.
thread_local sigjmp_buf* guard_landing = nullptr;

void JumpToGuard(int) { siglongjmp(*guard_landing, 1); }

constexpr int kGuardedSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

class PosixPlatform : public Platform {
 public:
  PosixPlatform() : drives_root_(DrivesRoot()), executable_directory_(ExecutableDirectory()) {}

  std::string CurrentDirectory() override {
    std::string directory(4096, '\0');
    while (!getcwd(&directory[0], directory.size())) {
      if (errno != ERANGE) return std::string();
      directory.resize(directory.size() * 2);
    }
    directory.resize(directory.find('\0'));
    return directory;
  }

  bool FileExists(const std::string& path) override {
    struct stat status;
    return stat(Host(path).c_str(), &status) == 0 && S_ISREG(status.st_mode);
  }

  std::unique_ptr<InputFile> OpenForReading(const std::string& path) override {
    const int fd = open(Host(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixInputFile>(fd);
  }

  std::unique_ptr<OutputFile> CreateWithReadSharing(const std::string& path) override {
    const int fd = open(Host(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    // POSIX has no sharing modes: a lock keeps a second writer out, and the file is truncated only
    // once it is ours, so a run that is refused leaves the holder's lines alone.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ftruncate(fd, 0) != 0) {
      close(fd);
      return nullptr;
    }
    return std::make_unique<PosixOutputFile>(fd);
  }

  bool TruncateFile(const std::string& path) override {
    const int fd = open(Host(path).c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    return fd >= 0 && close(fd) == 0;
  }

  bool RemoveFile(const std::string& path) override { return unlink(Host(path).c_str()) == 0; }

  TimeOfDay LocalTimeOfDay() override {
    const time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    return TimeOfDay{local.tm_hour, local.tm_min, local.tm_sec};
  }

  uint32_t TickCount() override {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
  }

  void SleepMilliseconds(uint32_t milliseconds) override {
    struct timespec rest = {static_cast<time_t>(milliseconds / 1000),
                            static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
  }

  void WriteStandardOutput(const std::string& bytes) override {
    standard_output_ += bytes;
    // A document of thousands of channels goes out in pieces instead of sitting whole in memory.
    if (standard_output_.size() >= kStandardOutputPiece) FlushStandardOutput();
  }

  void FlushStandardOutput() override {
    WriteAll(STDOUT_FILENO, standard_output_.data(), standard_output_.size());
    standard_output_.clear();
  }

  // Called inside a guard: a library that faults while it loads is left by a jump, so this frame
  // owns nothing that would need a destructor.
  LibraryHandle LoadSharedLibrary(const std::string& name) override {
    char beside_executable[4096];
    const int length = snprintf(beside_executable, sizeof beside_executable, "%s/%s",
                                executable_directory_.c_str(), name.c_str());
    if (length > 0 && static_cast<size_t>(length) < sizeof beside_executable) {
      if (void* library = dlopen(beside_executable, RTLD_NOW | RTLD_LOCAL)) return library;
    }
    return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  }

  void* FindExport(LibraryHandle library, const char* name) override {
    return dlsym(library, name);
  }

  void UnloadSharedLibrary(LibraryHandle library) override { dlclose(library); }

  std::unique_ptr<RunLock> AcquireRunLock(const std::string& name,
                                          uint32_t timeout_milliseconds) override {
    return AcquireSystemRunLock(name, timeout_milliseconds);
  }

  bool GuardedCall(void (*call)(void* data), void* data) override {
    // A stack overflow inside the library still needs a stack for the handler.
    static constexpr size_t kAlternateStackSize = 64 * 1024;
    std::unique_ptr<char[]> alternate_stack(new char[kAlternateStackSize]);
    stack_t alternate = {};
    alternate.ss_sp = alternate_stack.get();
    alternate.ss_size = kAlternateStackSize;
    stack_t previous_stack;
    sigaltstack(&alternate, &previous_stack);

    struct sigaction handler = {};
    handler.sa_handler = JumpToGuard;
    handler.sa_flags = SA_ONSTACK | SA_NODEFER;
    sigemptyset(&handler.sa_mask);
    struct sigaction previous[sizeof kGuardedSignals / sizeof kGuardedSignals[0]];
    for (size_t i = 0; i < sizeof kGuardedSignals / sizeof kGuardedSignals[0]; ++i) {
      sigaction(kGuardedSignals[i], &handler, &previous[i]);
    }

    sigjmp_buf landing;
    sigjmp_buf* const outer_landing = guard_landing;
    volatile bool completed = false;
    if (sigsetjmp(landing, 1) == 0) {
      guard_landing = &landing;
      try {
        call(data);
        completed = true;
      } catch (...) {
      }
    }
    guard_landing = outer_landing;

    for (size_t i = 0; i < sizeof kGuardedSignals / sizeof kGuardedSignals[0]; ++i) {
      sigaction(kGuardedSignals[i], &previous[i], nullptr);
    }
    sigaltstack(&previous_stack, nullptr);
    return completed;
  }

 private:
  std::string Host(const std::string& path) const { return HostPath(path, drives_root_); }

  static std::string ExecutableDirectory() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", &path[0], path.size());
    if (length <= 0) return ".";
    path.resize(static_cast<size_t>(length));
    return path.substr(0, path.rfind('/'));
  }

  static constexpr size_t kStandardOutputPiece = 64 * 1024;

  std::string drives_root_;
  std::string executable_directory_;
  std::string standard_output_;
};

}  // namespace

std::unique_ptr<Platform> CreateSystemPlatform() {
  // A reader that went away must not kill the run before it has released and wiped.
  signal(SIGPIPE, SIG_IGN);
  return std::make_unique<PosixPlatform>();
}

}  // namespace kestrova
