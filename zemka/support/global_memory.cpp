// Movable memory: a small handle table. A handle is an index + 1 into the
// table, so a stale or made-up handle is detected instead of dereferenced.
#include <cstdlib>
#include <new>
#include <vector>

#include "zemka/raster/gdi.h"

// Built without exceptions (for a page) a table that cannot grow ends the
// program, as any failed allocation does there.
#if defined(__cpp_exceptions)
#define ZEMKA_TRY try
#define ZEMKA_CATCH_BAD_ALLOC catch (const std::bad_alloc &)
#else
#define ZEMKA_TRY if (true)
#define ZEMKA_CATCH_BAD_ALLOC else
#endif

namespace zemka::gdi {

namespace {

struct Block {
    void *data = nullptr;
    bool used = false;
};

// Never destroyed: blocks still held at exit are released with the process,
// and stay reachable until then.
std::vector<Block> &blocks() {
    static auto *table = new std::vector<Block>;
    return *table;
}
std::vector<std::size_t> &free_slots() {
    static auto *slots = new std::vector<std::size_t>;
    return *slots;
}
int failures_to_inject = 0;

Block *lookup(MemHandle handle) {
    if (handle == 0 || handle > blocks().size()) return nullptr;
    Block &b = blocks()[handle - 1];
    return b.used ? &b : nullptr;
}

}  // namespace

void fail_next_global_allocs(int n) { failures_to_inject = n; }

MemHandle global_alloc(std::size_t bytes) {
    if (failures_to_inject > 0) {
        --failures_to_inject;
        return 0;
    }
    void *data = std::malloc(bytes ? bytes : 1);
    if (!data) return 0;
    std::size_t slot;
    ZEMKA_TRY {
        if (!free_slots().empty()) {
            slot = free_slots().back();
            free_slots().pop_back();
        } else {
            blocks().push_back({});
            slot = blocks().size() - 1;
        }
    } ZEMKA_CATCH_BAD_ALLOC {
        std::free(data);
        return 0;
    }
    blocks()[slot] = {data, true};
    return slot + 1;
}

void *global_lock(MemHandle handle) {
    Block *b = lookup(handle);
    return b ? b->data : nullptr;
}

void global_unlock(MemHandle) {}

void global_free(MemHandle handle) {
    Block *b = lookup(handle);
    if (!b) return;
    std::free(b->data);
    *b = {};
    ZEMKA_TRY {
        free_slots().push_back(handle - 1);
    } ZEMKA_CATCH_BAD_ALLOC {
        // The slot is simply not reused.
    }
}

}  // namespace zemka::gdi
