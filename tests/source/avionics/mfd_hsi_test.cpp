#include "source/avionics/mfd_hsi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "library/graphics/plot.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/night_vision.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_players.h"
#include "tests/source/radar/radar_world.h"
#include "tests/support/recording_plot.h"

namespace vyr {
namespace {

// Keeps the plot's rotation with each line, to see which way a symbol is turned.
class TurningPlot : public RecordingPlot {
public:
    void line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour, bool dashed) override {
        angles.push_back(uint32_t(current_plot.angle));
        RecordingPlot::line(x0, y0, x1, y1, colour, dashed);
    }
    std::vector<uint32_t> angles;
};

class NavigationPages : public RadarWorld {
protected:
    void SetUp() override {
        RadarWorld::SetUp();
        hsi_scale = 1 << 24;
        show_players_on_map = 1;
        own_player_number = 0;
        own_node_number = 0;
        current_airfield = -1;
        left_mfd_page = MFD_HSI;
        right_mfd_page = MFD_STORES;
    }
    void TearDown() override {
        for (NetPlayer& p : net_players) p = NetPlayer{};
        std::fill(std::begin(player_scores), std::end(player_scores), 0);
        own_player_number = -1;
        own_node_number = MAX_NET_PLAYERS;
        game_mode = GAME_SINGLE;
        user_drone = nullptr;
        airfield_table[0] = Airfield{};
        current_airfield = -1;
        frag_plan_timer = 0.0f;
        RadarWorld::TearDown();
    }
    // A network player in a slot, with a drone of its own.
    Drone* player(int slot, const char* name, int32_t kills, const Vector3& p = ahead(NAUTICAL_MILE)) {
        Drone* d = fighter(ENEMY, p, 0x40000000);
        NetPlayer& n = net_players[slot];
        n.drone = d;
        n.slot_state = uint8_t(slot);
        std::strncpy(n.name, name, sizeof n.name - 1);
        n.pose = d->pose;
        player_scores[slot] = kills;
        return d;
    }
    size_t lines_in(int colour) const {
        return size_t(std::count_if(plot.lines.begin(), plot.lines.end(),
                                    [&](const RecordingPlot::Line& l) { return l.colour == colour; }));
    }
    void draw_hsi() {
        plot.clear();
        plot.angles.clear();
        draw_mfd_hsi_page(LEFT_MFD_RECT, MFD_HSI);
    }

    TurningPlot plot;
};

TEST_F(NavigationPages, TheScaleLabelsReadHalfTheWindowInMiles) {
    const std::pair<int32_t, const char*> cases[] = {{1 << 24, "10"}, {1 << 23, "5"},  {1 << 22, "2.5"},
                                                     {1 << 21, "1.3"}, {1 << 20, "0.7"}, {1 << 19, "0.3"}};
    for (const auto& [scale, label] : cases) {
        hsi_scale = scale;
        draw_hsi();
        const RecordingPlot::Text* text = plot.find_text(label);
        ASSERT_NE(text, nullptr) << label;
        EXPECT_EQ(text->world_x, -943718);
        EXPECT_EQ(text->world_y, -838860);
        EXPECT_EQ(text->colour, 224);
    }
    night_vision_on = 1;
    draw_hsi();
    EXPECT_EQ(plot.find_text("0.3")->colour, 207);
    night_vision_on = 0;
}

TEST_F(NavigationPages, OtherPlayersShowOnlyInTheCombatAndNetworkGames) {
    player(0, "ME", 0, START);  // the own slot is never drawn
    player(2, "RED", 0);
    net_players[2].status_bits = 0;
    player(5, "BLUE", 0);
    net_players[5].status_bits = NET_STATUS_BLUE_TEAM;
    struct Case {
        int32_t mode;
        int32_t shown;
        size_t red, blue;  // lines in 204 and 205
    } const cases[] = {
        {GAME_SINGLE, 1, 0, 0},      {GAME_COMBAT, 1, 26, 0}, {GAME_MULTI_PLAYER, 1, 26, 0},
        {GAME_CAPTURE_FLAG, 1, 13, 13}, {GAME_CAPTURE_FLAG, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", shown " << c.shown);
        game_mode = c.mode;
        show_players_on_map = c.shown;
        draw_hsi();
        EXPECT_EQ(lines_in(204), c.red);
        EXPECT_EQ(lines_in(205), c.blue);
    }
    // The other players' symbol is half the window's side across, turned to their heading.
    game_mode = GAME_COMBAT;
    draw_hsi();
    const auto first = std::find_if(plot.lines.begin(), plot.lines.end(), [](const auto& l) { return l.colour == 204; });
    EXPECT_EQ(first->y0, int32_t(0.15 * (hsi_scale / 2)));
    EXPECT_EQ(plot.angles[size_t(first - plot.lines.begin())], uint32_t(-0x40000000));
}

TEST_F(NavigationPages, TheRouteIsDrawnWithItsLettersAndTheOwnSymbolTurnsWithTheHeading) {
    Drone& d = drones.emplace_back();
    for (int i = 0; i < 3; ++i) set_waypoint_position(append_waypoint(&d), START.x, START.y + (i + 1) * NAUTICAL_MILE, ALTITUDE);
    char letter = 'A';
    for (Waypoint* w = d.first_waypoint; w; w = w->next) set_waypoint_letter(w, letter++);
    user_drone = &d;
    flight_data.heading = 0x20000000;
    draw_hsi();
    EXPECT_EQ(lines_in(217), 2u) << "one line a leg";
    const RecordingPlot::Text* b = plot.find_text("B");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->world_y, START.y + 2 * NAUTICAL_MILE);
    EXPECT_EQ(b->colour, 222);
    EXPECT_EQ(lines_in(224), 13u) << "the own symbol";
    const size_t own = size_t(std::find_if(plot.lines.begin(), plot.lines.end(), [](const auto& l) {
                                  return l.colour == 224;
                              }) - plot.lines.begin());
    EXPECT_EQ(plot.angles[own], uint32_t(-0x20000000));
    EXPECT_EQ(plot.lines[own].y0, int32_t(0.15 * 0x100000));
    EXPECT_NE(plot.find_text("CUR"), nullptr) << "MFD 1 has the focus";
    active_mfd = 2;
    draw_hsi();
    EXPECT_EQ(plot.find_text("CUR"), nullptr);
}

