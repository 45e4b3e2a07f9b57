// A scratch directory for one black-box test, and the build under test: the Linux program run
// directly, or the Windows program run under wine (KESTROVA_TARGET, KESTROVA_BUILD).
#pragma once

#include <string>
#include <vector>

#include "support/process.h"

namespace kestrova_test {

class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  bool windows() const { return windows_; }
  // The build directory under test, holding kestrova (kestrova.exe) and Morvane.Dll.
  const std::string& build() const { return build_; }
  std::string ProgramName() const { return windows_ ? "kestrova.exe" : "kestrova"; }

  // Host paths inside the sandbox.
  std::string Path(const std::string& relative) const;
  void WriteFile(const std::string& relative, const std::string& content) const;
  std::string ReadFile(const std::string& relative) const;
  bool Exists(const std::string& relative) const;
  void MakeDirectory(const std::string& relative) const;
  // The host directory behind drive `letter` ("C:\" is $KESTROVA_DRIVES/c, or the wine prefix's
  // drive_c).
  std::string DriveDirectory(char letter) const;
  // How the program names a host path: as is on Linux, "Z:\..." under wine.
  std::string ProgramPath(const std::string& host_path) const;
  // Writes C:\Prtg_Path.Txt (removed again when the sandbox goes).
  void WritePathFile(const std::string& content) const;
  // A name of this sandbox's own, for a directory C:\<name> (DriveDirectory('c') + "/<name>") that
  // is removed with the sandbox also under wine, where drive_c outlives it.
  std::string Name() const;

  // Copies the program into `relative` (with the library file `library`, a host path, as
  // Morvane.Dll beside it when not empty) and returns the copy's host path.
  std::string InstallProgram(const std::string& relative, const std::string& library = "") const;
  // Runs `program` (a host path) with `arguments` in the sandbox directory `relative`.
  ProcessResult Run(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& relative = "", int timeout_seconds = 120) const;

 private:
  bool windows_;
  std::string build_;
  std::string root_;
};

}  // namespace kestrova_test
