// A virtual X server for tests of the SDL window, the game as a child process, and what a player
// or a window manager does to the window.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "capture.h"
#include "run_vyr.h"
#include "tests/support/paths.h"

// Last: the X headers define words that other headers use as names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vyr::e2e {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Long enough for a start-up on a machine busy with other builds.
constexpr auto LIMIT = 120s;

// Polls `condition` until it holds or the limit passes.
inline bool wait_for(const std::function<bool()>& condition) {
    for (auto end = std::chrono::steady_clock::now() + LIMIT; std::chrono::steady_clock::now() < end;) {
        if (condition()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

// A child process, ended for good when the test is done with it.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::vector<std::string>& environment, const fs::path& output) {
        pid_ = fork();
        if (pid_ != 0) return;
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // a test that dies leaves no server or game behind
        // NAME=value sets a variable, a bare NAME takes it away.
        for (const std::string& word : environment)
            word.find('=') == std::string::npos ? unsetenv(word.c_str()) : putenv(const_cast<char*>(word.c_str()));
        int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        std::vector<char*> words;
        for (const std::string& word : argv) words.push_back(const_cast<char*>(word.c_str()));
        words.push_back(nullptr);
        execvp(words[0], words.data());
        _exit(127);
    }
    ~Child() {
        if (running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    pid_t pid() const { return pid_; }
    bool running() {
        if (status_ != NOT_YET) return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    // The exit status once it has ended by itself, -1 when it has not within the limit.
    int wait_for_exit() {
        if (!wait_for([this] { return !running(); })) return -1;
        return status_;
    }

private:
    static constexpr int NOT_YET = -2;
    pid_t pid_;
    int status_ = NOT_YET;
};

// A virtual X server on a free display number.
class VirtualDisplay {
public:
    explicit VirtualDisplay(const fs::path& directory) {
        int fds[2];
        if (pipe(fds) != 0) return;
        server_ = std::make_unique<Child>(
            std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp",
                                     "-screen", "0", "800x600x24"},
            std::vector<std::string>{}, directory / "xvfb.txt");
        close(fds[1]);
        // The server writes its number once it takes connections.
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) name_ = ":" + number;
    }
    ~VirtualDisplay() {
        if (x_) XCloseDisplay(x_);
    }
    const std::string& name() const { return name_; }

    // Ends the server under its clients; our own connection is closed first, as closing a dead
    // one would end this process.
    void kill_server() {
        if (x_) XCloseDisplay(x_);
        x_ = nullptr;
        kill(server_->pid(), SIGKILL);
    }

    // The program's window, once it is shown; 0 until then.
    Window find_window() {
        if (!x_) {
            x_ = XOpenDisplay(name_.c_str());
            // A window that goes away between two requests is no reason to end the test.
            XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        }
        if (!x_) return 0;
        Window window = find_named(DefaultRootWindow(x_));
        XWindowAttributes attributes;
        if (!window || !XGetWindowAttributes(x_, window, &attributes)) return 0;
        return attributes.map_state == IsViewable ? window : 0;
    }

    // The colour at a place of the window.
    std::array<int, 3> pixel(Window window, int x, int y) {
        XImage* image = XGetImage(x_, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return {0, 0, 0};
        unsigned long value = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return {int(value >> 16 & 0xff), int(value >> 8 & 0xff), int(value & 0xff)};
    }

    // Keys pressed in order and released in reverse, as the keyboard would send them to the
    // window with the input focus.
    void press_keys(Window window, const std::vector<KeySym>& keys) {
        XSetInputFocus(x_, window, RevertToParent, CurrentTime);
        auto send = [&](int type, KeySym key) {
            XEvent event = {};
            event.xkey.type = type;
            event.xkey.display = x_;
            event.xkey.window = window;
            event.xkey.root = DefaultRootWindow(x_);
            event.xkey.time = ++key_time_;  // no two alike, so no press is taken for a repeat
            event.xkey.keycode = XKeysymToKeycode(x_, key);
            event.xkey.same_screen = True;
            XSendEvent(x_, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
            // A player's keys come a moment apart; the game reads them as its frames go.
            XSync(x_, False);
            std::this_thread::sleep_for(100ms);
        };
        for (KeySym key : keys) send(KeyPress, key);
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) send(KeyRelease, *key);
    }

    // The window made larger or smaller, as a player drags its corner.
    void resize(Window window, int width, int height) {
        XResizeWindow(x_, window, unsigned(width), unsigned(height));
        XSync(x_, False);
    }

    // What a window manager sends when the close button is pressed.
    void press_close_button(Window window) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(x_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(x_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(x_, window, False, NoEventMask, &event);
        XFlush(x_);
    }

    // A press and release of the left button at a place of the window, the pointer moved there first.
    void click(Window window, int x, int y) {
        XWarpPointer(x_, None, window, 0, 0, 0, 0, x, y);
        XSync(x_, False);
        std::this_thread::sleep_for(100ms);
        for (int type : {ButtonPress, ButtonRelease}) {
            XEvent event = {};
            event.xbutton.type = type;
            event.xbutton.window = window;
            event.xbutton.root = DefaultRootWindow(x_);
            event.xbutton.x = x;
            event.xbutton.y = y;
            event.xbutton.button = Button1;
            event.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
            event.xbutton.same_screen = True;
            XSendEvent(x_, window, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
            XSync(x_, False);
            std::this_thread::sleep_for(100ms);
        }
    }

private:
    Window find_named(Window window) {
        char* title = nullptr;
        if (XFetchName(x_, window, &title) && title) {
            bool found = std::string(title) == "Vyr for Win95";
            XFree(title);
            if (found) return window;
        }
        Window root, parent, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(x_, window, &root, &parent, &children, &count)) return 0;
        Window found = 0;
        for (unsigned i = 0; i < count && !found; ++i) found = find_named(children[i]);
        if (children) XFree(children);
        return found;
    }

    std::unique_ptr<Child> server_;
    std::string name_;
    Display* x_ = nullptr;
    Time key_time_ = 0;
};

// The game started under a virtual display of the test's own.
class SdlWindowTest : public testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v Xvfb >/dev/null") != 0) GTEST_SKIP() << "no Xvfb here";
        display = std::make_unique<VirtualDisplay>(dir.path());
        ASSERT_FALSE(display->name().empty()) << read_bytes(dir.path() / "xvfb.txt");
    }

    // Without a display name, neither an X nor a Wayland display is named.
    std::unique_ptr<Child> start_vyr(const std::optional<std::string>& display_name,
                                     const std::vector<std::string>& more = {}) {
        std::vector<std::string> environment{"VYR_VIDEO=sdl", "VYR_AUDIO=off", "VYR_HOME=" + (dir.path() / "home").string(),
                                             "VYR_DATA=" + data_without_movies(dir).string()};
        if (display_name) {
            environment.push_back("DISPLAY=" + *display_name);
        } else {
            environment.push_back("DISPLAY");
            environment.push_back("WAYLAND_DISPLAY");
        }
        environment.insert(environment.end(), more.begin(), more.end());
        return std::make_unique<Child>(std::vector<std::string>{std::string(VYR_BUILD_DIR) + "/vyr"}, environment,
                                       dir.path() / "output.txt");
    }

    // Waits until the window shows the first menu screen (the preferences on a first run).
    Window wait_for_menu() {
        Window window = 0;
        wait_for([&] {
            window = display->find_window();
            return window && first_screen_of([&](int x, int y) { return display->pixel(window, x, y); }) !=
                                 Shown::OTHER;
        });
        return window;
    }

    std::string output() const { return read_bytes(dir.path() / "output.txt"); }

    ScratchDirectory dir;
    std::unique_ptr<VirtualDisplay> display;
};

}  // namespace vyr::e2e
