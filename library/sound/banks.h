// Sample banks: every row's data in one file, so that start-up reads one file instead of 207.
// "sound\maximal.blk" holds the full set, "sound\minimal.blk" the minimal one; a missing bank is
// built from the ".raw" files of the rows and written to the working directory.
//
// Format (little-endian int32): the full bank starts with the total size of its sample files;
// then records of row number, byte length n and n bytes; then -1. A bad record ends the reading
// of the bank with a line on stderr; the rows read before it keep their sound.
#pragma once

namespace vyr {

constexpr const char* FULL_BANK_NAME = "sound\\maximal.blk";
constexpr const char* MINIMAL_BANK_NAME = "sound\\minimal.blk";

extern int sound_bank_loaded;

// Loads the full set when there is a device, effects are on and the full set is chosen; always
// registers the bank's release as an exit handler.
void load_sample_bank();
// Loads the minimal set when it is chosen; rows that already have a buffer keep it.
void load_minimal_sample_bank();
// Releases every row's buffer.
void release_sample_bank();

}  // namespace vyr
