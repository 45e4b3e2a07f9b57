// An exclusive lock between processes, named by a text. It dies with its holder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kestrova {

class RunLock {
 public:
  virtual ~RunLock() = default;
};

// The operating system's lock for `name`, waiting at most `timeout_milliseconds`; null when it was
// not obtained in time.
std::unique_ptr<RunLock> AcquireSystemRunLock(const std::string& name,
                                              uint32_t timeout_milliseconds);

// A short, stable key for `name`, fit for a file or object name.
std::string RunLockKey(const std::string& name);

}  // namespace kestrova
