// The quick-start top ten: the ten best scores of each sortie kind with the pilots' names, kept
// in the settings store and shown on the Quick Start Screen, where a new entry's name is typed.
#pragma once

#include <cstdint>

#include "library/system/event.h"
#include "library/ui/object.h"

namespace vyr {

constexpr int TOP_TEN_ROWS = 10;
constexpr int TOP_TEN_NAME_SIZE = 32;
constexpr int TOP_TEN_NAME_LIMIT = 30;  // characters a name entry takes

struct TopTenEntry {
    int32_t score;
    char name[TOP_TEN_NAME_SIZE];
};
// Row 0 the best. `quick_start_kind` 2 selects the ground table, anything else the air table.
extern TopTenEntry ground_top_ten[TOP_TEN_ROWS];
extern TopTenEntry air_top_ten[TOP_TEN_ROWS];
// The row whose name is being or was last entered; -1 for none.
extern int32_t editing_row;

// Both tables from the settings store (missing names are "Blank"); the score is cleared.
void load_top_ten();
void save_top_ten();
// The last quick-start score into its table: shown as the last score, and when it enters, the
// name entry opens in its row.
void enter_top_ten_score();
void enter_top_ten_score(int score);
// After a quick-start flight: the Quick Start Screen's lists, which show the table.
void show_top_ten_screen();

// The Quick Start Screen's ten name texts, ten score texts and the last score; after its radios.
void create_top_ten_objects();
// The selected table on the screen, the highlight and the text cursor of an open entry; then saves.
void refresh_top_ten_lists();
// EV_KEY to a name text: acts only while a name entry is open, on the table it was opened in.
void enter_top_ten_name(UiObject* object, Event& event);

}  // namespace vyr
