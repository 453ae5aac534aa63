#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "methods/MountService.h"

extern char** environ;

namespace tdxx {
namespace {

std::string Trimmed(std::string text) {
  const std::size_t end = text.find_last_not_of(" \t\r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

bool UdisksMountService::Mount(const std::string& device, std::string& error) {
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    error = "cannot run " + program_ + ": " + std::generic_category().message(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // Both output streams into the pipe; no input, so the tool can never wait for an answer.
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);

  std::string mount = "mount", blockOption = "-b", deviceArgument = device,
              noInteraction = "--no-user-interaction", program = program_;
  std::vector<char*> argv = {program.data(),        mount.data(),         blockOption.data(),
                             deviceArgument.data(), noInteraction.data(), nullptr};
  pid_t child = 0;
  const int spawnError =
      ::posix_spawnp(&child, program_.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  if (spawnError != 0) {
    ::close(pipeEnds[0]);
    error = "cannot run " + program_ + ": " + std::generic_category().message(spawnError);
    return false;
  }

  std::string output;
  char buffer[512];
  for (;;) {
    const ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipeEnds[0]);

  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) {
      error = program_ + " was lost: " + std::generic_category().message(errno);
      return false;
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
    return true;
  output = Trimmed(std::move(output));
  if (!output.empty())
    error = output;
  else if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
    error = program_ + " is not installed";
  else if (WIFEXITED(status))
    error = program_ + " ended with status " + std::to_string(WEXITSTATUS(status));
  else
    error = program_ + " was stopped by signal " + std::to_string(WTERMSIG(status));
  return false;
}

}  // namespace tdxx
