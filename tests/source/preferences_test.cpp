#include "source/preferences.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <vector>

#include "library/3dvisual/view.h"
#include "library/config/prefs.h"
#include "library/sound/dsound.h"
#include "library/sound/samples.h"
#include "library/system/joystick.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/skill.h"
#include "source/startup.h"
#include "tests/support/paths.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

const std::filesystem::path FIXTURE =
    std::filesystem::path(VYR_SOURCE_DIR) / "tests" / "source" / "fixtures" / "prefs.cfg";

class Preferences : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        view_settings.flags = VIEW_CLOUDS | VIEW_SHADOWS;
        view_settings.visual_range = 3;
        view_settings.terrain_detail = 2;
        view_settings.object_visual_range = 0x400000;
        smoke_life = 600;
        master_volume = 10;
        run_count = 0;
        forces_type = 0;
        product_language = LANG_ENGLISH;
    }

    static int stored(const char* name) {
        int value = -12345;
        get_pref_int(name, &value);
        return value;
    }
};

TEST_F(Preferences, StoredValuesReplaceTheOptions) {
    std::filesystem::copy_file(FIXTURE, work / "prefs.cfg");
    load_prefs("prefs.cfg");
    std::vector<char*> argv = {const_cast<char*>("application"), const_cast<char*>("-Q3"),
                               const_cast<char*>("-LG")};
    parse_command_line(int(argv.size()), argv.data());
    ASSERT_EQ(throttle_reversal, 1);
    apply_preferences();
    EXPECT_EQ(throttle_reversal, 0);
    EXPECT_EQ(product_language, LANG_GERMAN) << "the language option is stored over the preference";
    EXPECT_EQ(run_count, 4);
    EXPECT_EQ(animations_on, 0);
    EXPECT_EQ(get_skill_reaction_delay(), 500);
    EXPECT_EQ(master_volume, 40);
    EXPECT_EQ(sound_card_settings[0], 2);
    EXPECT_EQ(sound_card_settings[1], -1) << "absent card settings take their defaults";
    EXPECT_EQ(joystick_state.minimum[0], 10);
    EXPECT_EQ(joystick_state.maximum[3], 900);
}

TEST_F(Preferences, VisualSettingsAreBoundedAndStoredBack) {
    std::filesystem::copy_file(FIXTURE, work / "prefs.cfg");
    load_prefs("prefs.cfg");
    apply_preferences();
    EXPECT_EQ(product_language, LANG_FRENCH);
    EXPECT_EQ(view_settings.visual_range, 7);
    EXPECT_EQ(stored("Visual Range"), 7);
    EXPECT_EQ(view_settings.terrain_detail, 3);
    EXPECT_EQ(stored("Terrain Detail"), 3);
    EXPECT_EQ(stored("Key Task"), 6);
    EXPECT_EQ(view_settings.flags & (VIEW_SHADOWS | VIEW_CLOUDS), VIEW_CLOUDS) << "bit 0 of each flag setting";
    EXPECT_EQ(view_settings.object_visual_range, 0x200000);
    EXPECT_EQ(smoke_life, 400);
    close_prefs();
    EXPECT_NE(read_bytes(work / "prefs.cfg").find("not a setting"), std::string::npos)
        << "a malformed line is kept on save";
}

TEST_F(Preferences, NothingStoredGivesTheDefaults) {
    load_prefs("prefs.cfg");
    apply_preferences();
    EXPECT_EQ(view_settings.visual_range, 7);
    EXPECT_EQ(view_settings.terrain_detail, 3);
    EXPECT_EQ(view_settings.flags & (VIEW_SHADOWS | VIEW_CLOUDS), VIEW_SHADOWS | VIEW_CLOUDS);
    EXPECT_EQ(animations_on, 1);
    EXPECT_EQ(master_volume, 63);
    EXPECT_EQ(run_count, 0);
    EXPECT_EQ(product_language, LANG_ENGLISH);
    EXPECT_EQ(stored("Quick Start Game Runs"), -12345);
}

TEST_F(Preferences, AVisualRangeOutOfBoundsBecomesTheLimit) {
    for (int range : {0, -3, 7, 12}) {
        load_prefs("prefs.cfg");
        set_pref_int("Visual Range", range);
        apply_preferences();
        EXPECT_EQ(view_settings.visual_range, MAX_VISUAL_RANGE) << range;
    }
    set_pref_int("Visual Range", 4);
    apply_preferences();
    EXPECT_EQ(view_settings.visual_range, 4);
}

TEST_F(Preferences, ASoundVolumeOutOfRangeIsHeldToItsRange) {
    const struct {
        int stored, volume;
    } cases[] = {{INT_MAX, 63}, {64, 63}, {-1, 0}, {INT_MIN, 0}, {40, 40}};
    for (auto c : cases) {
        load_prefs("prefs.cfg");
        set_pref_int("Sound Volume", c.stored);
        apply_preferences();
        EXPECT_EQ(master_volume, c.volume) << c.stored;
    }
}

// Only 0 chooses the simple model; any other id, which only a hand-edited file holds, flies the
// full model and is kept in the file as written.
TEST_F(Preferences, AnUnknownModelIdFliesTheFullModelAndStaysInTheFile) {
    const struct {
        int stored, model;
    } cases[] = {{0, MODEL_SIMPLE}, {1, MODEL_FULL}, {7, MODEL_FULL}, {-1, MODEL_FULL}};
    for (auto c : cases) {
        load_prefs("prefs.cfg");
        set_pref_int("Model ID", c.stored);
        apply_preferences();
        EXPECT_EQ(model_id, c.model) << c.stored;
        EXPECT_EQ(stored("Model ID"), c.stored);
    }
    model_id = MODEL_FULL;
}

}  // namespace
}  // namespace vyr
