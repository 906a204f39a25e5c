#include "library/os/file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <system_error>
#include <utility>
#include <vector>

#include "library/debug/fatal.h"
#include "library/debug/notice.h"
#include "library/os/path.h"
#include "library/system/exit.h"
#include "library/system/memory.h"
#include "library/system/mouse.h"
#include "platform/os/lock_file.h"

namespace vyr {

namespace fs = std::filesystem;

struct FileHandle {
    std::string name;  // as given, or the full name when found in the read-only data directory
    int access;
    int last_operation;  // 0 none or positioning, 1 read, 2 write
    std::FILE* stream;
    long position;
    int flags;
    const char* opened_from;  // the caller of `open_file`, for the messages of a failed close
    int opened_line;
    fs::path temporary;  // a file being written anew: it replaces `target` at close
    fs::path target;
    bool short_write;
};

struct FileListEntry {
    std::string name;
    FileListEntry* next;
};

namespace {

constexpr const char* SOURCE = "library/os/file";
constexpr int OPERATION_READ = 1;
constexpr int OPERATION_WRITE = 2;

fs::path read_only_path;  // empty: none
fs::path player_directory;  // empty: none usable

bool rename_file(const fs::path& temporary, const fs::path& target) {
    std::error_code error;
    fs::rename(temporary, target, error);
    return !error;
}

bool is_file(const fs::path& path) {
    std::error_code error;
    return !path.empty() && fs::exists(path, error) && !fs::is_directory(path, error);
}

struct FoundFile {
    std::FILE* stream;
    fs::path path;
    bool read_only;  // found in the read-only data directory
};

// `name` opened for binary reading in the working directory, else in the read-only data directory.
FoundFile open_for_reading(const char* name) {
    fs::path path = find_path({}, name);
    if (is_file(path))
        if (std::FILE* stream = std::fopen(path.c_str(), "rb")) return {stream, path, false};
    if (read_only_path.empty()) return {};
    path = find_path(read_only_path, name);
    std::FILE* stream = is_file(path) ? std::fopen(path.c_str(), "rb") : nullptr;
    return {stream, path, true};
}

// A new hidden file beside `target`, named so that neither another instance of the program
// writing the same file nor a temporary left behind by a crash can collide with it.
std::FILE* create_temporary(const fs::path& target, fs::path& temporary) {
    static uint32_t next_tag = std::random_device{}();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char tag[16];
        std::snprintf(tag, sizeof tag, ".%08x.tmp", unsigned(next_tag++));
        temporary = target.parent_path() / ("." + target.filename().string() + tag);
        if (std::FILE* stream = std::fopen(temporary.c_str(), "wb+x")) return stream;
    }
    return nullptr;
}

// Closes a written stream; true when `complete` and everything buffered reached the file too.
bool close_written(std::FILE* stream, bool complete) {
    bool written = complete && std::fflush(stream) == 0 && !std::ferror(stream);
    return std::fclose(stream) == 0 && written;
}

// Closes a temporary; when all of it was written, renames it over `target`, else removes it.
bool finish_temporary(std::FILE* stream, bool complete, const fs::path& temporary,
                      const fs::path& target) {
    if (close_written(stream, complete) && replace_file(temporary, target)) return true;
    std::error_code error;
    fs::remove(temporary, error);
    return false;
}

bool write_whole_file(const fs::path& target, const void* buffer, size_t size) {
    if (target.empty()) return false;
    fs::path temporary;
    std::FILE* stream = create_temporary(target, temporary);
    if (!stream) return false;
    bool complete = size == 0 || std::fwrite(buffer, 1, size, stream) == size;
    return finish_temporary(stream, complete, temporary, target);
}

// Reads in chunks so that the pointer keeps following the mouse during long loads.
size_t read_chunks(std::FILE* stream, void* buffer, size_t count) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < count) {
        size_t wanted = std::min(FILE_CHUNK_SIZE, count - done);
        size_t got = std::fread(bytes + done, 1, wanted, stream);
        done += got;
        if (got < wanted) break;
        refresh_between_chunks();
    }
    return done;
}

