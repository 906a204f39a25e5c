// Memory blocks for the game's modules: small and medium blocks from twenty fixed size-class
// pools in static storage, so that short-lived blocks do not fragment the heap; larger ones, or
// ones whose pools are full, from the run-time heap. Every call names its caller's source path
// and line for the fatal message. Cooperative threads only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vyr {

constexpr int MEMORY_POOL_COUNT = 20;

struct MemoryPool {
    uint8_t* base;    // block 0; null ends the table
    uint8_t* bitmap;  // 1 = in use; block i is bit 0x80 >> (i % 8) of byte i / 8
    int block_size;
    int block_count;
    int blocks_used;
};

// By increasing block size, ended by an entry whose base is null.
extern std::array<MemoryPool, MEMORY_POOL_COUNT + 1> memory_pools;

// Asked for memory back when an allocation fails: frees some (a cache) and returns non-zero
// when it did. `size` is the size wanted.
using LowMemoryFunction = int (*)(size_t size);

// A block of `size` bytes, from the smallest pool with a free block that fits, else the heap.
// When both fail the low-memory handlers are asked and the allocation retried; when they free
// nothing, the heap listing goes to memory.log and "Out of Memory : Malloc ..." is fatal.
void* allocate_memory(size_t size, const char* source_path, int line);
// The same without the heap listing; fatal "Out of Quick Memory : Malloc ...".
void* allocate_quick_memory(size_t size, const char* source_path, int line);
// Gives a block back; null is ignored.
void free_memory(void* block, const char* source_path, int line);
// Newest first.
void add_low_memory_handler(LowMemoryFunction function, const char* source_path, int line);

// Fatal when the heap's bookkeeping is damaged (a write before the start of a heap block).
void check_heap();
// Writes the listing of the heap blocks in use to memory.log.
void dump_heap();
// Asks that an area stay resident; nothing needs it here.
void lock_memory(const void* address, size_t size);

}  // namespace vyr
