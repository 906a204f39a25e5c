#include "library/system/memory.h"

#include <cstdlib>

#include "library/debug/fatal.h"

namespace vyr {

void* allocate_memory(size_t size, const char* source_path, int line) {
    void* block = std::malloc(size ? size : 1);
    if (!block)
        report_fatal_error("Out of Memory : Malloc %d (%s:%d)", "library/system/memory", 0,
                           int(size), source_path, line);
    return block;
}

void free_memory(void* block, const char*, int) { std::free(block); }

}  // namespace vyr
