// runtime/gc.cpp: the collector's lists, allocation, marking, sweeping and lazy destruction.
#include "runtime/gc.h"

#include <cstdint>
#include <cstdlib>
#include <climits>
#include <vector>

#include "runtime/contract.h"
#include "runtime/string.h"

int gc_markbit = 1;

gc_object gc_unmarked_list{gc_static};
gc_object gc_queued_list{gc_static};
gc_object gc_marked_list{gc_static};
gc_object gc_free_list{gc_static};

int gc_new_bytes = 0;
std::atomic<int> gc_ext_new_bytes{0};
int gc_alloced_bytes = 0;
int gc_max_alloced_bytes = 0;
int gc_marked_bytes = 0;
int gc_free_bytes = 0;

gc_object* gc_locals[kGcLocals];
gc_object** gc_locals_sp = gc_locals;

void* gc_cache[8];
bool gc_stress = false;

namespace {

// Blocks handed out by gc_object_alloc whose gc_object constructor has not run yet, innermost last. The
// constructor links the block and takes its size from here. An allocation can be pending while another
// one completes (the arguments of `new T(args)` are evaluated after T's block is allocated), and the inner
// object is always constructed first, so the constructor takes the newest entry.
struct Pending {
    void* block;
    int size;
};
const int kMaxPending = 64;   // nesting depth of `new` inside new-initializers
Pending pending[kMaxPending];
int pending_count = 0;

std::vector<gc_object**>& roots() {
    static std::vector<gc_object**> slots;
    return slots;
}

bool verifying = false;   // gc_verify runs `mark` with queue-marking turned into a check
int violations = 0;

void list_clear(gc_object& head) { head.succ = head.pred = &head; }
bool list_empty(const gc_object& head) { return head.succ == &head; }

// A block whose constructor threw after gc_object() linked it comes back through operator delete once
// its destructors have run: its header (size and list links) is still in place, but its dynamic type has
// ended, which the sanitizer's type check reports on any member access. The functions that free such a
// block read only that header.
#if defined(__GNUC__)
#define ZK_HEADER_ONLY __attribute__((no_sanitize("vptr")))
#else
#define ZK_HEADER_ONLY
#endif

ZK_HEADER_ONLY void list_remove(gc_object* p) {
    p->pred->succ = p->succ;
    p->succ->pred = p->pred;
}

void list_append(gc_object& head, gc_object* p) {
    p->succ = &head;
    p->pred = head.pred;
    head.pred->succ = p;
    head.pred = p;
}

// Moves every object of `from` to the tail of `to` in one step; `from` is left empty.
void list_splice(gc_object& from, gc_object& to) {
    if (list_empty(from)) return;
    gc_object* first = from.succ;
    gc_object* last = from.pred;
    first->pred = to.pred;
    to.pred->succ = first;
    last->succ = &to;
    to.pred = last;
    list_clear(from);
}

// A cached block is raw memory: its first word links to the next block of the same size.
void recycle_block(void* block, int size) {
    if (size < kGcCacheBlocks) {
        *static_cast<void**>(block) = gc_cache[size >> 3];
        gc_cache[size >> 3] = block;
    } else {
        std::free(block);
    }
}

// The deleting destructor of every collected class: run the class's destructor, then give the block back.
void destroy(gc_object* p) {
    int size = p->gc_size();
    list_remove(p);
    p->~gc_object();
    gc_free_bytes -= size;
    recycle_block(p, size);
}

// Destroys garbage from the head of the free list until gc_free_bytes is down to `keep`.
void destroy_until(int keep) {
    while (gc_free_bytes > keep) {
        if (list_empty(gc_free_list)) {
            gc_free_bytes = 0;
            return;
        }
        destroy(gc_free_list.succ);
    }
}

// Moves a white object to `list` with a reached colour (the opposite of gc_markbit).
void colour_reached(gc_object* p, gc_object& list) {
    list_remove(p);
    p->flags = (p->flags & ~3) | (gc_markbit ^ 1);
    list_append(list, p);
}

}  // namespace

gc_object::gc_object() {
    ZK_CONTRACT(pending_count > 0, "collected objects are created with new");
    int size = pending[--pending_count].size;
    flags = gc_markbit | size;   // new objects are white
    list_append(gc_unmarked_list, this);
    gc_alloced_bytes += size;
    if (gc_alloced_bytes > gc_max_alloced_bytes) gc_max_alloced_bytes = gc_alloced_bytes;
}

gc_object::gc_object(gc_static_t) : succ(this), pred(this), flags(3) {}

void* gc_object::operator new(size_t size) { return gc_object_alloc(static_cast<int>(size)); }

ZK_HEADER_ONLY void gc_object::operator delete(void* block) {
    // A constructor or a new-initializer threw: the block may or may not have been linked by gc_object().
    if (pending_count > 0 && pending[pending_count - 1].block == block) {
        recycle_block(block, pending[--pending_count].size);
        return;
    }
    gc_object_free(static_cast<gc_object*>(block));
}

int Object::Compare(Object* other) {
    return static_cast<int>(reinterpret_cast<intptr_t>(this) - reinterpret_cast<intptr_t>(other));
}

String Object::debug() { return String("Object\n"); }

void* gc_object_alloc(int size) {
    size = (size + 7) & ~7;                                    // 1. whole 8-byte units
    gc_new_bytes += size;
    int keep = gc_free_bytes - size;                           // 2. destroy as much garbage as we take
    destroy_until(keep > 0 ? keep : 0);
    void* block = nullptr;                                     // 3. small blocks from the cache
    if (size < kGcCacheBlocks && gc_cache[size >> 3]) {
        block = gc_cache[size >> 3];
        gc_cache[size >> 3] = *static_cast<void**>(block);
    } else {
        block = zk_malloc(size);
    }
    ZK_CONTRACT(pending_count < kMaxPending, "objects under construction at once stay below kMaxPending");
                                                               // 4. and 5. happen in gc_object()
    pending[pending_count++] = {block, size};
    return block;
}

