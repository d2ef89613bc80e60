// Times a program from its start to its first painted window: starts the command, finds the
// top-level window whose title holds the given text once it is mapped, and reads its pixels until
// the widgets are drawn in them, then prints the milliseconds and ends the program.
//
//   vistello_painted_window TITLE COMMAND [ARGUMENT...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::milliseconds(2);
constexpr auto kTimeout = std::chrono::seconds(20);
// An unpainted window is one colour, or the root's two-colour weave showing through; drawn widgets
// bring text and frames in several shades.
constexpr std::size_t kPaintedColours = 8;

std::optional<std::string> TextProperty(Display* display, Window window, Atom property, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &actualType, &format,
                           &items, &after, &data) != Success ||
        data == nullptr)
        return std::nullopt;
    std::string text(reinterpret_cast<const char*>(data), items);
    XFree(data);
    if (actualType == None) return std::nullopt;
    return text;
}

std::string WindowTitle(Display* display, Window window) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    if (auto title = TextProperty(display, window, netName, utf8)) return *title;
    return TextProperty(display, window, XA_WM_NAME, AnyPropertyType).value_or("");
}

bool IsMapped(Display* display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

// What the screen shows of the window, clipped to the screen (a window larger than the screen
// cannot be read whole), or nothing when the window is gone.
std::optional<std::vector<std::uint32_t>> Pixels(Display* display, Window window) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0) return std::nullopt;
    const Window root = DefaultRootWindow(display);
    int x = 0;
    int y = 0;
    Window unused = None;
    XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &unused);
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int width = std::min(x + attributes.width, DisplayWidth(display, 0)) - left;
    const int height = std::min(y + attributes.height, DisplayHeight(display, 0)) - top;
    if (width <= 0 || height <= 0) return std::nullopt;
    XImage* image = XGetImage(display, root, left, top, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) return std::nullopt;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int row = 0; row < height; ++row)
        std::memcpy(pixels.data() + static_cast<std::size_t>(row) * width,
                    image->data + static_cast<std::size_t>(row) * image->bytes_per_line,
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    XDestroyImage(image);
    return pixels;
}

bool HasWidgets(const std::vector<std::uint32_t>& pixels) {
    std::unordered_set<std::uint32_t> colours;
    for (std::uint32_t pixel : pixels) {
        colours.insert(pixel);
        if (colours.size() > kPaintedColours) return true;
    }
    return false;
}

// Errors from windows that vanish between an event and a request are expected; they only mean
// the window is not the one.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

class Watcher {
public:
    Watcher(Display* display, std::string title) : m_display(display), m_title(std::move(title)) {}

    // The matching mapped window, once there is one. A new window's title may be set before or
    // after it is mapped, so each is asked again at every poll.
    std::optional<Window> Found() {
        for (Window window : m_candidates)
            if (WindowTitle(m_display, window).find(m_title) != std::string::npos &&
                IsMapped(m_display, window))
                return window;
        return std::nullopt;
    }

    void Drain() {
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == CreateNotify) m_candidates.push_back(event.xcreatewindow.window);
        }
    }

private:
    Display* m_display;
    std::string m_title;
    std::vector<Window> m_candidates;
};

void WaitForEvents(Display* display) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(ConnectionNumber(display), &readable);
    timeval timeout{0, std::chrono::microseconds(kPollInterval).count()};
    select(ConnectionNumber(display) + 1, &readable, nullptr, nullptr, &timeout);
}

// A connection made just after another client left is at times refused for a moment (the
// server has not yet taken the last one off its queue), so it is tried again for a while.
Display* Connect() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) return display;
        usleep(10'000);
    }
    return nullptr;
}

void EndChild(pid_t child) {
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
}

bool ChildEnded(pid_t child) {
    int status = 0;
    return waitpid(child, &status, WNOHANG) == child;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE COMMAND [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    Display* display = Connect();
    if (display == nullptr) {
        std::fprintf(stderr, "painted_window: cannot open the display\n");
        return 1;
    }
    if (DefaultDepth(display, 0) != 24) {
        std::fprintf(stderr, "painted_window: the screen must have 24-bit colour\n");
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    Watcher watcher(display, argv[1]);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        _exit(127);
    }
    std::optional<Window> window;
    std::optional<std::vector<std::uint32_t>> previous;
    Clock::time_point paintedAt;
    while (Clock::now() - start < kTimeout) {
        if (ChildEnded(child)) {
            std::fprintf(stderr, "painted_window: %s ended before its window was painted\n",
                         argv[2]);
            return 1;
        }
        watcher.Drain();
        if (!window) window = watcher.Found();
        if (window) {
            // Drawn widgets that hold still for one more poll: the first paint is complete, and
            // counts from when it was first seen.
            auto pixels = Pixels(display, *window);
            const Clock::time_point seenAt = Clock::now();
            if (pixels != previous) paintedAt = seenAt;
            if (pixels && HasWidgets(*pixels) && pixels == previous) {
                const auto elapsed = std::chrono::duration<double, std::milli>(paintedAt - start);
                std::printf("%.0f\n", elapsed.count());
                EndChild(child);
                return 0;
            }
            previous = std::move(pixels);
        }
        WaitForEvents(display);
    }
    std::fprintf(stderr, "painted_window: no painted window titled \"%s\" within %lld s\n", argv[1],
                 static_cast<long long>(kTimeout.count()));
    EndChild(child);
    return 1;
}
