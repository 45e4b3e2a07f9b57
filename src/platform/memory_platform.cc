#include "platform/memory_platform.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace kestrova {

namespace {

class MemoryInputFile : public InputFile {
 public:
  MemoryInputFile(std::string content, bool fails) : content_(std::move(content)), fails_(fails) {}
  long Read(char* buffer, size_t size) override {
    // An unreadable file yields its first half, then an error.
    const size_t limit = fails_ ? content_.size() / 2 : content_.size();
    if (position_ >= limit) return fails_ ? -1 : 0;
    const size_t n = std::min(size, limit - position_);
    memcpy(buffer, content_.data() + position_, n);
    position_ += n;
    return static_cast<long>(n);
  }

 private:
  std::string content_;
  bool fails_;
  size_t position_ = 0;
};

class MemoryOutputFile : public OutputFile {
 public:
  MemoryOutputFile(std::map<std::string, std::string>* files, std::string path)
      : files_(files), path_(std::move(path)) {}
  bool Write(const std::string& bytes) override {
    (*files_)[path_] += bytes;
    return true;
  }
  bool Flush() override { return true; }

 private:
  std::map<std::string, std::string>* files_;
  std::string path_;
};

class MemoryRunLock : public RunLock {
 public:
  MemoryRunLock(std::set<std::string>* locked, std::string name)
      : locked_(locked), name_(std::move(name)) {
    locked_->insert(name_);
  }
  ~MemoryRunLock() override { locked_->erase(name_); }

 private:
  std::set<std::string>* locked_;
  std::string name_;
};

}  // namespace

bool MemoryPlatform::FileExists(const std::string& path) { return files.count(path) != 0; }

std::unique_ptr<InputFile> MemoryPlatform::OpenForReading(const std::string& path) {
  opened.push_back(path);
  auto file = files.find(path);
  if (file == files.end() || unopenable.count(path)) return nullptr;
  return std::make_unique<MemoryInputFile>(file->second, unreadable.count(path) != 0);
}

std::unique_ptr<OutputFile> MemoryPlatform::CreateWithReadSharing(const std::string& path) {
  if (unwritable.count(path) || directories.count(path)) return nullptr;
  files[path].clear();
  return std::make_unique<MemoryOutputFile>(&files, path);
}

bool MemoryPlatform::TruncateFile(const std::string& path) {
  if (unwritable.count(path) || directories.count(path)) return false;
  files[path].clear();
  return true;
}

bool MemoryPlatform::RemoveFile(const std::string& path) {
  if (undeletable.count(path)) return false;
  return files.erase(path) != 0;
}

uint32_t MemoryPlatform::TickCount() {
  const size_t index = std::min(ticks_read, ticks.size() - 1);
  ++ticks_read;
  return ticks[index];
}

LibraryHandle MemoryPlatform::LoadSharedLibrary(const std::string& name) {
  auto library = libraries.find(name);
  if (library == libraries.end()) return nullptr;
  loaded.push_back(name);
  return &library->second;
}

void* MemoryPlatform::FindExport(LibraryHandle library, const char* name) {
  auto& exports = static_cast<Library*>(library)->exports;
  auto entry = exports.find(name);
  return entry == exports.end() ? nullptr : entry->second;
}

void MemoryPlatform::UnloadSharedLibrary(LibraryHandle library) {
  for (auto& [name, entry] : libraries) {
    if (&entry != library) continue;
    loaded.erase(std::find(loaded.begin(), loaded.end(), name));
    unloaded.push_back(name);
  }
}

bool MemoryPlatform::GuardedCall(void (*call)(void* data), void* data) {
  try {
    call(data);
    return true;
  } catch (...) {
    return false;
  }
}

std::unique_ptr<RunLock> MemoryPlatform::AcquireRunLock(const std::string& name,
                                                        uint32_t timeout_milliseconds) {
  lock_requests.emplace_back(name, timeout_milliseconds);
  if (busy.count(name) || locked.count(name)) return nullptr;
  return std::make_unique<MemoryRunLock>(&locked, name);
}

}  // namespace kestrova
