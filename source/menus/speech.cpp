#include "source/menus/speech.h"

#include <cstdio>
#include <cstring>

#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "library/sound/music.h"
#include "source/menus/logs/pilot_log.h"
#include "source/mission/game_flow.h"
#include "source/startup.h"

namespace vyr {

int32_t speech_mission_index = 0;
int32_t speech_sample_rate = 22000;

namespace {

constexpr const char* SOURCE = "source/menus/speech";
constexpr int SPEECH_ZONES = 3;
constexpr int TRAINING_CODE = 10;

const char* const ZONE_PREFIXES[SPEECH_ZONES] = {"isral", "korea", "cypus"};
// The letter after the zone's prefix for codes 1 to 9.
const char SPEECH_LETTERS[] = "llcdesopf";

const char* const MENU_MUSIC[] = {"sound\\theme.raw", "sound\\greek.raw",   "sound\\china.raw",
                                  "sound\\syria.raw", "sound\\death.raw",   "sound\\success.raw",
                                  "sound\\outstand.raw", "sound\\fail.raw"};

const char* speech_folder() {
    switch (product_language) {
    case LANG_FRENCH: return "speech\\french\\";
    case LANG_GERMAN: return "speech\\german\\";
    case LANG_ITALIAN: return "speech\\italian\\";
    default: return "speech\\";
    }
}

int campaign_level() { return current_pilot_log ? get_campaign_level(current_pilot_log) : 0; }

// The number a code's name carries.
int speech_number(int code) {
    switch (code) {
    case 1: case 5: return campaign_level();
    case 2: return 0;
    case 4: return campaign_level() + 1;
    default: return speech_mission_index;
    }
}

}  // namespace

const char* make_speech_file_name(int code) {
    static char name[96];
    if (code == 0) report_fatal_error("speech ??", SOURCE, __LINE__);
    const int zone = get_war_zone();
    char part[32] = "";
    if (code == TRAINING_CODE)
        std::snprintf(part, sizeof part, "usat%02d", speech_mission_index);
    else if (code >= 1 && code < TRAINING_CODE && zone >= 1 && zone <= SPEECH_ZONES)
        std::snprintf(part, sizeof part, "%s%c%02d", ZONE_PREFIXES[zone - 1], SPEECH_LETTERS[code - 1],
                      speech_number(code));
    std::snprintf(name, sizeof name, "%s%s.raw", speech_folder(), part);
    return name;
}

int play_menu_speech(int code) {
    if (!sound_speech_on) return 0;
    const char* name = make_speech_file_name(code);
    if (!check_file_exists(name)) return 0;
    play_stream(name, 1, speech_sample_rate, 0, 0);
    return 1;
}

void choose_menu_music() {
    if (!sound_speech_on) return;
    for (const char* music : MENU_MUSIC)
        if (std::strcmp(music_file_name, music) == 0) return;
    restart_music();
}

}  // namespace vyr
