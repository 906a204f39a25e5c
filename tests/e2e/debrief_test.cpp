// Two flights from a fresh player's directory and their debriefs: the Israel campaign's level-3
// approach flown to a landing by the autopilot, then a single mission left in the air; each judged
// on the map with its flown path and its sound, logged, and the awards shown with Left Shift held.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "capture.h"
#include "run_vyr.h"

namespace vyr::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int CTRL_Q_STATUS = 16;
constexpr int TICK_FRAMES = 441;  // a clock tick of the 44.1 kHz mix
constexpr int SOUND_TICK_BYTES = 440;  // a clock tick of an 8-bit stereo file at 22,000 Hz
constexpr int LANDED_QUIT = 9100, AIR_QUIT = 12600;

std::string alt_x_and_yes(int at) {
    return std::to_string(at) + " key 0x38 down\n" + std::to_string(at + 1) + " key 0x2d down\n" +
           std::to_string(at + 3) + " key 0x2d up\n" + std::to_string(at + 4) + " key 0x38 up\n" +
           std::to_string(at + 60) + " key 0x15 down\n" + std::to_string(at + 62) + " key 0x15 up\n";
}

const std::string SCRIPT = "60 click 500 215\n"    // Combat
                           "200 click 500 167\n"   // Campaign
                           "350 click 500 70\n"    // Israel
                           "1300 click 580 410\n"  // Load Mission: the level's situation
                           "2500 click 580 410\n"  // Load Mission: the approach mission on the map
                           "3200 capture map.ppm\n"
                           "3300 click 599 29\n"  // Takeoff
                           "4000 capture flight.ppm\n"
                           "4100 key 0x38 down\n4102 key 0x1e down\n4104 key 0x1e up\n4106 key 0x38 up\n" +  // Alt+A
                           alt_x_and_yes(LANDED_QUIT) +
                           "9600 capture landed.ppm\n"
                           "9700 click 610 470\n"  // Exit: logged at once
                           "9800 capture situation.ppm\n"
                           "10000 click 480 460\n10150 click 480 460\n"  // Back twice
                           "10300 click 500 70\n"                         // Single Missions
                           "10450 click 500 70\n"                         // Israel
                           "10800 click 100 85\n"                         // the first mission
                           "11100 click 580 410\n"                        // Load Mission
                           "12000 click 599 29\n" +                       // Takeoff
                           alt_x_and_yes(AIR_QUIT) +
                           "13100 capture aborted.ppm\n"
                           "13200 click 610 470\n"  // Exit
                           "13300 capture question.ppm\n"
                           "13350 key 0x2a down\n13400 click 240 197\n13420 key 0x2a up\n"  // Yes, Left Shift held
                           "13700 capture award1.ppm\n13800 click 620 472\n"
                           "14100 capture award2.ppm\n14200 click 620 472\n"
                           "14500 capture award3.ppm\n14600 click 620 472\n"
                           "14900 capture award4.ppm\n15000 click 620 472\n"
                           "15400 capture list.ppm\n"
                           "15600 key 0x1d down\n15602 key 0x10 down\n";

std::vector<int> tick_peaks(const std::string& bytes, size_t header, int tick_bytes, int sample_bytes) {
    std::vector<int> peaks;
    for (size_t at = header; at + size_t(tick_bytes) <= bytes.size(); at += size_t(tick_bytes)) {
        int peak = 0;
        for (size_t i = at; i < at + size_t(tick_bytes); i += size_t(sample_bytes)) {
            int value = 0;
            if (sample_bytes == 1) {
                value = std::abs(uint8_t(bytes[i]) - 128) * 256;
            } else {
                int16_t sample;
                std::memcpy(&sample, bytes.data() + i, 2);
                value = std::abs(int(sample));
            }
            peak = std::max(peak, value);
        }
        peaks.push_back(peak);
    }
    return peaks;
}

// The best correlation of the sound's loudness, tick by tick over `length` ticks, with the mix's
// from any start in [from, to).
double best_likeness(const std::vector<int>& mix, const std::vector<int>& sound, int from, int to, int length) {
    double best = -1;
    for (int start = from; start < to && start + length <= int(mix.size()); ++start) {
        double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
        for (int t = 0; t < length && t < int(sound.size()); ++t) {
            const double x = sound[size_t(t)], y = mix[size_t(start + t)];
            n += 1, sx += x, sy += y, sxx += x * x, syy += y * y, sxy += x * y;
        }
        const double spread = std::sqrt((n * sxx - sx * sx) * (n * syy - sy * sy));
        if (spread > 0) best = std::max(best, (n * sxy - sx * sy) / spread);
    }
    return best;
}

// The flown path is drawn in pure red, which nothing else on the map is.
int red_pixels(const Capture& c) {
    int count = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) count += c.at(x, y) == std::array<int, 3>{255, 0, 0};
    return count;
}

int ink(const Capture& c, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) count += c.at(x, y) == std::array<int, 3>{255, 255, 255};
    return count;
}

