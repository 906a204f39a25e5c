// The settings store: NAME=VALUE lines of prefs.cfg, read once at start-up, changed in memory by
// name and written back whole at exit. Names match regardless of the case of A to Z.
#pragma once

#include <string>

namespace vyr {

struct PrefEntry {
    std::string name;   // for a malformed line: the whole line, kept to be written back
    std::string value;
    bool malformed = false;
};

// Reads the settings file (working directory, then the data directory) and arranges for it to be
// written back to the working directory at exit. A missing or empty file gives an empty store.
void load_prefs(const char* file_name);
// Exit handler: saves, then empties the store.
void close_prefs();
// Writes every setting, newest first, and every malformed line as it was read; with none the
// file is deleted.
void save_prefs();
// The same, leaving out the setting `name` (it stays in memory).
void save_prefs_except(const char* name);

// A null value is the empty text.
void set_pref_string(const char* name, const char* value);
void set_pref_int(const char* name, int number);
// Both return 1 when the setting exists, else 0 and leave the output alone. Numbers read as
// `atoi` does (0 without digits), held within the range of int.
int get_pref_int(const char* name, int* out);
// Copies at most `length` - 1 characters and a terminator; writes nothing when `length` < 1.
int get_pref_string(const char* name, char* buffer, int length);
// Drops the setting from the store, so that the next save leaves it out; 1 when it existed.
int remove_pref(const char* name);
const PrefEntry* find_pref(const char* name);

}  // namespace vyr
