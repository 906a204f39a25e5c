#include "library/system/memory.h"

#include <bit>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "library/debug/fatal.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/system/memory";

struct PoolShape {
    int block_size;
    int block_count;
};

constexpr PoolShape POOL_SHAPES[MEMORY_POOL_COUNT] = {
    {4, 256},     {8, 256},     {16, 256},    {32, 256},    {64, 256},    {128, 1024},  {256, 512},
    {512, 256},   {1024, 128},  {2048, 64},   {3072, 32},   {4096, 32},   {6144, 16},   {8192, 16},
    {12288, 16},  {16384, 16},  {24576, 16},  {32768, 16},  {49152, 8},   {65536, 8},
};

constexpr size_t pool_bytes_before(int pool) {
    size_t bytes = 0;
    for (int i = 0; i < pool; ++i) bytes += size_t(POOL_SHAPES[i].block_size) * size_t(POOL_SHAPES[i].block_count);
    return bytes;
}

constexpr size_t bitmap_bytes_before(int pool) {
    size_t bytes = 0;
    for (int i = 0; i < pool; ++i) bytes += size_t(POOL_SHAPES[i].block_count) / 8;
    return bytes;
}

// Every pool's size is a multiple of 1,024 bytes, so each block is aligned to its own size or 16.
alignas(16) uint8_t pool_storage[pool_bytes_before(MEMORY_POOL_COUNT)];
uint8_t pool_bitmaps[bitmap_bytes_before(MEMORY_POOL_COUNT)];

constexpr std::array<MemoryPool, MEMORY_POOL_COUNT + 1> make_pool_table() {
    std::array<MemoryPool, MEMORY_POOL_COUNT + 1> table{};
    for (int i = 0; i < MEMORY_POOL_COUNT; ++i)
        table[i] = {pool_storage + pool_bytes_before(i), pool_bitmaps + bitmap_bytes_before(i),
                    POOL_SHAPES[i].block_size, POOL_SHAPES[i].block_count, 0};
    return table;
}

// Each heap block carries a header that links it into a list, so the heap can be checked and
// listed without help from the C library.
struct HeapBlock {
    HeapBlock* previous;
    HeapBlock* next;
    size_t size;
    uint64_t guard;  // next to the caller's bytes: the first word a write before them hits
};
static_assert(sizeof(HeapBlock) % 16 == 0, "heap blocks keep the C library's alignment");

constexpr uint64_t HEAP_GUARD = 0x5679724865617021ULL;

HeapBlock heap_list = {&heap_list, &heap_list, 0, HEAP_GUARD};
size_t heap_block_count = 0;

struct LowMemoryHandler {
    LowMemoryFunction function;
    LowMemoryHandler* next;
};

LowMemoryHandler* low_memory_handlers = nullptr;

void* take_pool_block(int size) {
    for (MemoryPool* pool = memory_pools.data(); pool->base; ++pool) {
        if (pool->block_size < size) continue;
        for (int byte = 0; byte < pool->block_count / 8; ++byte) {
            uint8_t& bits = pool->bitmap[byte];
            if (bits == 0xFF) continue;
            int bit = std::countl_one(bits);
            bits |= uint8_t(0x80 >> bit);
            ++pool->blocks_used;
            return pool->base + size_t(byte * 8 + bit) * size_t(pool->block_size);
        }
    }
    return nullptr;
}

MemoryPool* find_pool(const void* block) {
    uintptr_t address = reinterpret_cast<uintptr_t>(block);
    for (MemoryPool* pool = memory_pools.data(); pool->base; ++pool) {
        uintptr_t base = reinterpret_cast<uintptr_t>(pool->base);
        if (address >= base && address < base + size_t(pool->block_count) * size_t(pool->block_size)) return pool;
    }
    return nullptr;
}

void free_pool_block(MemoryPool& pool, const void* block, const char* source_path, int line) {
    size_t offset = size_t(static_cast<const uint8_t*>(block) - pool.base);
    if (offset % size_t(pool.block_size) != 0) {
        report_fatal_error("Freeing Buddy Memory", SOURCE, 923);
        return;
    }
    size_t index = offset / size_t(pool.block_size);
    uint8_t mask = uint8_t(0x80 >> (index % 8));
    if (!(pool.bitmap[index / 8] & mask)) {
        // A second free must not make the count of blocks in use drift.
        std::fprintf(stderr, "vyr: memory freed twice (%s:%d)\n", source_path, line);
        return;
    }
    pool.bitmap[index / 8] &= uint8_t(~mask);
    --pool.blocks_used;
}

