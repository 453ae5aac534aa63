#include "VirtualDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace tdxx::bench {

namespace {

// Xvfb writes the display number it chose, followed by a line break, to -displayfd.
std::string ReadDisplayNumber(int fd, int timeoutMs) {
  std::string text;
  pollfd wait{fd, POLLIN, 0};
  while (text.find('\n') == std::string::npos && poll(&wait, 1, timeoutMs) > 0) {
    char buffer[32];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0)
      break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  const std::size_t end = text.find('\n');
  return end == std::string::npos ? std::string() : text.substr(0, end);
}

}  // namespace

VirtualDisplay::~VirtualDisplay() {
  if (serverPid_ > 0) {
    kill(serverPid_, SIGTERM);
    waitpid(serverPid_, nullptr, 0);
  }
}

bool VirtualDisplay::Open(const std::string& existing, std::string& error) {
  if (!existing.empty()) {
    name_ = existing;
    return true;
  }
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    error = "pipe failed";
    return false;
  }
  const std::string fdText = std::to_string(pipeFds[1]);
  std::vector<std::string> args{"Xvfb",         "-displayfd", fdText, "-screen", "0",
                                "1280x1024x24", "-nolisten",  "tcp",  "-noreset"};
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const int spawned = posix_spawnp(&serverPid_, "Xvfb", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    serverPid_ = -1;
    close(pipeFds[0]);
    error = "no DISPLAY and Xvfb could not be started (install the xvfb package)";
    return false;
  }
  const std::string number = ReadDisplayNumber(pipeFds[0], 10000);
  close(pipeFds[0]);
  if (number.empty()) {
    error = "Xvfb did not name its display";
    return false;
  }
  name_ = ":" + number;
  return true;
}

}  // namespace tdxx::bench
