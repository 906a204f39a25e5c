// The SDL window under a virtual X server: how the program ends when the outside world asks, and
// when it has no display or loses it.
#include "virtual_display.h"

namespace vyr::e2e {
namespace {

class WindowQuit : public SdlWindowTest {};

TEST_F(WindowQuit, SignalsAndTheCloseButtonEndTheGameOnItsMenuThroughItsExitPath) {
    const struct {
        const char* name;
        std::function<void(VirtualDisplay&, Window, pid_t)> ask;
    } cases[] = {
        {"SIGTERM", [](VirtualDisplay&, Window, pid_t pid) { kill(pid, SIGTERM); }},
        {"SIGINT", [](VirtualDisplay&, Window, pid_t pid) { kill(pid, SIGINT); }},
        {"close button", [](VirtualDisplay& x, Window window, pid_t) { x.press_close_button(window); }},
    };
    for (const auto& c : cases) {
        fs::remove_all(dir.path() / "home");
        auto vyr = start_vyr(display->name());
        Window window = wait_for_menu();
        ASSERT_NE(window, 0u) << c.name << ": no menu shown\n" << output();
        c.ask(*display, window, vyr->pid());
        EXPECT_EQ(vyr->wait_for_exit(), 0) << c.name << "\n" << output();
        EXPECT_NE(read_bytes(dir.path() / "home" / "prefs.cfg").find("Quick Start Game Runs=1"), std::string::npos)
            << c.name;
    }
}

// Alt+F4 is a key of the game's, never a request to close: the Ctrl+Q after it is still taken,
// and ends the game with its own status rather than the 0 of a close.
TEST_F(WindowQuit, AltF4IsAKeyAndDoesNotCloseTheWindow) {
    auto vyr = start_vyr(display->name());
    Window window = wait_for_menu();
    ASSERT_NE(window, 0u) << "no menu shown\n" << output();
    display->press_keys(window, {XK_Alt_L, XK_F4});
    display->press_keys(window, {XK_Control_L, XK_q});
    EXPECT_EQ(vyr->wait_for_exit(), 16) << output();
}

// Both signals are pending when the game goes on: the first starts the exit, the second finds it
// under way and ends the process there and then.
TEST_F(WindowQuit, ASecondSignalDuringTheExitEndsTheGameAtOnce) {
    auto vyr = start_vyr(display->name());
    ASSERT_NE(wait_for_menu(), 0u) << output();
    kill(vyr->pid(), SIGSTOP);
    kill(vyr->pid(), SIGINT);
    kill(vyr->pid(), SIGTERM);
    kill(vyr->pid(), SIGCONT);
    const int status = vyr->wait_for_exit();
    EXPECT_TRUE(status == 128 + SIGINT || status == 128 + SIGTERM) << status << "\n" << output();
}

// The fatal error's box waits for the player; a signal does not.
TEST_F(WindowQuit, SigtermUnderTheFatalErrorBoxEndsTheGameWithTheFatalsStatus) {
    fs::copy(GENERATED_DATA, dir.path() / "data", fs::copy_options::recursive);
    write_bytes(dir.path() / "data" / "menuscrn" / "newintro.lbm", "not a picture");
    auto vyr = start_vyr(display->name(), {"VYR_DATA=" + (dir.path() / "data").string()});
    // The text goes to stderr just before the box is shown.
    ASSERT_TRUE(wait_for([&] { return output().find("FATAL ***") != std::string::npos; })) << output();
    kill(vyr->pid(), SIGTERM);
    EXPECT_EQ(vyr->wait_for_exit(), 10) << output();
}

TEST_F(WindowQuit, SigtermOnTheLoadingScreenEndsTheGame) {
    auto vyr = start_vyr(display->name());
    ASSERT_TRUE(wait_for([&] { return display->find_window() != 0; })) << output();
    kill(vyr->pid(), SIGTERM);
    EXPECT_EQ(vyr->wait_for_exit(), 0) << output();
}

TEST_F(WindowQuit, WithoutADisplayOrWhenItIsLostTheGameEndsWithOneLine) {
    const std::string nowhere = ":" + std::to_string(9000 + getpid() % 1000);  // no server there
    const struct {
        const char* name;
        std::optional<std::string> display;
        std::string named;  // as the line names it
    } cases[] = {
        {"DISPLAY naming no server", nowhere, nowhere},
        {"DISPLAY unset", std::nullopt, "(DISPLAY is not set)"},
    };
    for (const auto& c : cases) {
        auto none = start_vyr(c.display);
        EXPECT_EQ(none->wait_for_exit(), 1) << c.name << "\n" << output();
        EXPECT_EQ(output(), "vyr: cannot open the display " + c.named + "; set VYR_VIDEO=headless to run without one\n")
            << c.name;
    }

    auto vyr = start_vyr(display->name());
    ASSERT_NE(wait_for_menu(), 0u) << output();
    display->kill_server();
    EXPECT_EQ(vyr->wait_for_exit(), 1) << output();
    EXPECT_NE(output().find("lost the display " + display->name() + "; set VYR_VIDEO=headless"),
              std::string::npos)
        << output();
}

}  // namespace
}  // namespace vyr::e2e
