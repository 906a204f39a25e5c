// Two headless runs of the real program side by side, as two linked machines will be: each with
// its own script, player's directory and environment, on the virtual clock and the generated
// data. Whatever happens (success, a failed assertion, a run that never ends) both processes,
// and anything they started, are ended and reaped before the pair is gone.
#pragma once

#include <sys/types.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/scratch.h"

namespace vyr::e2e {

// The file in each run's directory that its script's digest lines name ("100 digest digest.txt").
inline constexpr const char* DIGEST_FILE = "digest.txt";

struct PairedRun {
    std::string script;                    // the script's text
    std::vector<std::string> environment = {};  // VAR=value, over the pair's own
    std::vector<std::pair<std::string, std::string>> files = {};  // name and bytes, in its directory before it starts
    // When set, the run starts only once this holds (the runs before it started), or after a minute.
    std::function<bool()> start_when = {};
};

struct PairedResult {
    int exit_code = -1;           // -1 when it did not exit by itself
    bool ended_at_limit = false;  // still running when the limit came, so ended
    std::string output;           // standard output and standard error together
    std::vector<std::filesystem::path> captures;  // the PPM files it wrote, by name
    std::vector<std::string> digest_lines;
};

class VyrPair {
public:
    // Starts both at once, in `directory`/`name`/a and `directory`/`name`/b.
    VyrPair(const ScratchDirectory& directory, const std::string& name, const std::array<PairedRun, 2>& runs);
    ~VyrPair();
    VyrPair(const VyrPair&) = delete;
    VyrPair& operator=(const VyrPair&) = delete;

    // Waits until both have ended or the limit has passed, ends any still running, and reads
    // what each left.
    std::array<PairedResult, 2> wait(std::chrono::seconds limit = std::chrono::seconds(300));

    // The process ids, which are also the ids of their process groups.
    std::array<pid_t, 2> ids() const { return ids_; }
    const std::filesystem::path& home(int run) const { return homes_[run]; }

private:
    void end_all();

    std::array<pid_t, 2> ids_{-1, -1};
    std::array<int, 2> statuses_{-1, -1};
    std::array<std::filesystem::path, 2> homes_;
};

// True while any process of the group still exists (zombies included).
bool process_group_alive(pid_t group);

}  // namespace vyr::e2e
