// The cockpit message lines: a pool of 16 messages kept in priority order, the three most
// important shown on the data display's three lines, a status line when none is active.
#pragma once

namespace vyr {

constexpr int MESSAGE_NODES = 16;
constexpr int MESSAGE_LINE_LENGTH = 17;
constexpr int MESSAGE_LINES = 3;

// The three lines as last filled; longer than MESSAGE_LINE_LENGTH only for a long message, which
// the display clips.
extern char message_lines[MESSAGE_LINES][256];

// All 16 nodes free and the lines blank; also empties the area mid-flight.
void init_message_area();
// Shows `text` (at most 31 characters kept) at a priority for a time to live in ticks of 1/200 s;
// dropped without a word when all 16 nodes are active. Equal priorities show in posting order.
void post_message(const char* text, int priority, int time_to_live);
// Shown until removed: `text` is kept, not copied, and must outlive the message. Dropped when the
// pool is full or an equal text is already up.
void add_persistent_message(const char* text, int priority);
// The first persistent message whose text equals `text` (any pointer to equal characters).
void remove_persistent_message(const char* text);
// Once a simulation step: each message on a line loses the frame's ticks (at least 1); a message
// that is not on a line waits unaged.
void age_messages();
// The lines for this frame: random characters with the data display failed, else the first three
// messages (marked shown), else the status line.
void fill_message_lines();
// Every cockpit frame, into the panel picture: the lines in upper case on the data display, their
// colour flickering in the first 10 s and after 10 min of an electrics failure. Fatal outside
// the cockpit view.
void draw_message_area();
// 1 in the first 10 s and after 10 min of an electrics failure, while the cockpit's lights and
// the message lines flicker.
int electrics_flickering();

}  // namespace vyr
