// A campaign from a fresh player's directory: Combat, Campaign and a war zone open the Situation
// Screen with the campaign's opening text and its speech in place of the music; Back brings the
// music back, and the pilot log keeps the campaign.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "capture.h"
#include "run_vyr.h"

namespace vyr::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int CTRL_Q_STATUS = 16;
constexpr int TICK_FRAMES = 441;        // a clock tick of the 44.1 kHz mix
constexpr int SPEECH_TICK_BYTES = 220;  // a clock tick of an 8-bit speech file at 22,000 Hz
constexpr int ISRAEL_CLICK = 350;

const std::string SOUND_ON = "Quick Start Game Runs=1\r\nSound Music=1\r\nSound Speech=1\r\n";
const std::string ISRAEL_CAMPAIGN = "60 click 500 215\n"  // Combat
                                    "200 click 500 167\n"  // Campaign
                                    "340 capture game.ppm\n"
                                    "350 click 500 70\n";  // Israel
std::string quit_at(int tick) {
    return std::to_string(tick) + " key 0x1d down\n" + std::to_string(tick + 2) + " key 0x10 down\n";
}

// What one clock tick of the null backend's mix holds: the music's echo parts its two sides, a
// speech is mono.
enum class Heard { SILENCE, MONO, STEREO };

struct Mix {
    std::vector<int16_t> samples;  // left and right in turn, after the 44-byte header
    int ticks() const { return int(samples.size() / 2 / TICK_FRAMES); }
    int peak(int tick) const {
        int loud = 0;
        for (size_t i = size_t(tick) * TICK_FRAMES; i < size_t(tick + 1) * TICK_FRAMES; ++i)
            loud = std::max(loud, std::abs(int(samples[2 * i])));
        return loud;
    }
    Heard at(int tick) const {
        int loud = 0, apart = 0;
        for (size_t i = size_t(tick) * TICK_FRAMES; i < size_t(tick + 1) * TICK_FRAMES; ++i) {
            const int left = samples[2 * i], right = samples[2 * i + 1];
            loud = std::max(loud, std::abs(left));
            apart = std::max(apart, std::abs(left - right));
        }
        if (loud < 300) return Heard::SILENCE;
        return apart * 50 < loud ? Heard::MONO : Heard::STEREO;
    }
    // The first tick from `from` on that hears `what`; -1 when none does.
    int first(Heard what, int from) const {
        for (int tick = from; tick < ticks(); ++tick)
            if (at(tick) == what) return tick;
        return -1;
    }
};

Mix read_mix(const fs::path& path) {
    const std::string bytes = read_bytes(path);
    Mix mix;
    if (bytes.size() > 44) {
        mix.samples.resize((bytes.size() - 44) / 2);
        std::memcpy(mix.samples.data(), bytes.data() + 44, mix.samples.size() * 2);
    }
    return mix;
}

// How a speech file sounds tick by tick: its words and the pauses between them.
struct Speech {
    std::vector<int> peaks;  // the loudest sample of each tick, 0..128
    int ticks() const { return int(peaks.size()); }
};

Speech read_speech(const char* name) {
    const std::string bytes = read_bytes(GENERATED_DATA / "speech" / name);
    Speech speech;
    for (size_t at = 0; at + SPEECH_TICK_BYTES <= bytes.size(); at += SPEECH_TICK_BYTES) {
        int peak = 0;
        for (size_t i = at; i < at + SPEECH_TICK_BYTES; ++i) peak = std::max(peak, std::abs(uint8_t(bytes[i]) - 128));
        speech.peaks.push_back(peak);
    }
    return speech;
}

// How closely the loudness of the mix from `start` on follows the speech's, tick by tick (a
// correlation, 1 alike): each clip has syllables and pauses of its own. Its last ticks are left
// out, where music may come back under it.
double likeness(const Mix& mix, int start, const Speech& speech) {
    const int ticks = speech.ticks() - 10;
    double n = 0, sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int tick = 0; tick < ticks; ++tick) {
        const double x = speech.peaks[size_t(tick)], y = mix.peak(start + tick);
        n += 1, sx += x, sy += y, sxx += x * x, syy += y * y, sxy += x * y;
    }
    const double spread = std::sqrt((n * sxx - sx * sx) * (n * syy - sy * sy));
    return spread > 0 ? (n * sxy - sx * sy) / spread : 0;
}

// A pilot log's campaign fields, read as the file lays them out.
struct LogFile {
    std::string name;
    int32_t current_campaign = -1;
    struct Block {
        int32_t level, lives, seed, missions;
    } blocks[4] = {};
    std::vector<int32_t> won;
};

