#include "source/sknet/slash_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/config/prefs.h"
#include "source/avionics/mfd.h"
#include "source/avionics/views.h"
#include "source/menus/speech.h"
#include "source/radar/radar.h"
#include "source/sknet/chat.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_players.h"
#include "source/sound/triggers.h"
#include "source/startup.h"

namespace vyr {
namespace {

constexpr const char* MARK = "#";

class SlashCommands : public testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        chat_lines = chat_scroll_delay = 5;
        chat_blank_time = 30;
        chat_text_colour = chat_outline_style = 1;
        quack_messages = zoom_closer = ground_name_display = 0;
        always_succeed = always_outstanding = goodbye_picture = 0;
        show_players_on_map = 1;
        client_join_tries = 60;
        speech_sample_rate = 22000;
        threat_sound_volume = 100;
        threat_sound_delay = 2;
        product_language = LANG_ENGLISH;
        game_mode = GAME_SINGLE;
    }
    // The lines the command added to the chat area.
    static std::vector<std::string> answers_to(const char* line) {
        for (int i = 0; i < CHAT_MAX_LINES; ++i) add_chat_line(MARK);
        parse_slash_command(line);
        std::vector<std::string> answers;
        for (int i = CHAT_MAX_LINES - 1; i >= 0 && std::string(get_chat_line(i)) != MARK; --i)
            answers.insert(answers.begin(), get_chat_line(i));
        return answers;
    }
};

