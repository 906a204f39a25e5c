// Each theatre's layout, decided once: coast and sea, lakes, rivers, roads, railways, towns,
// airfields and defence areas, and the relief around them. Every world file of a theatre is
// written from it: the terrain, the features, the ground objects and the missions.
//
// The ground under everything of the layout is flat at exactly height 0 (features, runways and
// ground objects lie at height 0): a cell any of it touches has its four posts at 0, and the
// relief rises from the flats over a few cells. Ground objects belong inside a town, an airfield
// or a defence area, whose cells are all flat.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vyrgen/world/geometry.h"

namespace vyr::vyrgen {

constexpr int POSTS = 257;
constexpr int CELLS = 256;

// What lies on a cell, for its textures and colours.
enum class Ground : uint8_t { SEA, LAKE, FARMLAND, GRASS, FOREST, SAND, ROCK, SNOW, TOWN, AIRFIELD };

// A river, road or railway: a centre line and its width in posts.
struct Route {
    std::vector<Point> line;
    double width;
};

struct Town {
    std::string name;
    Point centre;
    double radius;
};

struct Airfield {
    std::string name;
    Point centre;            // the middle of the runway
    uint32_t heading;        // binary angle of the runway, 0 along +y, growing towards +x
    double runway_length;    // posts
    double runway_width;
    std::vector<Route> taxiways;  // from the runway to the apron
    Point apron;             // the parking area beside the runway, for hangars and aircraft
    int side;                // 1 allied, 2 enemy
};

struct DefenceArea {
    Point centre;
    double radius;
    int side;
};

struct TheatreLayout {
    int zone;  // index into WAR_ZONES
    bool has_sea;
    // Land outlines; where the theatre has a sea, everything outside them is sea.
    std::vector<std::vector<Point>> land;
    std::vector<std::vector<Point>> lakes;
    std::vector<Route> rivers, roads, railways;
    std::vector<Town> towns;
    std::vector<Airfield> airfields;
    std::vector<DefenceArea> defence_areas;

    std::vector<uint16_t> heights;  // feet, post (i, j) at i * POSTS + j
    std::vector<Ground> ground;     // cell (i, j) at i * CELLS + j
    std::vector<bool> flat;         // cell (i, j): held at height 0 because the layout uses it
    std::vector<bool> under_feature;  // cell (i, j): a feature (water, route, runway) covers part of it

    uint16_t height(int i, int j) const { return heights[size_t(i) * POSTS + j]; }
    Ground ground_at(int i, int j) const { return ground[size_t(i) * CELLS + j]; }
    bool is_flat(int i, int j) const { return flat[size_t(i) * CELLS + j]; }
    bool is_under_feature(int i, int j) const { return under_feature[size_t(i) * CELLS + j]; }
    // Sea or lake at a point, also outside the world square (for features beyond its edge).
    bool is_water(Point p) const;
};

// The runway's two ends.
void runway_ends(const Airfield& airfield, Point& first, Point& second);

// The layout of a war zone, built on first use.
const TheatreLayout& theatre_layout(int zone);

}  // namespace vyr::vyrgen
