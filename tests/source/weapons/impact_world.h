// The round world with what impacts and hits need besides: ground objects in one tile's dynamic
// list, surface kinds laid over whole tiles, and the player's drone with a route.
#pragma once

#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/weapons/launch.h"
#include "tests/source/weapons/round_world.h"

namespace vyr {

constexpr int32_t TILE = 1 << 22;
constexpr int32_t CENTRE = 1 << 27;
constexpr int CENTRE_TILE = (CENTRE / TILE) * 64 + CENTRE / TILE;

template <class Base>
class ImpactWorldOn : public RoundWorldOn<Base> {
protected:
    using World = RoundWorldOn<Base>;
    using World::drone_at;
    using World::dynamic;
    using World::pose_at;

    void SetUp() override {
        World::SetUp();
        if (this->IsSkipped()) return;
        std::memset(feature_layer, 0, sizeof feature_layer);
        std::memset(super_layer, 0, sizeof super_layer);
    }
    void TearDown() override {
        std::memset(feature_layer, 0, sizeof feature_layer);
        user_task = nullptr;
        World::TearDown();
    }

    // A round of the weapon flying north from the point, live, shot by the drone's target.
    static WeaponRound* fire(int weapon_id, const Vector3& from, Drone* shooter) {
        return activate_round(launch_unguided_round(weapon_id, pose_at(from), &shooter->target, shooter));
    }

    // The whole tile holding the point is of the surface kind.
    void lay_surface(const Vector3& p, int kind) {
        surfaces.push_back({4, 0, 16, 128, 128, 16, 128, 144, 16, 144, 144, 16, 144, 128, 1, 0, 2, uint8_t(kind), 4, 9, 0, 1, 2, 3});
        entries.push_back({surfaces.back().data(), surfaces.back().data() + 14, nullptr});
        feature_layer[p.x / TILE][p.y / TILE] = &entries.back();
    }

    // Ground objects of the types at the points (feet within the centre tile).
    void place_objects(const std::vector<std::pair<int, Vector3>>& objects) {
        objects_list.assign(1 + 6 * objects.size(), 0);
        objects_list[0] = int16_t(objects.size());
        ground_object* records = ground_object_records(objects_list.data());
        for (size_t i = 0; i < objects.size(); ++i) {
            const Vector3& p = objects[i].second;
            records[i] = {uint16_t(objects[i].first), uint16_t((p.x - CENTRE) / FOOT), uint16_t((p.y - CENTRE) / FOOT), 0,
                          0, 0};
        }
        dynamic[CENTRE_TILE] = objects_list.data();
    }
    ground_object* object(int i) { return ground_object_records(objects_list.data()) + i; }
    Vector3 object_position(int i) { return ground_object_position(CENTRE_TILE, *object(i)); }
    int object_damage(int i) { return (object(i)->flags >> GROUND_DAMAGE_SHIFT) & 0xFF; }

    // The player's drone, first of the player's task, with a route of waypoints of the types at
    // the points.
    Drone* player_with_route(const std::vector<std::pair<int, Vector3>>& route) {
        user_drone = drone_at({CENTRE, CENTRE - 5000 * FOOT, 1000 * FOOT});
        unlink_mobile_object(&user_drone->object);
        waypoints.assign(route.size(), Waypoint{});
        for (size_t i = 0; i < route.size(); ++i) {
            waypoints[i].type = route[i].first;
            waypoints[i].x = route[i].second.x;
            waypoints[i].y = route[i].second.y;
            waypoints[i].next = i + 1 < route.size() ? &waypoints[i + 1] : nullptr;
        }
        user_drone->first_waypoint = waypoints.empty() ? nullptr : &waypoints[0];
        task = Task{};
        task.first_drone = user_drone;
        user_drone->task = &task;
        user_task = &task;
        return user_drone;
    }

    std::deque<std::vector<uint8_t>> surfaces;
    std::deque<FeatureEntry> entries;
    std::vector<int16_t> objects_list;
    std::vector<Waypoint> waypoints;
    Task task{};
};

using ImpactWorld = ImpactWorldOn<ScratchDirectories>;

}  // namespace vyr
