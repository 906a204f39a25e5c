// The armed world with the war model running over it: an empty gameplay grid whose sides the
// tests give, no static ground objects of a theatre, the sector lists kept by the link hooks, and
// the frame and clock at 0.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "library/3dvisual/ground_objects.h"
#include "source/drone/waypoint.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/warmodel/cap.h"
#include "source/warmodel/sector_search.h"
#include "source/warmodel/war_model.h"
#include "tests/source/drone/armed_world.h"

namespace vyr {

constexpr int32_t TILE = 1 << 22;
constexpr int HOME_TILE = HERE.x >> 22;  // 32, both ways
constexpr int AAA_SITE = 100;            // a Shilka of the sites, its gun in slot 2
constexpr int ENEMY_SAM_SITE = 84;       // the enemy's SAM battery, missile 69 in slot 2

class WarWorld : public ArmedWorld {
protected:
    void SetUp() override {
        ArmedWorld::SetUp();
        if (IsSkipped()) return;
        std::memcpy(saved_static, ground_object_tiles, sizeof saved_static);
        std::memset(ground_object_tiles, 0, sizeof ground_object_tiles);
        reset_gameplay_grid();
        clear_dynamic_ground_objects();
        current_world_settings->dynamic_ground_objects = world_settings.dynamic_ground_objects;
        set_sides(SIDE_ENEMY);
        frame_count = 0;
        init_war_model();
        set_war_seed(12345);
    }
    void TearDown() override {
        clear_rounds();
        destroy_all_tasks();
        release_war_model();
        for (GameplayObject& object : gameplay_objects)
            if (object.type) free_gameplay_object(&object);
        reset_gameplay_grid();
        clear_dynamic_ground_objects();
        std::memcpy(ground_object_tiles, saved_static, sizeof saved_static);
        frame_count = 0;
        ArmedWorld::TearDown();
    }

    static void set_sides(int side) {
        for (GameplayCell& cell : gameplay_grid) cell.side = side;
    }
    static GameplayCell& cell(int tile_x, int tile_y) { return gameplay_grid[tile_x * GAMEPLAY_GRID_SIZE + tile_y]; }
    // The middle of the tile `dx`, `dy` tiles from the home tile, `feet` up.
    static Vector3 in_tile(int dx, int dy, int32_t feet = 0) {
        return {(HOME_TILE + dx) * TILE + TILE / 2, (HOME_TILE + dy) * TILE + TILE / 2, feet * FOOT};
    }
    // A site of the kind in the middle of the tile, with its ground object of the tile's side and
    // its target: a SAM battery (the Patriot for the allies), a Shilka for an AAA site.
    static GameplayObject* site(int type, int dx, int dy) {
        const Vector3 at = in_tile(dx, dy);
        add_gameplay_object(type, at.x, at.y);
        for (GameplayObject* object : get_gameplay_slots(cell(HOME_TILE + dx, HOME_TILE + dy), type))
            if (object && object->x == at.x && object->y == at.y && !object->defence_target) {
                give_site_target(object);
                return object;
            }
        return nullptr;
    }
    // Every AAA and SAM site of the grid gets its ground object and target, as the war zone's
    // sites do at mission start.
    static void give_site_targets() {
        for (GameplayObject& object : gameplay_objects)
            if ((object.type == GAMEPLAY_AAA || object.type == GAMEPLAY_SAM) && !object.defence_target) give_site_target(&object);
    }
    static void give_site_target(GameplayObject* object) {
        const int side = cell(object->x >> 22, object->y >> 22).side & CELL_SIDE_MASK;
        ground_object* record =
            add_dynamic_ground_object(object->x, object->y, object->type == GAMEPLAY_SAM ? (side == SIDE_ENEMY ? ENEMY_SAM_SITE : SAM_SITE) : AAA_SITE, 0, side);
        object->defence_target = new_ground_object_target(record, {object->x, object->y, 0});
    }

    // A route through the points; the waypoint numbered `current` becomes the drone's current one.
    static void route(Drone* d, std::initializer_list<Vector3> points, int current, int current_type = WAYPOINT_TURNING) {
        int i = 0;
        for (const Vector3& p : points) {
            Waypoint* w = append_waypoint(d);
            set_waypoint_position(w, p.x, p.y, p.z);
            if (i++ == current) {
                d->current_waypoint = w;
                set_waypoint_type(w, current_type);
            }
        }
    }
    // An AI aircraft of the type at home facing north at 500 ft, flying north along a route from a
    // tile behind to three ahead with the far end current, its attention three tiles.
    static Drone* flyer(int side, int task_type, int object_number, int current_type = WAYPOINT_TURNING) {
        Drone* d = unit(side, task_type, object_number, ahead(0, 500));
        route(d, {in_tile(0, -1, 500), in_tile(0, 3, 500)}, 1, current_type);
        d->attention_range = 3 * TILE;
        d->speed = 400 * FOOT;
        d->mission_flags |= DRONE_FLAG_MOVING;
        return d;
    }

private:
    int16_t* saved_static[4096];
};

}  // namespace vyr
