#include "platform/run_lock.h"

#include <cstdio>

namespace kestrova {

std::string RunLockKey(const std::string& name) {
  // FNV-1a: the same key on every platform and in every run.
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : name) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char key[32];
  snprintf(key, sizeof key, "kestrova-%016llx", static_cast<unsigned long long>(hash));
  return key;
}

}  // namespace kestrova
