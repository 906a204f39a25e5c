// What the theatre layout is built from: each theatre's hand-placed outline of its geography
// (coasts, water, routes, towns, airfields, defence areas, mountain ridges) and the rules that
// clothe it in ground. The layout roughens the outlines, raises the relief and flattens what it uses.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {

// A mountain chain along a line: `height` feet on the crest, falling to nothing `reach` posts off.
struct Ridge {
    std::vector<Point> crest;
    double height;
    double reach;
};

// What the ground rule knows of a cell.
struct CellView {
    Point centre;
    double height;   // feet, the highest of its posts
    double slope;    // feet of rise per foot across the cell
    double water_distance;  // posts to the nearest sea or lake cell
    double noise;    // 0..1, smooth over a few cells
    double patch;    // 0..1, smooth over tens of cells: shifts the borders between regions
};

struct Design {
    bool has_sea;
    std::vector<std::vector<Point>> land;  // coarse outlines
    std::vector<std::vector<Point>> lakes;
    std::vector<Route> rivers, roads, railways;  // coarse lines
    std::vector<Town> towns;
    std::vector<Airfield> airfields;
    std::vector<DefenceArea> defence_areas;
    std::vector<Ridge> ridges;
    double hills;       // feet of rolling ground over open land
    double rise;        // posts over which the relief climbs from a flat
    Ground (*ground)(const CellView& cell);
};

// The five theatres in WAR_ZONES order.
Design theatre_design(int zone);

}  // namespace vyr::vyrgen
