// Start-up time and memory of velquist beside the floor, a plain Qt Widgets
// program of velquist's shape (tools/startup_floor.cpp) built in the same
// tree with the same flags.
//
//   startup_time [RUNS] [VELQUIST FLOOR]
//
// RUNS defaults to 21; the two programs default to app/velquist and
// tools/startup_floor of the build tree this tool was built in. The tool
// starts its own Xvfb, without a window manager, then starts each program
// RUNS times, alternating, after one unmeasured start each so that both find
// their files cached.
//
// Map: from just before fork() to the MapNotify of the program's top-level
// window, recognised by its title.
// First paint: from just before fork() to the first drawing into that window
// as the X server reports it. The tool watches the root window with the
// DAMAGE extension; without a compositor every window draws into the screen's
// own pixels, so whatever a program puts into its window (Qt's backing store
// flushed with PutImage or its shared-memory form) is reported there, and Qt's
// windows have no background, so the map itself draws nothing. Only damage
// inside the window's rectangle counts.
// CPU: the CPU time of all the program's threads at its map and at its first
// paint (/proc/PID/task/*/schedstat), which a busy machine hardly changes.
// Memory: VmRSS of the program at its first paint.
// The tool listens to the X server instead of polling it, so it neither steals
// the programs' CPU nor adds a poll interval.
#include <xcb/damage.h>
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

#include "startup_floor.h"