void* take_heap_block(size_t size) {
    auto* header = static_cast<HeapBlock*>(std::malloc(sizeof(HeapBlock) + size));
    if (!header) return nullptr;
    *header = {heap_list.previous, &heap_list, size, HEAP_GUARD};
    heap_list.previous->next = header;
    heap_list.previous = header;
    ++heap_block_count;
    return header + 1;
}

void free_heap_block(void* block) {
    HeapBlock* header = static_cast<HeapBlock*>(block) - 1;
    if (header->guard != HEAP_GUARD) {
        report_fatal_error("Bad node in heap", SOURCE, 518);
        return;
    }
    header->previous->next = header->next;
    header->next->previous = header->previous;
    header->guard = 0;
    --heap_block_count;
    std::free(header);
}

// True when a handler freed something.
bool run_low_memory_handlers(size_t size) {
    for (LowMemoryHandler* handler = low_memory_handlers; handler; handler = handler->next) {
        check_heap();
        if (handler->function(size)) {
            check_heap();
            return true;
        }
    }
    return false;
}

void* allocate_block(size_t size, const char* source_path, int line, bool quick) {
    // A size beyond the signed range was a negative number to its caller: no block fits it.
    if (size <= size_t(INT_MAX)) {
        do {
            if (void* block = take_pool_block(int(size))) return block;
            if (void* block = take_heap_block(size)) return block;
        } while (run_low_memory_handlers(size));
    }
    if (quick) {
        report_fatal_error("Out of Quick Memory : Malloc %d (%s:%d)", SOURCE, 341, int(size), source_path, line);
    } else {
        dump_heap();
        report_fatal_error("Out of Memory : Malloc %d (%s:%d)", SOURCE, 190, int(size), source_path, line);
    }
    return nullptr;
}

}  // namespace

constinit std::array<MemoryPool, MEMORY_POOL_COUNT + 1> memory_pools = make_pool_table();

void* allocate_memory(size_t size, const char* source_path, int line) {
    return allocate_block(size, source_path, line, false);
}

void* allocate_quick_memory(size_t size, const char* source_path, int line) {
    return allocate_block(size, source_path, line, true);
}

void free_memory(void* block, const char* source_path, int line) {
    if (!block) return;
    if (MemoryPool* pool = find_pool(block))
        free_pool_block(*pool, block, source_path, line);
    else
        free_heap_block(block);
}

void add_low_memory_handler(LowMemoryFunction function, const char* source_path, int line) {
    auto* handler = static_cast<LowMemoryHandler*>(std::malloc(sizeof(LowMemoryHandler)));
    if (!handler) {
        report_fatal_error("Out of Memory : Malloc %d (%s:%d)", SOURCE, 190, int(sizeof(LowMemoryHandler)),
                           source_path, line);
        return;
    }
    *handler = {function, low_memory_handlers};
    low_memory_handlers = handler;
}

void check_heap() {
    if (heap_list.guard != HEAP_GUARD || heap_list.next->previous != &heap_list) {
        report_fatal_error("Heap is damaged", SOURCE, 514);
        return;
    }
    // Bounded by the count, so that a damaged link cannot send the walk round for ever.
    size_t visited = 0;
    for (const HeapBlock* block = heap_list.next; block != &heap_list; block = block->next) {
        if (++visited > heap_block_count || block->guard != HEAP_GUARD || block->next->previous != block) {
            report_fatal_error("Bad node in heap", SOURCE, 518);
            return;
        }
    }
}

void dump_heap() {
    // Streamed line by line: a long listing is never cut short.
    std::FILE* file = std::fopen("memory.log.tmp", "wb");
    if (!file) return;
    std::fputs("Memory Dump\n", file);
    size_t listed = 0;
    for (const HeapBlock* block = heap_list.next; block != &heap_list && listed++ < heap_block_count;
         block = block->next)
        std::fprintf(file, "Used %08" PRIxPTR " %zu\n", reinterpret_cast<uintptr_t>(block + 1), block->size);
    std::fputs("End Memory Dump", file);
    bool written = !std::ferror(file);
    if (std::fclose(file) == 0 && written)
        std::rename("memory.log.tmp", "memory.log");
    else
        std::remove("memory.log.tmp");
}

void lock_memory(const void*, size_t) {}

}  // namespace vyr
