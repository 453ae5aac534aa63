#include "StartupMeasure.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace tdxx::bench {

namespace {

using Clock = std::chrono::steady_clock;

struct ConnectionCloser {
  void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, ConnectionCloser>;

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
  return reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The process id a client put on its window (_NET_WM_PID), or -1.
long WindowPid(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t pidAtom) {
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
      xcb_get_property_reply(connection, cookie, nullptr), &std::free);
  if (reply == nullptr || xcb_get_property_value_length(reply.get()) < 4)
    return -1;
  return static_cast<long>(*static_cast<const uint32_t*>(xcb_get_property_value(reply.get())));
}

// VmRSS and VmHWM of a process in kB, from /proc; 0 where they cannot be read.
void ReadMemory(pid_t pid, long& rssKb, long& hwmKb) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  rssKb = 0;
  hwmKb = 0;
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0)
      rssKb = std::atol(line.c_str() + 6);
    else if (line.rfind("VmHWM:", 0) == 0)
      hwmKb = std::atol(line.c_str() + 6);
  }
}

double CpuMs(const rusage& usage) {
  const auto ms = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
  };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The benchmark's environment less what it sets itself, so both programs start alike.
std::vector<std::string> ChildEnvironment(const LaunchSettings& settings) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (text.rfind("DISPLAY=", 0) == 0 || text.rfind("QT_QPA_PLATFORM=", 0) == 0 ||
        text.rfind("HOME=", 0) == 0 || text.rfind("XDG_", 0) == 0 ||
        text.rfind("WAYLAND_DISPLAY=", 0) == 0)
      continue;
    env.push_back(text);
  }
  env.push_back("DISPLAY=" + settings.display);
  env.push_back("QT_QPA_PLATFORM=xcb");
  env.push_back("HOME=" + settings.home);
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts)
    pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Ends the process and returns the processor time it used over its run, in ms: all its threads,
// also those that had ended, and the children it waited for (wait4's account).
double EndProcess(pid_t pid) {
  kill(pid, SIGTERM);
  rusage usage{};
  for (int i = 0; i < 200; ++i) {
    if (wait4(pid, nullptr, WNOHANG, &usage) == pid)
      return CpuMs(usage);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  wait4(pid, nullptr, 0, &usage);
  return CpuMs(usage);
}

// Waits for the MapNotify of a top-level window that `pid` owns; false on time-out or when the
// process ends first.
bool AwaitMap(xcb_connection_t* connection, pid_t pid, xcb_atom_t pidAtom, Clock::time_point end) {
  const int fd = xcb_get_file_descriptor(connection);
  while (Clock::now() < end) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
      std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
      if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
        continue;
      const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
      if (WindowPid(connection, map->window, pidAtom) == pid)
        return true;
    }
    if (xcb_connection_has_error(connection) != 0 || waitpid(pid, nullptr, WNOHANG) == pid)
      return false;
    pollfd wait{fd, POLLIN, 0};
    poll(&wait, 1, 20);
  }
  return false;
}

}  // namespace

bool MeasureStartup(const std::vector<std::string>& argv, const LaunchSettings& settings,
                    StartupSample& sample, std::string& error) {
  Connection connection(xcb_connect(settings.display.c_str(), nullptr));
  if (xcb_connection_has_error(connection.get()) != 0) {
    error = "cannot connect to display " + settings.display;
    return false;
  }
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data;
  // Every map of a top-level window is reported to the root window's substructure listeners.
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(connection.get(), screen->root, XCB_CW_EVENT_MASK, &mask);
  const xcb_atom_t pidAtom = InternAtom(connection.get(), "_NET_WM_PID");
  xcb_flush(connection.get());

  std::vector<std::string> env = ChildEnvironment(settings);
  std::vector<std::string> args = argv;
  std::vector<char*> envp = Pointers(env);
  std::vector<char*> argp = Pointers(args);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const Clock::time_point start = Clock::now();
  const int spawned =
      posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    error = "cannot start " + argv[0];
    return false;
  }
  const bool mapped = AwaitMap(connection.get(), pid, pidAtom,
                               start + std::chrono::milliseconds(settings.timeoutMs));
  const Clock::time_point mappedAt = Clock::now();
  if (!mapped) {
    EndProcess(pid);
    error = argv[0] + " showed no window";
    return false;
  }
  ReadMemory(pid, sample.rssKbAtMap, sample.hwmKbAtMap);
  if (!settings.smapsFolder.empty()) {
    std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
    std::ofstream copy(std::filesystem::path(settings.smapsFolder) /
                       (std::filesystem::path(argv[0]).filename().string() + ".smaps"));
    copy << smaps.rdbuf();
  }
  sample.mapMs = std::chrono::duration<double, std::milli>(mappedAt - start).count();
  std::this_thread::sleep_for(std::chrono::milliseconds(settings.settleMs));
  long settledHwm = 0;
  ReadMemory(pid, sample.rssKbSettled, settledHwm);
  sample.cpuMs = EndProcess(pid);
  return true;
}

}  // namespace tdxx::bench
