#include "support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace kestrova_test {

namespace {

void Drain(int fd, std::string* into, bool* open) {
  char buffer[65536];
  const ssize_t got = read(fd, buffer, sizeof buffer);
  if (got > 0) {
    into->append(buffer, static_cast<size_t>(got));
  } else if (got == 0 || errno != EINTR) {
    *open = false;
  }
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& command, const std::string& directory,
                         const std::vector<std::string>& environment, int timeout_seconds) {
  ProcessResult result;
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return result;

  std::vector<std::string> variables;
  for (char** variable = environ; *variable; ++variable) variables.push_back(*variable);
  for (const auto& added : environment) variables.push_back(added);
  std::vector<char*> envp, argv;
  for (auto& variable : variables) envp.push_back(&variable[0]);
  envp.push_back(nullptr);
  std::vector<std::string> arguments = command;
  for (auto& argument : arguments) argv.push_back(&argument[0]);
  argv.push_back(nullptr);

  const auto started = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    setpgid(0, 0);
    dup2(out[1], STDOUT_FILENO);
    dup2(err[1], STDERR_FILENO);
    if (!directory.empty() && chdir(directory.c_str()) != 0) _exit(126);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);

  bool out_open = true, err_open = true;
  const auto deadline = started + std::chrono::seconds(timeout_seconds);
  while (out_open || err_open) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timed_out = true;
      kill(-child, SIGKILL);
      break;
    }
    struct pollfd fds[2] = {{out_open ? out[0] : -1, POLLIN, 0},
                            {err_open ? err[0] : -1, POLLIN, 0}};
    if (poll(fds, 2, static_cast<int>(left.count())) <= 0) continue;
    if (fds[0].revents) Drain(out[0], &result.standard_output, &out_open);
    if (fds[1].revents) Drain(err[0], &result.standard_error, &err_open);
  }
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(child, &status, 0);
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  return result;
}

}  // namespace kestrova_test