LogFile read_log(const fs::path& path) {
    const std::string bytes = read_bytes(path);
    LogFile log;
    size_t at = bytes.find('\0');
    if (at == std::string::npos) return log;
    log.name = bytes.substr(0, at++);
    auto word = [&] {
        int32_t value = -1;
        if (at + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + at, 4);
        at += 4;
        return value;
    };
    at += 14 * 4;
    while (word() != -1) at += 3 * 4;
    log.current_campaign = word();
    for (auto& block : log.blocks) {
        block = {word(), word(), word(), 0};
        for (; word() != -1; ++block.missions) word();
    }
    for (int32_t zone = word(); zone != -1; zone = word()) log.won.push_back(zone);
    return log;
}

// The menu font's ink is white, which nothing else on the Situation Screen is.
bool is_ink(const Capture& c, int x, int y) { return c.at(x, y) == std::array<int, 3>{255, 255, 255}; }

TEST(Campaign, IsraelOpensWithItsSituationAndItsSpeechAndTheLogKeepsTheCampaign) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", SOUND_ON);
    auto script = write_bytes(dir / "run.txt", ISRAEL_CAMPAIGN +
                                                   "900 capture situation.ppm\n"
                                                   "1000 click 480 460\n"  // Back
                                                   "1200 capture back.ppm\n" +
                                                   quit_at(1500));
    const fs::path log = dir.path() / "log";
    ASSERT_FALSE(fs::exists(log));
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=" +
                                     script.string());
    ASSERT_EQ(run.exit_code, CTRL_Q_STATUS) << run.output;

    // The opening text, in lines from the top of its box and nowhere else.
    const Capture situation = read_capture(dir.path() / "situation.ppm");
    int ink = 0, ink_outside = 0, top = -1;
    for (int y = 0; y < situation.height; ++y)
        for (int x = 0; x < situation.width; ++x) {
            if (!is_ink(situation, x, y)) continue;
            const bool in_box = x >= 334 && x < 624 && y >= 68 && y < 370;
            if (in_box && top < 0) top = y;
            ++(in_box ? ink : ink_outside);
        }
    EXPECT_GT(ink, 3000) << "several lines of text";
    EXPECT_EQ(ink_outside, 0);
    EXPECT_LT(top, 68 + 20) << "the text begins at the top of its box";
    for (const char* other : {"game.ppm", "back.ppm"}) {
        const Capture game = read_capture(dir.path() / other);
        EXPECT_NE(game.rgb, situation.rgb) << other;
        EXPECT_TRUE(is_plate_colour(game.at(500, 70))) << other << ": the Game Screen's Israel plate";
    }

    // The music, then israll00 in its place, then music again.
    const Mix mix = read_mix(dir.path() / "mix.wav");
    ASSERT_GT(mix.ticks(), 1400);
    EXPECT_EQ(mix.at(ISRAEL_CLICK - 10), Heard::STEREO) << "the music plays on the Game Screen";
    const int speech = mix.first(Heard::MONO, ISRAEL_CLICK);
    ASSERT_GT(speech, ISRAEL_CLICK);
    const Speech israll00 = read_speech("israll00.raw");
    EXPECT_GT(mix.first(Heard::STEREO, speech), speech + israll00.ticks() - 10) << "no music under the speech";
    EXPECT_GT(likeness(mix, speech, israll00), 0.95);
    EXPECT_LT(likeness(mix, speech, read_speech("israll03.raw")), 0.8) << "a clip of its own";
    EXPECT_EQ(mix.at(1190), Heard::STEREO) << "music after Back";

    // The default log, now in the Israel campaign at its start; a restart finds it and adds none.
    for (int run_number = 1; run_number <= 2; ++run_number) {
        const LogFile file = read_log(log / "log0.1");
        EXPECT_EQ(file.name, "de Fault") << run_number;
        EXPECT_EQ(file.current_campaign, 1) << run_number;
        EXPECT_EQ(file.blocks[0].level, 3) << run_number;
        EXPECT_EQ(file.blocks[0].lives, 3) << run_number;
        EXPECT_TRUE(file.blocks[0].seed >= 0 && file.blocks[0].seed <= 32767) << run_number;
        EXPECT_EQ(file.blocks[1].lives, 0) << run_number << ": Korea not begun";
        EXPECT_FALSE(fs::exists(log / "log0.2")) << run_number << ": a restart adds no default log";
        if (run_number == 1) {
            auto quit = write_bytes(dir / "quit.txt", quit_at(60));
            ASSERT_EQ(run_vyr(dir, "VYR_CLOCK=virtual VYR_SCRIPT=" + quit.string()).exit_code, CTRL_Q_STATUS);
        }
    }
}

