#include "source/flight.h"

#include "library/3dvisual/features.h"
#include "library/3dvisual/plan_map.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_palette.h"
#include "library/config/prefs.h"
#include "library/debug/fatal.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/sound/banks.h"
#include "library/sound/music.h"
#include "library/sound/samples.h"
#include "library/system/key.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/repaint.h"
#include "library/ui/screens.h"
#include "source/avionics/avionics.h"
#include "source/avionics/g_effects.h"
#include "source/avionics/night_vision.h"
#include "source/avionics/hud.h"
#include "source/avionics/messages.h"
#include "source/avionics/panel.h"
#include "source/avionics/threat_warning.h"
#include "source/avionics/vcockpit.h"
#include "source/avionics/views.h"
#include "source/controls.h"
#include "source/drone/drone.h"
#include "source/drone/drone_update.h"
#include "source/drone/soldier_moves.h"
#include "source/drone/task.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/drone/wingman.h"
#include "source/frame_loop.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/hotkeys.h"
#include "source/menus/debrief/debrief.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/missions/catalogue.h"
#include "source/mission/game_flow.h"
#include "source/mission/goals.h"
#include "source/mission/mission_data.h"
#include "source/menus/top_ten.h"
#include "source/mission/quick_start.h"
#include "source/mission/selection.h"
#include "source/models/flight_model.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/net_players.h"
#include "source/sknet/net_screens.h"
#include "source/sound/triggers.h"
#include "source/startup.h"
#include "source/time_of_day.h"
#include "source/warmodel/war_model.h"
#include "source/radar/radar.h"
#include "source/weapons/stores.h"
#include "source/weapons/round_impact.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

std::atomic<int> in_flight{0};
Screen* flight_screen = nullptr;

namespace {

constexpr int FLIGHT_THREAD_PRIORITY = 1;
constexpr int MENU_LAYOUT = 0;
constexpr int MENU_VIDEO_MODE = 1;  // 640 x 480 x 8
constexpr int MAP_NORMAL_BACKGROUND = 99;
constexpr int SPEECH_MISSION_ACCOMPLISHED = 159;
constexpr int MISSION_ACCOMPLISHED_TICKS = 2000;  // 10 s

// The menus' rules, which a flight's game rules override until it is over.
struct KeptRules {
    int32_t unlimited_weapons, infinite_fuel, crashing_off;
};
KeptRules kept_rules = {};
// The flight under way is a quick start, a deathmatch or a capture the flag: it is not logged,
// and its debrief is the quick start's.
int quick_start_flight = 0;

bool is_link_failure(int reason) { return reason == END_LINK_ERRORS || reason == 6 || reason == END_NO_CARRIER; }

void log_flight(int quick_start_flow) {
    if (quick_start_flow) return;
    const int flow = get_game_flow();
    log_mission_result(current_pilot_log, current_mission_number, get_war_zone(), flow == FLOW_CAMPAIGN);
    if (flow == FLOW_CAMPAIGN) log_campaign_mission(current_pilot_log, current_mission_number);
}

bool linked_start_wanted() {
    if (connection_mode == CONNECTION_DIRECT || connection_mode == CONNECTION_MODEM) return true;
    return connection_mode == CONNECTION_NETWORK && game_mode >= GAME_COMBAT && game_mode <= GAME_LINKED_MISSION;
}

void debrief_single(int quick_start_flow) {
    if (!quick_start_flow) {
        show_debrief();
        return;
    }
    restart_music();
    restore_destroyed_ground_objects();
    if (get_game_type() == 1) {
        enter_top_ten_score();
        show_top_ten_screen();
    }
    if (first_run_flight) {
        first_run_flight = 0;
        pop_screen_now();
    }
}

void debrief_multiplayer() {
    set_score_values(get_player_kills(own_player_number), get_player_kills(1 - own_player_number));
    if (connection_mode == CONNECTION_NETWORK && game_mode != GAME_MULTI_PLAYER && game_mode != GAME_CAPTURE_FLAG) {
        clear_modem_messages();
        join_network_channel();
    }
    reset_server_state();
    set_node_sorting(1);
    restart_music();
    show_network_scores();
    reset_player_table();
    if (game_mode == GAME_CAPTURE_FLAG) {
        network_options_changed = 1;
        share_network_options();
        apply_network_options();
    }
    if (game_mode == GAME_COMBAT) show_link_end_reason();
    if (is_link_failure(die_flag)) push_two_player_screen();
    enable_network_screen_input();
    invalidate_area(0, 0, display_width() - 1, display_height() - 1, 1);
}

void present_cleared_screen() {
    clear_screen(0);
    lock_and_flip_display();
}

}  // namespace

void debrief_flight(int quick_start_flow) {
    switch (game_mode) {
    case GAME_SINGLE: debrief_single(quick_start_flow); return;
    // The linked mission is a two-player game too; it ends as the other two-player modes do.
    case GAME_COMBAT:
    case GAME_TWO_PLAYER_MISSION:
    case GAME_PILOT_GUNNER:
    case GAME_LINKED_MISSION: debrief_multiplayer(); return;
    case GAME_MULTI_PLAYER:
    case GAME_CAPTURE_FLAG:
    case GAME_NETWORK_OTHER:
        enable_network_option_buttons(1);
        debrief_multiplayer();
        return;
    default: report_fatal_error("Can't debrief an unknown game mode", "source/menus/takeoff", __LINE__);
    }
}

