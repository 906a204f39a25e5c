#include "tools/vyrgen/pictures/panel_instruments.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "library/graphics/cockpit_layout.h"

namespace vyr::vyrgen {
namespace {

// The engine dials of the right-hand column, at their places, end inside the window of the
// look straight ahead (panel columns 320 to 959): none is cut by the screen's right edge.
TEST(PanelInstruments, TheEngineDialsFitTheHomeLooksWindow) {
    const std::vector<PictureFile> files = panel_instrument_pictures(Palette{});
    for (CockpitArt art : {ART_NOZZLE_DIAL, ART_RPM_DIAL, ART_FTIT_DIAL}) {
        std::string name = std::string("cockpits/") + COCKPIT_ART[art].name;
        for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
        SCOPED_TRACE(name);
        const PictureFile* file = nullptr;
        for (const PictureFile& f : files)
            if (f.name == name) file = &f;
        ASSERT_NE(file, nullptr);
        EXPECT_LE(COCKPIT_ART[art].x + file->picture.image.width, 960);
        EXPECT_GE(file->picture.image.width, 40) << "still a dial one reads";
    }
}

}  // namespace
}  // namespace vyr::vyrgen
