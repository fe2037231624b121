// Start-up time and memory of velquist beside the floor, a minimal Qt Widgets
// window built in the same tree with the same flags.
//
//   startup_time [RUNS] [VELQUIST FLOOR]
//
// RUNS defaults to 21; the two programs default to app/velquist and
// tools/minimal_qt_window of the build tree this tool was built in. The tool
// starts its own Xvfb, then starts each program RUNS times, alternating, after
// one unmeasured start each so that both find their files cached.
//
// Time: from just before fork() to the MapNotify of the program's top-level
// window, recognised by its title. The tool listens to the X server instead of
// polling it, so it neither steals the programs' CPU nor adds a poll interval.
// Memory: VmRSS of the program at that same moment.
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kVelquistTitle = "Velquist（双击窗口空白处查看运算公式）";
constexpr const char* kFloorTitle = "Velquist minimal window";
constexpr int kTimeoutMs = 30'000;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "startup_time: %s\n", what.c_str());
  std::exit(1);
}

double NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void SilenceOutput() {
  const int null = open("/dev/null", O_WRONLY);
  if (null >= 0) {
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    close(null);
  }
}

// Starts Xvfb on a display of its own choosing and returns its pid and the
// display name once the server accepts clients (-displayfd says when).
std::pair<pid_t, std::string> StartXvfb() {
  int fds[2];
  if (pipe(fds) != 0) Fail("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) Fail("fork failed");
  if (pid == 0) {
    close(fds[0]);
    SilenceOutput();
    const std::string fd = std::to_string(fds[1]);
    // -noreset: otherwise the server resets whenever its last client leaves,
    // and a program started during the reset cannot connect.
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
           "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (number.empty() || number.back() != '\n') {
    if (poll(&p, 1, 10'000) <= 0) Fail("Xvfb did not start (package xvfb)");
    char c;
    if (read(fds[0], &c, 1) != 1) Fail("Xvfb did not start (package xvfb)");
    number += c;
  }
  close(fds[0]);
  number.pop_back();
  return {pid, ":" + number};
}

std::optional<long> ResidentKilobytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return std::nullopt;
}

class Display {
 public:
  explicit Display(const std::string& name) {
    connection_ = xcb_connect(name.c_str(), nullptr);
    if (xcb_connection_has_error(connection_)) Fail("cannot connect to " + name);
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    net_wm_name_ = Atom("_NET_WM_NAME");
    utf8_string_ = Atom("UTF8_STRING");
  }
  ~Display() { xcb_disconnect(connection_); }
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  void DropPendingEvents() {
    xcb_flush(connection_);
    while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) std::free(e);
  }

  // Waits up to `timeout_ms` for a top-level window to be mapped; gives the
  // time of its MapNotify and the window.
  std::optional<std::pair<double, xcb_window_t>> NextMap(int timeout_ms) {
    pollfd p{xcb_get_file_descriptor(connection_), POLLIN, 0};
    for (;;) {
      while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) {
        const double at = NowMs();
        std::optional<std::pair<double, xcb_window_t>> mapped;
        if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
          const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
          if (!map->override_redirect) mapped = std::pair{at, map->window};
        }
        std::free(e);
        if (mapped) return mapped;
      }
      if (xcb_connection_has_error(connection_)) Fail("lost the X server");
      if (poll(&p, 1, timeout_ms) <= 0) return std::nullopt;
    }
  }

  std::string Title(xcb_window_t window) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection_, 0, window, net_wm_name_, utf8_string_, 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
    if (reply == nullptr) return {};
    const std::string title(static_cast<const char*>(xcb_get_property_value(reply)),
                            static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    return title;
  }

 private:
  xcb_atom_t Atom(const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    if (reply == nullptr) Fail(std::string("no atom ") + name);
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
  }

  xcb_connection_t* connection_ = nullptr;
  xcb_window_t root_ = 0;
  xcb_atom_t net_wm_name_ = 0;
  xcb_atom_t utf8_string_ = 0;
};

struct Start {
  double ms;
  long kilobytes;
};

