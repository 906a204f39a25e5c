#include "library/3dvisual/world_glide.h"
#include "source/frame_loop.h"

#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/graphics/poly.h"
#include "library/graphics/poly_accel.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "library/sound/dsound.h"
#include "library/system/event.h"
#include "library/system/joystick.h"
#include "library/system/key.h"
#include "library/system/timer.h"
#include "platform/accel/framebuffer.h"
#include "source/avionics/avionics.h"
#include "source/avionics/g_effects.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/messages.h"
#include "source/avionics/panel.h"
#include "source/avionics/night_vision.h"
#include "source/avionics/vcockpit.h"
#include "source/avionics/views.h"
#include "source/controls.h"
#include "source/drone/drone.h"
#include "source/drone/drone_update.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/hotkeys.h"
#include "source/mission/goals.h"
#include "source/models/flight_model.h"
#include "source/recorder.h"
#include "source/sknet/chat.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/net_players.h"
#include "source/sound/triggers.h"
#include "source/time_of_day.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/rounds.h"
#include "source/weapons/speech.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

namespace accel = platform::accel;

int32_t game_clock = 0;
int32_t frame_ticks = 0;
double frame_seconds = 0.0;
double frame_rate = 0.0;
int32_t frame_fraction = 0;
double average_frame_rate = 0.0;
int32_t frame_count = 0;
int32_t time_acceleration = 1;
int32_t time_acceleration_request = 1;
int32_t flight_running = 0;
int32_t flight_paused = 0;
int32_t quit_request = 0;
int32_t die_flag = 0;
int32_t die_object = 0;
int32_t end_countdown = 0;
int32_t end_countdown_running = 0;
int32_t link_lead_frames = 0;
int32_t detail_ceiling = 7;
int32_t measured_frame_ticks = 0;
int32_t smoke_life = 400;
int32_t smoke_density = 3;