TEST_F(NavigationPages, TheApproachConeOpensFromTheBeaconAgainstTheRunwayHeading) {
    draw_hsi();
    EXPECT_TRUE(std::none_of(plot.lines.begin(), plot.lines.end(), [](const auto& l) { return l.dashed; }))
        << "no beacon, no cone";
    Airfield& a = airfield_table[0];
    a.x = START.x;
    a.y = START.y + 5 * NAUTICAL_MILE;
    a.in_use = OBJ_ILS_BEACON;
    a.beacons[0] = {a.x, a.y, 0, 0, 0, 0, 0x40000000, 9, OBJ_ILS_BEACON};  // landing east
    current_airfield = 0;
    fly(START, 0x40000000);
    draw_hsi();
    std::vector<RecordingPlot::Line> cone;
    for (const auto& l : plot.lines)
        if (l.dashed) cone.push_back(l);
    ASSERT_EQ(cone.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cone[size_t(i)].x0, a.x);
        EXPECT_EQ(cone[size_t(i)].colour, 207);
        EXPECT_NEAR(cone[size_t(i)].x1, a.x - 18665472, 2) << "12 nm to the west, where the approach comes from";
    }
    EXPECT_NEAR(cone[2].y1, a.y - 6781788, 2) << "the outer lines 20 degrees either side";
    EXPECT_NEAR(cone[3].y1, a.y + 6781788, 2);
    EXPECT_EQ(cone[4].x0, cone[2].x1);
    EXPECT_EQ(cone[4].y1, cone[3].y1);
}

TEST_F(NavigationPages, TheFragPlanRanksPlayersByKillsRedrawnOnceASecond) {
    game_mode = GAME_MULTI_PLAYER;
    own_player_number = 3;
    player(1, "ONE", 2);
    player(3, "THREE", 5);
    player(4, "FOUR", 5);
    player(6, "SIX", 7);
    frame_seconds = 0.4;
    time_acceleration_request = 1;
    frag_plan_timer = 0.0f;
    int drawn = 0;
    for (int frame = 0; frame < 10; ++frame) {
        plot.clear();
        draw_mfd_frag_plan_page(RIGHT_MFD_RECT, MFD_FRAG_PLAN);
        if (!plot.texts.empty()) ++drawn;
    }
    EXPECT_EQ(drawn, 3) << "after 1.2 s, then every 1.2 s of 0.4 s frames";
    frag_plan_timer = 1.5f;
    plot.clear();
    draw_mfd_frag_plan_page(RIGHT_MFD_RECT, MFD_FRAG_PLAN);
    EXPECT_EQ(plot.all_text(), "FRAG PLAN|SIX|7|THREE|5|FOUR|5|ONE|2") << "a tie in slot order";
    const RecordingPlot::Text* three = plot.find_text("THREE");
    EXPECT_EQ(three->colour, 1) << "the own row";
    EXPECT_EQ(three->world_y, 121);
    EXPECT_EQ(plot.find_text("SIX")->colour, 222);
    EXPECT_EQ(plot.find_text("FOUR")->colour, 217);
    EXPECT_EQ(plot.find_text("7")->world_x, 125);

    own_node_number = MAX_NET_PLAYERS;  // not in a network game
    frag_plan_timer = 1.5f;
    plot.clear();
    draw_mfd_frag_plan_page(RIGHT_MFD_RECT, MFD_FRAG_PLAN);
    EXPECT_EQ(plot.all_text(), "FRAG PLAN");
}

}  // namespace
}  // namespace vyr
