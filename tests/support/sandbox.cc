#include "support/sandbox.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace kestrova_test {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string WinePrefix() {
  const std::string prefix = Environment("WINEPREFIX");
  return prefix.empty() ? Environment("HOME") + "/.wine" : prefix;
}

}  // namespace

Sandbox::Sandbox() : Sandbox(Environment("KESTROVA_TARGET")) {
  build_ = Environment("KESTROVA_BUILD");
  if (build_.empty()) throw std::runtime_error("KESTROVA_BUILD is not set");
}

Sandbox::Sandbox(const std::string& target) : target_(target), windows_(target_ == "win64") {
  char name[] = "/tmp/kestrova-test-XXXXXX";
  if (!mkdtemp(name)) throw std::runtime_error("no temporary directory");
  root_ = name;
  environment_ = {"KESTROVA_DRIVES=" + Path("drives"), "WINEDEBUG=-all"};
  // The lock files of runs go with the sandbox (the Windows build locks with named mutexes).
  if (!windows_) {
    fs::create_directories(Path("tmp"));
    environment_.push_back("TMPDIR=" + Path("tmp"));
  }
  fs::create_directories(DriveDirectory('c'));
  fs::remove(DriveDirectory('c') + "/Prtg_Path.Txt");
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
  if (windows_) {
    fs::remove(DriveDirectory('c') + "/Prtg_Path.Txt", ignored);
    fs::remove_all(DriveDirectory('c') + "/" + Name(), ignored);
  }
}

std::string Sandbox::Name() const { return fs::path(root_).filename().string(); }

std::string Sandbox::Path(const std::string& relative) const {
  return relative.empty() ? root_ : root_ + "/" + relative;
}

void Sandbox::WriteFile(const std::string& relative, const std::string& content) const {
  const fs::path path = relative.size() && relative[0] == '/' ? relative : Path(relative);
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::string Sandbox::ReadFile(const std::string& relative) const {
  std::ifstream file(relative.size() && relative[0] == '/' ? relative : Path(relative),
                     std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

bool Sandbox::Exists(const std::string& relative) const { return fs::exists(Path(relative)); }

void Sandbox::MakeDirectory(const std::string& relative) const {
  fs::create_directories(Path(relative));
}

std::string Sandbox::DriveDirectory(char letter) const {
  if (windows_) return WinePrefix() + "/drive_" + std::string(1, letter);
  return Path("drives/") + letter;
}

std::string Sandbox::ProgramPath(const std::string& host_path) const {
  if (!windows_) return host_path;
  std::string path = "Z:" + host_path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

void Sandbox::WritePathFile(const std::string& content) const {
  WriteFile(DriveDirectory('c') + "/Prtg_Path.Txt", content);
}

std::string Sandbox::InstallProgram(const std::string& relative, const std::string& library) const {
  MakeDirectory(relative);
  const std::string program = Path(relative) + "/" + ProgramName();
  fs::copy_file(build_ + "/" + ProgramName(), program, fs::copy_options::overwrite_existing);
  if (!library.empty()) {
    fs::copy_file(library, Path(relative) + "/Morvane.Dll", fs::copy_options::overwrite_existing);
  }
  return program;
}

std::string Sandbox::TestLibrary(const std::string& name) const {
  return build_ + "/test-libraries/" + name + ".Dll";
}

void Sandbox::SetEnvironment(const std::string& name, const std::string& value) {
  const std::string prefix = name + "=";
  for (std::string& variable : environment_) {
    if (variable.compare(0, prefix.size(), prefix) == 0) {
      variable = prefix + value;
      return;
    }
  }
  environment_.push_back(prefix + value);
}

std::vector<std::string> Sandbox::Command(const std::string& program,
                                          const std::vector<std::string>& arguments) const {
  std::vector<std::string> command;
  if (windows_) command.push_back("wine");
  if (target_ == "linux-x86") command.push_back("qemu-i386-static");
  command.push_back(program);
  command.insert(command.end(), arguments.begin(), arguments.end());
  return command;
}

ProcessResult Sandbox::Run(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& relative, int timeout_seconds) const {
  return RunProcess(Command(program, arguments), Path(relative), environment_, timeout_seconds);
}

ProcessResult Sandbox::RunIntoClosedPipe(const std::string& program,
                                         const std::vector<std::string>& arguments,
                                         const std::string& relative) const {
  // The reader is gone before the program writes; pipefail gives the program's own exit code.
  std::vector<std::string> command = {"bash", "-c", "set -o pipefail; \"$@\" | true", "bash"};
  for (const std::string& part : Command(program, arguments)) command.push_back(part);
  return RunProcess(command, Path(relative), environment_, 120);
}

}  // namespace kestrova_test