namespace {

constexpr const char* SOURCE = "source/fxgloop";
constexpr int LEAD_IN_FRAMES = 3;
constexpr int32_t SPEECH_MISSION_START = 49;
constexpr int QUIT_BOX_X = 194;
constexpr int QUIT_BOX_Y = 98;
constexpr int MIN_AUTO_RANGE = 4;
constexpr double SLOW_FRAME_RATE = 3.0;
constexpr double FAST_FRAME_RATE = 8.0;
constexpr int SLOW_FRAMES = 2;   // the third slow frame running lowers the range
constexpr int FAST_FRAMES = -6;  // the seventh fast one raises it
constexpr int32_t HALF_SECOND_FRACTION = 0x40000000;
constexpr int MODEM_DELAY_STAGES = 3;

ViewSettings kept_view_settings;
int detail_counter = 0;
int start_speech_played = 0;
// The pacing machine's frame times: over a modem the three stages of the delay line, otherwise
// the previous frame's measurement in stage 0.
int32_t frame_delay_line[MODEM_DELAY_STAGES] = {};

void set_frame_values(int32_t ticks) {
    frame_ticks = ticks;
    frame_seconds = ticks * 0.005;
    // A linked game's first paced frames take the lead-in's 0 from the delay line.
    frame_rate = ticks ? 1.0 / frame_seconds : 5.0;
    frame_fraction = int32_t(frame_seconds * 2147483647.0);
}

// Over a modem the value leaving the delay line (three frames old); otherwise the previous one.
int32_t pace_frame_time(int32_t measured) {
    if (connection_mode != CONNECTION_MODEM) {
        const int32_t previous = frame_delay_line[0];
        frame_delay_line[0] = measured;
        return previous;
    }
    const int32_t leaving = frame_delay_line[MODEM_DELAY_STAGES - 1];
    for (int i = MODEM_DELAY_STAGES - 1; i > 0; --i) frame_delay_line[i] = frame_delay_line[i - 1];
    frame_delay_line[0] = measured;
    return leaving;
}

bool fire_control_held() {
    if (is_key_down(SCAN_SPACE)) return true;
    if (control_type == CONTROL_KEYBOARD) return false;
    const int32_t buttons = joystick_state.buttons;
    switch (joystick_button_mode) {
    case 0: return buttons & 0x10;
    case 1: return ((buttons >> 4) & 0xF) == 1;
    case 2: return ((buttons >> 4) & 0xF) == 2;
    default: report_fatal_error("Unknown joystick button mode.", SOURCE, __LINE__); return false;
    }
}

void read_joystick_if_used() {
    if (control_type != CONTROL_KEYBOARD || joystick_throttle || joystick_rudder || joystick_throttle_curve)
        read_joystick();
}

bool pilot_in_seat() { return !chat_line_open && !pilot_ejected; }

void move_drones() {
    switch (game_mode) {
    case GAME_SINGLE:
    case GAME_PILOT_GUNNER: update_drones(); return;
    case GAME_COMBAT:
    case GAME_MULTI_PLAYER:
    case GAME_TWO_PLAYER_MISSION:
    case GAME_LINKED_MISSION:
    case GAME_CAPTURE_FLAG:
        if (game_mode == GAME_CAPTURE_FLAG) check_flag_captured();
        if (!is_key_down(SCAN_LEFT_SHIFT)) extrapolate_players();
        update_remote_drones();
        if (game_mode == GAME_TWO_PLAYER_MISSION || game_mode == GAME_LINKED_MISSION) update_drones();
        return;
    default: report_fatal_error("unknown game_mode", SOURCE, __LINE__);
    }
}

void fly_model_substeps(const ModelSubsteps& substeps) {
    const double seconds = frame_seconds;
    const int32_t fraction = frame_fraction;
    frame_seconds = substeps.seconds;
    frame_fraction = substeps.fraction;
    for (int i = 0; i < substeps.count; ++i) {
        if (autoland_engaged)
            update_autoland();
        else if (!player_out_of_play && !(user_drone && get_drone_autopilot(user_drone)))
            update_flight_model();
    }
    frame_seconds = seconds;
    frame_fraction = fraction;
}

void run_simulation_step(const ModelSubsteps& substeps) {
    const int32_t ticks = frame_ticks;
    record_delta_time(ticks);
    game_clock += ticks;
    if (pilot_in_seat()) read_flight_controls();
    move_drones();
    fly_model_substeps(substeps);
    repeat_countermeasures();
    if (player_flight_data.on_ground) {
        selected_hardpoint = -1;
        selected_weapon = 0;
        weapon_selected = 0;
    }
    update_head_panning();
    update_weapons_frame();
    if (game_mode != GAME_COMBAT && game_mode != GAME_MULTI_PLAYER && game_mode != GAME_CAPTURE_FLAG)
        update_war_model();
    accelerator_flag = 0;
    update_avionics();
    accelerator_flag = 1;
    emit_touchdown_smoke();
    age_messages();
    update_world_effects(frame_fraction);
}

void take_pending_view() {
    if (pending_view_mode < 0) return;
    const int32_t mode = pending_view_mode;
    pending_view_mode = -1;
    set_view_mode(mode);
}

void play_mission_start_speech() {
    if (start_speech_played || !user_drone) return;
    const Waypoint* first = user_drone->first_waypoint;
    if (!first || get_waypoint_altitude(first) != 0 || game_clock <= user_drone->activation_time) return;
    play_speech(SPEECH_MISSION_START);
    start_speech_played = 1;
}

void count_down_flight_end() {
    if (!end_countdown) return;
    end_countdown_running = 1;
    if (--end_countdown == 0) flight_running = 0;
}

// The frame's last row and column stay black in every frame shown.
void black_frame_edges() {
    if (!accel_lock_frame_buffer()) return;
    auto* bottom = reinterpret_cast<uint32_t*>(frame_buffer + (accel::SCREEN_HEIGHT - 1) * frame_buffer_stride);
    for (int x = 0; x < accel::SCREEN_WIDTH; ++x) bottom[x] = 0;
    for (int y = 0; y < accel::SCREEN_HEIGHT; ++y)
        reinterpret_cast<uint32_t*>(frame_buffer + y * frame_buffer_stride)[accel::SCREEN_WIDTH - 1] = 0;
    accel_unlock_frame_buffer();
}

// Shown at the next retrace.
void present_flight_frame() {
    black_frame_edges();
    accel::swap_buffers(1);
    poly_count = 0;
    play_queued_speech();
}

void draw_flight_frame() {
    update_head_panning();
    apply_palette();
    accel_lock_frame_buffer();
    render_view();
    accelerator_flag = 0;
    update_g_effects();
    draw_cockpit_panel();
    accelerator_flag = 1;
    draw_cockpit_overlay();
    accel_unlock_frame_buffer();
}

void run_paused_frame() {
    read_flight_controls();
    dispatch_key_events();
    read_joystick_if_used();
    apply_palette();
    update_world_effects(frame_fraction);
    render_view();
    accel_lock_frame_buffer();
    accelerator_flag = 0;
    draw_cockpit_panel();
    accel_unlock_frame_buffer();
    accelerator_flag = 1;
    draw_cockpit_overlay();
    take_pending_view();
}

// Waits without yielding (the scheduler is locked) for Y or N.
bool wait_for_yes_or_no() {
    for (;;) {
        Event event;
        if (!get_event(event)) {
            wait_after_empty_poll();
            continue;
        }
        if (event.type != EV_KEY) continue;
        if ((event.value & 0xFF) == SCAN_Y) return true;
        if ((event.value & 0xFF) == SCAN_N) return false;
    }
}

}  // namespace