ZK_HEADER_ONLY void gc_object_free(gc_object* p) {
    int size = p->flags & ~7;   // gc_size(), read here: see ZK_HEADER_ONLY
    list_remove(p);
    gc_alloced_bytes -= size;
    recycle_block(p, size);
}

void gc_queue(gc_object* p) {
    if (verifying) {
        ++violations;   // a scanned object still points at an unqueued white one
        return;
    }
    colour_reached(p, gc_queued_list);
}

void gc_mark_now(gc_object* p) {
    if (verifying) {
        ++violations;
        return;
    }
    colour_reached(p, gc_marked_list);
    gc_marked_bytes += p->gc_size();
    p->mark();
}

void gc_add_root(gc_object** slot) { roots().push_back(slot); }
void gc_clear_roots() { roots().clear(); }

namespace {

// Objects the lists held when gc_init1 started the collector afresh: never destroyed while the process
// runs (a test may still hold them), but still the collector's, so that gc_teardown can free them.
gc_object retired{gc_static};

// A list head is set up by its static constructor; gc_init1 may run from another file's static
// initialiser before that.
bool list_ready(const gc_object& head) { return head.succ != nullptr; }

void destroy_all(gc_object& head) {
    while (list_ready(head) && !list_empty(head)) {
        gc_object* p = head.succ;
        list_remove(p);
        p->~gc_object();
        std::free(p);
    }
}

}  // namespace

void gc_teardown() {
    for (gc_object* head : {&gc_free_list, &gc_unmarked_list, &gc_queued_list, &gc_marked_list, &retired})
        destroy_all(*head);
    for (void*& first : gc_cache) {
        while (first) {
            void* next = *static_cast<void**>(first);
            std::free(first);
            first = next;
        }
    }
    gc_alloced_bytes = gc_marked_bytes = gc_free_bytes = gc_new_bytes = 0;
}

void gc_init1() {
    if (!list_ready(retired)) list_clear(retired);
    for (gc_object* head : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list, &gc_free_list}) {
        if (list_ready(*head)) list_splice(*head, retired);
        list_clear(*head);
    }
}

void gc_init2() { gc_mark(); }

void gc_mark() {
    for (gc_object** slot : roots()) gc_mark_q(*slot);
}

void gc_mark_locals() {
    for (gc_object** p = gc_locals; p != gc_locals_sp; ++p) gc_mark_i(*p);
}

void gc_mark_queued(int limit) {
    while (gc_marked_bytes < limit && !list_empty(gc_queued_list)) {
        gc_object* p = gc_queued_list.succ;
        list_remove(p);
        list_append(gc_marked_list, p);
        gc_marked_bytes += p->gc_size();
        p->mark();
    }
}

// Steps 4 to 6 of a run that completes the cycle: sweep, re-whiten survivors, queue the next roots.
static void finish_cycle() {
    if (gc_alloced_bytes - gc_marked_bytes != 0) {                         // 4. sweep: one splice
        gc_free_bytes += gc_alloced_bytes - gc_marked_bytes;
        list_splice(gc_unmarked_list, gc_free_list);
    }
    gc_alloced_bytes = gc_marked_bytes;
    list_splice(gc_marked_list, gc_unmarked_list);                         // 5. survivors turn white
    gc_marked_bytes = 0;
    gc_markbit ^= 1;
    gc_mark();                                                             // 6. roots of the next cycle
    gc_new_bytes = 0;
}

void gc_collect() {
    gc_locals_sp = gc_locals;                                              // 1.
    int ext = gc_ext_new_bytes.load();
    if (!gc_stress && static_cast<int64_t>(gc_new_bytes) + ext <= kGcCycleBytes) {
        // 2. Mark in proportion to what was allocated: new objects plus their share of the live heap.
        int64_t old_bytes = gc_alloced_bytes - gc_new_bytes;
        int64_t target = gc_new_bytes + old_bytes * gc_new_bytes / kGcCycleBytes;
        gc_mark_queued(static_cast<int>(target < INT_MAX ? target : INT_MAX));
        return;
    }
    gc_ext_new_bytes -= ext;                                               // 3. later additions stay counted
    gc_mark_locals();
    gc_mark_queued(INT_MAX);
    finish_cycle();
}

void gc_collect_all() {
    gc_mark_locals();
    gc_mark_queued(INT_MAX);
    finish_cycle();
}

void gc_flush_free(int bytes) {
    int keep = gc_free_bytes - bytes;
    destroy_until(keep > 0 ? keep : 0);
}

void gc_ext_malloced(int bytes) { gc_ext_new_bytes += bytes; }

int gc_list_count(const gc_object& head) {
    int n = 0;
    for (const gc_object* p = head.succ; p != &head; p = p->succ) ++n;
    return n;
}

bool gc_holds(const void* p) {
    if (!p) return false;
    for (const gc_object* head : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list, &gc_free_list}) {
        for (const gc_object* q = head->succ; q != head; q = q->succ)
            if (q == p) return true;
    }
    return false;
}

int gc_verify() {
    verifying = true;
    violations = 0;
    for (gc_object* p = gc_marked_list.succ; p != &gc_marked_list; p = p->succ) p->mark();
    verifying = false;
    return violations;
}
