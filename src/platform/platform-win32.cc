#include <windows.h>

#include "platform/guarded_call-win32.h"
#include "platform/system_platform.h"

namespace kestrova {

namespace {

class WindowsInputFile : public InputFile {
 public:
  explicit WindowsInputFile(HANDLE file) : file_(file) {}
  ~WindowsInputFile() override { CloseHandle(file_); }
  long Read(char* buffer, size_t size) override {
    DWORD got = 0;
    const DWORD wanted = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    if (!ReadFile(file_, buffer, wanted, &got, nullptr)) return -1;
    return static_cast<long>(got);
  }

 private:
  HANDLE file_;
};

bool WriteAll(HANDLE handle, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                   nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

class WindowsOutputFile : public OutputFile {
 public:
  explicit WindowsOutputFile(HANDLE file) : file_(file) {}
  ~WindowsOutputFile() override {
    Flush();
    CloseHandle(file_);
  }
  bool Write(const std::string& bytes) override {
    buffer_ += bytes;
    return buffer_.size() < kBufferLimit || Flush();
  }
  bool Flush() override {
    const bool written = WriteAll(file_, buffer_);
    buffer_.clear();
    return written;
  }

 private:
  static constexpr size_t kBufferLimit = 64 * 1024;
  HANDLE file_;
  std::string buffer_;
};

constexpr size_t kStandardOutputPiece = 64 * 1024;

class WindowsPlatform : public Platform {
 public:
  std::string CurrentDirectory() override {
    const DWORD size = GetCurrentDirectoryA(0, nullptr);
    std::string directory(size, '\0');
    const DWORD length = GetCurrentDirectoryA(size, &directory[0]);
    directory.resize(length < size ? length : 0);
    return directory;
  }

  bool FileExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::unique_ptr<InputFile> OpenForReading(const std::string& path) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WindowsInputFile>(file);
  }

  std::unique_ptr<OutputFile> CreateWithReadSharing(const std::string& path) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WindowsOutputFile>(file);
  }

  bool TruncateFile(const std::string& path) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
  }

  bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

  TimeOfDay LocalTimeOfDay() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TimeOfDay{now.wHour, now.wMinute, now.wSecond};
  }

  uint32_t TickCount() override { return GetTickCount(); }

  void SleepMilliseconds(uint32_t milliseconds) override { Sleep(milliseconds); }

  void WriteStandardOutput(const std::string& bytes) override {
    standard_output_ += bytes;
    // A document of thousands of channels goes out in pieces instead of sitting whole in memory.
    if (standard_output_.size() >= kStandardOutputPiece) FlushStandardOutput();
  }

  // WriteFile on the handle itself: no text-mode translation can double a CR.
  void FlushStandardOutput() override {
    WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), standard_output_);
    standard_output_.clear();
  }

  // LoadLibraryA searches the executable's directory first by itself.
  LibraryHandle LoadSharedLibrary(const std::string& name) override {
    return LoadLibraryA(name.c_str());
  }

  void* FindExport(LibraryHandle library, const char* name) override {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
  }

  void UnloadSharedLibrary(LibraryHandle library) override {
    FreeLibrary(static_cast<HMODULE>(library));
  }

  // A C++ exception of our own code (a failed copy of a result) is caught here; everything that
  // escapes the library as a structured exception is caught at the frame inside.
  std::unique_ptr<RunLock> AcquireRunLock(const std::string& name,
                                          uint32_t timeout_milliseconds) override {
    return AcquireSystemRunLock(name, timeout_milliseconds);
  }

  bool GuardedCall(void (*call)(void* data), void* data) override {
    try {
      return CallBehindExceptionFrame(call, data);
    } catch (...) {
      return false;
    }
  }

 private:
  std::string standard_output_;
};

}  // namespace

std::unique_ptr<Platform> CreateSystemPlatform() {
  // Failures the library does not handle must come back to the guard, never as a dialog box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  return std::make_unique<WindowsPlatform>();
}

}  // namespace kestrova
