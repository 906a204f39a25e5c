#include "source/menus/logs/pilot_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "source/mission/mission.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

// Offsets in a log file whose call sign is "de Fault".
constexpr size_t RADIO_AT = 9, RANK_AT = 13, STATUS_AT = 17, STATUS_HOUR_AT = 45, DEFAULT_AT = 49,
                 CURRENT_CAMPAIGN_AT = 69;
constexpr size_t DEFAULT_LOG_SIZE = 141;

std::string word(int32_t value) {
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

void put(std::string& bytes, size_t at, int32_t value) { bytes.replace(at, 4, word(value)); }

// The default log's bytes as an ordinary pilot's log with another call sign of 8 characters.
std::string ordinary(std::string bytes, const char* call_sign) {
    bytes.replace(0, 8, call_sign);
    put(bytes, DEFAULT_AT, 0);
    return bytes;
}

class PilotLogs : public ScratchDirectories {
protected:
    void TearDown() override {
        while (pilot_logs) delete_pilot_log(pilot_logs);
        current_user = 0;
        debug_mode = debug_flag = 0;
        ScratchDirectories::TearDown();
    }

    fs::path log_file(int n) const { return work / "log" / ("log0." + std::to_string(n)); }

    // A fresh player's directory's default log, as written.
    std::string default_log_bytes() {
        init_pilot_logs();
        std::string bytes = read_bytes(log_file(1));
        while (pilot_logs) delete_pilot_log(pilot_logs);
        return bytes;
    }

    // The log read back from `bytes` as file n.
    PilotLog* read_back(const std::string& bytes, int n = 5) {
        write_bytes(log_file(n), bytes);
        PilotLog* log = create_pilot_log();
        log->file_number = n;
        read_pilot_log(log, n);
        return log;
    }
};

TEST_F(PilotLogs, AFreshDirectoryGetsTheLogFolderAndADefaultLogOf141Bytes) {
    init_pilot_logs();
    ASSERT_TRUE(fs::is_directory(work / "log"));
    ASSERT_EQ(fs::file_size(log_file(1)), DEFAULT_LOG_SIZE);
    ASSERT_NE(current_pilot_log, nullptr);
    EXPECT_STREQ(get_log_name(current_pilot_log), "de Fault");
    EXPECT_EQ(get_log_rank(current_pilot_log), 6);
    EXPECT_STREQ(get_log_status_name(current_pilot_log), "Active");
    EXPECT_EQ(get_log_radio_call_sign(current_pilot_log), 19);
    EXPECT_TRUE(is_default_log(current_pilot_log));
    EXPECT_STREQ(format_rank_and_name(current_pilot_log), "Lt Colonel de Fault");

    save_pilot_logs();
    EXPECT_EQ(read_bytes(work / "log" / "current.log"), std::string("0", 2));
    EXPECT_EQ(read_bytes(work / "log" / "user.0"), std::string("1 ", 3));
}

TEST_F(PilotLogs, TheFlightHearsTheCurrentPilotsCallSign) {
    init_pilot_logs();
    EXPECT_EQ(get_radio_call_sign(), 19);
    set_log_radio_call_sign(current_pilot_log, 7);
    EXPECT_EQ(get_radio_call_sign(), 7);
    current_pilot_log = nullptr;
    EXPECT_EQ(get_radio_call_sign(), 0);
}

TEST_F(PilotLogs, AFullLogReadsBackAndWritesByteEqual) {
    PilotLog* log = create_pilot_log();
    set_log_name(log, "Kestrel");
    set_log_rank(log, 7);
    set_log_status(log, LOG_STATUS_ACTIVE);
    set_log_radio_call_sign(log, 7);
    add_log_air_kills(log, 12);
    add_log_ground_kills(log, 30);
    add_log_friendly_kills(log, 1);
    add_log_aircraft_lost(log, 2);
    add_log_total_time(log, 720000);
    add_log_combat_time(log, 360000);
    for (int medal = 0; medal < 3; ++medal) set_log_medal(log, medal, 1);
    for (int mission = 1; mission <= 6; ++mission) {
        log_mission_result(log, mission, 1 + mission % 3, 0);
        set_log_mission_result(log, 1 + mission % 3, mission, 0, LOG_SUCCESSFUL + mission % 2);
    }
    log_mission_result(log, 1, 5, 0);  // training
    for (int zone : {1, 3}) {
        set_log_current_campaign(log, zone);
        set_campaign_level(log, 4 + zone);
        set_campaign_lives(log, zone);
        set_campaign_seed(log, 1234567 * zone);
        for (int mission = 1; mission <= 3; ++mission) {
            log_campaign_mission(log, mission);
            set_campaign_mission_result(log, mission, mission == 2 ? LOG_FAILED : LOG_SUCCESSFUL);
        }
    }
    set_campaign_won(log, 2);
    set_campaign_won(log, 4);
    write_pilot_log(log);
    ASSERT_EQ(log->file_number, 1);
    const std::string written = read_bytes(log_file(1));

    PilotLog* copy = read_back(written, 2);
    EXPECT_STREQ(get_log_name(copy), "Kestrel");
    EXPECT_EQ(get_log_current_campaign(copy), 3);
    EXPECT_EQ(get_campaign_level(copy), 7);
    EXPECT_EQ(find_campaign_mission_result(copy, 2), LOG_FAILED);
    EXPECT_EQ(find_log_mission_result(copy, 1, 1, 3), LOG_SUCCESSFUL) << "the general entry is rebuilt";
    EXPECT_EQ(get_log_missions_flown(copy), 6) << "training and campaign entries do not count";
    EXPECT_TRUE(is_campaign_won(copy, 2) && is_campaign_won(copy, 4) && !is_campaign_won(copy, 1));
    write_pilot_log(copy);
    EXPECT_EQ(read_bytes(log_file(2)), written);
}

struct Corruption {
    const char* what;
    void (*spoil)(std::string& bytes);
    const char* fault;
};

void PrintTo(const Corruption& c, std::ostream* out) { *out << c.what; }

const Corruption CORRUPTIONS[] = {
    {"one int32 after the won list", [](std::string& b) { b += word(0); }, "bytes after its end"},
    {"a won list without its end", [](std::string& b) { b.resize(b.size() - 4); }, "won list has no end"},
    {"an empty file", [](std::string& b) { b.clear(); }, "call sign has no end"},
    {"a call sign without its NUL", [](std::string& b) { b = "de Fault"; }, "call sign has no end"},
    {"a header cut short", [](std::string& b) { b.resize(12); }, "short header"},
    {"rank 8", [](std::string& b) { put(b, RANK_AT, 8); }, "rank is out of range"},
    {"status 12", [](std::string& b) { put(b, STATUS_AT, 12); }, "status is out of range"},
    {"status -1", [](std::string& b) { put(b, STATUS_AT, -1); }, "status is out of range"},
    {"current campaign 5", [](std::string& b) { put(b, CURRENT_CAMPAIGN_AT, 5); }, "current campaign is out of range"},
    {"501 missions",
     [](std::string& b) {
         std::string list;
         for (int i = 1; i <= 501; ++i) list += word(1) + word(i) + word(3) + word(0);
         b.insert(CURRENT_CAMPAIGN_AT - 4, list);
     },
     "more than 500 missions"},
    {"65 campaign missions",
     [](std::string& b) {
         std::string list;
         for (int i = 1; i <= 65; ++i) list += word(i) + word(3);
         b.insert(CURRENT_CAMPAIGN_AT + 4 + 12, list);
     },
     "more than 64 campaign missions"},
};

class CorruptLogs : public PilotLogs, public testing::WithParamInterface<Corruption> {};

TEST_P(CorruptLogs, AreSetAsideWholeAndSaidOnceWhileTheOtherLogsLoad) {
    std::string bytes = default_log_bytes();
    const std::string good = ordinary(bytes, "Quelvine");
    GetParam().spoil(bytes);
    // User 0's logs are loaded and saved at the switch; the corrupt file is user 1's.
    init_pilot_logs();
    const fs::path log_dir = work / "log";
    write_bytes(log_dir / "log1.1", bytes);
    write_bytes(log_dir / "log1.2", good);
    write_bytes(log_dir / "user.1", std::string("1 ", 3));
    testing::internal::CaptureStderr();
    switch_pilot_user(1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_THAT(said, testing::AllOf(
                          testing::StartsWith("vyr: Log Corrupt: log\\log1.1 "), testing::HasSubstr(GetParam().fault),
                          testing::EndsWith(". It is kept as log\\log1.1.damaged; the game starts without it.\n")));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(read_bytes(log_dir / "log1.1.damaged"), bytes) << GetParam().what;
    ASSERT_NE(current_pilot_log, nullptr);
    EXPECT_STREQ(get_log_name(pilot_logs), "Quelvine");
    ASSERT_NE(pilot_logs->next, nullptr) << "a fresh default log";
    EXPECT_EQ(pilot_logs->next->next, nullptr);

    switch_pilot_user(0);
    testing::internal::CaptureStderr();
    switch_pilot_user(1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the next start is quiet";
    EXPECT_EQ(read_bytes(log_dir / "log1.1.damaged"), bytes);
    EXPECT_EQ(read_bytes(log_dir / "log1.2"), good);
}

TEST_F(PilotLogs, ASecondDamageIsSetAsideWithoutTouchingTheFirst) {
    write_bytes(log_file(1), "first");
    write_bytes(log_file(1).string() + ".damaged", "older");
    testing::internal::CaptureStderr();
    load_user_logs();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("It is kept as log\\log0.1.damaged2;"), std::string::npos);
    EXPECT_EQ(read_bytes(log_file(1).string() + ".damaged"), "older");
    EXPECT_EQ(read_bytes(log_file(1).string() + ".damaged2"), "first");
    ASSERT_NE(current_pilot_log, nullptr);
    EXPECT_TRUE(is_default_log(current_pilot_log)) << "a fresh default log, in the freed place";
    EXPECT_EQ(current_pilot_log->file_number, 1);
}

INSTANTIATE_TEST_SUITE_P(Table, CorruptLogs, testing::ValuesIn(CORRUPTIONS));

TEST_F(PilotLogs, ARadioCallSignOutOfRangeReadsAs19) {
    std::string bytes = default_log_bytes();
    for (int32_t radio : {0, 21, -5}) {
        put(bytes, RADIO_AT, radio);
        EXPECT_EQ(get_log_radio_call_sign(read_back(bytes)), 19) << radio;
    }
    put(bytes, RADIO_AT, 20);
    EXPECT_EQ(get_log_radio_call_sign(read_back(bytes)), 20);
}

TEST_F(PilotLogs, AMissingPilotReportsForDutyAfter48HoursNotBefore) {
    std::string bytes = ordinary(default_log_bytes(), "Kestrel!");
    put(bytes, STATUS_AT, 5);
    put(bytes, STATUS_HOUR_AT, current_hour() - 47);
    EXPECT_STREQ(get_log_status_short(read_back(bytes)), "MIA");
    put(bytes, STATUS_HOUR_AT, current_hour() - 48);
    EXPECT_EQ(get_log_status(read_back(bytes)), LOG_STATUS_ACTIVE);
}

TEST_F(PilotLogs, OneRankAtMostPerTotalsUpdate) {
    PilotLog* log = create_pilot_log();
    set_log_rank(log, 2);
    auto single = [&](int mission, int zone, int result) {
        log_mission_result(log, mission, zone, 0);
        set_log_mission_result(log, zone, mission, 0, result);
    };
    for (int m = 1; m <= 4; ++m) single(m, 1, LOG_SUCCESSFUL);
    single(5, 2, LOG_OUTSTANDING);
    single(6, 5, LOG_SUCCESSFUL);  // training
    set_log_current_campaign(log, 1);
    log_campaign_mission(log, 9);
    set_campaign_mission_result(log, 9, LOG_SUCCESSFUL);
    single(7, 3, LOG_FAILED);

    update_log_totals(log);
    EXPECT_EQ(get_log_rank(log), 3);
    EXPECT_EQ(get_log_awards(log) & LOG_AWARD_PROMOTION, LOG_AWARD_PROMOTION);
    EXPECT_EQ(get_log_successful_missions(log), 4);
    EXPECT_EQ(get_log_failed_missions(log), 1);
    EXPECT_EQ(get_log_missions_flown(log), 6);

    for (int m = 10; m < 70; ++m) single(m, 1, LOG_SUCCESSFUL);
    update_log_totals(log);
    EXPECT_EQ(get_log_rank(log), 4) << "one step although the score earns Colonel";
    update_log_totals(log);
    EXPECT_EQ(get_log_rank(log), 5);
}

TEST_F(PilotLogs, MedalsComeFromCampaignsWonAndMissions) {
    PilotLog* two_won = create_pilot_log();
    set_campaign_won(two_won, 1);
    set_log_current_campaign(two_won, 3);
    set_campaign_level(two_won, 11);  // the running campaign is won at level 11
    update_log_totals(two_won);
    EXPECT_TRUE(get_log_medal(two_won, 0));
    EXPECT_FALSE(get_log_medal(two_won, 1));
    EXPECT_EQ(get_log_awards(two_won) & LOG_AWARD_MEDAL_1, LOG_AWARD_MEDAL_1);
    update_log_totals(two_won);
    EXPECT_EQ(get_log_awards(two_won) & LOG_AWARD_MEDAL_1, 0) << "each medal once";

    PilotLog* one_won = create_pilot_log();
    set_campaign_won(one_won, 2);
    for (int m = 1; m <= 9; ++m) {
        log_mission_result(one_won, m, 1, 0);
        set_log_mission_result(one_won, 1, m, 0, LOG_OUTSTANDING);
    }
    update_log_totals(one_won);
    EXPECT_FALSE(get_log_medal(one_won, 0)) << "nine missions";
    log_mission_result(one_won, 10, 1, 0);
    set_log_mission_result(one_won, 1, 10, 0, LOG_SUCCESSFUL);
    update_log_totals(one_won);
    EXPECT_TRUE(get_log_medal(one_won, 0));
}

TEST_F(PilotLogs, TheDefaultLogKeepsItsRankAndStatus) {
    PilotLog* log = create_pilot_log();
    make_default_log(log);
    set_log_rank(log, 7);
    set_log_status(log, 8);
    for (int m = 1; m <= 60; ++m) {
        log_mission_result(log, m, 1, 0);
        set_log_mission_result(log, 1, m, 0, LOG_SUCCESSFUL);
    }
    update_log_totals(log);
    EXPECT_EQ(get_log_rank(log), 6);
    EXPECT_EQ(get_log_status(log), LOG_STATUS_ACTIVE);
    EXPECT_EQ(get_log_awards(log) & LOG_AWARD_PROMOTION, LOG_AWARD_PROMOTION) << "the bit, not the rank";
    make_default_log(log);
    EXPECT_EQ(get_log_rank(log), 6);
}

TEST_F(PilotLogs, SpecialCallSignsSetTheDebugLevel) {
    PilotLog* log = create_pilot_log();
    const struct {
        const char* call_sign;
        int32_t flag_before;
        int32_t level;
        int32_t flag_after;
    } cases[] = {
        {"Quelvine", 0, 5, 1}, {"Brown Elk", 1, 2, 1}, {"Brown Elk", 0, 2, 0}, {"W", 1, 8, 0},
        {"Ned Fox", 1, 3, 1},  {"quelvine", 1, 0, 0},  {"Maverick", 1, 0, 0},
    };
    for (const auto& c : cases) {
        debug_flag = c.flag_before;
        set_log_name(log, c.call_sign);
        make_log_current(log);
        EXPECT_EQ(debug_mode, c.level) << c.call_sign;
        EXPECT_EQ(debug_flag, c.flag_after) << c.call_sign;
    }
}

TEST_F(PilotLogs, ASecondDefaultLogIsDeletedAtLoad) {
    const std::string bytes = default_log_bytes();
    fs::remove(log_file(1));
    write_bytes(log_file(2), bytes);
    write_bytes(log_file(4), bytes);
    load_user_logs();
    EXPECT_TRUE(fs::exists(log_file(2)));
    EXPECT_FALSE(fs::exists(log_file(4)));
    EXPECT_FALSE(fs::exists(log_file(1))) << "no new default log";
    ASSERT_NE(pilot_logs, nullptr);
    EXPECT_EQ(pilot_logs->next, nullptr);
    EXPECT_EQ(current_pilot_log, pilot_logs);
}

TEST_F(PilotLogs, TheUserFilesChooseTheUserAndItsCurrentLog) {
    const std::string bytes = default_log_bytes();
    write_bytes(log_file(1), bytes);
    write_bytes(log_file(2), ordinary(bytes, "Quelvine"));
    write_bytes(work / "log" / "current.log", std::string("12", 3));
    write_bytes(work / "log" / "user.0", std::string("2 AVeryLongUserNameIndeed", 26));
    init_pilot_logs();
    EXPECT_EQ(current_user, 0) << "user 12 does not exist";
    EXPECT_STREQ(user_names[0], "AVeryLongUserNa");
    ASSERT_NE(current_pilot_log, nullptr);
    EXPECT_STREQ(get_log_name(current_pilot_log), "Quelvine");
    EXPECT_EQ(debug_mode, 5);
}

TEST_F(PilotLogs, AWriteThatFailsNamesTheFile) {
    write_bytes(work / "log", "a file where the folder should be");
    PilotLog* log = create_pilot_log();
    testing::internal::CaptureStderr();
    write_pilot_log(log);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot write log\\log0.1"), std::string::npos);
    log->file_number = 0;
}

TEST_F(PilotLogs, ThirtyOneLogsAreTooMany) {
    for (int n = 1; n <= LOG_FILES_PER_USER; ++n) write_bytes(log_file(n), "");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    PilotLog* log = create_pilot_log();
    EXPECT_DEATH(write_pilot_log(log), "Too Many Logs");
}

}  // namespace
}  // namespace vyr
