// Menu speech and the menu music's return: a campaign's situation, a briefing and the mission
// list are spoken through the one streamed channel the menu music uses.
#pragma once

#include <cstdint>

namespace vyr {

// The number in the names of the mission speeches (codes 3 and 6 to 10).
extern int32_t speech_mission_index;
// Samples a second of the menu speech (22,000 unless the /speech command changed it).
extern int32_t speech_sample_rate;

// Speech codes: 1 the campaign situation, 2 a campaign begun, 3 a campaign mission, 4 a failed
// mission or lost campaign, 5 a won campaign, 6 to 9 single missions, 10 training.
// The speech file of `code` for the language, war zone and current log's campaign level: one
// buffer every call overwrites. Codes without a speech in the war zone give the folder and ".raw"
// alone; code 0 is fatal.
const char* make_speech_file_name(int code);
// Streams the speech in place of the music: 1 when it plays; 0 with speech off or no such file.
int play_menu_speech(int code);
// Brings the menu music back when, with speech on, another stream has taken the channel.
void choose_menu_music();

}  // namespace vyr