Start Measure(Display& display, const std::string& program, const std::string& title) {
  display.DropPendingEvents();
  const double begin = NowMs();
  const pid_t pid = fork();
  if (pid < 0) Fail("fork failed");
  if (pid == 0) {
    SilenceOutput();
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  std::optional<Start> start;
  while (!start) {
    const auto map = display.NextMap(100);
    int status = 0;
    if (!map && waitpid(pid, &status, WNOHANG) == pid) {
      Fail(program + " ended before showing \"" + title + "\"");
    }
    if (NowMs() - begin > kTimeoutMs) {
      kill(pid, SIGKILL);
      Fail(program + " showed no window \"" + title + "\"");
    }
    if (map && display.Title(map->second) == title) {
      const auto rss = ResidentKilobytes(pid);
      if (!rss) Fail("cannot read the memory of " + program);
      start = Start{map->first - begin, *rss};
    }
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  return *start;
}

template <typename T>
T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  int runs = 21;
  const std::filesystem::path tools =
      std::filesystem::canonical("/proc/self/exe").parent_path();
  std::string velquist = (tools.parent_path() / "app" / "velquist").string();
  std::string floor = (tools / "minimal_qt_window").string();
  if (argc >= 2) runs = std::max(1, std::atoi(argv[1]));
  if (argc == 4) {
    velquist = argv[2];
    floor = argv[3];
  } else if (argc != 1 && argc != 2) {
    Fail("usage: startup_time [RUNS] [VELQUIST FLOOR]");
  }
  for (const std::string& program : {velquist, floor}) {
    if (access(program.c_str(), X_OK) != 0) Fail("not built: " + program);
  }

  const auto [xvfb, display_name] = StartXvfb();
  setenv("DISPLAY", display_name.c_str(), 1);
  unsetenv("QT_QPA_PLATFORM");
  std::string runtime_dir;
  if (getenv("XDG_RUNTIME_DIR") == nullptr) {
    char pattern[] = "/tmp/startup_time.XXXXXX";
    if (mkdtemp(pattern) != nullptr) {
      runtime_dir = pattern;
      setenv("XDG_RUNTIME_DIR", pattern, 1);
    }
  }

  std::vector<double> velquist_ms, floor_ms;
  std::vector<long> velquist_kb, floor_kb;
  {
    Display display(display_name);
    Measure(display, velquist, kVelquistTitle);
    Measure(display, floor, kFloorTitle);
    for (int i = 0; i < runs; ++i) {
      const Start v = Measure(display, velquist, kVelquistTitle);
      velquist_ms.push_back(v.ms);
      velquist_kb.push_back(v.kilobytes);
      const Start f = Measure(display, floor, kFloorTitle);
      floor_ms.push_back(f.ms);
      floor_kb.push_back(f.kilobytes);
    }
  }
  kill(xvfb, SIGTERM);
  waitpid(xvfb, nullptr, 0);
  if (!runtime_dir.empty()) std::filesystem::remove_all(runtime_dir);

  const double vt = Median(velquist_ms), ft = Median(floor_ms);
  const double vm = static_cast<double>(Median(velquist_kb));
  const double fm = static_cast<double>(Median(floor_kb));
  std::printf("median of %d starts on Xvfb     until shown   resident when shown\n", runs);
  std::printf("%-32s %10.1f ms %16.0f kB\n", "velquist", vt, vm);
  std::printf("%-32s %10.1f ms %16.0f kB\n", "minimal_qt_window (the floor)", ft, fm);
  std::printf("%-32s %13.3f %19.3f\n", "ratio", vt / ft, vm / fm);
  std::printf("%-32s %13s %19s\n", "goal: at most 1.2", vt / ft <= 1.2 ? "met" : "MISSED",
              vm / fm <= 1.2 ? "met" : "MISSED");
  std::printf("fastest and slowest start: velquist %.1f to %.1f ms, floor %.1f to %.1f ms\n",
              *std::min_element(velquist_ms.begin(), velquist_ms.end()),
              *std::max_element(velquist_ms.begin(), velquist_ms.end()),
              *std::min_element(floor_ms.begin(), floor_ms.end()),
              *std::max_element(floor_ms.begin(), floor_ms.end()));
  return 0;
}