uint32_t start_game_thread() { return create_thread("Game Thread", fly_mission); }

void announce_mission_accomplished() {
    play_speech(SPEECH_MISSION_ACCOMPLISHED);
    post_message("  Mission", 4, MISSION_ACCOMPLISHED_TICKS);
    post_message("Accomplished", 4, MISSION_ACCOMPLISHED_TICKS);
}

void select_player_route() {
    init_battle_cells();
    flag_lased_ground_objects();
    if (!user_task) return;
    Drone* leader = get_task_first_drone(user_task);
    Waypoint* first = leader ? leader->first_waypoint : nullptr;
    select_waypoint(first);
    select_drone(leader);
    if (first && get_next_waypoint(first)) selected_waypoint = get_next_waypoint(first);
}

void fly_mission() {
    start_flight();
    flight_loop();
    finish_flight();
}

void start_flight() {
    lock_scheduler();
    kept_rules = {unlimited_weapons, infinite_fuel, crashing_off};
    in_flight = 1;
    reset_weapons();
    load_stores();
    set_thread_priority(FLIGHT_THREAD_PRIORITY);
    stop_music();
    if (minimal_sound_set) load_minimal_sample_bank();
    const int flow = get_game_flow();
    quick_start_flight = flow == FLOW_QUICK_START || flow == FLOW_DEATHMATCH || flow == FLOW_CAPTURE_FLAG;
    log_flight(quick_start_flight);
    wait_for_flag(&in_flight);
    hide_pointer();
    push_hot_key_layer();
    reset_debrief_records();

    init_game();
    goal_damage_tally = 0;
    landing_goal_met = user_drone && has_runway_landing(user_drone->first_waypoint) ? 0 : 1;
    select_player_route();
    build_world_palette();
    reset_quick_start_score();
    if (linked_start_wanted()) start_linked_flight();
}

void finish_flight() {
    end_game();
    pop_hot_key_layer();

    if (!set_screen_mode(MENU_LAYOUT, MENU_VIDEO_MODE))
        report_fatal_error("Graphics mode not available\n", "source/menus/takeoff", __LINE__);
    reset_pointer_limits();
    invalidate_area(0, 0, display_width() - 1, display_height() - 1, 1);
    debrief_flight(quick_start_flight);
    refresh_map_screen();
    build_world_palette();
    show_pointer();

    in_flight = 0;
    unlock_scheduler();
    // The screens come up behind the black that end_game put up, and the black lifts only once
    // they are drawn: each picture is first seen with its own palette.
    idle_flag = 0;
    wait_until_idle();
    fade_screen_in();
    unlimited_weapons = kept_rules.unlimited_weapons;
    infinite_fuel = kept_rules.infinite_fuel;
    crashing_off = kept_rules.crashing_off;
    get_pref_int("Forces Type", &forces_type);
    set_pointer_shape(pointer_arrow);
}

void init_game() {
    flight_screen = create_screen(640, 480);
    select_screen(flight_screen);
    flight_running = 1;
    set_game_rules();
    apply_cell_sides();
    apply_destroy_points();
    reset_caution_lamps();
    reset_system_failures();
    init_radar();
    init_message_area();
    init_avionics();
    reset_designation();
    init_flight_controls();
    init_views();
    init_world(&world_settings);
    init_war_model();
    place_drones_at_start();
    link_drone_passengers();
    register_flight_watches();
    reset_end_of_flight();
    if (is_two_player_link()) start_two_player_game();

    reset_drone_view_cycle();
    create_user_drone();
    save_stores_state();
    arm_user_wingmen();
    init_flight_model();
    compute_world_extents();
    set_view_mode(initial_view_mode);
    register_flight_keys();

    if (!set_screen_mode(menu_screen_layout, flight_video_mode))
        report_fatal_error("Graphics mode not available.", "source/initgame", __LINE__);
    select_screen(flight_screen);
    present_cleared_screen();

    init_time_of_day();
    init_hud();
    create_view_remaps();
    init_g_effects();
    init_night_vision();
    build_world_palette();
    load_cockpit_art();
    init_cockpit_overlay();
    set_render_poll_hook(receive_link_frame);
    set_animation_hook(pose_human_figure);
    set_mission_announcement(announce_mission_accomplished);
    init_mission_goals();
    reset_human_death_counter();
    init_mine_targets();
    reset_recon();
    reset_drone_bomb_run();
    reset_war_model_flag();
    scan_threat_emitters();
    set_loop_sample(-1);
}

void end_game() {
    map_background_colour = MAP_NORMAL_BACKGROUND;
    // Black until the menus are back: colour 0 of a flight's palette need not be black, the
    // crash's fade goes with the views, and the menu's pictures come before their palette.
    black_out_screen();
    present_cleared_screen();
    destroy_screen(flight_screen);
    flight_screen = nullptr;
    shutdown_world();
    free_cockpit();
    free_view_remaps();
    free_g_effects();
    shutdown_night_vision();
    shutdown_views();
    release_war_model();
    return_screens_to_local_control();
}

}  // namespace vyr
