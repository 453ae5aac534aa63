#pragma once

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

extern char** environ;

namespace tdxx::test {

// What a program run by RunProgram left: its standard output and error, and its exit status
// (-1 when it did not exit normally, for instance when it aborted).
struct ProgramRun {
  std::string out;
  std::string err;
  int status = -1;
};

// Runs `program` with `args` in this process's environment less the variables named in
// `unset`, plus the `set` entries ("NAME=value"); waits for it and returns what it printed.
inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                             const std::vector<std::string>& unset,
                             const std::vector<std::string>& set = {}) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    bool keep = true;
    for (const std::string& name : unset)
      keep = keep && text.rfind(name + "=", 0) != 0;
    if (keep)
      env.push_back(text);
  }
  env.insert(env.end(), set.begin(), set.end());
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

  ProgramRun run;
  int out[2];
  int err[2];
  if (pipe(out) != 0 || pipe(err) != 0) {
    run.err = "pipe failed";
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  // Both pipes are read as the program writes, so that neither fills up and stops it.
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* texts[2] = {&run.out, &run.err};
  int open = 2;
  while (open > 0 && poll(fds, 2, -1) > 0) {
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0)
        continue;
      char buffer[256];
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        texts[i]->append(buffer, static_cast<std::size_t>(got));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  if (spawned != 0) {
    run.err = "spawn failed";
    return run;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Runs `program` with `args`, LD_LIBRARY_PATH at `libraryDir` and TDXX_STANDIN_DEVICES set to
// `devices`; returns its standard output, followed by "exit=N" when it did not exit with 0.
inline std::string RunWithStandIn(const std::string& program, const std::vector<std::string>& args,
                                  const std::string& libraryDir, const std::string& devices) {
  ProgramRun run = RunProgram(program, args, {"LD_LIBRARY_PATH", "TDXX_STANDIN_DEVICES"},
                              {"LD_LIBRARY_PATH=" + libraryDir, "TDXX_STANDIN_DEVICES=" + devices});
  // Its error output goes on to the test's, as if it had written there itself.
  std::cerr << run.err;
  if (run.status != 0)
    run.out += "exit=" + std::to_string(run.status) + "\n";
  return run.out;
}

}  // namespace tdxx::test
