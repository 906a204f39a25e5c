// Every file access of the program. Reads that fail in the working directory are tried again in
// the read-only data directory; writes go to the working directory only, and a file written
// whole reaches its name only complete (a temporary beside it is renamed over the old one).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace vyr {

constexpr int FILE_ACCESS_READ = 1;
constexpr int FILE_ACCESS_WRITE = 2;

// Create: an empty file at position 0; a file written this way replaces the old one at close.
// Append: the existing file at its end. Existing: the existing file at position 0.
constexpr int FILE_MODE_CREATE = 0;
constexpr int FILE_MODE_APPEND = 1;
constexpr int FILE_MODE_EXISTING = 2;

constexpr int FILE_STRICT = 4;  // handle flag: a short read or write is fatal

constexpr size_t FILE_CHUNK_SIZE = 8192;  // long reads refresh the pointer after each chunk

struct FileHandle;
struct FileListEntry;

// Takes $VYR_DATA as the read-only data directory when it is set (fatal, naming it, when it lacks
// `sentinel`); else the first of data/ beside the executable, ../share/vyr from it and
// /usr/share/vyr that holds `sentinel`; fatal, naming every directory tried, when none does. A
// null sentinel does nothing.
void find_read_only_path(const char* sentinel);
// The read-only data directory found last (empty: none).
const std::filesystem::path& get_read_only_path();

// Makes the player's own directory ($VYR_HOME, else $XDG_DATA_HOME/vyr, else
// ~/.local/share/vyr) the working directory, creating it. When it cannot be made or written, says
// so once on stderr and leaves the program to run on without keeping its files.
void enter_player_directory();
// Claims the player's directory entered last for this process, so that two copies of the program
// never write the same settings and logs. When another copy holds it, says so (naming VYR_HOME as
// the way to run two) and ends the program with status 1. A claim left by a copy that crashed
// never counts; a directory that cannot be claimed is used without.
void lock_player_directory();

// Opens `name` (fatal "Cannot Open file" when it cannot be opened; null if that returns).
FileHandle* open_file(const char* name, int access, int mode, const char* source_path, int line);
// Closes and frees the handle; 1 when everything written is in place, else 0 and the file is as
// it was before (fatal on a strict handle).
int close_file(FileHandle* handle);
// Both return the count moved; `position` advances by `count` even when it is short.
size_t read_file(FileHandle* handle, void* buffer, size_t count, const char* source_path, int line);
size_t write_file(FileHandle* handle, const void* buffer, size_t count, const char* source_path,
                  int line);
size_t write_file_text(FileHandle* handle, const char* text, const char* source_path, int line);
long get_file_size(FileHandle* handle);
long get_file_position(FileHandle* handle);
void seek_file(FileHandle* handle, long offset);
void skip_file(FileHandle* handle, long delta);
void set_file_strict(FileHandle* handle);

// Size of the file found as for reading, 0 when there is none.
long get_file_size_by_name(const char* name);
// 1 when the file can be opened for reading in the working or the read-only data directory.
int check_file_exists(const char* name);
void delete_file(const char* name);
// 1 when the file found for reading is the working directory's own (the player's), not the data's.
int is_player_file(const char* name);
// Renames the working directory's file `name` beside itself to the first free "<name>.damaged",
// "<name>.damaged2", ..., never over another file. The new name as the game writes names; empty
// when the file is not there or cannot be moved.
std::string set_file_aside(const char* name);

// Reads `size` bytes of the file into `buffer`: 1 when exactly that many were read, else 0.
// A file found nowhere is fatal.
int load_file(const char* name, void* buffer, size_t size, const char* source_path, int line);
// Reads the file whole into `buffer`; a file found nowhere, or of any size but `size`, is fatal
// (the message names the file, its size and the size expected).
void load_file_exact(const char* name, void* buffer, size_t size, const char* source_path, int line);
// The whole file in a block from `allocate_memory`; null and size 0 on a short read. A file found
// nowhere is fatal.
void* load_file_alloc(const char* name, size_t* size_out, const char* source_path, int line);
// Writes the file whole in the working directory: 1 on success; 0 leaves any old file untouched.
int save_file(const char* name, const void* buffer, size_t size);

// Ordinary files of `directory` matching `pattern` in the working directory (sorted by name),
// then those of the read-only data directory whose names are not listed yet.
FileListEntry* list_files(const char* directory, const char* pattern);
FileListEntry* get_next_file_entry(FileListEntry* entry);
const char* get_file_entry_name(FileListEntry* entry);
void free_file_list(FileListEntry* list);

std::string join_path(std::string_view first, std::string_view second);

// For tests: the refresh between chunks of a long read, and the rename that puts a finished
// temporary file in place of the old one.
extern void (*refresh_between_chunks)();
extern bool (*replace_file)(const std::filesystem::path& temporary,
                            const std::filesystem::path& target);

}  // namespace vyr
