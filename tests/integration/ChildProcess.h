#pragma once

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace tdxx::test {

// Runs `program` with `args`, LD_LIBRARY_PATH at `libraryDir` and TDXX_STANDIN_DEVICES set to
// `devices`; returns its standard output, followed by "exit=N" when it did not exit with 0.
inline std::string RunWithStandIn(const std::string& program, const std::vector<std::string>& args,
                                  const std::string& libraryDir, const std::string& devices) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (text.rfind("LD_LIBRARY_PATH=", 0) != 0 && text.rfind("TDXX_STANDIN_DEVICES=", 0) != 0)
      env.push_back(text);
  }
  env.push_back("LD_LIBRARY_PATH=" + libraryDir);
  env.push_back("TDXX_STANDIN_DEVICES=" + devices);
  std::vector<char*> envp;
  for (std::string& text : env)
    envp.push_back(text.data());
  envp.push_back(nullptr);
  std::vector<std::string> argvText{program};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& text : argvText)
    argv.push_back(text.data());
  argv.push_back(nullptr);

  int out[2];
  if (pipe(out) != 0)
    return "pipe failed";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string output;
  char buffer[256];
  for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, static_cast<std::size_t>(got));
  close(out[0]);
  if (spawned != 0)
    return "spawn failed";
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    output += "exit=" + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "\n";
  return output;
}

}  // namespace tdxx::test