// Opens the stream of a new handle; false when it cannot be opened.
bool open_stream(FileHandle& handle, const char* name, int mode) {
    if (mode == FILE_MODE_CREATE) {
        handle.target = place_path({}, name);
        if (handle.target.empty()) return false;
        if (handle.access == FILE_ACCESS_WRITE) {
            handle.stream = create_temporary(handle.target, handle.temporary);
            return handle.stream != nullptr;
        }
        if (!write_whole_file(handle.target, nullptr, 0)) return false;
    }
    if (handle.access == FILE_ACCESS_WRITE) {
        fs::path found = find_path({}, name);
        handle.stream = is_file(found) ? std::fopen(found.c_str(), "rb+") : nullptr;
        return handle.stream != nullptr;
    }
    FoundFile found = open_for_reading(name);
    if (found.read_only) handle.name = found.path.string();
    handle.stream = found.stream;
    return handle.stream != nullptr;
}

// Sets the stream to the kept position before a read follows a write or a seek, and so on.
void prepare(FileHandle& handle, int operation) {
    if (handle.last_operation == operation) return;
    std::fseek(handle.stream, handle.position, SEEK_SET);
    handle.last_operation = operation;
}

}  // namespace

void (*refresh_between_chunks)() = update_pointer;
bool (*replace_file)(const fs::path&, const fs::path&) = rename_file;

void find_read_only_path(const char* sentinel) {
    if (!sentinel) return;
    read_only_path.clear();
    std::error_code error;
    // The player's own choice is never passed over for a fall-back.
    if (const char* data = std::getenv("VYR_DATA"); data && *data) {
        if (is_file(find_path(data, sentinel))) {
            read_only_path = fs::absolute(data, error);
            return;
        }
        report_fatal_error("VYR_DATA names %s, which has no %s", SOURCE, __LINE__, data, sentinel);
        return;
    }
    std::vector<fs::path> tried;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        tried.push_back(program.parent_path() / "data");
        tried.push_back((program.parent_path() / "../share/vyr").lexically_normal());
    }
    tried.emplace_back("/usr/share/vyr");
    std::string list;
    for (const fs::path& directory : tried) {
        if (is_file(find_path(directory, sentinel))) {
            read_only_path = fs::absolute(directory, error);
            return;
        }
        list += (list.empty() ? "" : ", ") + directory.string();
    }
    report_fatal_error("Cannot find the data directory: no %s in %s. Set VYR_DATA to it", SOURCE,
                       __LINE__, sentinel, list.c_str());
}

const fs::path& get_read_only_path() { return read_only_path; }

void enter_player_directory() {
    fs::path home;
    if (const char* named = std::getenv("VYR_HOME"); named && *named) {
        home = named;
    } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        home = fs::path(xdg) / "vyr";
    } else {
        const char* user = std::getenv("HOME");
        home = fs::path(user && *user ? user : "/") / ".local/share/vyr";
    }
    std::error_code error;
    fs::create_directories(home, error);
    if (!error) fs::current_path(home, error);
    if (!error) {
        // Write access is tried, not read from the permissions, which say nothing under root or ACLs.
        fs::path probe = home / ".vyr-write-test";
        std::FILE* file = std::fopen(probe.c_str(), "wb");
        if (!file || std::fclose(file) != 0) error = std::make_error_code(std::errc::permission_denied);
        fs::remove(probe);
    }
    if (error)
        std::fprintf(stderr, "vyr: cannot use the player's directory %s (%s)\n",
                     home.c_str(), error.message().c_str());
    player_directory = error ? fs::path() : home;
}

void lock_player_directory() {
    if (player_directory.empty()) return;
    std::string error;
    switch (platform::lock_file(player_directory / "vyr.lock", error)) {
    case platform::LockResult::LOCKED: return;
    case platform::LockResult::IN_USE:
        show_notice("The player's directory %s is in use by another copy of the game. To run two at once, give "
                    "each its own directory with VYR_HOME.",
                    player_directory.c_str());
        end_process(1);
    case platform::LockResult::UNAVAILABLE:
        std::fprintf(stderr, "vyr: cannot lock the player's directory %s (%s)\n", player_directory.c_str(),
                     error.c_str());
        return;
    }
}