TEST_F(SlashCommands, EachCommandSetsItsValueOrRefusesAndAnswers) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* line;
        int32_t* value;  // null when the command sets none
        int32_t set;     // the value after the command
        Lines answers;
        int32_t mode = GAME_SINGLE;
    };
    const Lines help = {"Commands available are:", "language, version, map, retry, ", "",
                        "lines, scroll, blank, ", "help, text, threat.",
                        "To get help about a command type: /help command_name"};
    const Case cases[] = {
        {"/lines 0", &chat_lines, 5, {"Number of message lines has to be between 1 and 24"}},
        {"/lines 25", &chat_lines, 5, {"Number of message lines has to be between 1 and 24"}},
        {"/lines 24", &chat_lines, 24, {"Number of message lines set to: 24"}},
        {"/lines many", &chat_lines, 5, {"Number of message lines has to be between 1 and 24"}},
        {"/scroll 59", &chat_scroll_delay, 59, {"Scroll delay set to: 59"}},
        {"/scroll 60", &chat_scroll_delay, 5, {"Scroll delay has to be between 0 and 60 seconds"}},
        {"/blank 359", &chat_blank_time, 359, {"Blank time set to: 359"}},
        {"/blank 360", &chat_blank_time, 30, {"Blank time has to be between 0 and 360 seconds"}},
        {"/text colour 300", &chat_text_colour, 1, {}},
        {"/text colour 35", &chat_text_colour, 35, {"Message text colour set to palette number: 35"}},
        {"/text shadow 8", &chat_outline_style, 8, {"Message shadow level set to : 8"}},
        {"/text shadow 9", &chat_outline_style, 1, {}},
        {"/text size 3", nullptr, 0, {"size is not a correct argument for the text command."}},
        {"/text colour", &chat_text_colour, 1, {"Not enough arguments"}},
        {"/threat", nullptr, 0, {"Not enough arguments"}},
        {"/threat volume 200", &threat_sound_volume, 200, {"Threat warning set to 200 percent of it's original volume."}},
        {"/threat volume 201", &threat_sound_volume, 100, {"Volume can be set to between 0 and 200 percent."}},
        {"/threat delay 0", &threat_sound_delay, 0, {"Threat warning sound delay set to : 0"}},
        {"/threat delay 11", &threat_sound_delay, 2, {"Threat warning sound can be set to 0 - 10 second delay only."}},
        {"/threat pitch 1", nullptr, 0, {"pitch is not a correct argument for the threat warning command."}},
        {"/Help", nullptr, 0, {"Unknown command"}},
        {"/help", nullptr, 0, help},
        {"/help   ", nullptr, 0, help},
        {"/help lines", nullptr, 0, {"Syntax: /lines x (where x is number of lines).", " ", " "}},
        {"/help threat", nullptr, 0,
         {"Syntax: /threat x y (where x is 'volume' or 'delay',", " and y is the value to set the volume percentage to.)",
          " or the second delay before another beep can be played by the TWS."}},
        {"/help nothing", nullptr, 0, {}},
        {"/map", &show_players_on_map, 1,
         {"The /map command is only used in two player combat, multi-player death match or capture the flag."},
         GAME_TWO_PLAYER_MISSION},
        {"/map", &show_players_on_map, 0, {"Other players are no longer visible on the map."}, GAME_CAPTURE_FLAG},
        // Words of more than 9 characters: as a command no name, as an argument a refusal.
        {"/creditsmulti", nullptr, 0, {"Unknown command"}},
        {"/goodbye seashoreside", &goodbye_picture, 0,
         {"seashoreside is not a correct argument for the goodbye command."}},
        {"/retry 000000000030", &client_join_tries, 60, {"Server retry time has to be between 20 and 300 seconds."}},
        {"/retry 19", &client_join_tries, 60, {"Server retry time has to be between 20 and 300 seconds."}},
        {"/retry 20", &client_join_tries, 20, {"Server retry time set to 20 seconds."}},
        {"/retry 300", &client_join_tries, 300, {"Server retry time set to 300 seconds."}},
        {"/goodbye seashore", &goodbye_picture, 3, {"She sells sea shells at the sea shore."}},
        {"/goodbye tavro", &goodbye_picture, 1, {"Tavro will wave you goodbye."}},
        {"/goodbye sunset", &goodbye_picture, 2, {"You will fly off into the sunset."}},
        {"/goodbye", &goodbye_picture, 0, {"Not enough arguments"}},
        {"/speech 8000", &speech_sample_rate, 22000, {"Speech sample not changed, still: 22000"}},
        {"/speech 8001", &speech_sample_rate, 8001, {"Speech sample speed set to : 8001"}},
        {"/speech 80000", &speech_sample_rate, 22000, {"Speech sample not changed, still: 22000"}},
        {"/quack", &quack_messages, 1, {"Quack messages are ON."}},
        {"/zoom", &zoom_closer, 1, {"You can now zoom closer to the Vyr. Cool."}},
        {"/name ground", &ground_name_display, 1, {"Ground targets are now named."}},
        {"/name air", &ground_name_display, 0, {"air is not a correct argument for the name command."}},
        {"/success", &always_succeed, 1, {"You will now complete the mission successfully.... cheat."}},
        {"/outstand", &always_outstanding, 1, {"You will now complete the mission with outstanding.... cheat."}},
        {"/credits pictures", nullptr, 0, {"pictures is not a correct argument for the credits command."}},
        {"/version", nullptr, 0, {"English version 1.3 Dated Jan 19 1998 at 13:53:28"}},
        {"/language german", &product_language, LANG_GERMAN, {"Language set to German."}},
        {"/language spanish", &product_language, LANG_ENGLISH,
         {"Set Language to : english, american, french, german or italian"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        reset();
        game_mode = c.mode;
        EXPECT_EQ(answers_to(c.line), c.answers);
        if (c.value) {
            EXPECT_EQ(*c.value, c.set);
        }
    }
}

TEST_F(SlashCommands, SwitchesTurnBackOffWithTheirOwnAnswers) {
    game_mode = GAME_MULTI_PLAYER;
    const struct {
        const char* line;
        int32_t* value;
        const char* off;
    } cases[] = {
        {"/quack", &quack_messages, "Quack messages are OFF."},
        {"/zoom", &zoom_closer, "Bah! You've turned the zoom off."},
        {"/name ground", &ground_name_display, "Ground targets are now not named."},
        {"/success", &always_succeed, "You've turned cheating off, well done, cheats never prosper."},
        {"/outstand", &always_outstanding, "You've turned cheating off, well done, cheats never prosper."},
        {"/map", &show_players_on_map, "Other players are now visible on the map."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const int32_t before = *c.value;
        answers_to(c.line);
        EXPECT_EQ(answers_to(c.line), std::vector<std::string>{c.off});
        EXPECT_EQ(*c.value, before);
    }
}

TEST_F(SlashCommands, TheLanguageIsStoredAndNamedByVersion) {
    answers_to("/language italian");
    int stored = 0;
    ASSERT_TRUE(get_pref_int("Product Language", &stored));
    EXPECT_EQ(stored, LANG_ITALIAN);
    EXPECT_EQ(answers_to("/version")[0], "Italian version 1.3 Dated Jan 19 1998 at 13:53:28");
    product_language = 8;
    EXPECT_EQ(answers_to("/version")[0], "Undefined version 1.3 Dated Jan 19 1998 at 13:53:28");
}

TEST_F(SlashCommands, CreditsGoOnTheDisplaysOrFillTheChatLines) {
    EXPECT_TRUE(answers_to("/credits mfd").empty());
    EXPECT_EQ(left_mfd_page, MFD_CREDITS_1);
    EXPECT_EQ(right_mfd_page, MFD_CREDITS_2);
    const std::vector<std::string> credits = answers_to("/credits multi");
    ASSERT_EQ(credits.size(), 21u) << "a title, a blank line and 19 lines";
    EXPECT_EQ(credits[1], "");
    for (const std::string& line : credits) EXPECT_LT(line.size(), size_t(CHAT_MAX_TYPED));
    EXPECT_EQ(chat_lines, 24);
    EXPECT_EQ(chat_text_colour, 35);
    EXPECT_EQ(chat_outline_style, 8);
}

}  // namespace
}  // namespace vyr
