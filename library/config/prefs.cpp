#include "library/config/prefs.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <list>
#include <string_view>
#include <unordered_map>

#include "library/os/file.h"
#include "library/os/path.h"
#include "library/system/exit.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/config/prefs";

std::list<PrefEntry> prefs;  // newest first
// The settings by name folded to lower case, so that a long file loads in linear time.
std::unordered_map<std::string, PrefEntry*> prefs_by_name;
std::string prefs_file_name;
bool close_registered = false;

std::string folded(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return key;
}

PrefEntry* find_entry(std::string_view name) {
    auto found = prefs_by_name.find(folded(name));
    return found == prefs_by_name.end() ? nullptr : found->second;
}

void set_pref(std::string_view name, std::string_view value) {
    if (PrefEntry* entry = find_entry(name)) {
        entry->value = value;
        return;
    }
    prefs.push_front({std::string(name), std::string(value)});
    prefs_by_name.emplace(folded(name), &prefs.front());
}

void clear_prefs() {
    prefs.clear();
    prefs_by_name.clear();
}

// A later line of a name replaces the value of an earlier one, so each name is kept once; a line
// without a name, an "=" or a value is no setting, but it is kept and written back as it was.
// Any other byte, a NUL among them, is part of its line.
void parse_prefs(std::string_view text) {
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        size_t equals = line.find('=');
        if (line.empty()) continue;
        if (equals == std::string_view::npos || equals == 0 || equals + 1 == line.size()) {
            prefs.push_front({std::string(line), "", true});
            continue;
        }
        set_pref(line.substr(0, equals), line.substr(equals + 1));
    }
}

// The file reaches its name only whole: a failed save leaves the old one and is fatal.
void write_prefs(const char* except) {
    if (prefs_file_name.empty()) return;
    if (prefs.empty()) {
        delete_file(prefs_file_name.c_str());
        return;
    }
    FileHandle* file =
        open_file(prefs_file_name.c_str(), FILE_ACCESS_WRITE, FILE_MODE_CREATE, SOURCE, __LINE__);
    if (!file) return;
    set_file_strict(file);
    for (const PrefEntry& entry : prefs) {
        if (!entry.malformed && except && equal_ignoring_case(entry.name, except)) continue;
        std::string line = entry.malformed ? entry.name + "\r\n" : entry.name + "=" + entry.value + "\r\n";
        write_file(file, line.data(), line.size(), SOURCE, __LINE__);
    }
    close_file(file);
}

}  // namespace

void load_prefs(const char* file_name) {
    clear_prefs();
    prefs_file_name = file_name ? file_name : "";
    // Once only: a second run would find the store emptied by the first and delete the file.
    if (!close_registered) add_exit_handler(close_prefs);
    close_registered = true;
    if (prefs_file_name.empty() || !check_file_exists(file_name)) return;
    FileHandle* file = open_file(file_name, FILE_ACCESS_READ, FILE_MODE_EXISTING, SOURCE, __LINE__);
    if (!file) return;
    std::string text(size_t(std::max(get_file_size(file), 0L)), '\0');
    size_t got = read_file(file, text.data(), text.size(), SOURCE, __LINE__);
    close_file(file);
    text.resize(got);
    parse_prefs(text);
}

void close_prefs() {
    save_prefs();
    clear_prefs();
    prefs_file_name.clear();
}

void save_prefs() { write_prefs(nullptr); }

void save_prefs_except(const char* name) { write_prefs(name ? name : ""); }

void set_pref_string(const char* name, const char* value) {
    if (name) set_pref(name, value ? value : "");
}

void set_pref_int(const char* name, int number) {
    set_pref_string(name, std::to_string(number).c_str());
}

int get_pref_int(const char* name, int* out) {
    const PrefEntry* entry = find_pref(name);
    if (!entry) return 0;
    const char* text = entry->value.c_str();
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    long long number = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        number = std::min(number * 10 + (*text - '0'), (long long)INT_MAX + 1);
    number = negative ? -number : std::min(number, (long long)INT_MAX);
    *out = int(number);
    return 1;
}

int get_pref_string(const char* name, char* buffer, int length) {
    const PrefEntry* entry = find_pref(name);
    if (!entry) return 0;
    if (length < 1) return 1;
    size_t count = std::min(entry->value.size(), size_t(length - 1));
    std::memcpy(buffer, entry->value.data(), count);
    buffer[count] = '\0';
    return 1;
}

const PrefEntry* find_pref(const char* name) { return name ? find_entry(name) : nullptr; }

int remove_pref(const char* name) {
    PrefEntry* entry = name ? find_entry(name) : nullptr;
    if (!entry) return 0;
    prefs_by_name.erase(folded(name));
    prefs.remove_if([entry](const PrefEntry& e) { return &e == entry; });
    return 1;
}

}  // namespace vyr