bool is_two_player_link() {
    if (connection_mode == CONNECTION_NONE) return false;
    return game_mode == GAME_COMBAT || game_mode == GAME_TWO_PLAYER_MISSION || game_mode == GAME_PILOT_GUNNER ||
           game_mode == GAME_LINKED_MISSION;
}

void measure_frame_time() {
    int32_t ticks = get_frame_time();
    if (is_two_player_link()) {
        measured_frame_ticks = ticks;
        ticks = two_player_position == 1 ? pace_frame_time(ticks) : received_frame_ticks;
    }
    set_frame_values(ticks);
    average_frame_rate = game_clock ? frame_count * 200.0 / game_clock : 0.0;
    ++frame_count;
}

void zero_frame_time() {
    if (is_two_player_link()) {
        frame_ticks = measured_frame_ticks = 0;
        if (two_player_position == 1) pace_frame_time(0);
    }
    get_frame_time();
    frame_ticks = 0;
    frame_seconds = 0.0;
    frame_rate = 5.0;
    frame_fraction = 0;
    game_clock = 0;
    average_frame_rate = 0.0;
    ++frame_count;
}

void adjust_detail_level() {
    int32_t& range = view_settings.visual_range;
    if (frame_rate < SLOW_FRAME_RATE) {
        if (detail_counter < SLOW_FRAMES) {
            ++detail_counter;
        } else if (range > MIN_AUTO_RANGE) {
            set_depth_scale(--range);
            detail_counter = 0;
        }
    } else if (frame_rate > FAST_FRAME_RATE) {
        if (detail_counter > FAST_FRAMES) {
            --detail_counter;
        } else if (range < detail_ceiling) {
            set_depth_scale(++range);
            detail_counter = 0;
        }
    } else if (detail_counter) {
        detail_counter += detail_counter > 0 ? -1 : 1;
    }
}

ModelSubsteps split_model_step(double seconds, int32_t fraction) {
    ModelSubsteps substeps = {1, seconds, fraction};
    while (substeps.fraction >= HALF_SECOND_FRACTION) {
        substeps.fraction /= 2;
        substeps.seconds /= 2;
        substeps.count *= 2;
    }
    return substeps;
}

void start_flight_loop() {
    flight_loop_active = 1;
    kept_view_settings = view_settings;
    watch_debug_value("Global Time", 0, &game_clock);
    watch_debug_value("Acceleration", 0, &time_acceleration);
    end_countdown = end_countdown_running = 0;
    game_clock = frame_count = 0;
    quit_request = flight_paused = 0;
    autoland_engaged = 0;
    detail_counter = 0;
    start_speech_played = 0;
    for (int32_t& stage : frame_delay_line) stage = 0;
    time_acceleration_request = time_acceleration = 1;
    detail_ceiling = view_settings.visual_range;
    soldiers_picked_up = soldiers_delivered = waypoints_reached = 0;
    opening_call_made = 0;
    cockpit_overlay_started = 0;
    request_chat_redraw();
    link_lead_frames = is_two_player_link() && connection_mode == CONNECTION_MODEM ? 2 : 0;
    for (int i = 0; i < link_lead_frames; ++i) send_two_player_frame();
    restore_engine_sound();
    start_afterburner_sound();
    set_afterburner_level(1);
    clear_speech_queue();
    select_current_airfield();
    accel::clear_buffer(0);
    accel::swap_buffers(0);
    accel::clear_buffer(0);
    accel::show_3d_display();
    accelerator_flag = 1;
    set_view_settings(&view_settings);
    set_fog_density();
}

void run_flight_frame() {
    accel::clear_buffer(0);
    fix_numpad_shift();
    if (flight_paused) {
        run_paused_frame();
        present_flight_frame();
        return;
    }
    set_user_drone(user_drone);
    const int lead_in = link_lead_frames + LEAD_IN_FRAMES;
    if (frame_count < lead_in) {
        zero_frame_time();
        if (frame_count == lead_in && is_two_player_link()) set_normal_secure_timeout();
    } else {
        measure_frame_time();
    }
    update_time_of_day();
    palette_changed = true;
    apply_palette();
    if (chat_line_open)
        read_chat_keys();
    else if (!pilot_ejected)
        dispatch_key_events();
    if (!fire_control_held()) fire_latch = 0;
    time_acceleration = time_acceleration_request;
    adjust_detail_level();
    const ModelSubsteps substeps = split_model_step(frame_seconds, frame_fraction);
    read_joystick_if_used();
    send_link_frame();
    for (int step = 0; step < time_acceleration; ++step) run_simulation_step(substeps);

    draw_flight_frame();
    take_pending_view();
    count_frame_statistics();
    draw_chat_area();
    if (quit_request == 1) confirm_quit();
    play_mission_start_speech();
    count_down_flight_end();
    present_flight_frame();
}