// User 0's default log, current, with no missions but the campaigns: the current campaign, the
// four blocks with their entries and the won zones, as the file lays them out.
void write_default_log(const ScratchDirectory& dir, std::initializer_list<int32_t> campaigns) {
    std::string bytes("de Fault", 9);
    auto put = [&](std::initializer_list<int32_t> words) {
        for (int32_t word : words) bytes.append(reinterpret_cast<const char*>(&word), 4);
    };
    put({19, 6, 2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, -1});
    put(campaigns);
    write_bytes(dir / "log" / "log0.1", bytes);
    write_bytes(dir / "log" / "current.log", std::string("0", 2));
    write_bytes(dir / "log" / "user.0", std::string("1 ", 3));
}

// A lost campaign is spoken of at the level it was lost on, and ends; a campaign that fell back to
// its starting level is taken up again, not begun anew.
TEST(Campaign, ALostCampaignEndsAndOneBackAtItsStartingLevelGoesOn) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", SOUND_ON);
    // The default log in the Israel campaign, lost at level 0 with lives left; Korea's at level 3
    // with two lives, after a mission failed.
    write_default_log(dir, {1, 0, 2, 1234, -1, 3, 2, 999, 1, 2, -1, 3, 0, 0, -1, 3, 0, 0, -1, -1});
    auto script = write_bytes(dir / "run.txt", ISRAEL_CAMPAIGN +
                                                   "900 capture israel.ppm\n"
                                                   "1000 click 480 460\n"   // Back
                                                   "1150 click 500 167\n"   // Korea
                                                   "1700 capture korea.ppm\n" +
                                                   quit_at(1800));
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=" +
                                     script.string());
    ASSERT_EQ(run.exit_code, CTRL_Q_STATUS) << run.output;

    const Mix mix = read_mix(dir.path() / "mix.wav");
    const int lost = mix.first(Heard::MONO, ISRAEL_CLICK);
    ASSERT_GT(lost, ISRAEL_CLICK);
    EXPECT_GT(likeness(mix, lost, read_speech("israld01.raw")), 0.95) << "the speech of a campaign lost at level 0";
    const int korea = mix.first(Heard::MONO, 1150);
    ASSERT_GT(korea, 1150);
    EXPECT_GT(likeness(mix, korea, read_speech("koreal03.raw")), 0.95) << "the situation at level 3";
    EXPECT_LT(likeness(mix, korea, read_speech("koreal00.raw")), 0.8) << "not a campaign begun anew";

    // Each zone's situation on its own map: the heading above it names the zone.
    const Capture israel = read_capture(dir.path() / "israel.ppm"), korea_shown = read_capture(dir.path() / "korea.ppm");
    int heading_apart = 0;
    for (int y = 20; y < 70; ++y)
        for (int x = 20; x < 300; ++x) heading_apart += israel.at(x, y) != korea_shown.at(x, y);
    EXPECT_GT(heading_apart, 500);

    const LogFile file = read_log(dir.path() / "log" / "log0.1");
    EXPECT_EQ(file.current_campaign, 2);
    EXPECT_EQ(file.blocks[0].level, 3) << "Israel ended";
    EXPECT_EQ(file.blocks[0].lives, 0);
    EXPECT_EQ(file.blocks[0].seed, 0);
    EXPECT_EQ(file.blocks[1].level, 3);
    EXPECT_EQ(file.blocks[1].lives, 2) << "Korea kept";
    EXPECT_EQ(file.blocks[1].seed, 999);
    EXPECT_EQ(file.blocks[1].missions, 1);
}

// A won campaign is spoken of at level 11, recorded as won and ended.
TEST(Campaign, AWonCampaignIsRecordedAndEnds) {
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", SOUND_ON);
    write_default_log(dir, {1, 11, 1, 77, 5, 3, -1, 3, 0, 0, -1, 3, 0, 0, -1, 3, 0, 0, -1, -1});
    auto script = write_bytes(dir / "run.txt", ISRAEL_CAMPAIGN + quit_at(1000));
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=" +
                                     script.string());
    ASSERT_EQ(run.exit_code, CTRL_Q_STATUS) << run.output;

    const Mix mix = read_mix(dir.path() / "mix.wav");
    const int won = mix.first(Heard::MONO, ISRAEL_CLICK);
    ASSERT_GT(won, ISRAEL_CLICK);
    EXPECT_GT(likeness(mix, won, read_speech("israle11.raw")), 0.95) << "the speech of a campaign won at level 11";
    const LogFile file = read_log(dir.path() / "log" / "log0.1");
    EXPECT_EQ(file.current_campaign, 0);
    EXPECT_EQ(file.blocks[0].level, 3);
    EXPECT_EQ(file.blocks[0].lives, 0);
    EXPECT_EQ(file.blocks[0].missions, 0);
    EXPECT_EQ(file.won, std::vector<int32_t>{1});
}

