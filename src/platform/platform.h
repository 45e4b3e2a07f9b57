// The operating system as the run sees it. Every path given here is a Windows-style text as the run
// builds it; each implementation maps it to its own file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/run_lock.h"

namespace kestrova {

struct TimeOfDay {
  int hour;    // 0 to 23
  int minute;  // 0 to 59
  int second;  // 0 to 59
};

class InputFile {
 public:
  virtual ~InputFile() = default;
  // Up to `size` bytes into `buffer`: the count read, 0 at the end of the file, -1 on a read error.
  virtual long Read(char* buffer, size_t size) = 0;
};

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Buffered; false when the bytes could not be written.
  virtual bool Write(const std::string& bytes) = 0;
  // Writes out what is buffered; the file stays open.
  virtual bool Flush() = 0;
};

// An opaque handle of a loaded library; null means none.
using LibraryHandle = void*;

class Platform {
 public:
  virtual ~Platform() = default;

  // The process's current directory as the system reports it.
  virtual std::string CurrentDirectory() = 0;

  // True when `path` names a regular file; a directory does not count.
  virtual bool FileExists(const std::string& path) = 0;

  // Opened for reading with read sharing; null when it cannot be opened.
  virtual std::unique_ptr<InputFile> OpenForReading(const std::string& path) = 0;

  // Created or truncated for writing; others may read it while it is open, nobody else may open it
  // for writing (another run holding it makes this fail). Null when it cannot be created.
  virtual std::unique_ptr<OutputFile> CreateWithReadSharing(const std::string& path) = 0;

  // Opens `path` for writing, truncating it to length 0, and closes it again.
  virtual bool TruncateFile(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;

  virtual TimeOfDay LocalTimeOfDay() = 0;
  // Milliseconds since the system started, wrapping at 2^32.
  virtual uint32_t TickCount() = 0;
  virtual void SleepMilliseconds(uint32_t milliseconds) = 0;

  // Standard output, in binary mode and buffered until FlushStandardOutput. Write failures (a
  // closed pipe) are ignored: the run must still release what it holds.
  virtual void WriteStandardOutput(const std::string& bytes) = 0;
  virtual void FlushStandardOutput() = 0;

  // A library by bare file name: the executable's own directory first, then the system's search.
  virtual LibraryHandle LoadSharedLibrary(const std::string& name) = 0;
  // The address of an export, or null when the library has none of that name.
  virtual void* FindExport(LibraryHandle library, const char* name) = 0;
  virtual void UnloadSharedLibrary(LibraryHandle library) = 0;

  // Runs call(data) and returns true, or returns false when a failure escaped it: a C++ exception,
  // a processor fault or an abort on POSIX, a structured exception on Windows. The process goes on
  // working afterwards.
  virtual bool GuardedCall(void (*call)(void* data), void* data) = 0;

  // An exclusive lock between processes, named after `name`, held until the result goes; null when
  // it could not be had within `timeout_milliseconds`.
  virtual std::unique_ptr<RunLock> AcquireRunLock(const std::string& name,
                                                  uint32_t timeout_milliseconds) = 0;
};

}  // namespace kestrova
