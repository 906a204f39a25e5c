#include "library/gfxinit/glide.h"

#include <cstdio>

#include "library/system/exit.h"
#include "platform/accel/framebuffer.h"
#include "platform/accel/pipeline.h"

namespace vyr {

namespace accel = platform::accel;

namespace {

constexpr float GAMMA = 0.8f;
constexpr uint32_t FOG_COLOUR = 0xDAE3E400;
constexpr float CLEAR_FOG_DENSITY = 3.5e-5f;
constexpr float LIGHT_FOG_DENSITY = 3.5e-4f;
constexpr float THICK_FOG_DENSITY = 3.5e-3f;

void install_fog(float density) {
    uint8_t table[accel::FOG_TABLE_SIZE];
    accel::generate_exp2_fog_table(table, density);
    accel::set_fog_colour(FOG_COLOUR);
    accel::set_fog_table(table);
    accel::set_fog_mode(accel::FogMode::TABLE);
}

}  // namespace

void fail_glide_start(const char* what, const char* name) {
    std::fprintf(stderr, "Accelerator start-up failed: %s%s%s\n", what, name ? " " : "", name ? name : "");
    accel::shut_down();
    end_process(-1);
}

void open_glide(const GlideFiles& files) {
    if (accel::count_boards() == 0) fail_glide_start("no accelerator found", nullptr);
    accel::open_display();
    if (!accel::display_open()) fail_glide_start("the display did not open", nullptr);
    accel::set_gamma(GAMMA);
    install_fog(CLEAR_FOG_DENSITY);
    load_accel_textures(files);
}

void release_accelerator_display() { accel::hand_display_to_2d(); }

void set_fog_level(FogLevel level) {
    switch (level) {
    case FogLevel::LIGHT: install_fog(LIGHT_FOG_DENSITY); break;
    case FogLevel::THICK: install_fog(THICK_FOG_DENSITY); break;
    case FogLevel::CLEAR: install_fog(CLEAR_FOG_DENSITY); break;
    }
}

}  // namespace vyr