FileHandle* open_file(const char* name, int access, int mode, const char* source_path, int line) {
    auto* handle = new FileHandle{name, access, 0, nullptr, 0, 0, source_path, line, {}, {}, false};
    if (!open_stream(*handle, name, mode)) {
        delete handle;
        report_fatal_error("Cannot Open file %s (%s:%d)", SOURCE, __LINE__, name, source_path,
                           line);
        return nullptr;
    }
    if (mode == FILE_MODE_APPEND) std::fseek(handle->stream, 0, SEEK_END);
    handle->position = std::ftell(handle->stream);
    return handle;
}

int close_file(FileHandle* handle) {
    if (!handle) return 0;
    bool done;
    if (handle->access != FILE_ACCESS_WRITE)
        done = std::fclose(handle->stream) == 0;
    else if (handle->temporary.empty())
        done = close_written(handle->stream, !handle->short_write);
    else
        done = finish_temporary(handle->stream, !handle->short_write, handle->temporary,
                                handle->target);
    if (!done && (handle->flags & FILE_STRICT))
        report_fatal_error("Write failed on file %s (%s:%d)", SOURCE, __LINE__,
                           handle->name.c_str(), handle->opened_from, handle->opened_line);
    delete handle;
    return done;
}

size_t read_file(FileHandle* handle, void* buffer, size_t count, const char* source_path,
                 int line) {
    if (!handle) return 0;
    if (handle->access != FILE_ACCESS_READ) {
        report_fatal_error("Read file on Write Only file %s (%s:%d)", SOURCE, __LINE__,
                           handle->name.c_str(), source_path, line);
        return 0;
    }
    prepare(*handle, OPERATION_READ);
    size_t got = read_chunks(handle->stream, buffer, count);
    if (got < count && (handle->flags & FILE_STRICT))
        report_fatal_error("Read failed on file %s (%s:%d)", SOURCE, __LINE__,
                           handle->name.c_str(), source_path, line);
    handle->position += long(count);
    return got;
}

size_t write_file(FileHandle* handle, const void* buffer, size_t count, const char* source_path,
                  int line) {
    if (!handle) return 0;
    if (handle->access != FILE_ACCESS_WRITE) {
        report_fatal_error("Write file on Read Only File %s (%s:%d)", SOURCE, __LINE__,
                           handle->name.c_str(), source_path, line);
        return 0;
    }
    prepare(*handle, OPERATION_WRITE);
    size_t put = count ? std::fwrite(buffer, 1, count, handle->stream) : 0;
    if (put < count) {
        handle->short_write = true;
        if (handle->flags & FILE_STRICT)
            report_fatal_error("Write failed on file %s (%s:%d)", SOURCE, __LINE__,
                               handle->name.c_str(), source_path, line);
    }
    handle->position += long(count);
    return put;
}

size_t write_file_text(FileHandle* handle, const char* text, const char* source_path, int line) {
    return write_file(handle, text, std::char_traits<char>::length(text), source_path, line);
}

long get_file_size(FileHandle* handle) {
    std::fseek(handle->stream, 0, SEEK_END);
    long size = std::ftell(handle->stream);
    std::fseek(handle->stream, handle->position, SEEK_SET);
    return size;
}

long get_file_position(FileHandle* handle) { return handle->position; }

void seek_file(FileHandle* handle, long offset) {
    std::fseek(handle->stream, offset, SEEK_SET);
    handle->position = offset;
    handle->last_operation = 0;
}

void skip_file(FileHandle* handle, long delta) { seek_file(handle, handle->position + delta); }

void set_file_strict(FileHandle* handle) { handle->flags |= FILE_STRICT; }

long get_file_size_by_name(const char* name) {
    FoundFile found = open_for_reading(name);
    if (!found.stream) return 0;
    std::fclose(found.stream);
    std::error_code error;
    auto size = fs::file_size(found.path, error);
    return error ? 0 : long(size);
}

int check_file_exists(const char* name) {
    std::FILE* stream = open_for_reading(name).stream;
    if (stream) std::fclose(stream);
    return stream != nullptr;
}

void delete_file(const char* name) {
    fs::path found = find_path({}, name);
    std::error_code error;
    if (is_file(found)) fs::remove(found, error);
}

