// The sample table: every short sound of the program is one row, named by its number. Playing a
// row duplicates its buffer onto a free sound channel. Also the sound start-up and the volumes.
#pragma once

#include <array>
#include <cstdint>

#include "library/sound/dsound.h"

namespace vyr {

constexpr int SAMPLE_COUNT = 207;
constexpr int MINIMAL_SAMPLE_COUNT = 45;  // rows 0..44 make the minimal set
constexpr int MIN_SAMPLE_LENGTH = 4;

// What a row is made of: 8-bit mono PCM without header, at its rate.
struct SampleRow {
    const char* file_name;
    int32_t rate;
    int32_t loop;
};

// The rows by name. A numbered family is named by its first file: CHATnnnn is row
// SAMPLE_CHAT_1 + nnnn - 1, and so on.
enum SampleId : int {
    SAMPLE_ENGINE = 0,
    SAMPLE_ENGINE_START,
    SAMPLE_ENGINE_WIND_DOWN,
    SAMPLE_AFTERBURNER,
    SAMPLE_TYRE_SQUEAK,
    SAMPLE_CRASH,
    SAMPLE_MEDIUM_HIT,
    SAMPLE_SMALL_HIT,
    SAMPLE_EXPLOSION_BIG,  // to SAMPLE_EXPLOSION_SMALL, biggest first
    SAMPLE_EXPLOSION_LARGE,
    SAMPLE_EXPLOSION_MEDIUM,
    SAMPLE_EXPLOSION_SMALL,
    SAMPLE_GUN,
    SAMPLE_LAUNCH_SWINDER,  // weapon launches, to SAMPLE_LAUNCH_SRF2AR
    SAMPLE_LAUNCH_A2A,
    SAMPLE_LAUNCH_BOMRAC,
    SAMPLE_LAUNCH_FUELAR,
    SAMPLE_LAUNCH_MNELY1,
    SAMPLE_LAUNCH_MNELY2,
    SAMPLE_LAUNCH_SMARMS,
    SAMPLE_LAUNCH_AA,
    SAMPLE_LAUNCH_SRF2AR,
    SAMPLE_JET_FUEL,
    SAMPLE_CHAFF,
    SAMPLE_FLARE,
    SAMPLE_WARNING_1,  // threat-warning tones, to SAMPLE_WARNING_5
    SAMPLE_WARNING_2,
    SAMPLE_WARNING_3,
    SAMPLE_WARNING_4,
    SAMPLE_WARNING_5,
    SAMPLE_SEEKER_TONE,
    SAMPLE_STALL_WARNING,
    SAMPLE_COCKPIT_CLICK,
    SAMPLE_HELICOPTER,  // loops of the outside views, to SAMPLE_UNPOWERED_WEAPON
    SAMPLE_TRAIN,
    SAMPLE_TANK,
    SAMPLE_TRUCK,
    SAMPLE_FREE_FALL,
    SAMPLE_POWERED_WEAPON,
    SAMPLE_UNPOWERED_WEAPON,
    SAMPLE_M60,
    SAMPLE_AK47,
    SAMPLE_MORTAR,
    SAMPLE_ARTILLERY,
    SAMPLE_LAUNCH_AIR_TO_SURFACE,
    SAMPLE_GEAR_WHEELS,
    SAMPLE_GEAR_DOORS,
    SAMPLE_AIRBRAKE,
    SAMPLE_EJECT,
    SAMPLE_GROUND_CONTROL_1,
    SAMPLE_GROUND_CONTROL_2,
    SAMPLE_CHAT_1 = 51,            // radio chatter, 80 rows
    SAMPLE_DRONE_1 = 131,          // wingman phrases drone001 to drone029
    SAMPLE_DRONE_32 = 160,         // wingman phrases drone032 to drone036
    SAMPLE_CALL_SIGN_1 = 165,      // pilot call signs 1 to 20
    SAMPLE_TPLR_21 = 185,          // speech phrases TPLR0021 to TPLR0030
    SAMPLE_VMS_1 = 195,            // voice messages, 6 rows
    SAMPLE_GROUND_CONTROL_3 = 201, // ground control gndc0003 to gndc0008
};

inline constexpr SampleRow SAMPLE_ROWS[SAMPLE_COUNT] = {
    {"sound\\VYRENG.raw", 11025, 1},  // 0
    {"sound\\VYRENGST.raw", 11025, 0},  // 1
    {"sound\\VYRENGWD.raw", 11025, 0},  // 2
    {"sound\\AFTBURN.raw", 11025, 1},  // 3
    {"sound\\SQUEAK.raw", 11025, 0},  // 4
    {"sound\\CRASH.raw", 11025, 0},  // 5
    {"sound\\MEDHIT22.raw", 22050, 0},  // 6
    {"sound\\SMLHIT22.raw", 22050, 0},  // 7
    {"sound\\XPLBIG11.raw", 11025, 0},  // 8
    {"sound\\XPLLRG11.raw", 11025, 0},  // 9
    {"sound\\XPLMED11.raw", 11025, 0},  // 10
    {"sound\\XPLSML11.raw", 11025, 0},  // 11
    {"sound\\GUN22.raw", 22050, 1},  // 12
    {"sound\\SWINDER.raw", 11025, 0},  // 13
    {"sound\\A2A222K.raw", 11025, 0},  // 14
    {"sound\\BOMRAC22.raw", 22050, 0},  // 15
    {"sound\\FUELAR11.raw", 11025, 0},  // 16
    {"sound\\MNELY122.raw", 22050, 0},  // 17
    {"sound\\MNELY222.raw", 22050, 0},  // 18
    {"sound\\SMARMS11.raw", 11025, 0},  // 19
    {"sound\\AA22.raw", 22050, 0},  // 20
    {"sound\\SRF2AR11.raw", 11025, 0},  // 21
    {"sound\\jetfuel.raw", 11025, 0},  // 22
    {"sound\\chaff.raw", 11025, 0},  // 23
    {"sound\\flare.raw", 11025, 0},  // 24
    {"sound\\WRNG1.raw", 11025, 0},  // 25
    {"sound\\WRNG2.raw", 11025, 0},  // 26
    {"sound\\WRNG3.raw", 11025, 0},  // 27
    {"sound\\WRNG4.raw", 11025, 0},  // 28
    {"sound\\WRNG5.raw", 11025, 0},  // 29
    {"sound\\SIDELOCK.raw", 11025, 1},  // 30
    {"sound\\STALLW11.raw", 11025, 1},  // 31
    {"sound\\PINGCLIK.raw", 11025, 0},  // 32
    {"sound\\HELI11.raw", 11025, 1},  // 33
    {"sound\\TRAIN.raw", 11025, 1},  // 34
    {"sound\\TANK.raw", 11025, 1},  // 35
    {"sound\\TRUCK.raw", 11025, 1},  // 36
    {"sound\\FREEFAL.raw", 11025, 1},  // 37
    {"sound\\POWERWP.raw", 11025, 1},  // 38
    {"sound\\UNPWRWP.raw", 11025, 1},  // 39
    {"sound\\M60.raw", 11025, 0},  // 40
    {"sound\\AK47.raw", 11025, 0},  // 41
    {"sound\\MORTAR.raw", 11025, 0},  // 42
    {"sound\\ARTILERY.raw", 11025, 0},  // 43
    {"sound\\AIR2S22.raw", 22050, 0},  // 44
    {"sound\\GEAR_WHL.raw", 11025, 0},  // 45
    {"sound\\GEAR_DOR.raw", 11025, 0},  // 46
    {"sound\\AIRBRAKE.raw", 11025, 0},  // 47
    {"sound\\EJECT.raw", 11025, 0},  // 48
    {"sound\\gndc0001.raw", 11025, 0},  // 49
    {"sound\\gndc0002.raw", 11025, 0},  // 50
    {"sound\\CHAT0001.raw", 11025, 0},  // 51
    {"sound\\CHAT0002.raw", 11025, 0},  // 52
    {"sound\\CHAT0003.raw", 11025, 0},  // 53
    {"sound\\CHAT0004.raw", 11025, 0},  // 54
    {"sound\\CHAT0005.raw", 11025, 0},  // 55
    {"sound\\CHAT0006.raw", 11025, 0},  // 56
    {"sound\\CHAT0007.raw", 11025, 0},  // 57
    {"sound\\CHAT0008.raw", 11025, 0},  // 58
    {"sound\\CHAT0009.raw", 11025, 0},  // 59
    {"sound\\CHAT0010.raw", 11025, 0},  // 60
    {"sound\\CHAT0011.raw", 11025, 0},  // 61
    {"sound\\CHAT0012.raw", 11025, 0},  // 62
    {"sound\\CHAT0013.raw", 11025, 0},  // 63
    {"sound\\CHAT0014.raw", 11025, 0},  // 64
    {"sound\\CHAT0015.raw", 11025, 0},  // 65
    {"sound\\CHAT0016.raw", 11025, 0},  // 66
    {"sound\\CHAT0017.raw", 11025, 0},  // 67
    {"sound\\CHAT0018.raw", 11025, 0},  // 68
    {"sound\\CHAT0019.raw", 11025, 0},  // 69
    {"sound\\CHAT0020.raw", 11025, 0},  // 70
    {"sound\\CHAT0021.raw", 11025, 0},  // 71
    {"sound\\CHAT0022.raw", 11025, 0},  // 72
    {"sound\\CHAT0023.raw", 11025, 0},  // 73
    {"sound\\CHAT0024.raw", 11025, 0},  // 74
    {"sound\\CHAT0025.raw", 11025, 0},  // 75
    {"sound\\CHAT0026.raw", 11025, 0},  // 76
    {"sound\\CHAT0027.raw", 11025, 0},  // 77
    {"sound\\CHAT0028.raw", 11025, 0},  // 78
    {"sound\\CHAT0029.raw", 11025, 0},  // 79
    {"sound\\CHAT0030.raw", 11025, 0},  // 80
    {"sound\\CHAT0031.raw", 11025, 0},  // 81
    {"sound\\CHAT0032.raw", 11025, 0},  // 82
    {"sound\\CHAT0033.raw", 11025, 0},  // 83
    {"sound\\CHAT0034.raw", 11025, 0},  // 84
    {"sound\\CHAT0035.raw", 11025, 0},  // 85
    {"sound\\CHAT0036.raw", 11025, 0},  // 86
    {"sound\\CHAT0037.raw", 11025, 0},  // 87
    {"sound\\CHAT0038.raw", 11025, 0},  // 88
    {"sound\\CHAT0039.raw", 11025, 0},  // 89
    {"sound\\CHAT0040.raw", 11025, 0},  // 90
    {"sound\\CHAT0041.raw", 11025, 0},  // 91
    {"sound\\CHAT0042.raw", 11025, 0},  // 92
    {"sound\\CHAT0043.raw", 11025, 0},  // 93
    {"sound\\CHAT0044.raw", 11025, 0},  // 94
    {"sound\\CHAT0045.raw", 11025, 0},  // 95
    {"sound\\CHAT0046.raw", 11025, 0},  // 96
    {"sound\\CHAT0047.raw", 11025, 0},  // 97
    {"sound\\CHAT0048.raw", 11025, 0},  // 98
    {"sound\\CHAT0049.raw", 11025, 0},  // 99
    {"sound\\CHAT0050.raw", 11025, 0},  // 100
    {"sound\\CHAT0051.raw", 11025, 0},  // 101
    {"sound\\CHAT0052.raw", 11025, 0},  // 102
    {"sound\\CHAT0053.raw", 11025, 0},  // 103
    {"sound\\CHAT0054.raw", 11025, 0},  // 104
    {"sound\\CHAT0055.raw", 11025, 0},  // 105
    {"sound\\CHAT0056.raw", 11025, 0},  // 106
    {"sound\\CHAT0057.raw", 11025, 0},  // 107
    {"sound\\CHAT0058.raw", 11025, 0},  // 108
    {"sound\\CHAT0059.raw", 11025, 0},  // 109
    {"sound\\CHAT0060.raw", 11025, 0},  // 110
    {"sound\\CHAT0061.raw", 11025, 0},  // 111
    {"sound\\CHAT0062.raw", 11025, 0},  // 112
    {"sound\\CHAT0063.raw", 11025, 0},  // 113
    {"sound\\CHAT0064.raw", 11025, 0},  // 114
    {"sound\\CHAT0065.raw", 11025, 0},  // 115
    {"sound\\CHAT0066.raw", 11025, 0},  // 116
    {"sound\\CHAT0067.raw", 11025, 0},  // 117
    {"sound\\CHAT0068.raw", 11025, 0},  // 118
    {"sound\\CHAT0069.raw", 11025, 0},  // 119
    {"sound\\CHAT0070.raw", 11025, 0},  // 120
    {"sound\\CHAT0071.raw", 11025, 0},  // 121
    {"sound\\CHAT0072.raw", 11025, 0},  // 122
    {"sound\\CHAT0073.raw", 11025, 0},  // 123
    {"sound\\CHAT0074.raw", 11025, 0},  // 124
    {"sound\\CHAT0075.raw", 11025, 0},  // 125
    {"sound\\CHAT0076.raw", 11025, 0},  // 126
    {"sound\\CHAT0077.raw", 11025, 0},  // 127
    {"sound\\CHAT0078.raw", 11025, 0},  // 128
    {"sound\\CHAT0079.raw", 11025, 0},  // 129
    {"sound\\CHAT0080.raw", 11025, 0},  // 130
    {"sound\\drone001.raw", 11025, 0},  // 131
    {"sound\\drone002.raw", 11025, 0},  // 132
    {"sound\\drone003.raw", 11025, 0},  // 133
    {"sound\\drone004.raw", 11025, 0},  // 134
    {"sound\\drone005.raw", 11025, 0},  // 135
    {"sound\\drone006.raw", 11025, 0},  // 136
    {"sound\\drone007.raw", 11025, 0},  // 137
    {"sound\\drone008.raw", 11025, 0},  // 138
    {"sound\\drone009.raw", 11025, 0},  // 139
    {"sound\\drone010.raw", 11025, 0},  // 140
    {"sound\\drone011.raw", 11025, 0},  // 141
    {"sound\\drone012.raw", 11025, 0},  // 142
    {"sound\\drone013.raw", 11025, 0},  // 143
    {"sound\\drone014.raw", 11025, 0},  // 144
    {"sound\\drone015.raw", 11025, 0},  // 145
    {"sound\\drone016.raw", 11025, 0},  // 146
    {"sound\\drone017.raw", 11025, 0},  // 147
    {"sound\\drone018.raw", 11025, 0},  // 148
    {"sound\\drone019.raw", 11025, 0},  // 149
    {"sound\\drone020.raw", 11025, 0},  // 150
    {"sound\\drone021.raw", 11025, 0},  // 151
    {"sound\\drone022.raw", 11025, 0},  // 152
    {"sound\\drone023.raw", 11025, 0},  // 153
    {"sound\\drone024.raw", 11025, 0},  // 154
    {"sound\\drone025.raw", 11025, 0},  // 155
    {"sound\\drone026.raw", 11025, 0},  // 156
    {"sound\\drone027.raw", 11025, 0},  // 157
    {"sound\\drone028.raw", 11025, 0},  // 158
    {"sound\\drone029.raw", 11025, 0},  // 159
    {"sound\\drone032.raw", 11025, 0},  // 160
    {"sound\\drone033.raw", 11025, 0},  // 161
    {"sound\\drone034.raw", 11025, 0},  // 162
    {"sound\\drone035.raw", 11025, 0},  // 163
    {"sound\\drone036.raw", 11025, 0},  // 164
    {"sound\\call0001.RAW", 11025, 0},  // 165
    {"sound\\call0002.RAW", 11025, 0},  // 166
    {"sound\\call0003.RAW", 11025, 0},  // 167
    {"sound\\call0004.RAW", 11025, 0},  // 168
    {"sound\\call0005.RAW", 11025, 0},  // 169
    {"sound\\call0006.RAW", 11025, 0},  // 170
    {"sound\\call0007.RAW", 11025, 0},  // 171
    {"sound\\call0008.RAW", 11025, 0},  // 172
    {"sound\\call0009.RAW", 11025, 0},  // 173
    {"sound\\call0010.RAW", 11025, 0},  // 174
    {"sound\\call0011.RAW", 11025, 0},  // 175
    {"sound\\call0012.RAW", 11025, 0},  // 176
    {"sound\\call0013.RAW", 11025, 0},  // 177
    {"sound\\call0014.RAW", 11025, 0},  // 178
    {"sound\\call0015.RAW", 11025, 0},  // 179
    {"sound\\call0016.RAW", 11025, 0},  // 180
    {"sound\\call0017.RAW", 11025, 0},  // 181
    {"sound\\call0018.RAW", 11025, 0},  // 182
    {"sound\\call0019.RAW", 11025, 0},  // 183
    {"sound\\call0020.RAW", 11025, 0},  // 184
    {"sound\\TPLR0021.RAW", 11025, 0},  // 185
    {"sound\\TPLR0022.RAW", 11025, 0},  // 186
    {"sound\\TPLR0023.RAW", 11025, 0},  // 187
    {"sound\\TPLR0024.RAW", 11025, 0},  // 188
    {"sound\\TPLR0025.RAW", 11025, 0},  // 189
    {"sound\\TPLR0026.RAW", 11025, 0},  // 190
    {"sound\\TPLR0027.RAW", 11025, 0},  // 191
    {"sound\\TPLR0028.RAW", 11025, 0},  // 192
    {"sound\\TPLR0029.RAW", 11025, 0},  // 193
    {"sound\\TPLR0030.RAW", 11025, 0},  // 194
    {"sound\\vms00001.RAW", 11025, 0},  // 195
    {"sound\\vms00002.RAW", 11025, 0},  // 196
    {"sound\\vms00003.RAW", 11025, 0},  // 197
    {"sound\\vms00004.RAW", 11025, 0},  // 198
    {"sound\\vms00005.RAW", 11025, 0},  // 199
    {"sound\\vms00006.RAW", 11025, 0},  // 200
    {"sound\\gndc0003.RAW", 11025, 0},  // 201
    {"sound\\gndc0004.RAW", 11025, 0},  // 202
    {"sound\\gndc0005.RAW", 11025, 0},  // 203
    {"sound\\gndc0006.RAW", 11025, 0},  // 204
    {"sound\\gndc0007.RAW", 11025, 0},  // 205
    {"sound\\gndc0008.RAW", 11025, 0},  // 206
};

struct SampleInfo {
    const char* file_name;  // null in the row that ends the table
    int32_t rate;
    int32_t loop;
    int32_t length;       // bytes, at least MIN_SAMPLE_LENGTH once loaded
    SoundBuffer* buffer;  // the row's own buffer; null until loaded
    int32_t minimal;
};

extern std::array<SampleInfo, SAMPLE_COUNT + 1> sample_table;

constexpr int MAX_SOUND_LEVEL = 63;

// Levels 0..63; the master level scales every other.
extern int master_volume;
extern int music_volume;
extern int speech_volume;
extern int effects_volume;

// Owned by the preferences: "Sound effects", and "Sound effects level" non-zero.
extern int sound_effects_on;
extern int minimal_sound_set;

// Channel roles shared with the sound triggers: a channel number or -1.
extern int radio_channel;
extern int speech_channel;

// Start-up: the exit handler, card settings, volumes, the sample bank, then the music.
void init_sound();
void close_sound();
// A level brought into 0..63.
int clamp_sound_level(int level);
// Stored levels are brought into 0..63 as they are read and set.
void read_sound_volumes();
void set_master_volume(int level);  // and the music level with it
void set_music_volume(int level);   // applied at once to the music that plays
void set_speech_volume(int level);
void set_effects_volume(int level);

// The channel the row plays on, or -1 (no device, effects off, row not loaded, all channels
// busy). The priority takes no part; the pan is applied only by `set_channel_pan`.
int play_sample(int row, int priority, int level, int pan);
// Both act only while the channel plays; the level is scaled by the master level.
void set_channel_pan(int channel, int pan);
void set_channel_volume(int channel, int level);

}  // namespace vyr
