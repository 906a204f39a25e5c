// The standard atmosphere, exact and from its 1,000 ft tables (0 to 70,000 ft).
#pragma once

namespace vyr {

// Density (slug/ft3) and speed of sound (ft/s) at an altitude in feet.
void standard_atmosphere(double altitude, double& density, double& speed_of_sound);

// The tables join the exact values every 1,000 ft; built at each model start.
void build_atmosphere_tables();
// From the tables, the altitude held to 0 .. 69,999.99999 ft.
void lookup_atmosphere(double altitude, double& density, double& speed_of_sound);

}  // namespace vyr
