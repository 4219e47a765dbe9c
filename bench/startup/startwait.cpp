// Starts a program and reports, once the window manager has mapped a window
// of it, the time since the start in milliseconds and the program's peak
// memory (VmHWM) in kB so far; then ends the program.
// Usage: startwait SETTLE_MS PROGRAM [ARGS...]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
  const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
  std::free(r);
  return a;
}

std::vector<xcb_window_t> windowList(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop) {
  std::vector<xcb_window_t> out;
  xcb_get_property_reply_t* r =
      xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, XCB_ATOM_WINDOW, 0, 4096), nullptr);
  if (r) {
    auto* v = static_cast<xcb_window_t*>(xcb_get_property_value(r));
    out.assign(v, v + xcb_get_property_value_length(r) / 4);
    std::free(r);
  }
  return out;
}

long cardinal(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop) {
  long value = -1;
  xcb_get_property_reply_t* r =
      xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, XCB_ATOM_CARDINAL, 0, 1), nullptr);
  if (r && xcb_get_property_value_length(r) >= 4) value = *static_cast<uint32_t*>(xcb_get_property_value(r));
  std::free(r);
  return value;
}

bool viewable(xcb_connection_t* c, xcb_window_t w) {
  xcb_get_window_attributes_reply_t* r = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
  const bool v = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
  std::free(r);
  return v;
}

long peakKb(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startwait SETTLE_MS PROGRAM [ARGS...]\n");
    return 2;
  }
  const int settleMs = std::atoi(argv[1]);
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 2;
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t clientList = atom(c, "_NET_CLIENT_LIST");
  const xcb_atom_t wmPid = atom(c, "_NET_WM_PID");
  const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(c);
  const std::set<xcb_window_t> before = [&] {
    auto v = windowList(c, root, clientList);
    return std::set<xcb_window_t>(v.begin(), v.end());
  }();

  const auto t0 = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execv(argv[2], argv + 2);
    _exit(127);
  }
  std::set<xcb_window_t> watched;
  double shownMs = -1;
  // Gives up when the program ends or shows nothing within ten seconds.
  const auto deadline = t0 + std::chrono::seconds(10);
  while (shownMs < 0 && std::chrono::steady_clock::now() < deadline) {
    xcb_generic_event_t* e = xcb_poll_for_event(c);
    if (!e) {
      if (xcb_connection_has_error(c) || waitpid(pid, nullptr, WNOHANG) == pid) break;
      pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
      poll(&p, 1, 20);
      continue;
    }
    const uint8_t type = e->response_type & 0x7f;
    if (type == XCB_PROPERTY_NOTIFY && reinterpret_cast<xcb_property_notify_event_t*>(e)->atom == clientList) {
      for (xcb_window_t w : windowList(c, root, clientList)) {
        if (before.count(w) || watched.count(w) || cardinal(c, w, wmPid) != pid) continue;
        watched.insert(w);
        const uint32_t m = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &m);
        xcb_flush(c);
        if (viewable(c, w))
          shownMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
      }
    } else if (type == XCB_MAP_NOTIFY && watched.count(reinterpret_cast<xcb_map_notify_event_t*>(e)->window)) {
      shownMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    std::free(e);
  }
  // Whatever the program does right after its window appears (first paint)
  // still counts towards its memory.
  std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
  const long kb = peakKb(pid);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  xcb_disconnect(c);
  std::printf("%.1f %ld\n", shownMs, kb);
  return shownMs < 0 ? 1 : 0;
}