// Korea from a fresh player's directory: the campaign begins; "Load Mission" shows the level-3
// situation and speaks it; "Load Mission" again opens the level's one mission, whose speech is
// Korea's for campaign mission 4.
TEST(Campaign, KoreaBeginsAndLoadMissionOpensTheLevelThreeMissionWithItsSpeech) {
    constexpr int KOREA_CLICK = 350, FIRST_LOAD = 1300, SECOND_LOAD = 2500;
    ScratchDirectory dir;
    write_bytes(dir / "prefs.cfg", SOUND_ON);
    auto script = write_bytes(dir / "run.txt", "60 click 500 215\n"   // Combat
                                               "200 click 500 167\n"  // Campaign
                                               "350 click 500 167\n"  // Korea
                                               "1300 click 580 410\n"  // Load Mission
                                               "2000 capture situation.ppm\n"
                                               "2500 click 580 410\n"  // Load Mission again
                                               "3200 capture mission.ppm\n" +
                                                   quit_at(3700));
    RunResult run = run_vyr(dir, "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=" +
                                     script.string());
    ASSERT_EQ(run.exit_code, CTRL_Q_STATUS) << run.output;

    const Mix mix = read_mix(dir.path() / "mix.wav");
    const int begun = mix.first(Heard::MONO, KOREA_CLICK);
    ASSERT_GT(begun, KOREA_CLICK);
    EXPECT_GT(likeness(mix, begun, read_speech("koreal00.raw")), 0.95) << "the campaign begins";
    const int situation = mix.first(Heard::MONO, FIRST_LOAD);
    ASSERT_GT(situation, FIRST_LOAD);
    EXPECT_GT(likeness(mix, situation, read_speech("koreal03.raw")), 0.95) << "the situation at level 3";
    const int mission = mix.first(Heard::MONO, SECOND_LOAD);
    ASSERT_GT(mission, SECOND_LOAD);
    EXPECT_GT(likeness(mix, mission, read_speech("koreac04.raw")), 0.95) << "campaign mission 4";

    const Capture shown = read_capture(dir.path() / "situation.ppm");
    int ink = 0;
    for (int y = 68; y < 370; ++y)
        for (int x = 334; x < 624; ++x) ink += is_ink(shown, x, y);
    EXPECT_GT(ink, 3000) << "the level's situation";
    const LogFile file = read_log(dir.path() / "log" / "log0.1");
    EXPECT_EQ(file.current_campaign, 2);
    EXPECT_EQ(file.blocks[1].level, 3);
    EXPECT_EQ(file.blocks[1].lives, 3);
}

// While the speech plays, Back cuts it short: the music is back long before the speech would end.
TEST(Campaign, BackDuringTheSpeechBringsTheMusicBackAtOnce) {
    ScratchDirectory dir;
    const std::string environment = "VYR_CLOCK=virtual VYR_AUDIO=null VYR_AUDIO_CAPTURE=mix.wav VYR_SCRIPT=";
    auto fresh_run = [&](const std::string& script) {
        fs::remove_all(dir.path() / "log");
        write_bytes(dir / "prefs.cfg", SOUND_ON);
        auto path = write_bytes(dir / "run.txt", script);
        RunResult run = run_vyr(dir, environment + path.string());
        EXPECT_EQ(run.exit_code, CTRL_Q_STATUS) << run.output;
        return read_mix(dir.path() / "mix.wav");
    };
    const int speech = fresh_run(ISRAEL_CAMPAIGN + quit_at(1000)).first(Heard::MONO, ISRAEL_CLICK);
    ASSERT_GT(speech, ISRAEL_CLICK) << "the run the Back is timed by";
    const int back = speech + 30;
    const Mix mix = fresh_run(ISRAEL_CAMPAIGN + std::to_string(back) + " click 480 460\n" + quit_at(back + 400));
    EXPECT_EQ(mix.first(Heard::MONO, ISRAEL_CLICK), speech) << "the same run up to Back";
    const int music = mix.first(Heard::STEREO, speech);
    EXPECT_GT(music, back);
    EXPECT_LT(music, speech + read_speech("israll00.raw").ticks() - 20) << "the speech was cut short";
}

}  // namespace
}  // namespace vyr::e2e
