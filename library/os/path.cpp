#include "library/os/path.h"

#include <system_error>

namespace vyr {

namespace fs = std::filesystem;

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// The next component of a game name, skipping separators; empty at the end.
std::string_view take_component(std::string_view& name) {
    size_t start = name.find_first_not_of("\\/");
    if (start == std::string_view::npos) {
        name = {};
        return {};
    }
    size_t end = name.find_first_of("\\/", start);
    std::string_view component = name.substr(start, end - start);
    name = end == std::string_view::npos ? std::string_view{} : name.substr(end);
    return component;
}

// `component` inside `directory`: the exact name, else the first name in byte order that differs
// from it only in case (so the choice never depends on the directory's order).
fs::path find_component(const fs::path& directory, std::string_view component) {
    fs::path exact = directory / component;
    std::error_code error;
    if (fs::exists(exact, error)) return exact;
    std::string best;
    for (fs::directory_iterator it(directory, error), end;
         !error && it != end; it.increment(error)) {
        std::string entry = it->path().filename().string();
        if (equal_ignoring_case(entry, component) && (best.empty() || entry < best)) best = entry;
    }
    return best.empty() ? fs::path() : directory / best;
}

// Leading separators make a name absolute; otherwise it lies under `base`, "." when none.
fs::path start_of(const fs::path& base, std::string_view name) {
    if (!name.empty() && name.front() == '/') return "/";
    return base.empty() ? fs::path(".") : base;
}

bool match_from(std::string_view name, std::string_view pattern) {
    // Classic backtracking over the last `*`: linear in practice for file names.
    size_t n = 0, p = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

fs::path find_path(const fs::path& base, std::string_view name) {
    fs::path at = start_of(base, name);
    for (std::string_view component = take_component(name); !component.empty();
         component = take_component(name)) {
        at = find_component(at, component);
        if (at.empty()) return {};
    }
    return at;
}

fs::path place_path(const fs::path& base, std::string_view name) {
    size_t last = name.find_last_of("\\/");
    std::string_view file = last == std::string_view::npos ? name : name.substr(last + 1);
    if (file.empty()) return {};
    fs::path directory = last == std::string_view::npos ? start_of(base, name)
                                                        : find_path(base, name.substr(0, last + 1));
    std::error_code error;
    if (directory.empty() || !fs::is_directory(directory, error)) return {};
    fs::path existing = find_component(directory, file);
    return existing.empty() ? directory / file : existing;
}

bool match_file_pattern(std::string_view name, std::string_view pattern) {
    if (match_from(name, pattern)) return true;
    return pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
           name.find('.') == std::string_view::npos &&
           match_from(name, pattern.substr(0, pattern.size() - 2));
}

}  // namespace vyr
