#include "source/menus/speech.h"

#include <gtest/gtest.h>

#include <string>

#include "source/menus/logs/pilot_log.h"
#include "source/mission/game_flow.h"
#include "source/startup.h"
#include "tests/library/sound/sound_fixture.h"
#include "tests/source/mission/zone_fixture.h"

namespace vyr {
namespace {

class SpeechNames : public GeneratedZone {
protected:
    void SetUp() override {
        GeneratedZone::SetUp();
        enter(1);
        log = create_pilot_log();
        current_pilot_log = log;
    }
    void TearDown() override {
        while (pilot_logs) delete_pilot_log(pilot_logs);
        product_language = LANG_ENGLISH;
        speech_mission_index = 0;
        GeneratedZone::TearDown();
    }
    PilotLog* log = nullptr;
};

TEST_F(SpeechNames, ByCodeZoneLevelAndLanguage) {
    set_log_current_campaign(log, 1);
    set_campaign_level(log, 0);
    speech_mission_index = 7;
    const struct {
        int zone, code;
        const char* name;
    } cases[] = {
        {1, 1, "speech\\israll00.raw"}, {1, 2, "speech\\israll00.raw"}, {1, 3, "speech\\isralc07.raw"},
        {1, 4, "speech\\israld01.raw"}, {1, 5, "speech\\israle00.raw"}, {1, 6, "speech\\israls07.raw"},
        {2, 7, "speech\\koreao07.raw"}, {2, 8, "speech\\koreap07.raw"}, {3, 9, "speech\\cypusf07.raw"},
        {3, 10, "speech\\usat07.raw"},  {4, 10, "speech\\usat07.raw"},  {4, 1, "speech\\.raw"},
        {5, 3, "speech\\.raw"},         {1, 11, "speech\\.raw"},
    };
    for (const auto& c : cases) {
        if (get_war_zone() != c.zone) set_war_zone(c.zone);
        EXPECT_STREQ(make_speech_file_name(c.code), c.name) << "zone " << c.zone << " code " << c.code;
    }
    set_war_zone(1);
    set_campaign_level(log, 9);
    EXPECT_STREQ(make_speech_file_name(4), "speech\\israld10.raw");
    const struct {
        int32_t language;
        const char* name;
    } languages[] = {{LANG_US, "speech\\israll09.raw"},          {LANG_SPANISH, "speech\\israll09.raw"},
                     {LANG_FRENCH, "speech\\french\\israll09.raw"}, {LANG_GERMAN, "speech\\german\\israll09.raw"},
                     {LANG_ITALIAN, "speech\\italian\\israll09.raw"}};
    for (const auto& l : languages) {
        product_language = l.language;
        EXPECT_STREQ(make_speech_file_name(1), l.name) << l.language;
    }
}

TEST_F(SpeechNames, CodeZeroIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(make_speech_file_name(0), "speech \\?\\? \\(source/menus/speech");
}

class MenuSpeech : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        std::filesystem::create_directories(work / "speech");
        write_bytes("sound/theme.raw", std::vector<uint8_t>(300000, 160));
        write_bytes("speech/usat03.raw", std::vector<uint8_t>(30000, 100));
        speech_mission_index = 3;
    }
    void TearDown() override {
        speech_mission_index = 0;
        SoundTest::TearDown();
    }
};

TEST_F(MenuSpeech, SpeechOffIsSilentAndLeavesTheMusicAlone) {
    play_stream("sound\\theme.raw", 2, 22000, 1, 0);
    EXPECT_EQ(play_menu_speech(10), 0);
    EXPECT_STREQ(music_file_name, "sound\\theme.raw");
    play_stream("speech\\usat03.raw", 1, 22000, 0, 0);  // another stream takes the channel
    choose_menu_music();
    EXPECT_STREQ(music_file_name, "speech\\usat03.raw") << "speech off: the music is not restarted";
}

TEST_F(MenuSpeech, TheMusicComesBackAfterASpeechOnly) {
    sound_speech_on = 1;
    play_stream("sound\\theme.raw", 2, 22000, 1, 0);
    choose_menu_music();
    EXPECT_STREQ(music_file_name, "sound\\theme.raw");
    EXPECT_EQ(music_pending, 0) << "the music playing is not restarted";

    speech_mission_index = 4;
    EXPECT_EQ(play_menu_speech(10), 0) << "no such speech";
    EXPECT_STREQ(music_file_name, "sound\\theme.raw");
    speech_mission_index = 3;
    ASSERT_EQ(play_menu_speech(10), 1);
    EXPECT_STREQ(music_file_name, "speech\\usat03.raw");
    EXPECT_EQ(is_stream_playing(), 1);
    choose_menu_music();
    EXPECT_STREQ(music_file_name, "sound\\theme.raw");
    EXPECT_TRUE(music_file_open());
}

}  // namespace
}  // namespace vyr