struct LogEntry {
    int32_t zone, mission, result, campaign;
};
struct LogFile {
    std::vector<LogEntry> missions;
    int32_t israel_level = -1, israel_missions = 0;
};

// The missions and the Israel campaign block of a pilot log, as the file lays them out.
LogFile read_log(const fs::path& path) {
    const std::string bytes = read_bytes(path);
    LogFile log;
    size_t at = bytes.find('\0');
    if (at == std::string::npos) return log;
    ++at;
    auto word = [&] {
        int32_t value = -1;
        if (at + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + at, 4);
        at += 4;
        return value;
    };
    at += 14 * 4;
    for (int32_t zone = word(); zone != -1; zone = word()) {
        const int32_t mission = word(), result = word(), campaign = word();
        log.missions.push_back({zone, mission, result, campaign});
    }
    word();  // the current campaign
    log.israel_level = word();
    word(), word();  // lives, seed
    for (; word() != -1; ++log.israel_missions) word();
    return log;
}

TEST(Debrief, ALandedCampaignFlightAndASingleMissionLeftInTheAirAreJudgedLoggedAndRewarded) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", "Quick Start Game Runs=1\r\nSound Music=1\r\nSound Speech=1\r\n");
    auto script = write_bytes(dir / "run.txt", SCRIPT);
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=" +
                                     script.string());
    const Capture map = read_capture(dir.path() / "map.ppm");
    // Without a flight the rest of the script clicks through screens it was not written for.
    if (read_capture(dir.path() / "flight.ppm").rgb == map.rgb)
        GTEST_SKIP() << "the map's Takeoff starts no flight in this build";
    ASSERT_EQ(run.exit_code, CTRL_Q_STATUS) << run.output;

    // The landed flight: its path on the map, its title and text, and the success sound.
    const Capture landed = read_capture(dir.path() / "landed.ppm"), aborted = read_capture(dir.path() / "aborted.ppm");
    EXPECT_EQ(red_pixels(map), 0);
    EXPECT_GT(red_pixels(landed), 100) << "the flown path";
    EXPECT_GT(ink(landed, 90, 402, 560, 420), 50) << "a title";
    int titles_apart = 0;
    for (int y = 402; y < 420; ++y)
        for (int x = 90; x < 300; ++x) titles_apart += landed.at(x, y) != aborted.at(x, y);
    EXPECT_GT(titles_apart, 50) << "SUCCESS and ABORTED";

    const std::vector<int> mix = tick_peaks(read_bytes(dir.path() / "mix.wav"), 44, TICK_FRAMES * 4, 2);
    auto sound = [](const char* name) { return tick_peaks(read_bytes(GENERATED_DATA / "sound" / name), 0, SOUND_TICK_BYTES, 1); };
    const auto success = sound("success.raw"), fail = sound("fail.raw");
    EXPECT_GT(best_likeness(mix, success, LANDED_QUIT, LANDED_QUIT + 450, 150), 0.9) << "success.raw";
    EXPECT_LT(best_likeness(mix, fail, LANDED_QUIT, LANDED_QUIT + 450, 150), 0.8);
    EXPECT_GT(best_likeness(mix, fail, AIR_QUIT, AIR_QUIT + 450, 150), 0.9) << "fail.raw";

    // The question for the single mission, then the promotion first and the three medals, each
    // a screen of its own.
    const Capture question = read_capture(dir.path() / "question.ppm");
    EXPECT_GT(ink(question, 175, 140, 410, 240), ink(aborted, 175, 140, 410, 240) + 200) << "the log box";
    std::vector<Capture> awards;
    for (const char* name : {"award1.ppm", "award2.ppm", "award3.ppm", "award4.ppm"})
        awards.push_back(read_capture(dir.path() / name));
    for (size_t i = 0; i < awards.size(); ++i)
        for (size_t j = i + 1; j < awards.size(); ++j) EXPECT_NE(awards[i].rgb, awards[j].rgb) << i << " " << j;
    EXPECT_NE(awards[0].rgb, read_capture(dir.path() / "list.ppm").rgb);
    EXPECT_GT(ink(read_capture(dir.path() / "list.ppm"), 285, 76, 305, 92), 10) << "the failure sign";

    // Both flights in the log; the campaign one level up.
    const LogFile log = read_log(dir.path() / "log" / "log0.1");
    bool campaign_success = false, single_failure = false;
    for (const LogEntry& e : log.missions) {
        campaign_success |= e.zone == 1 && e.campaign == 1 && e.result == 3;
        single_failure |= e.zone == 1 && e.campaign == 0 && e.result == 2;
    }
    EXPECT_TRUE(campaign_success);
    EXPECT_TRUE(single_failure);
    EXPECT_EQ(log.israel_level, 4);
    EXPECT_EQ(log.israel_missions, 1);
}

}  // namespace
}  // namespace vyr::e2e
