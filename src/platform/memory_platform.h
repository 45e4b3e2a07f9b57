// An in-memory platform for unit tests: files in a map, a settable clock and tick counter, sleeps
// recorded rather than slept, standard output collected, and libraries made of test functions.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kestrova {

class MemoryPlatform : public Platform {
 public:
  struct Library {
    std::map<std::string, void*> exports;
  };

  std::string CurrentDirectory() override { return current_directory; }
  bool FileExists(const std::string& path) override;
  std::unique_ptr<InputFile> OpenForReading(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateWithReadSharing(const std::string& path) override;
  bool TruncateFile(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  TimeOfDay LocalTimeOfDay() override { return time_of_day; }
  uint32_t TickCount() override;
  void SleepMilliseconds(uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
  void WriteStandardOutput(const std::string& bytes) override { standard_output += bytes; }
  void FlushStandardOutput() override { ++standard_output_flushes; }
  LibraryHandle LoadSharedLibrary(const std::string& name) override;
  void* FindExport(LibraryHandle library, const char* name) override;
  void UnloadSharedLibrary(LibraryHandle library) override;
  bool GuardedCall(void (*call)(void* data), void* data) override;
  std::unique_ptr<RunLock> AcquireRunLock(const std::string& name,
                                          uint32_t timeout_milliseconds) override;

  // Writes through an OutputFile reach `files` at once.
  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  // Names that exist but cannot be opened, or fail part-way through reading.
  std::set<std::string> unopenable;
  std::set<std::string> unreadable;
  // Names that cannot be created, truncated or removed.
  std::set<std::string> unwritable;
  std::set<std::string> undeletable;
  std::vector<std::string> opened;  // every name opened for reading, in order

  std::string current_directory = "C:\\Work";
  TimeOfDay time_of_day{12, 0, 0};
  // Successive TickCount results; the last one repeats.
  std::vector<uint32_t> ticks{0};
  size_t ticks_read = 0;
  std::vector<uint32_t> sleeps;
  std::string standard_output;
  int standard_output_flushes = 0;

  // Names locked now, and every name asked for with its timeout, in order. A name in `busy` is held
  // by another process: asking for it fails.
  std::set<std::string> locked;
  std::set<std::string> busy;
  std::vector<std::pair<std::string, uint32_t>> lock_requests;

  std::map<std::string, Library> libraries;  // by load name
  std::vector<std::string> loaded;           // load names currently loaded
  std::vector<std::string> unloaded;         // load names unloaded, in order
};

}  // namespace kestrova
