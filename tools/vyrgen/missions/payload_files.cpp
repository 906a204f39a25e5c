#include "tools/vyrgen/missions/payload_files.h"

#include <string>

namespace vyr::vyrgen {

namespace {

constexpr int HARDPOINTS = 11;
constexpr int STORES = 26;

// The hardpoints' highlight centres on the payload screen, left wing outwards in, right wing
// outwards in, the pod places and the centre line.
constexpr int CENTRES[HARDPOINTS][2] = {{47, 261},  {84, 271},  {123, 265}, {173, 263}, {243, 215}, {424, 299},
                                        {394, 298}, {360, 287}, {315, 277}, {285, 222}, {245, 285}};

// Store columns: 0 gun pod, 1 AIM-9, 2 AMRAAM, 3-4 rockets, 5-6 Mavericks, 7 runway bomb, 8 HARM,
// 9-19 bombs, 20 ECM pod, 21-22 the targeting pair, 23 recon pod, 24 centre tank, 25 wing tank.
constexpr int ALLOWED[HARDPOINTS][STORES] = {
    // wing tips: air-to-air only
    {0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    // outer: missiles, rockets, Mavericks, light bombs
    {0, 1, 1, 2, 2, 3, 3, 0, 1, 6, 6, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    // middle: bombs in racks, the ECM pod
    {0, 0, 1, 2, 2, 3, 3, 2, 1, 6, 6, 2, 3, 3, 1, 1, 1, 1, 4, 4, 1, 0, 0, 0, 0, 0},
    // inner: heavy stores and the wing tanks
    {0, 0, 0, 0, 0, 3, 3, 2, 0, 6, 6, 2, 3, 3, 1, 1, 1, 1, 4, 4, 0, 0, 0, 0, 0, 1},
    // the left pod's place
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0},
};
// Right wing from the left: hardpoint n + 5 mirrors n; 10 is the centre line.
constexpr int CENTRE_LINE[STORES] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 3, 3, 0, 1, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0};
constexpr int RIGHT_POD[STORES] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
// Some full loads are over the limit: six MK-82s (3000 lb) on the outer hardpoints.
constexpr int LIMITS[HARDPOINTS] = {400, 2500, 4500, 5000, 600, 400, 2500, 4500, 5000, 600, 3000};
constexpr int MAX_WEAPONS[HARDPOINTS] = {1, 6, 6, 6, 1, 1, 6, 6, 6, 1, 3};

struct Store {
    int weight;
    const char* description;
    const char* short_name;
    int salvo;
};
constexpr Store STORES_TABLE[STORES] = {
    {1900, "GEPOD 30mm Gun Pod", "GUN POD", 1},
    {190, "AIM-9M Sidewinder", "AIM-9M", 1},
    {350, "AIM-120 AMRAAM Medium Range Missile", "AMRAAM", 1},
    {500, "M151 HE Rocket Pod", "M151", 1},
    {620, "M247 AT Rocket Pod", "M247", 1},
    {670, "AGM-65E Laser Maverick", "AGM-65E", 1},
    {670, "AGM-65G IR Maverick", "AGM-65G", 1},
    {1000, "CBU-15 Runway Denial", "CBU-15", 1},
    {800, "AGM-88A HARM Anti Radar", "AGM-88A", 1},
    {500, "MK-82 500 lb General", "MK-82", 1},
    {560, "MK-82 Retarded Bomb", "MK82 RET", 1},
    {610, "GBU-12 Laser Guided 500 lb Bomb", "GBU-12", 1},
    {1000, "MK-83 1000 lb Bomb", "MK-83", 1},
    {1050, "MK-83 Retarded Bomb", "MK83 RET", 1},
    {1100, "GBU-16 Laser Guided 1000 lb Bomb", "GBU-16", 1},
    {2000, "MK-84 2000 lb Bomb", "MK-84", 1},
    {2050, "MK-84 Retarded Bomb", "MK84 RET", 1},
    {2100, "GBU-10 Laser Guided 2000 lb Bomb", "GBU-10", 1},
    {950, "CBU-87B Combined Effects", "CBU-87B", 2},
    {700, "CBU-89B Gator Mines", "CBU-89B", 2},
    {570, "ALQ-131 ECM Pod", "ECM POD", 1},
    {450, "Navigation Pod", "NAV POD", 1},
    {530, "Targeting Pod", "TGT POD", 1},
    {900, "Reconnaissance Pod", "RECON", 1},
    {2104, "300 Gallon Centre Tank", "C TANK", 1},
    {1295, "370 Gallon Wing Tank", "W TANK", 1},
};

std::vector<uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

int allowed(int hardpoint, int store) {
    if (hardpoint == 10) return CENTRE_LINE[store];
    if (hardpoint == 9) return RIGHT_POD[store];
    return ALLOWED[hardpoint % 5][store];
}

std::string pylon_file() {
    std::string text = ":PylonFile\n:Comment the payload hardpoints\n";
    for (int h = 0; h < HARDPOINTS; ++h) {
        const int reflection = h == 10 ? 0 : h < 5 ? h + 6 : h - 4;
        text += "\n:PylonId " + std::to_string(h + 1) + "\n:PylonWpnsQty 0\n:PylonX " +
                std::to_string(CENTRES[h][0] - 8) + "\n:PylonY " + std::to_string(CENTRES[h][1] - 20) +
                "\n:PylonMaxWpns " + std::to_string(MAX_WEAPONS[h]) + "\n:PylonReflection " +
                std::to_string(reflection) + "\n:PylonWpnSet";
        for (int s = 0; s < STORES; ++s) text += " " + std::to_string(allowed(h, s));
        text += "\n:PylonWgtLmt " + std::to_string(LIMITS[h]) + "\n:PylonActWgt 0\n:PylonSalvoSize 0\n";
    }
    text += "\n:MultiWpnsPosns\n4\n3 5\n3 4 5\n0 2 6 8\n0 2 4 6 8\n0 1 2 6 7 8\n:EndFile\n";
    return text;
}

std::string weapon_file() {
    std::string text = ":WpnFile\n:Comment the stores\n";
    for (int s = 0; s < STORES; ++s) {
        const Store& store = STORES_TABLE[s];
        text += "\n:WpnId " + std::to_string(s) + "\n:WpnWeight " + std::to_string(store.weight) +
                "\n:WpnDescription <" + store.description + ">\n:WpnShortDesc <" + store.short_name +
                ">\n:WpnSalvoSize " + std::to_string(store.salvo) + "\n";
    }
    return text + ":EndFile\n";
}

}  // namespace

std::vector<DataFile> payload_files() {
    return {{"menuscrn/pylon.dat", bytes(pylon_file())}, {"menuscrn/wpn.dat", bytes(weapon_file())}};
}

}  // namespace vyr::vyrgen
