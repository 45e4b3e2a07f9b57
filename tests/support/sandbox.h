// A scratch directory for one black-box test, and the build under test: the Linux program run
// directly, the 32-bit Linux program under qemu-i386-static, or the Windows program under wine
// (KESTROVA_TARGET linux, linux-x86 or win64; KESTROVA_BUILD).
#pragma once

#include <string>
#include <vector>

#include "support/process.h"

namespace kestrova_test {

class Sandbox {
 public:
  Sandbox();
  // For programs of `target` that come from elsewhere than a build, e.g. unpacked packages.
  explicit Sandbox(const std::string& target);
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  bool windows() const { return windows_; }
  const std::string& target() const { return target_; }
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

  // A library built by the tests (tests/libraries), by target name.
  std::string TestLibrary(const std::string& name) const;
  // Passed to every program run from now on; a second value for a name replaces the first.
  void SetEnvironment(const std::string& name, const std::string& value);

  // Copies the program into `relative` (with the library file `library`, a host path, as
  // Morvane.Dll beside it when not empty) and returns the copy's host path.
  std::string InstallProgram(const std::string& relative, const std::string& library = "") const;
  // Runs `program` (a host path) with `arguments` in the sandbox directory `relative`.
  ProcessResult Run(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& relative = "", int timeout_seconds = 120) const;
  // The same with standard output a pipe whose reader has gone.
  ProcessResult RunIntoClosedPipe(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  const std::string& relative = "") const;

 private:
  std::vector<std::string> Command(const std::string& program,
                                   const std::vector<std::string>& arguments) const;

  std::string target_;
  bool windows_;
  std::string build_;
  std::vector<std::string> environment_;
  std::string root_;
};

}  // namespace kestrova_test