void end_flight_loop() {
    accel::hand_display_to_2d();
    if (autoland_engaged) toggle_autoland(0);
    if (network_role == NET_ROLE_PEER) announce_leaving();
    if (network_role == NET_ROLE_SERVER) send_server_leaving();
    if (network_role == NET_ROLE_CLIENT) send_client_leaving();
    player_out_of_play = 0;
    if (is_two_player_link()) {
        for (int i = 0; i < link_lead_frames; ++i) receive_two_player_frame();
        if (game_mode == GAME_COMBAT && combat_outcome == 1) add_player_kill(own_player_number);
        if (game_mode == GAME_COMBAT && combat_outcome == -1) add_player_kill(1 - own_player_number);
        set_long_secure_timeout();
        reset_modem_link_states();
    }
    idle_modem_hook();
    stop_afterburner_sound();
    stop_all_sounds();
    view_settings = kept_view_settings;
    accelerator_flag = 0;
    flight_loop_active = 0;
}

void flight_loop() {
    start_flight_loop();
    while (flight_running == 1) run_flight_frame();
    end_flight_loop();
}

void end_flight(int reason) {
    if (die_flag) return;
    switch (reason) {
    case END_QUIT:
    case 8:
    case END_PEER_ENDED:
        die_flag = reason;
        if (is_two_player_link())
            schedule_flight_end();
        else
            flight_running = 0;
        return;
    case END_COLLISION:
    case END_CRASH:
    case END_DITCHED:
        if (crashing_off || invincible) return;
        break;
    case END_SHOT_DOWN:
    case 11:
        if (crashing_off) return;
        break;
    case END_LINK_ERRORS:
    case 6:
    case END_NO_CARRIER:
        die_flag = reason;
        flight_running = 0;
        return;
    case END_PEER_DESTROYED: break;
    default: return;
    }
    die_flag = reason;
    enter_crash_view();
}

void reset_end_of_flight() { die_flag = die_object = 0; }

void schedule_flight_end() {
    if (!end_countdown) end_countdown = link_lead_frames + 2;
}

void register_time_keys() {
    add_hot_key(KEY_ALT | SCAN_X, escape_key);
    add_hot_key(KEY_CTRL | SCAN_Q, escape_key);
    add_hot_key(SCAN_ESCAPE, change_time_acceleration);
    add_hot_key(SCAN_TAB, change_time_acceleration);
    add_hot_key(KEY_SHIFT | SCAN_TAB, change_time_acceleration);
    add_hot_key(KEY_CTRL | SCAN_TAB, change_time_acceleration);
}

int escape_key(int key_code) {
    if (game_mode == GAME_COMBAT || game_mode == GAME_TWO_PLAYER_MISSION || game_mode == GAME_PILOT_GUNNER ||
        game_mode == GAME_LINKED_MISSION) {
        queue_remote_key(key_code);
        end_flight(END_QUIT);
    } else {
        quit_request = 1;
    }
    return 1;
}

int change_time_acceleration(int key_code) {
    if (game_mode != GAME_SINGLE) return 1;
    int32_t& request = time_acceleration_request;
    if (key_code == SCAN_ESCAPE)
        request = 1;
    else if (key_code == (KEY_CTRL | SCAN_TAB))
        request = request > 1 ? request / 2 : 1;
    else if (key_code == (KEY_SHIFT | SCAN_TAB))
        request = MAX_TIME_ACCELERATION;
    else
        request = request >= MAX_TIME_ACCELERATION ? 1 : request * 2;
    return 1;
}

void confirm_quit() {
    if (die_flag) return;
    reset_clip_rect();
    if (accel_lock_frame_buffer()) {
        if (quit_box_sprite) draw_sprite32(quit_box_sprite, QUIT_BOX_X, QUIT_BOX_Y);
        accel_unlock_frame_buffer();
    }
    black_frame_edges();
    accel::swap_buffers(1);
    apply_palette();
    pause_all_channels();
    flush_events();
    if (wait_for_yes_or_no())
        end_flight(END_QUIT);
    else
        quit_request = 0;
    flush_events();
    get_frame_time();
    resume_all_channels();
}

}  // namespace vyr
