// Memory blocks for the game's modules; every call names its caller's source path and line.
#pragma once

#include <cstddef>

namespace vyr {

// A block of `size` bytes; exhaustion is fatal ("Out of Memory : Malloc ...").
void* allocate_memory(size_t size, const char* source_path, int line);
// Gives a block back; null is ignored.
void free_memory(void* block, const char* source_path, int line);

}  // namespace vyr