namespace {

constexpr const char* kVelquistTitle = "Velquist（双击窗口空白处查看运算公式）";
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
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
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

// The CPU time the program's threads have had so far, in ms. Unlike the wall
// times it hardly depends on what else the machine is doing.
std::optional<double> CpuMs(pid_t pid) {
  std::error_code error;
  double ns = 0;
  bool any = false;
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    std::ifstream stat(task.path() / "schedstat");
    double on_cpu = 0;
    if (stat >> on_cpu) {
      ns += on_cpu;
      any = true;
    }
  }
  if (!any) return std::nullopt;
  return ns / 1e6;
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

    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection_, &xcb_damage_id);
    if (damage == nullptr || !damage->present) Fail("the X server has no DAMAGE extension");
    damage_event_ = damage->first_event + XCB_DAMAGE_NOTIFY;
    // The extension answers nothing before its version has been asked.
    std::free(xcb_damage_query_version_reply(connection_,
                                             xcb_damage_query_version(connection_, 1, 1), nullptr));
    damage_ = xcb_generate_id(connection_);
    xcb_damage_create(connection_, damage_, root_, XCB_DAMAGE_REPORT_LEVEL_BOUNDING_BOX);
  }
  ~Display() { xcb_disconnect(connection_); }
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  void DropPendingEvents() {
    xcb_damage_subtract(connection_, damage_, XCB_NONE, XCB_NONE);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) std::free(e);
  }

  struct Event {
    enum Kind { Map, Damage } kind;
    double at;
    xcb_window_t window;   // the window mapped
    xcb_rectangle_t area;  // what was drawn, in root coordinates
  };

  // Waits up to `timeout_ms` for a top-level window to be mapped or for
  // something to be drawn on the screen. After a damage report the damage is
  // cleared, so that the next drawing is reported again.
  std::optional<Event> Next(int timeout_ms) {
    pollfd p{xcb_get_file_descriptor(connection_), POLLIN, 0};
    for (;;) {
      while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) {
        const double at = NowMs();
        std::optional<Event> event;
        const int type = e->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY) {
          const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
          if (!map->override_redirect) event = Event{Event::Map, at, map->window, {}};
        } else if (type == damage_event_) {
          const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(e);
          event = Event{Event::Damage, at, XCB_NONE, damage->area};
          xcb_damage_subtract(connection_, damage_, XCB_NONE, XCB_NONE);
          xcb_flush(connection_);
        }
        std::free(e);
        if (event) return event;
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

  // The window's rectangle in root coordinates (top-level windows are
  // children of the root without a window manager).
  xcb_rectangle_t Geometry(xcb_window_t window) {
    xcb_get_geometry_reply_t* reply =
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
    if (reply == nullptr) return {};
    const xcb_rectangle_t r{reply->x, reply->y, reply->width, reply->height};
    std::free(reply);
    return r;
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
  int damage_event_ = -1;
  xcb_damage_damage_t damage_ = 0;
};

bool Intersect(const xcb_rectangle_t& a, const xcb_rectangle_t& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

struct Start {
  double mapMs;
  double paintMs;
  double cpuMapMs;
  double cpuMs;
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
  std::optional<double> mapped;
  double cpu_mapped = 0;
  xcb_rectangle_t place{};
  std::optional<Start> start;
  while (!start) {
    const auto event = display.Next(100);
    int status = 0;
    if (!event && waitpid(pid, &status, WNOHANG) == pid) {
      Fail(program + " ended before painting \"" + title + "\"");
    }
    if (NowMs() - begin > kTimeoutMs) {
      kill(pid, SIGKILL);
      Fail(program + " showed and painted no window \"" + title + "\"");
    }
    if (!event) continue;
    if (event->kind == Display::Event::Map && !mapped && display.Title(event->window) == title) {
      mapped = event->at - begin;
      cpu_mapped = CpuMs(pid).value_or(0);
      place = display.Geometry(event->window);
    } else if (event->kind == Display::Event::Damage && mapped && Intersect(event->area, place)) {
      const auto rss = ResidentKilobytes(pid);
      const auto cpu = CpuMs(pid);
      if (!rss || !cpu) Fail("cannot read the memory or CPU time of " + program);
      start = Start{*mapped, event->at - begin, cpu_mapped, *cpu, *rss};
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

std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

struct Series {
  std::vector<double> map, paint, cpuMap, cpu;
  std::vector<long> kilobytes;
  void Add(const Start& s) {
    map.push_back(s.mapMs);
    paint.push_back(s.paintMs);
    cpuMap.push_back(s.cpuMapMs);
    cpu.push_back(s.cpuMs);
    kilobytes.push_back(s.kilobytes);
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  int runs = 21;
  const std::filesystem::path tools = std::filesystem::canonical("/proc/self/exe").parent_path();
  std::string velquist = (tools.parent_path() / "app" / "velquist").string();
  std::string floor = (tools / "startup_floor").string();
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

  const std::string load_before = LoadAverage();
  Series v, f;
  {
    Display display(display_name);
    Measure(display, velquist, kVelquistTitle);
    Measure(display, floor, kStartupFloorTitle);
    for (int i = 0; i < runs; ++i) {
      v.Add(Measure(display, velquist, kVelquistTitle));
      f.Add(Measure(display, floor, kStartupFloorTitle));
    }
  }
  const std::string load_after = LoadAverage();
  kill(xvfb, SIGTERM);
  waitpid(xvfb, nullptr, 0);
  if (!runtime_dir.empty()) std::filesystem::remove_all(runtime_dir);

  const double vmap = Median(v.map), fmap = Median(f.map);
  const double vpaint = Median(v.paint), fpaint = Median(f.paint);
  const double vcpu = Median(v.cpu), fcpu = Median(f.cpu);
  const double vcpumap = Median(v.cpuMap), fcpumap = Median(f.cpuMap);
  const double vmib = static_cast<double>(Median(v.kilobytes)) / 1024;
  const double fmib = static_cast<double>(Median(f.kilobytes)) / 1024;
  std::printf(
      "median of %d starts on Xvfb  mapped     first paint      resident   CPU: mapped   painted\n",
      runs);
  std::printf("%-25s %7.1f ms %11.1f ms %9.1f MiB %10.1f ms %6.1f ms\n", "velquist", vmap, vpaint,
              vmib, vcpumap, vcpu);
  std::printf("%-25s %7.1f ms %11.1f ms %9.1f MiB %10.1f ms %6.1f ms\n", "startup_floor", fmap,
              fpaint, fmib, fcpumap, fcpu);
  std::printf("%-25s %8.3f × %12.3f × %5.1f MiB more %8.3f × %7.3f ×\n", "velquist / floor",
              vmap / fmap, vpaint / fpaint, vmib - fmib, vcpumap / fcpumap, vcpu / fcpu);
  std::printf("%-25s %10s %14s %14s\n", "goal: 1.0 ×, 2 MiB", vmap <= fmap ? "met" : "MISSED",
              vpaint <= fpaint ? "met" : "MISSED", vmib - fmib <= 2.0 ? "met" : "MISSED");
  const auto low = [](const std::vector<double>& x) {
    return *std::min_element(x.begin(), x.end());
  };
  const auto high = [](const std::vector<double>& x) {
    return *std::max_element(x.begin(), x.end());
  };
  std::printf("fastest to slowest: velquist mapped %.1f to %.1f ms, painted %.1f to %.1f ms;\n",
              low(v.map), high(v.map), low(v.paint), high(v.paint));
  std::printf("                    floor mapped %.1f to %.1f ms, painted %.1f to %.1f ms\n",
              low(f.map), high(f.map), low(f.paint), high(f.paint));
  // Wall times on a loaded machine are worth little; the load says how loaded.
  std::printf("load average before: %s, after: %s\n", load_before.c_str(), load_after.c_str());
  return 0;
}
