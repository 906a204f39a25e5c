#include "vyr_pair.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sstream>
#include <thread>

#include "run_vyr.h"
#include "tests/support/paths.h"

extern char** environ;

namespace vyr::e2e {

namespace {

// The environment a run starts with: the test's own, then the pair's, then the run's.
std::vector<std::string> run_environment(const std::filesystem::path& home, const std::filesystem::path& data,
                                         const PairedRun& run) {
    std::vector<std::string> words;
    for (char** variable = environ; *variable; ++variable) words.emplace_back(*variable);
    words.insert(words.end(), {"VYR_VIDEO=headless", "VYR_AUDIO=off", "VYR_CLOCK=virtual", "VYR_DATA=" + data.string(),
                               "VYR_HOME=" + home.string(), "VYR_SCRIPT=" + (home / "script.txt").string()});
    words.insert(words.end(), run.environment.begin(), run.environment.end());
    // The last word for a name wins, as the shell's env does.
    std::vector<std::string> unique;
    for (auto word = words.rbegin(); word != words.rend(); ++word) {
        const std::string name = word->substr(0, word->find('='));
        if (std::none_of(unique.begin(), unique.end(), [&](const std::string& u) { return u.substr(0, u.find('=')) == name; }))
            unique.push_back(*word);
    }
    return unique;
}

pid_t start(const std::filesystem::path& home, const std::vector<std::string>& environment) {
    const std::string program = std::string(VYR_BUILD_DIR) + "/vyr";
    const std::string output = (home / "output.txt").string();
    std::vector<char*> envp;
    for (const std::string& word : environment) envp.push_back(const_cast<char*>(word.c_str()));
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const pid_t parent = getpid();
    const pid_t id = fork();
    if (id != 0) {
        if (id > 0) setpgid(id, id);  // as the child does, whichever runs first
        return id;
    }
    // The child: only async-signal-safe calls until exec.
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);  // the test process dying takes the run with it
    if (getppid() != parent) _exit(127);
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || chdir(home.c_str()) != 0) _exit(127);
    dup2(out, 1);
    dup2(out, 2);
    execve(argv[0], argv, envp.data());
    _exit(127);
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

bool process_group_alive(pid_t group) { return kill(-group, 0) == 0 || errno == EPERM; }

VyrPair::VyrPair(const ScratchDirectory& directory, const std::string& name, const std::array<PairedRun, 2>& runs) {
    const std::filesystem::path data = data_without_movies(directory);
    for (int i = 0; i < 2; ++i) {
        homes_[i] = directory / name / (i == 0 ? "a" : "b");
        std::filesystem::create_directories(homes_[i]);
        write_bytes(homes_[i] / "script.txt", runs[i].script);
        for (const auto& [name, bytes] : runs[i].files) write_bytes(homes_[i] / name, bytes);
    }
    for (int i = 0; i < 2; ++i) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (runs[i].start_when && !runs[i].start_when() && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ids_[i] = start(homes_[i], run_environment(homes_[i], data, runs[i]));
    }
}

VyrPair::~VyrPair() { end_all(); }

void VyrPair::end_all() {
    for (int i = 0; i < 2; ++i) {
        if (ids_[i] <= 0) continue;
        kill(-ids_[i], SIGKILL);
        if (statuses_[i] == -1) waitpid(ids_[i], &statuses_[i], 0);
    }
}

std::array<PairedResult, 2> VyrPair::wait(std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::array<bool, 2> done{ids_[0] <= 0, ids_[1] <= 0};
    while (!(done[0] && done[1]) && std::chrono::steady_clock::now() < deadline) {
        for (int i = 0; i < 2; ++i)
            if (!done[i]) done[i] = waitpid(ids_[i], &statuses_[i], WNOHANG) == ids_[i];
        if (!(done[0] && done[1])) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::array<PairedResult, 2> results;
    for (int i = 0; i < 2; ++i) results[i].ended_at_limit = !done[i];
    end_all();
    for (int i = 0; i < 2; ++i) {
        PairedResult& result = results[i];
        const int status = statuses_[i];
        result.exit_code = !result.ended_at_limit && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.output = read_bytes(homes_[i] / "output.txt");
        result.digest_lines = lines_of(read_bytes(homes_[i] / DIGEST_FILE));
        for (const auto& entry : std::filesystem::directory_iterator(homes_[i]))
            if (entry.path().extension() == ".ppm") result.captures.push_back(entry.path().filename());
        std::sort(result.captures.begin(), result.captures.end());
    }
    return results;
}

}  // namespace vyr::e2e
