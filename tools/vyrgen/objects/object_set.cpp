#include "tools/vyrgen/objects/object_set.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <set>
#include <tuple>

#include "tools/vyrgen/objects/shapes.h"
#include "tools/vyrgen/objects/textures.h"

namespace vyr::vyrgen {

namespace {

struct CatalogueRow {
    int32_t number;
    Shape shape;
};

// Every object number the game names (object types, weapons, drone parts, pylons and sensors)
// and the shape it is drawn as.
const CatalogueRow CATALOGUE[] = {
    {1, Shape::SPHERE_TANK},  // Bulk Fuel Store (FuelStore)
    {3, Shape::ATTACK_JET},  // A10 Thunderbolt (A10)
    {4, Shape::COOLING_TOWER},  // Cooling Tower (CoolTower)
    {7, Shape::TRACER},  // Tracer round (Tracer)
    {9, Shape::MISSILE},  // AIM 9L Sidewinder (AIM 9L)
    {11, Shape::CRATER},  // Crater
    {13, Shape::TREE},  // Trees (A) (Trees)
    {16, Shape::TOWER_BLOCK},  // Tower Block (Building)
    {18, Shape::BUNKER},  // Bunker
    {19, Shape::TREE},  // Trees (C) (Trees)
    {24, Shape::MISSILE},  // Hellfire Missile (Hellfire)
    {25, Shape::SCRUB},  // Vegetation (Plants)
    {28, Shape::SCRUB},  // Scrubb
    {31, Shape::WATER_TOWER},  // Military Water Tower (WaterTower)
    {34, Shape::TRANSPORT},  // C130 Hercules
    {38, Shape::BARRACKS},  // Barracks
    {41, Shape::CRATER},  // Crater (static size 1) (Crater)
    {43, Shape::SHELTER},  // Hardened Aircraft Shelter (Hangar)
    {46, Shape::RADAR_SITE},  // Early Warning Radar (EWR)
    {49, Shape::SHELTER},  // Hardened Aircraft Shelter (Hangar)
    {52, Shape::BUILDING},  // Railway Station (RailStn)
    {54, Shape::APC},  // BMP2 (APC) (BMP2(APC))
    {57, Shape::SPHERE_TANK},  // Spherical POL Tank (POL Tank)
    {60, Shape::BUILDING},  // Village Street (Street)
    {62, Shape::CRATER},  // Crater (mobile cannon) (Crater)
    {64, Shape::ATTACK_HELICOPTER},  // AH64C Skerel (AH64C)
    {68, Shape::TANK},  // Challenger (MBT) (Challnger)
    {71, Shape::ROCKET_LAUNCHER},  // MAZ543 (SCUD) (MAZ(SCUD))
    {74, Shape::ROCKET_LAUNCHER},  // MLRS
    {77, Shape::RADAR_VEHICLE},  // Giraffe Mobile Radar (Giraffe)
    {80, Shape::SAM_VEHICLE},  // Patriot Launcher (Patriot)
    {84, Shape::SAM_VEHICLE},  // SA8 Romb 'Gecko' (SA8(SAM))
    {87, Shape::SAM_VEHICLE},  // SA13 Strela 10 'Gopher' (SA13(SAM))
    {90, Shape::TANK},  // T62 (MBT) (T62(MBT))
    {93, Shape::TANK},  // T80 (MBT) (T80(MBT))
    {96, Shape::APC},  // Warrior (APC) (Warrior)
    {99, Shape::AAA_VEHICLE},  // ZSU23 Shilka (AAA) (ZSU23(AAA))
    {100, Shape::AAA_VEHICLE},  // ZSU23 Shilka (AAA) (ZSU23(AAA))
    {102, Shape::SCRUB},  // Scrubb
    {103, Shape::ATTACK_HELICOPTER},  // AH64D Skerel Tarnvel (AH64D)
    {104, Shape::ROTOR},  // AH64D Skerel Tarnvel (RotorBlades)
    {105, Shape::BUILDING},  // Communications Centre (CommsCntr)
    {108, Shape::STORAGE_TANKS},  // Cylindrical Storage Tanks (StoreTank)
    {111, Shape::RADAR_SITE},  // Early Warning Radar (EWR)
    {114, Shape::STORAGE_TANKS},  // Oil Storage Tanks (StoreTank)
    {115, Shape::BUILDING},  // Hotel
    {116, Shape::BUILDING},  // Petrol Station (GasStn)
    {119, Shape::STACK},  // Industrial Stacks (Stacks)
    {121, Shape::TOWER_BLOCK},  // Office block (Offices)
    {123, Shape::MAST},  // TV Mast
    {125, Shape::ROAD_MARK},  // Road (EW) (Road)
    {127, Shape::ROAD_MARK},  // Road (NS) (Road)
    {130, Shape::CARRIER},  // LHA Tarawa
    {133, Shape::MISSILE},  // Stinger Missile (Stinger)
    {134, Shape::BUILDING},  // Village
    {138, Shape::MISSILE},  // Hydra Missile (Hydra)
    {141, Shape::TREE},  // Trees (D) (Trees)
    {144, Shape::TREE},  // Trees (B) (Trees)
    {150, Shape::MOSQUE},  // Large Mosque (Mosque)
    {151, Shape::BUILDING},  // Houses
    {153, Shape::BUILDING},  // Arabic Town Building (Building)
    {154, Shape::BUILDING},  // Arabic Town Building (2) (Building)
    {155, Shape::BUILDING},  // Arabic Town Building (3) (Building)
    {156, Shape::BUILDING},  // Building
    {157, Shape::BUILDING},  // (Generic 2) Building (Building)
    {158, Shape::BUILDING},  // (Generic 3) Building (Building)
    {159, Shape::BUILDING},  // (Generic 4) Building (Building)
    {160, Shape::BUILDING},  // (Generic 5) Building (Building)
    {161, Shape::BUILDING},  // (Generic 6) Building (Building)
    {162, Shape::BUILDING},  // (Generic 7) Building (Building)
    {163, Shape::BUILDING},  // (Generic 8) Building (Building)
    {164, Shape::BUILDING},  // (Generic 9) Building (Building)
    {165, Shape::BUILDING},  // (Generic 10) Building (Building)
    {166, Shape::BUILDING},  // (Generic 11) Building (Building)
    {167, Shape::BUILDING},  // (Generic 12) Building (Building)
    {168, Shape::BUILDING},  // (Generic 13) Building (Building)
    {185, Shape::BUILDING},  // (Generic 14) Building (Building)
    {186, Shape::BUILDING},  // (Generic 15) Building (Building)
    {187, Shape::BUILDING},  // (Generic 16) Building (Building)
    {188, Shape::BUILDING},  // (Generic 17) Building (Building)
    {192, Shape::BUILDING},  // Warehouse
    {194, Shape::CARRIER_ISLAND},  // LHA Tarawa (!!Thing!!)
    {195, Shape::CRATER},  // Crater (mobile size 2) (Crater)
    {197, Shape::CRATER},  // Crater (mobile size 3) (Crater)
    {201, Shape::APC},  // BRDM2 (APC) (BRDM2(APC))
    {203, Shape::SAM_VEHICLE},  // SA9 Strela 1 'Gaskin' (SA9(SAM))
    {204, Shape::ARTILLERY},  // D30 Howitzer (D30)
    {205, Shape::DUG_IN},  // D30 Howitzer (Dug-in) (D30)
    {206, Shape::ARTILLERY},  // Coastal Gun Emplacement (CoastalGun)
    {207, Shape::ROCKET_LAUNCHER},  // Silkworm Launcher (Silkworm)
    {208, Shape::APC},  // M113 (APC) (M113(APC))
    {211, Shape::AAA_VEHICLE},  // M163 Vulcan (M163(AAA))
    {214, Shape::BREASTWORK},  // Breastwork (Earthworks)
    {215, Shape::BRIDGE},  // Road Bridge (Bridge)
    {216, Shape::TRUCK},  // Truck (Civilian) (Truck)
    {219, Shape::TRUCK},  // Truck (Military) (Truck)
    {222, Shape::ATTACK_HELICOPTER},  // MI 24 Vorn (MI24 Vorn)
    {225, Shape::FIGHTER},  // F15 Eagle (F15)
    {228, Shape::STRIKE_JET},  // MIG 27 Flogger (MIG27)
    {231, Shape::FIGHTER},  // Vyr Hovren Talsweep (Vyr)
    {234, Shape::FIGHTER},  // MIG 29 Fulcrum (MIG29)
    {237, Shape::ATTACK_JET},  // SU 25 Frogfoot (SU25)
    {240, Shape::DUG_IN},  // T62 (MBT) Dug-in (T62(MBT))
    {243, Shape::FUEL_BLADDER},  // Fuel Bladder (FuelBldr)
    {244, Shape::TANK},  // M1A1 Abrams (MBT) (M1A1(MBT))
    {252, Shape::HUT},  // Portakabin (Hut)
    {253, Shape::SUBMARINE},  // Romeo class Submarine (RomeoSub)
    {256, Shape::APC},  // BRDM2 with SAGGER (APC) (BDRM2(SAG))
    {257, Shape::CRATER},  // Crater (mobile size 2) (Crater)
    {264, Shape::HANGAR},  // Hangar
    {267, Shape::HANGAR},  // Hangar
    {270, Shape::CONTROL_TOWER},  // Control Tower  (CntrlTwr)
    {273, Shape::BARRACKS},  // Barracks
    {276, Shape::BUNKER},  // Bunker (Large) (Bunker)
    {279, Shape::RUNWAY_MARK},  // Runway Markings 36 (RunMarks)
    {283, Shape::RUNWAY_MARK},  // Runway Markings 18 (RunMarks)
    {287, Shape::RUNWAY_MARK},  // Runway Markings 09 (RunMarks)
    {291, Shape::RUNWAY_MARK},  // Runway Markings 27 (RunMarks)
    {295, Shape::RUNWAY_MARK},  // Runway Stripes (NS) (RunStrp)
    {297, Shape::RUNWAY_MARK},  // Runway Stripes (EW) (RunStrp)
    {299, Shape::ARTILLERY},  // M109 Self Propelled Howitzer (M109(SPH))
    {304, Shape::TRANSPORT_HELICOPTER},  // UH60 Blackhawk (!!Thing!!)
    {305, Shape::CONTROL_TOWER},  // Control Tower  (CntrlTwr)
    {307, Shape::TRANSPORT_HELICOPTER},  // UH60 Blackhawk (UH60)
    {310, Shape::TRANSPORT_HELICOPTER},  // UH60 Blackhawk (!!Thing!!)
    {312, Shape::PALLETS},  // Supply Pallets (Pallets)
    {313, Shape::TRANSPORT_HELICOPTER},  // UH60 Blackhawk (!!Thing!!)
    {316, Shape::PATROL_BOAT},  // OSA Missile Boat (OSA MB)
    {320, Shape::FRIGATE},  // Frigate (OHP Class) (Frigate)
    {328, Shape::RADAR_TOWER},  // Airfield Radar Tower (RadarTwr)
    {331, Shape::BUILDING},  // Oil Pumping Station (OilPumpStn)
    {332, Shape::BUILDING},  // Airport Terminal Building (Airport)
    {334, Shape::TENT},  // Tent
    {341, Shape::BRIDGE},  // Bridge Road Piled (Bridge)
    {345, Shape::TRACER},  // AAA Tracer round (AAA Tracer)
    {347, Shape::PATROL_BOAT},  // Mine Layer (MineLayer)
    {350, Shape::BUILDING},  // City Block (Building)
    {351, Shape::BUILDING},  // City Block (2) (Building)
    {352, Shape::BUILDING},  // City Block (3) (Building)
    {353, Shape::BUILDING},  // City Block (4) (Building)
    {354, Shape::BUILDING},  // City Block (5) (Building)
    {355, Shape::BUILDING},  // City Block (7) (Building)
    {356, Shape::BUILDING},  // City Block (9) (Building)
    {357, Shape::BUILDING},  // City Block (10) (Building)
    {358, Shape::BUILDING},  // City Block (11) (Building)
    {359, Shape::BUILDING},  // City Block (12) (Building)
    {360, Shape::BUILDING},  // City Block (13) (Building)
    {361, Shape::BUILDING},  // City Block (14) (Building)
    {362, Shape::BUILDING},  // City Block (15) (Building)
    {363, Shape::BUILDING},  // City Block (16) (Building)
    {364, Shape::BUILDING},  // City Block (17) (Building)
    {365, Shape::BUILDING},  // City Block (18) (Building)
    {366, Shape::BUILDING},  // City Block (19) (Building)
    {367, Shape::BUILDING},  // City Block (20) (Building)
    {368, Shape::BUILDING},  // City Block (21) (Building)
    {369, Shape::BUILDING},  // City Block (21) (Building)
    {370, Shape::TOWER_BLOCK},  // City Tower (1) (Building)
    {373, Shape::CONTROL_TOWER},  // Control Tower  (CntrlTwr)
    {374, Shape::BUILDING},  // City Block (NS) (Building)
    {375, Shape::BUILDING},  // City Block (EW) (Building)
    {376, Shape::BUILDING},  // City Block (TN) (Building)
    {377, Shape::BUILDING},  // City Block (TW) (Building)
    {378, Shape::BUILDING},  // City Block (TE) (Building)
    {379, Shape::BUILDING},  // City Block (TS) (Building)
    {380, Shape::BUILDING},  // City Block (CSW) (Building)
    {381, Shape::BUILDING},  // City Block (CNE) (Building)
    {382, Shape::BUILDING},  // City Block (CNW) (Building)
    {383, Shape::BUILDING},  // City Block (CSE) (Building)
    {384, Shape::SPLASH},  // Splash
    {385, Shape::SPLASH},  // Heave
    {387, Shape::FLOODLIGHT},  // Floodlight Tower (Floodlight)
    {390, Shape::WELLHEAD},  // Oil Well Head (WellHead)
    {392, Shape::SHELTER},  // Hardened Aircraft Shelter (Hangar)
    {395, Shape::BUILDING},  // Munitions Store (Store)
    {398, Shape::TRUCK},  // Fuel Bowser (FuelBowser)
    {401, Shape::PATROL_BOAT},  // Mine Sweeper (MineSwpr)
    {405, Shape::PATROL_BOAT},  // Mine Sweeper (!!Thing!!)
    {408, Shape::TOWER_BLOCK},  // Tower Block (Building)
    {412, Shape::TOWER_BLOCK},  // Tower Block (XForm) (Building)
    {415, Shape::CARRIER},  // LHA Tarawa (!!Thing!!)
    {416, Shape::BARGE},  // Military Supply Barge (Barge)
    {419, Shape::BARGE},  // Civilian Supply Barge (Barge)
    {422, Shape::CAR},  // Car
    {426, Shape::TRUCK},  // Truck (Civilian) (Truck)
    {429, Shape::SHIP_GUN},  // Mk 45 5 Gun (!!Thing!!)
    {430, Shape::DECK_SPOT},  // Helicopter Deck Spot (!!Thing!!)
    {431, Shape::DECK_SPOT},  // Helicopter Deck Spot (!!Thing!!)
    {432, Shape::LANDING_CRAFT},  // Landing Craft (!!Thing!!)
    {433, Shape::SHIP_GUN},  // Vulcan Phalanx (!!Thing!!)
    {434, Shape::CRANE},  // Tarawa Deck Crane (!!Thing!!)
    {439, Shape::LIFEBOAT},  // Lifeboat (!!Thing!!)
    {440, Shape::BRIDGE},  // Bridge
    {441, Shape::EMBANKMENT},  // Road Embankment (Bridge)
    {442, Shape::EMBANKMENT},  // Road Incline (Bridge)
    {443, Shape::BRIDGE},  // Bridge
    {445, Shape::STACK},  // Smokestack (Tall) (SmokeStk)
    {446, Shape::BUILDING},  // Power Station Turbine Hall (PowerStn)
    {447, Shape::TENT},  // Tent
    {450, Shape::AAA_VEHICLE},  // GDF SPAAG (GDF (AAA))
    {453, Shape::FIGHTER},  // F18 Hornet (F18)
    {456, Shape::TANK},  // Leopard (MBT) (Leopard)
    {460, Shape::BRIDGE},  // Leopard Biber Bridgelayer (LeopLayer)
    {464, Shape::ENGINEER_TANK},  // Leopard AEV/ARV (LeopAEV)
    {469, Shape::SAM_VEHICLE},  // Tracked Rapier (SAM) (Rapier)
    {472, Shape::FUEL_BLADDER},  // Fuel Bladders (Fuel)
    {473, Shape::PALLETS},  // Supply Pallets (Pallets)
    {476, Shape::HANGAR},  // Hangar  (Hangar)
    {477, Shape::FLARE},  // Flare round (Flare)
    {478, Shape::CHAFF},  // Chaff round (Chaff)
    {480, Shape::BRIDGE},  // Railway Bridge (Bridge)
    {481, Shape::BRIDGE},  // Railway Bridge (Bridge)
    {482, Shape::EMBANKMENT},  // Railway Incline (Bridge)
    {483, Shape::EMBANKMENT},  // Railway Incline (Bridge)
    {484, Shape::SUBMARINE},  // Submarine (Type 209) (Sub T209)
    {489, Shape::FRIGATE},  // Meko 200 Class Frigate (Frigate)
    {494, Shape::SHIP_PART},  // Meko 200 Class Frigate (Frigate Super)
    {495, Shape::PLUME},  // S5 motor
    {496, Shape::APC},  // MT LBUS Jamming Vehicle (MTLBUS)
    {499, Shape::SHIP_PART},  // Meko 200 Class Frigate (Frigate Bow)
    {500, Shape::PLUME},  // 9M114 motor
    {501, Shape::PLUME},  // AGM-65E motor
    {503, Shape::SHIP_GUN},  // OTO Melara 76mm (!!Thing!!)
    {504, Shape::UAV},  // Unmanned Aircraft (Drone)
    {505, Shape::RUNWAY_MARK},  // Disused Runway (Runway)
    {506, Shape::PLUME},  // AGM-114A motor
    {507, Shape::ATTACK_HELICOPTER},  // AH1W SuperCobra (SuperCobra)
    {514, Shape::PATROL_BOAT},  // Patrol Boat (P-Boat)
    {515, Shape::SHIP_GUN},  // Oerlikon Twin Gun Mount (!!Thing!!)
    {516, Shape::TUG},  // Tug
    {519, Shape::BUILDING},  // Fort
    {523, Shape::LOCOMOTIVE},  // Diesel Locomotive (Loco)
    {526, Shape::RADAR_VEHICLE},  // Long Track Mobile EWR (LongTrack)
    {530, Shape::MISSILE},  // SA8 SAM Missile (SA8 SAM)
    {532, Shape::APC},  // MT LBU Command APC (MTLBU(APC))
    {556, Shape::RAIL_TANKER},  // Rail Tanker (Train)
    {559, Shape::RAIL_FLATCAR},  // Rail Tank Transporter (Train)
    {562, Shape::RAIL_WAGON},  // Rail Wagon (Train)
    {565, Shape::LIFEBOAT},  // Lifeboat
    {568, Shape::DERRICK},  // Derrick (50ft Jib) (Derrick)
    {571, Shape::CARGO_SHIP},  // Cargo Ship (CargoShip)
    {574, Shape::TANKER_SHIP},  // Oil Tanker (OilTanker)
    {577, Shape::FIGHTER},  // F14a Tomcat (F14)
    {607, Shape::ATTACK_HELICOPTER},  // MI 24 Vorn (MI24)
    {614, Shape::ROTOR},  // MI 24 main rotor
    {619, Shape::ROCKET_POD},  // S8 pod
    {620, Shape::TAIL_ROTOR},  // MI 24 tail rotor
    {639, Shape::PYLON},  // Pylon
    {640, Shape::SOLDIER},  // Infantry
    {668, Shape::BOMB},  // FAB500 Bomb (FAB500)
    {669, Shape::BOMB},  // FAB250 Bomb (FAB250)
    {670, Shape::MISSILE},  // R60 Missile (R60)
    {672, Shape::PLUME},  // M47 Dragon motor
    {673, Shape::BOMB},  // ZAB500 Bomb (ZAB500)
    {674, Shape::BOMB},  // OFAB250 Bomb (OFAB250)
    {675, Shape::ROCKET},  // S5 57MM Rocket (S5)
    {676, Shape::ROCKET},  // S8 80MM Rocket (S8)
    {678, Shape::MOSQUE},  // Afghan Mosque (Mosque)
    {679, Shape::MOSQUE},  // Afghan Mosque (Mosque)
    {680, Shape::HOUSE},  // Afghan house (house)
    {681, Shape::HOUSE},  // Afghan house (house)
    {682, Shape::HOUSE},  // Afghan house (house)
    {683, Shape::BUILDING},  // Caravanserai (Caravan)
    {686, Shape::TRANSPORT_HELICOPTER},  // MI 17 Hip H (MI17 Hip H)
    {687, Shape::TRANSPORT_HELICOPTER},  // Mi17 Hip (Mi17)
    {688, Shape::TRANSPORT_HELICOPTER},  // Mi17 Hip (Mi17)
    {689, Shape::TRANSPORT_HELICOPTER},  // Mi17 Hip (Mi17)
    {690, Shape::TRANSPORT_HELICOPTER},  // Mi17 Hip (Mi17)
    {691, Shape::TRANSPORT_HELICOPTER},  // Mi17 Hip (Mi17)
    {692, Shape::TRANSPORT_HELICOPTER},  // Mi17 Hip (Mi17)
    {693, Shape::TRANSPORT_HELICOPTER},  // Mi17 Hip (Mi17)
    {694, Shape::TRANSPORT_HELICOPTER},  // Mi17 Hip (Mi17)
    {695, Shape::TRANSPORT_HELICOPTER},  // Mi17 Hip (Mi17)
    {696, Shape::HOUSE},  // Afghan house (house)
    {707, Shape::SOLDIER_ITEM},  // Launcher tube
    {708, Shape::HOUSE},  // Afghan house (house)
    {710, Shape::HOUSE},  // Afghan house (house)
    {712, Shape::HOUSE},  // Afghan house (house)
    {714, Shape::HOUSE},  // Afghan house (house)
    {716, Shape::HOUSE},  // Afghan house (house)
    {718, Shape::HOUSE},  // Afghan house (house)
    {720, Shape::HOUSE},  // Afghan house (house)
    {722, Shape::TENT},  // Yurt tent (Tent)
    {723, Shape::MISSILE},  // Spiral ATGM
    {741, Shape::MINE},  // PFM 1 AP Mine (Mine)
    {743, Shape::SOLDIER},  // Infantry
    {769, Shape::BUILDING},  // Building
    {772, Shape::BUILDING},  // Building
    {775, Shape::BUILDING},  // Building
    {778, Shape::BUILDING},  // Building
    {781, Shape::BUILDING},  // Industrial Building (Shed)
    {782, Shape::STACK},  // Stack
    {787, Shape::SOLDIER_ITEM},  // Rifle
    {790, Shape::MISSILE},  // SA7 Portable SAM (SA7)
    {792, Shape::ARTILLERY},  // Mortar
    {797, Shape::BUILDING},  // Building
    {798, Shape::BUILDING},  // Building
    {799, Shape::BUILDING},  // Building
    {800, Shape::BUILDING},  // Building
    {801, Shape::BUILDING},  // Building
    {802, Shape::BUILDING},  // Building
    {803, Shape::BUILDING},  // Building
    {804, Shape::BUILDING},  // Building
    {805, Shape::BUILDING},  // Building
    {806, Shape::BUILDING},  // Building
    {807, Shape::BUILDING},  // Building
    {808, Shape::BUILDING},  // Building
    {809, Shape::BUILDING},  // Building
    {810, Shape::BUILDING},  // Building
    {811, Shape::BUILDING},  // Building
    {812, Shape::BUILDING},  // Building
    {813, Shape::BUILDING},  // Building
    {814, Shape::BUILDING},  // Building
    {815, Shape::BUILDING},  // Building
    {816, Shape::BUILDING},  // Building
    {817, Shape::BUILDING},  // Government Building (HQ)
    {819, Shape::BUILDING},  // Building
    {820, Shape::BUILDING},  // Building
    {821, Shape::BUILDING},  // Building
    {822, Shape::BUILDING},  // Building
    {823, Shape::BUILDING},  // Building
    {824, Shape::BUILDING},  // Building
    {825, Shape::BUILDING},  // Building
    {826, Shape::BUILDING},  // Building
    {827, Shape::BUILDING},  // Building
    {828, Shape::BUILDING},  // Building
    {829, Shape::BUILDING},  // Industrial Building (Building)
    {832, Shape::BUILDING},  // Coal Washery (Washery)
    {833, Shape::CONVEYOR},  // Coal Conveyor (Conveyr)
    {834, Shape::CONVEYOR},  // Coal Conveyor (Conveyr)
    {838, Shape::CONVEYOR},  // Coal Conveyor (Conveyr)
    {841, Shape::SILO},  // Grain Silo (Silo)
    {844, Shape::CONVEYOR},  // Grain Conveyor (Conveyr)
    {847, Shape::CONVEYOR},  // Grain Conveyor (Conveyr)
    {849, Shape::CONVEYOR},  // Grain Conveyor (Conveyr)
    {852, Shape::ARTILLERY},  // DSHK Heavy Machine Gun (DSHK HMG)
    {858, Shape::GEAR_SET},  // SU 25 gear
    {859, Shape::ROTOR},  // MI 24 rotor
    {862, Shape::AAA_TURRET},  // ZSU23 turret
    {869, Shape::SOLDIER_ITEM},  // Rifle
    {870, Shape::SOLDIER_ITEM},  // Pack
    {871, Shape::MISSILE},  // PG7 Rocket Grenade (PG7)
    {872, Shape::PLUME},  // PG7 rocket motor
    {874, Shape::BUILDING},  // Industrial Building (Building)
    {879, Shape::BUILDING},  // Industrial Building (Building)
    {880, Shape::BUILDING},  // Industrial Building (Building)
    {881, Shape::BUILDING},  // Industrial Building (Building)
    {882, Shape::BUILDING},  // Industrial Building (Building)
    {883, Shape::BUILDING},  // Industrial Building (Building)
    {884, Shape::BUILDING},  // Industrial Building (Building)
    {885, Shape::BUILDING},  // Industrial Building (Building)
    {886, Shape::BUILDING},  // Industrial Building (Building)
    {887, Shape::BUILDING},  // Industrial Building (Building)
    {888, Shape::BUILDING},  // Industrial Building (Building)
    {889, Shape::BUILDING},  // Industrial Building (Building)
    {890, Shape::COAL_HEAP},  // Coal
    {893, Shape::HANGAR},  // Hangar
    {896, Shape::BARRACKS},  // Barracks
    {899, Shape::CONTROL_TOWER},  // Small Control Tower (Control Tower)
    {901, Shape::CONTROL_TOWER},  // Control Tower
    {904, Shape::HANGAR},  // Large Hangar (Hangar)
    {906, Shape::BLAST_WALL},  // Blast Wall (NS) (Blastwall)
    {908, Shape::BLAST_WALL},  // Blast Wall (EW) (Blastwall)
    {912, Shape::JEEP},  // UAZ Jeep
    {916, Shape::SOLDIER},  // Infantry
    {917, Shape::SOLDIER},  // Infantry
    {918, Shape::SOLDIER},  // Infantry
    {919, Shape::SOLDIER},  // Infantry
    {920, Shape::SOLDIER},  // Infantry
    {921, Shape::SOLDIER},  // Infantry
    {924, Shape::JEEP},  // HMMWV Vehicle (HMMWV)
    {929, Shape::SOLDIER_ITEM},  // Launcher tube
    {932, Shape::TRANSPORT},  // Antonov AN 12BP CUB A (AN12)
    {935, Shape::TRANSPORT},  // An12 Cub (An12)
    {938, Shape::TRANSPORT},  // An12 Cub (An12)
    {941, Shape::TRANSPORT},  // An12 Cub (An12)
    {944, Shape::GEAR_SET},  // AN12 gear doors
    {947, Shape::GEAR_SET},  // AN12 gear doors
    {949, Shape::TRANSPORT},  // An12 Cub (An12)
    {952, Shape::TRANSPORT},  // An12 Cub (An12)
    {955, Shape::TRANSPORT},  // An12 Cub (An12)
    {958, Shape::GEAR_SET},  // AN12 gear
    {961, Shape::TRANSPORT},  // An12 Cub (An12)
    {964, Shape::GEAR_SET},  // AN12 gear
    {966, Shape::ARTILLERY},  // M2 Heavy Machine Gun (M2 HMG)
    {971, Shape::SOLDIER_ITEM},  // Rifle
    {974, Shape::SOLDIER_ITEM},  // Radio
    {977, Shape::MISSILE},  // M47 Dragon round
    {979, Shape::SOLDIER_ITEM},  // Back-blast of the launcher tube
    {981, Shape::SOLDIER_ITEM},  // Gun shield
    {984, Shape::SOLDIER},  // Infantry
    {987, Shape::SOLDIER},  // Infantry
    {988, Shape::SOLDIER},  // Infantry
    {989, Shape::SOLDIER},  // Infantry
    {990, Shape::ATTACK_HELICOPTER},  // MI 24 Vorn (MI24 Vorn)
    {994, Shape::FLAG_RED},  // Red Flag
    {995, Shape::FLAG_BLUE},  // Blue Flag
    {998, Shape::TRANSPORT},  // C130 Hercules (C130)
    {999, Shape::BUILDING},  // Government Building (Govt. HQ)
    {1002, Shape::TRANSPORT},  // C130 Hercules (C130)
    {1009, Shape::GEAR_SET},  // MI 24 wheels
    {1010, Shape::BUILDING},  // Government Building (Govt. Bldg.)
    {1013, Shape::CASUALTY},  // Casualty
    {1014, Shape::BARGE},  // Pontoon Raft (Pontoon)
    {1016, Shape::LANDING_CRAFT},  // Landing Craft (Craft)
    {1022, Shape::NOSE_GEAR_LAMP},  // Nose gear taxi lamp
    {1023, Shape::SENSOR_POD},  // Sensor (odd slot)
    {1024, Shape::SENSOR_POD},  // Sensor (even slot)
    {1034, Shape::SENSOR_POD},  // Vyr part 16
    {1035, Shape::MUZZLE_FLASH},  // Muzzle flash
    {1038, Shape::AIRLINER},  // Boeing 707 (707)
    {1041, Shape::AIRLINER},  // Boeing 707 (707)
    {1042, Shape::GEAR_SET},  // Boeing 707 (707) gear
    {1043, Shape::GEAR_SET},  // Boeing 707 (707) gear
    {1044, Shape::GEAR_SET},  // Boeing 707 (707) gear
    {1045, Shape::ROCKET_LAUNCHER},  // BM21 MRL
    {1049, Shape::ROCKET_LAUNCHER},  // BM21 MRL
    {1050, Shape::TANK},  // Merkava Mk3 (MBT) (Merkava)
    {1053, Shape::TANK},  // Merkava Mk3 MBT (Merkava)
    {1056, Shape::DELTA_JET},  // MIG 21 Bis (MIG21)
    {1059, Shape::ROCKET_LAUNCHER},  // BM21 MRL
    {1060, Shape::ROCKET_LAUNCHER},  // BM21 MRL
    {1061, Shape::GEAR_SET},  // MiG21 bis (MiG21) gear
    {1062, Shape::GEAR_SET},  // MiG21 bis (MiG21) gear
    {1063, Shape::GEAR_SET},  // MiG21 bis (MiG21) gear
    {1064, Shape::GEAR_SET},  // MiG21 bis (MiG21) gear
    {1065, Shape::GEAR_SET},  // MiG21 bis (MiG21) gear
    {1066, Shape::STRIKE_JET},  // SU 24 Fencer (SU24)
    {1068, Shape::GEAR_SET},  // Su24 Fencer (Su24) gear
    {1069, Shape::GEAR_SET},  // Su24 Fencer (Su24) gear
    {1070, Shape::STRIKE_JET},  // Su24 Fencer (Su24)
    {1071, Shape::STRIKE_JET},  // Su24 Fencer (Su24)
    {1072, Shape::GEAR_SET},  // Su24 Fencer (Su24) gear
    {1073, Shape::PYLON},  // Pylon
    {1074, Shape::MISSILE},  // AMRAAM round
    {1076, Shape::TANK},  // T72 (MBT) (T72(MBT))
    {1079, Shape::TANK},  // T72
    {1080, Shape::TANK},  // T72
    {1081, Shape::TANK},  // T72
    {1082, Shape::PYLON},  // Pylon
    {1083, Shape::FUEL_TANK},  // Centre fuel tank
    {1085, Shape::AWACS},  // E3 Sentry AWACS (E3 AWACS)
    {1088, Shape::AWACS},  // E3 AWACS
    {1089, Shape::AWACS},  // E3 AWACS
    {1090, Shape::AWACS},  // E3 AWACS
    {1094, Shape::GEAR_STRUT},  // Main gear strut (right)
    {1096, Shape::GEAR_STRUT},  // Main gear strut (left)
    {1100, Shape::RUNWAY_MARK},  // ILS beacon, flat on the runway's centre line
    {1101, Shape::BOMB},  // MK-82 round
    {1103, Shape::BOMB},  // MK-83 round
    {1105, Shape::BOMB},  // MK-84 round
    {1107, Shape::PYLON},  // Pylon
    {1108, Shape::TRIPLE_RACK},  // Triple ejector rack
    {1109, Shape::MULTI_RACK},  // Multiple ejector rack
    {1110, Shape::MISSILE},  // AGM-65G round
    {1112, Shape::MISSILE},  // AGM-65E round
    {1114, Shape::TRIPLE_RACK},  // Triple rail launcher
    {1115, Shape::MISSILE},  // AGM-88A round
    {1117, Shape::GUN_POD},  // GEPOD pod
    {1119, Shape::BOMB},  // MK82 RET round
    {1121, Shape::BOMB},  // MK83 RET round
    {1123, Shape::BOMB},  // MK84 RET round
    {1125, Shape::RETARDER},  // retarder open
    {1127, Shape::BOMB},  // GBU-12 round
    {1129, Shape::FINS},  // GBU-12 store_part
    {1131, Shape::FINS},  // GBU-12 fins deployed
    {1133, Shape::BOMB},  // GBU-16 round
    {1135, Shape::FINS},  // GBU-16 store_part
    {1137, Shape::FINS},  // GBU-16 fins deployed
    {1139, Shape::BOMB},  // GBU-10 round
    {1141, Shape::FINS},  // GBU-10 store_part
    {1143, Shape::FINS},  // GBU-10 fins deployed
    {1145, Shape::AWACS},  // A50 Mainstay (A50)
    {1148, Shape::AWACS},  // A50 Mainstay (A50)
    {1149, Shape::AWACS},  // A50 Mainstay (A50)
    {1150, Shape::AWACS},  // A50 Mainstay (A50)
    {1151, Shape::AWACS},  // A50 Mainstay (A50)
    {1152, Shape::GEAR_SET},  // A50 Mainstay (A50) gear
    {1153, Shape::GEAR_SET},  // A50 Mainstay (A50) gear
    {1154, Shape::AWACS},  // A50 Mainstay (A50)
    {1155, Shape::AWACS},  // A50 Mainstay (A50)
    {1156, Shape::GEAR_SET},  // A50 Mainstay (A50) gear
    {1157, Shape::BOMB},  // CBU-15 round
    {1158, Shape::FINS},  // CBU-15 store_part
    {1160, Shape::RETARDER},  // CBU-15 drogue parachute
    {1162, Shape::RETARDER},  // CBU-15 main parachute
    {1167, Shape::BOMB},  // CBU-87B round
    {1168, Shape::FINS},  // CBU-87B store_part
    {1169, Shape::FINS},  // CBU-87B fins spun out
    {1170, Shape::BOMB},  // CBU-89B round
    {1171, Shape::FINS},  // CBU-89B store_part
    {1172, Shape::FINS},  // CBU-89B fins spun out
    {1173, Shape::SENSOR_POD},  // Sensor pod
    {1175, Shape::ROCKET_POD},  // M151 HE pod
    {1178, Shape::ROCKET_POD},  // M247 AT pod
    {1179, Shape::FUEL_TANK},  // Wing fuel tank, one under each wing
    {1181, Shape::SENSOR_POD},  // Sensor pod
    {1183, Shape::BRIDGE},  // Railway Bridge (Bridge)
    {1186, Shape::SHELTER},  // Hardened Aircraft Shelter (HAS)
    {1188, Shape::SHELTER},  // Hardened Aircraft Shelter (HAS)
    {1190, Shape::SHELTER},  // Hardened Aircraft Shelter (HAS)
    {1192, Shape::GEAR_SET},  // MiG 27 Flogger (MiG27) gear
    {1193, Shape::STRIKE_JET},  // MiG 27 Flogger (MiG27)
    {1194, Shape::GEAR_SET},  // MiG 27 Flogger (MiG27) gear
    {1195, Shape::GEAR_SET},  // MiG 27 Flogger (MiG27) gear
    {1196, Shape::STRIKE_JET},  // MiG 27 Flogger (MiG27)
    {1197, Shape::GEAR_SET},  // MiG 29 Fulcrum (MiG29) gear
    {1198, Shape::GEAR_SET},  // MiG 29 Fulcrum (MiG29) gear
    {1199, Shape::GEAR_SET},  // MiG 29 Fulcrum (MiG29) gear
    {1200, Shape::BOMB},  // Bomblet round
    {1201, Shape::MINE},  // KMGU round
    {1203, Shape::APPROACH_LIGHTS},  // Approach Lights (Lights)
    {1206, Shape::APPROACH_LIGHTS},  // Approach Lights (Lights)
    {1209, Shape::GEAR_UP_NOZZLE},  // Vyr nozzle, gear up
    {1210, Shape::NOZZLE},  // Engine nozzle
    {1212, Shape::GEAR_STRUT},  // Vyr
    {1214, Shape::GEAR_SET},  // A10 Thunderbolt (A10) gear
    {1215, Shape::GEAR_DOWN_NOZZLE},  // Vyr nozzle, gear down
    {1216, Shape::ATTACK_JET},  // A10 Thunderbolt (A10)
    {1217, Shape::GEAR_SET},  // A10 Thunderbolt (A10) gear
    {1218, Shape::ATTACK_JET},  // A10 Thunderbolt (A10)
    {1219, Shape::GEAR_SET},  // A10 Thunderbolt (A10) gear
    {1221, Shape::FIGHTER},  // F18_Hornet (F18)
    {1222, Shape::FIGHTER},  // F18_Hornet (F18)
    {1223, Shape::FIGHTER},  // F18_Hornet (F18)
    {1224, Shape::GEAR_SET},  // F18_Hornet (F18) gear
    {1225, Shape::GEAR_SET},  // F18_Hornet (F18) gear
    {1226, Shape::GEAR_SET},  // F18_Hornet (F18) gear
    {1228, Shape::GEAR_SET},  // F15_Eagle (F15) gear
    {1229, Shape::GEAR_SET},  // F15_Eagle (F15) gear
    {1230, Shape::FIGHTER},  // F15_Eagle (F15)
    {1231, Shape::GEAR_SET},  // F15_Eagle (F15) gear
    {1232, Shape::FIGHTER},  // Vyr Wingman (Vyr (WM))
};

// Shapes too small or too plain for a coarser level.
bool has_levels(Shape shape) {
    switch (shape) {
    case Shape::ROTOR: case Shape::TAIL_ROTOR: case Shape::GEAR_SET: case Shape::GEAR_STRUT: case Shape::NOSE_GEAR_LAMP:
    case Shape::NOZZLE: case Shape::GEAR_UP_NOZZLE: case Shape::GEAR_DOWN_NOZZLE: case Shape::SOLDIER_ITEM:
    case Shape::AAA_TURRET: case Shape::DECK_SPOT: case Shape::CRATER: case Shape::SPLASH: case Shape::ROAD_MARK:
    case Shape::RUNWAY_MARK: case Shape::APPROACH_LIGHTS: case Shape::CASUALTY: case Shape::SOLDIER:
        return false;
    default:
        return shape < Shape::MISSILE;
    }
}

// Military things, which stand for a side and are shown in its colour: the airfield's and the
// defences' structures, the fighting vehicles, and the military buildings drawn as plain ones.
bool side_dependent(const CatalogueRow& row) {
    switch (row.shape) {
    case Shape::HANGAR: case Shape::SHELTER: case Shape::CONTROL_TOWER: case Shape::RADAR_TOWER:
    case Shape::RADAR_SITE: case Shape::BARRACKS: case Shape::BUNKER: case Shape::FUEL_BLADDER: case Shape::BREASTWORK:
    case Shape::TANK: case Shape::DUG_IN: case Shape::ENGINEER_TANK: case Shape::APC: case Shape::SAM_VEHICLE:
    case Shape::AAA_VEHICLE: case Shape::ROCKET_LAUNCHER: case Shape::ARTILLERY: case Shape::RADAR_VEHICLE:
        return true;
    case Shape::TENT:
        return row.number != 722;  // a yurt is somebody's home
    default:
        // The bulk fuel store, the military water tower, the communications centre and the
        // munitions store.
        return row.number == 1 || row.number == 31 || row.number == 105 || row.number == 395;
    }
}

// What a kill must be seen on: buildings, sites, bridges, vehicles and ships; aircraft are
// targets too, but fall as drones and leave no wreck standing.
bool is_target(Shape shape) {
    switch (shape) {
    case Shape::FIGHTER: case Shape::ATTACK_JET: case Shape::STRIKE_JET: case Shape::DELTA_JET: case Shape::TRANSPORT:
    case Shape::AIRLINER: case Shape::AWACS: case Shape::UAV: case Shape::ATTACK_HELICOPTER:
    case Shape::TRANSPORT_HELICOPTER:
    case Shape::TANK: case Shape::DUG_IN: case Shape::ENGINEER_TANK: case Shape::APC: case Shape::TRUCK: case Shape::CAR:
    case Shape::JEEP: case Shape::SAM_VEHICLE: case Shape::AAA_VEHICLE: case Shape::ROCKET_LAUNCHER: case Shape::ARTILLERY:
    case Shape::RADAR_VEHICLE: case Shape::LOCOMOTIVE: case Shape::RAIL_WAGON: case Shape::RAIL_TANKER:
    case Shape::RAIL_FLATCAR: case Shape::CARRIER: case Shape::FRIGATE: case Shape::PATROL_BOAT: case Shape::SUBMARINE:
    case Shape::BARGE: case Shape::LANDING_CRAFT: case Shape::TUG: case Shape::CARGO_SHIP: case Shape::TANKER_SHIP:
    case Shape::BUILDING: case Shape::TOWER_BLOCK: case Shape::HOUSE: case Shape::HUT: case Shape::MOSQUE:
    case Shape::BARRACKS: case Shape::HANGAR: case Shape::SHELTER: case Shape::CONTROL_TOWER: case Shape::RADAR_TOWER:
    case Shape::RADAR_SITE: case Shape::WATER_TOWER: case Shape::MAST: case Shape::STORAGE_TANKS: case Shape::SPHERE_TANK:
    case Shape::COOLING_TOWER: case Shape::STACK: case Shape::SILO: case Shape::CONVEYOR: case Shape::BUNKER:
    case Shape::TENT: case Shape::FUEL_BLADDER: case Shape::PALLETS: case Shape::BRIDGE: case Shape::WELLHEAD:
    case Shape::DERRICK:
        return true;
    default:
        return false;
    }
}

Model with_side(Model model, bool side) {
    if (side) model.gameplay_flags |= SIDE_DEPENDENT;
    return model;
}

struct Extent {
    Point lo, hi;
    double radius;
};

Extent extent_of(const Mesh& mesh) {
    Extent e{{0, 0, 0}, {0, 0, 0}, 0};
    for (size_t i = 0; i < mesh.vertices.size(); ++i) {
        const Point v = mesh.vertices[i] * (1.0 / 16);
        if (i == 0) e.lo = e.hi = v;
        e.lo = {std::min(e.lo.x, v.x), std::min(e.lo.y, v.y), std::min(e.lo.z, v.z)};
        e.hi = {std::max(e.hi.x, v.x), std::max(e.hi.y, v.y), std::max(e.hi.z, v.z)};
        e.radius = std::max(e.radius, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
    }
    return e;
}

uint8_t main_colour(const Mesh& mesh) {
    for (const FaceItem& item : mesh.items)
        if (item.sub_object < 0 && item.cases.empty() && !item.node) return item.colour1;
    return colour::GREY;
}

// A wreck: a low heap of the model's footprint, dark, neither solid nor a target.
Model wreck_of(const Model& model) {
    Model wreck;
    wreck.unrotated = model.unrotated;
    wreck.flags = CASTS_SHADOW;
    const Extent e = extent_of(model.mesh);
    const double top = e.lo.z + (e.hi.z - e.lo.z) * 0.2;
    wreck.mesh.box(e.lo, {e.hi.x, e.hi.y, top}, colour::DARK_GREY);
    return wreck;
}

// The far level of a model: its box in its main colour.
Model coarse_of(const Model& model) {
    Model coarse;
    coarse.unrotated = model.unrotated;
    coarse.flags = model.flags;
    const Extent e = extent_of(model.mesh);
    coarse.mesh.box(e.lo, e.hi, main_colour(model.mesh));
    return coarse;
}

class ObjectSet {
public:
    ObjectSet() {
        for (int32_t n : PLAYER_PART_NUMBERS) used.insert(n);
        for (int32_t n : SOLDIER_PART_NUMBERS) used.insert(n);
        used.insert(GENERIC_TAIL_ROTOR);
        for (const CatalogueRow& row : CATALOGUE) used.insert(row.number);
        used.insert(606);
        for (int32_t n = 1; n < OBJECT_NUMBERS; ++n)
            if (!used.count(n)) spares.push_back(n);

        for (auto& [number, model] : build_player_aircraft()) add(number, std::move(model), false);
        for (auto& [number, model] : build_soldier_parts()) add(number, std::move(model), false);
        add(GENERIC_TAIL_ROTOR, build_shape(Shape::TAIL_ROTOR, GENERIC_TAIL_ROTOR), false);
        for (const CatalogueRow& row : CATALOGUE) {
            Model model = with_side(build_shape(row.shape, row.number), side_dependent(row));
            if (is_target(row.shape)) make_target(model);
            add(row.number, std::move(model), has_levels(row.shape));
        }

        // Numbers nothing uses share one crate.
        const int32_t crate = next_spare();
        add(crate, build_shape(Shape::CRATE, crate), false);
        for (size_t i = spare_at; i < spares.size(); ++i) shared.push_back({spares[i], crate});
    }

    std::vector<ObjectEntry> entries;
    std::vector<std::pair<int32_t, int32_t>> shared;

private:
    int32_t next_spare() { return spares.at(spare_at++); }

    void add(int32_t number, Model model, bool levels) {
        const Model& kept = models.emplace_back(std::move(model));
        if (!levels) {
            entries.push_back({number, -1, 0, &kept});
            return;
        }
        const Extent e = extent_of(kept.mesh);
        const int32_t distance = int32_t(std::clamp(e.radius * 40, 400.0, 8000.0));
        entries.push_back({number, distance, coarse_number(kept), &kept});
    }

    // A target explodes over half its radius when destroyed, and leaves its wreck.
    void make_target(Model& model) {
        model.gameplay_flags |= TARGET;
        model.damage_radius = int32_t(extent_of(model.mesh).radius * 256 / 2);
        model.destroyed_type = box_number(wreck_of(model));
    }

    // Models of the same box and colour share their far level.
    int32_t coarse_number(const Model& model) { return box_number(coarse_of(model)); }

    // One object for every box of one colour and kind: the far levels and the wrecks.
    int32_t box_number(Model box) {
        const Extent e = extent_of(box.mesh);
        const auto key = std::make_tuple(std::lround(e.lo.x), std::lround(e.lo.y), std::lround(e.lo.z), std::lround(e.hi.x),
                                         std::lround(e.hi.y), std::lround(e.hi.z), main_colour(box.mesh), box.unrotated, box.flags);
        auto found = box_levels.find(key);
        if (found != box_levels.end()) return found->second;
        const int32_t number = next_spare();
        box_levels.emplace(key, number);
        entries.push_back({number, -1, 0, &models.emplace_back(std::move(box))});
        return number;
    }

    std::set<int32_t> used;
    std::vector<int32_t> spares;
    size_t spare_at = 0;
    std::deque<Model> models;
    std::map<std::tuple<long, long, long, long, long, long, uint8_t, bool, uint8_t>, int32_t> box_levels;
};

}  // namespace

Model build_shape(Shape shape, int32_t number) {
    if (shape <= Shape::GEAR_DOWN_NOZZLE) return build_aircraft(shape, number);
    if (shape <= Shape::SOLDIER_ITEM) return build_vehicle(shape, number);
    if (shape <= Shape::FLAG_BLUE) return build_structure(shape, number);
    if (shape <= Shape::CHAFF) return build_store(shape, number);
    return build_structure(shape, number);
}

std::vector<DataFile> object_files() {
    const ObjectSet set;
    return {{"3ddata/3dobjs.bin", encode_object_file(set.entries, set.shared, OBJECT_NUMBERS)},
            {"3ddata/objtext.bin", encode_object_textures()}};
}

}  // namespace vyr::vyrgen
