#include "source/menus/missions/campaign.h"

#include <cstdint>

#include "library/system/mouse.h"
#include "library/ui/repaint.h"
#include "source/menus/brief/briefing.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/map_view.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/notify.h"
#include "source/menus/speech.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission_data.h"

namespace vyr {

namespace {

constexpr int CAMPAIGN_WON_LEVEL = 11;
constexpr int CAMPAIGN_CANDIDATES = 8;
constexpr int SPEECH_CAMPAIGN_MISSION = 3;

// Untried first, then failed, then any: result 0 untried, 1 and 2 failed, 3 and 4 done.
int pool_rank(int result) { return result == 0 ? 0 : result <= 2 ? 1 : 2; }

// The shared generator's step, not kept: the log's seed moves only when a mission is logged.
int draw(int32_t seed, int pool_size) {
    const uint32_t next = uint32_t(seed) * 0x41c64e6du + 0x3039u;
    return int((next >> 16) & 0x7fff) % pool_size;
}

}  // namespace

int choose_campaign_mission(Mission** mission) {
    *mission = nullptr;
    PilotLog* log = current_pilot_log;
    if (!log || get_log_current_campaign(log) == 0) return CAMPAIGN_NOT_BEGUN;
    const int level = get_campaign_level(log);
    if (level == 0) return CAMPAIGN_LOST;
    if (level == CAMPAIGN_WON_LEVEL) return CAMPAIGN_WON;
    if (get_campaign_lives(log) == 0) return CAMPAIGN_LOST;

    clear_mission_filter();
    set_mission_filter_zone(get_log_current_campaign(log));
    set_mission_filter_campaign();
    set_mission_filter_level(level);
    Mission* candidates[CAMPAIGN_CANDIDATES];
    int count = 0;
    for (Mission* m = first_listed_mission(); m && count < CAMPAIGN_CANDIDATES; m = next_listed_mission(m))
        candidates[count++] = m;

    int best = 2;
    for (int i = 0; i < count; ++i) {
        const int rank = pool_rank(find_campaign_mission_result(log, candidates[i]->number));
        if (rank < best) best = rank;
    }
    Mission* pool[CAMPAIGN_CANDIDATES];
    int pool_size = 0;
    for (int i = 0; i < count; ++i)
        if (pool_rank(find_campaign_mission_result(log, candidates[i]->number)) == best) pool[pool_size++] = candidates[i];
    if (pool_size == 0) return CAMPAIGN_EMPTY_LEVEL;

    Mission* chosen = pool[draw(get_campaign_seed(log), pool_size)];
    current_mission = chosen;
    *mission = chosen;
    return chosen->number;
}

void start_campaign_mission(Mission* mission) {
    set_pointer_shape(pointer_wait);
    suspend_ui_updates();
    set_back_hook(nullptr);
    flag_mission_saved();
    set_debrief_texts(mission->failure, mission->success, mission->outstanding);
    load_mission(mission);
    // A campaign keeps its missions' titles to itself.
    set_map_subtitles("", mission->description);
    fit_map_to_routes();
    do_briefing(mission->briefing);
    show_map_screen();
    speech_mission_index = mission->number;
    play_menu_speech(SPEECH_CAMPAIGN_MISSION);
}

}  // namespace vyr
