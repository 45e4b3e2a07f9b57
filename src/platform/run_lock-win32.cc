#include <windows.h>

#include "platform/run_lock.h"

namespace kestrova {

namespace {

class MutexLock : public RunLock {
 public:
  explicit MutexLock(HANDLE mutex) : mutex_(mutex) {}
  ~MutexLock() override {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }

 private:
  HANDLE mutex_;
};

}  // namespace

std::unique_ptr<RunLock> AcquireSystemRunLock(const std::string& name,
                                              uint32_t timeout_milliseconds) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, ("Local\\" + RunLockKey(name)).c_str());
  if (!mutex) return nullptr;
  // An abandoned mutex is ours all the same: its holder died and its lock with it.
  const DWORD waited = WaitForSingleObject(mutex, timeout_milliseconds);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
    return std::make_unique<MutexLock>(mutex);
  CloseHandle(mutex);
  return nullptr;
}

}  // namespace kestrova