int is_player_file(const char* name) { return is_file(find_path({}, name)); }

std::string set_file_aside(const char* name) {
    const fs::path found = find_path({}, name);
    if (!is_file(found)) return {};
    constexpr int MOST_SET_ASIDE = 99;
    for (int n = 1; n <= MOST_SET_ASIDE; ++n) {
        const std::string suffix = ".damaged" + (n == 1 ? std::string() : std::to_string(n));
        fs::path aside = found;
        aside += suffix;
        std::error_code error;
        if (fs::exists(aside, error) || error) continue;
        fs::rename(found, aside, error);
        return error ? std::string() : name + suffix;
    }
    return {};
}

int load_file(const char* name, void* buffer, size_t size, const char* source_path, int line) {
    std::FILE* stream = open_for_reading(name).stream;
    if (!stream) {
        report_fatal_error("Cannot open : Load File %s", source_path, line, name);
        return 0;
    }
    size_t got = read_chunks(stream, buffer, size);
    std::fclose(stream);
    return got == size;
}

void load_file_exact(const char* name, void* buffer, size_t size, const char* source_path, int line) {
    std::FILE* stream = open_for_reading(name).stream;
    if (!stream) {
        report_fatal_error("Cannot open : Load File %s", source_path, line, name);
        return;
    }
    std::fseek(stream, 0, SEEK_END);
    const long actual = std::ftell(stream);
    std::fseek(stream, 0, SEEK_SET);
    const bool whole = actual == long(size) && read_chunks(stream, buffer, size) == size;
    std::fclose(stream);
    if (!whole) report_fatal_error("%s is %ld bytes, expected %zu", source_path, line, name, actual, size);
}

void* load_file_alloc(const char* name, size_t* size_out, const char* source_path, int line) {
    if (size_out) *size_out = 0;
    std::FILE* stream = open_for_reading(name).stream;
    if (!stream) {
        report_fatal_error("Cannot open : Load Variable Length File %s", source_path, line, name);
        return nullptr;
    }
    std::fseek(stream, 0, SEEK_END);
    long end = std::ftell(stream);
    std::fseek(stream, 0, SEEK_SET);
    size_t size = end > 0 ? size_t(end) : 0;
    void* block = allocate_memory(size, SOURCE, __LINE__);
    size_t got = read_chunks(stream, block, size);
    std::fclose(stream);
    if (got != size) {
        free_memory(block, SOURCE, __LINE__);
        return nullptr;
    }
    if (size_out) *size_out = size;
    return block;
}

int save_file(const char* name, const void* buffer, size_t size) {
    return write_whole_file(place_path({}, name), buffer, size);
}

FileListEntry* list_files(const char* directory, const char* pattern) {
    if (!directory || !pattern) return nullptr;
    std::vector<std::string> names;
    // Names differing only in case are one file to the game.
    auto listed = [&](const std::string& name) {
        return std::any_of(names.begin(), names.end(),
                           [&](const std::string& other) { return equal_ignoring_case(other, name); });
    };
    auto add_from = [&](const fs::path& folder) {
        std::error_code error;
        if (folder.empty() || !fs::is_directory(folder, error)) return;
        std::vector<std::string> found;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            std::string name = it->path().filename().string();
            std::error_code kind;
            if (name.front() != '.' && it->is_regular_file(kind) &&
                match_file_pattern(name, pattern) && !listed(name))
                found.push_back(name);
        }
        std::sort(found.begin(), found.end());
        names.insert(names.end(), found.begin(), found.end());
    };
    add_from(find_path({}, directory));
    if (!read_only_path.empty()) add_from(find_path(read_only_path, directory));
    FileListEntry* list = nullptr;
    for (auto it = names.rbegin(); it != names.rend(); ++it) list = new FileListEntry{*it, list};
    return list;
}

FileListEntry* get_next_file_entry(FileListEntry* entry) { return entry->next; }

const char* get_file_entry_name(FileListEntry* entry) { return entry->name.c_str(); }

void free_file_list(FileListEntry* list) {
    while (list) delete std::exchange(list, list->next);
}

std::string join_path(std::string_view first, std::string_view second) {
    return std::string(first).append(second);
}

}  // namespace vyr
