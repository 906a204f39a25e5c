#include "source/sknet/slash_commands.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

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

int32_t always_succeed = 0;
int32_t always_outstanding = 0;

namespace {

constexpr int WORDS = 5;         // the command word and four arguments
constexpr int NUMBER_WORD = 9;   // characters of the longest word read as a number
constexpr int HELP_GROUP = 5;    // records listed on one line of /help
constexpr int HELP_GROUPS = 3;

using Words = std::array<std::string, WORDS>;
using Handler = void (*)(const Words& words);

struct SlashCommand {
    const char* name;
    int32_t args;
    Handler handler;
    int32_t listed;
    const char* help[3];
};

void answer(const char* text) { add_chat_line(text); }

template <class... Values>
void answer(const char* format, Values... values) {
    char line[CHAT_LINE_SIZE];
    std::snprintf(line, sizeof line, format, values...);
    add_chat_line(line);
}

// A word that is no number reads 0; one too long for a number is refused.
bool read_number(const std::string& word, int32_t& value) {
    if (word.size() > NUMBER_WORD) return false;
    value = int32_t(std::strtol(word.c_str(), nullptr, 10));
    return true;
}

// A number in lo..hi becomes the value and is confirmed; anything else is refused (silently when
// there is no refusal), the refusal shown with `shown`.
void set_number(const std::string& word, int32_t lo, int32_t hi, int32_t& value, const char* done,
                const char* refused, int32_t shown = 0) {
    int32_t number = 0;
    if (read_number(word, number) && number >= lo && number <= hi) {
        value = number;
        answer(done, number);
    } else if (refused) {
        answer(refused, shown);
    }
}

void toggle(int32_t& flag, const char* on, const char* off) {
    flag = !flag;
    answer(flag ? on : off);
}

void refuse_argument(const std::string& word, const char* command) {
    answer("%s is not a correct argument for the %s command.", word.c_str(), command);
}

struct WordChoice {
    const char* word;
    int32_t value;
    const char* done;
};

// The value the word names becomes the value and is confirmed; false when no choice has the word.
template <size_t N>
bool choose_word(const std::string& word, const WordChoice (&choices)[N], int32_t& value) {
    for (const WordChoice& choice : choices) {
        if (word != choice.word) continue;
        value = choice.value;
        answer(choice.done);
        return true;
    }
    return false;
}

void set_language(const Words& words) {
    static const WordChoice languages[] = {
        {"english", LANG_ENGLISH, "Language set to English."}, {"american", LANG_US, "Language set to American."},
        {"french", LANG_FRENCH, "Language set to French."},    {"german", LANG_GERMAN, "Language set to German."},
        {"italian", LANG_ITALIAN, "Language set to Italian."},
    };
    if (choose_word(words[1], languages, product_language))
        set_pref_int("Product Language", product_language);
    else
        answer("Set Language to : english, american, french, german or italian");
}

void show_version(const Words&) {
    static const char* const names[] = {"English", "English", "American", "French",   "German",
                                        "Spanish", "Italian", "Japanese", "Undefined"};
    const bool known = product_language >= 0 && product_language <= 8;
    answer("%s version %s Dated %s at %s", names[known ? product_language : 8], "1.3", "Jan 19 1998", "13:53:28");
}

void toggle_players_on_map(const Words&) {
    if (game_mode == GAME_COMBAT || game_mode == GAME_MULTI_PLAYER || game_mode == GAME_CAPTURE_FLAG)
        toggle(show_players_on_map, "Other players are now visible on the map.",
               "Other players are no longer visible on the map.");
    else
        answer("The /map command is only used in two player combat, multi-player death match or capture the flag.");
}

void set_retry(const Words& words) {
    set_number(words[1], 20, 300, client_join_tries, "Server retry time set to %d seconds.",
               "Server retry time has to be between 20 and 300 seconds.");
}

void toggle_outstanding(const Words&) {
    toggle(always_outstanding, "You will now complete the mission with outstanding.... cheat.",
           "You've turned cheating off, well done, cheats never prosper.");
}

void toggle_success(const Words&) {
    toggle(always_succeed, "You will now complete the mission successfully.... cheat.",
           "You've turned cheating off, well done, cheats never prosper.");
}

void choose_goodbye(const Words& words) {
    static const WordChoice pictures[] = {
        {"tavro", 1, "Tavro will wave you goodbye."},
        {"sunset", 2, "You will fly off into the sunset."},
        {"seashore", 3, "She sells sea shells at the sea shore."},
    };
    if (!choose_word(words[1], pictures, goodbye_picture)) refuse_argument(words[1], "goodbye");
}

void set_speech(const Words& words) {
    set_number(words[1], 8001, 79999, speech_sample_rate, "Speech sample speed set to : %d",
               "Speech sample not changed, still: %d", speech_sample_rate);
}

void toggle_quack(const Words&) { toggle(quack_messages, "Quack messages are ON.", "Quack messages are OFF."); }

// The program and its parts; the people who make it are named elsewhere.
const char* const CREDITS[] = {
    "Vyr - the credits",
    "",
    "Flight models ........ simple and six degrees of freedom",
    "3D world ............. terrain, features, sky, clouds and stars",
    "Accelerator .......... software spans, fog and textures",
    "Drones ............... aircraft, helicopters, ships, trains, soldiers",
    "War model ............ sectors, air patrols and battle cells",
    "Weapons .............. guns, missiles, rockets and bombs",
    "Sensors .............. air and ground radar, targeting pod",
    "Avionics ............. head-up display and two MFDs",
    "Cockpit .............. panel, gauges and the panoramic view",
    "Views ................ cockpit, outside and weapon cameras",
    "Sound ................ effects, speech and theatre music",
    "Front end ............ menus, preferences and top tens",
    "Mission map .......... waypoints, tasks and payloads",
    "Briefing and debrief . promotions and medals",
    "Pilot logs ........... careers and campaigns",
    "Network games ........ deathmatch and capture the flag",
    "Two-player games ..... cable, modem and network",
    "Chat ................. these lines and their commands",
    "Theatres ............. Israel, Korea, Cyprus, Afghanistan, Nevada",
};

void show_credits(const Words& words) {
    if (words[1] == "mfd") {
        show_credits_on_mfds();
    } else if (words[1] == "multi") {
        chat_lines = CHAT_MAX_LINES;
        chat_text_colour = 35;
        chat_outline_style = 8;
        for (const char* line : CREDITS) add_chat_line(line);
    } else {
        refuse_argument(words[1], "credits");
    }
}

void toggle_zoom(const Words&) {
    toggle(zoom_closer, "You can now zoom closer to the Vyr. Cool.", "Bah! You've turned the zoom off.");
}

void toggle_ground_names(const Words& words) {
    if (words[1] == "ground")
        toggle(ground_name_display, "Ground targets are now named.", "Ground targets are now not named.");
    else
        refuse_argument(words[1], "name");
}

void set_lines(const Words& words) {
    set_number(words[1], 1, CHAT_MAX_LINES, chat_lines, "Number of message lines set to: %d",
               "Number of message lines has to be between 1 and %d", CHAT_MAX_LINES);
}

void set_scroll(const Words& words) {
    set_number(words[1], 1, 59, chat_scroll_delay, "Scroll delay set to: %d",
               "Scroll delay has to be between 0 and 60 seconds");
}

void set_blank(const Words& words) {
    set_number(words[1], 1, 359, chat_blank_time, "Blank time set to: %d",
               "Blank time has to be between 0 and 360 seconds");
}

void show_help(const Words& words);

void set_text(const Words& words) {
    if (words[1] == "colour")
        set_number(words[2], 1, 255, chat_text_colour, "Message text colour set to palette number: %d", nullptr);
    else if (words[1] == "shadow")
        set_number(words[2], 0, 8, chat_outline_style, "Message shadow level set to : %d", nullptr);
    else
        refuse_argument(words[1], "text");
}

void set_threat(const Words& words) {
    if (words[1] == "volume")
        set_number(words[2], 0, 200, threat_sound_volume, "Threat warning set to %d percent of it's original volume.",
                   "Volume can be set to between 0 and 200 percent.");
    else if (words[1] == "delay")
        set_number(words[2], 0, 10, threat_sound_delay, "Threat warning sound delay set to : %d",
                   "Threat warning sound can be set to 0 - 10 second delay only.");
    else
        refuse_argument(words[1], "threat warning");
}

const SlashCommand COMMANDS[] = {
    {"language", 1, set_language, 1,
     {"Syntax: /language x (x = english, american, italian, german, french)",
      " sets the language of Vyr you are running.", " "}},
    {"version", 0, show_version, 1,
     {"Syntax: /version ", " prints the date and time of the version of Vyr you are ", " running."}},
    {"map", 0, toggle_players_on_map, 1, {"Syntax: /map ", " toggles players on map feature.", " "}},
    {"retry", 1, set_retry, 1,
     {"Syntax: /retry x (where x is the number of seconds the client",
      " machines will wait for the server to join the game. Set this ",
      " higher when trying to network slow machines."}},
    {"outstand", 0, toggle_outstanding, 0,
     {"Syntax: /outstand", " always completes the mission with outstanding.", " "}},
    {"success", 0, toggle_success, 0, {"Syntax: /success", " always completes the mission successfully.", " "}},
    {"goodbye", 1, choose_goodbye, 0,
     {"Syntax: /goodbye x (x = tavro (at present) )", " shows a cool picture in end sequence.", " "}},
    {"speech", 1, set_speech, 0, {"Syntax: /speech x (x = frequency)", " ", " "}},
    {"quack", 0, toggle_quack, 0, {"Syntax: /quack ", " toggles info in message area.", " "}},
    {"credits", 1, show_credits, 0,
     {"Syntax: /credits x (where x can be either mfd or multi",
      " to show the credits either in an mfd or in these lines.)", " "}},
    {"zoom", 0, toggle_zoom, 0,
     {"Syntax: /zoom ", " changes distance you are allowed to zoom in and out ", " in external views."}},
    {"name", 1, toggle_ground_names, 0,
     {"Syntax: /name ground ", " this will toggle whether ground targets are named on ", " the ground radar mfd."}},
    {"lines", 1, set_lines, 1, {"Syntax: /lines x (where x is number of lines).", " ", " "}},
    {"scroll", 1, set_scroll, 1, {"Syntax: /scroll x (where x is the number of secs before scrolling.)", " ", " "}},
    {"blank", 1, set_blank, 1,
     {"Syntax: /blank x (where x is the length of inactivity before messages are wiped.)", " ", " "}},
    {"help", 0, show_help, 1, {"Syntax: /help x (where x is a command)", " ", " "}},
    {"text", 2, set_text, 1,
     {"Syntax: /text x y (where x is 'shadow' or 'colour',",
      " and y is the value to set the shadow or colour to.)", " "}},
    {"threat", 2, set_threat, 1,
     {"Syntax: /threat x y (where x is 'volume' or 'delay',",
      " and y is the value to set the volume percentage to.)",
      " or the second delay before another beep can be played by the TWS."}},
};
constexpr int COMMAND_COUNT = int(std::size(COMMANDS));

std::string listed_names(int first, int end) {
    std::string names;
    for (int i = first; i < end; ++i)
        if (COMMANDS[i].listed) names = names + COMMANDS[i].name + ", ";
    return names;
}

// Without an argument the listed commands, five records a line, the last line closed by the
// last record's name and a full stop; with one, that command's help lines.
void show_help(const Words& words) {
    if (!words[1].empty()) {
        for (const SlashCommand& command : COMMANDS)
            if (words[1] == command.name)
                for (const char* line : command.help) answer(line);
        return;
    }
    answer("Commands available are:");
    for (int group = 0; group < HELP_GROUPS; ++group)
        answer(listed_names(group * HELP_GROUP, (group + 1) * HELP_GROUP).c_str());
    const int last = COMMAND_COUNT - 1;
    answer((listed_names(HELP_GROUPS * HELP_GROUP, last) + COMMANDS[last].name + ".").c_str());
    answer("To get help about a command type: /help command_name");
}

Words split_words(const char* line) {
    Words words;
    for (std::string& word : words) {
        while (*line && std::isspace(static_cast<unsigned char>(*line))) ++line;
        while (*line && !std::isspace(static_cast<unsigned char>(*line))) word += *line++;
    }
    return words;
}

}  // namespace

void parse_slash_command(const char* line) {
    const Words words = split_words(line);
    const std::string name = words[0].empty() || words[0][0] != '/' ? words[0] : words[0].substr(1);
    for (const SlashCommand& command : COMMANDS) {
        if (name != command.name) continue;
        if (command.args > 0 && words[size_t(command.args)].empty())
            answer("Not enough arguments");
        else
            command.handler(words);
        return;
    }
    answer("Unknown command");
}

}  // namespace vyr
