// runtime/gc.h: incremental tri-colour mark-and-sweep collector.
//
// Owns every collected object: allocation, the four object lists, marking budgets and lazy destruction.
// Strings are not collected (see string.h); array reps are (see array.h).
//
// Colours live in the low 2 bits of gc_object::flags; the block size (a multiple of 8) in the bits above
// the low 3. An object is white (not reached in this cycle) when its colour equals gc_markbit. Flipping
// gc_markbit at the end of a cycle turns every survivor white at once; the static empty arrays carry
// colour 3, which is never white, so they never enter a list.
//
// Invariant while marking: an object on gc_marked_list never refers to a white object that is not
// queued. gc_assign keeps this true for every store made between collector runs; gc_verify() checks it.
//
// The collector runs only between calls into the game (after each update, render and input event),
// never inside one, so an object reference held only in a local variable is safe until the call returns.
#pragma once

#include <atomic>
#include <cstddef>
#include <new>

struct gc_object;

// Colour value meaning "not yet reached" in the current cycle; starts at 1 and flips each cycle.
extern int gc_markbit;

extern gc_object gc_unmarked_list;   // white objects, and everything allocated during this cycle
extern gc_object gc_queued_list;     // reached, not yet scanned (grey)
extern gc_object gc_marked_list;     // reached and scanned (black)
extern gc_object gc_free_list;       // garbage of finished cycles, waiting to be destroyed

extern int gc_new_bytes;                     // bytes allocated since the last completed cycle
extern std::atomic<int> gc_ext_new_bytes;    // outside memory reported since the last completed cycle
extern int gc_alloced_bytes;                 // bytes of all live and not yet swept objects
extern int gc_max_alloced_bytes;             // the highest gc_alloced_bytes reached
extern int gc_marked_bytes;                  // bytes moved to the marked list in this cycle
extern int gc_free_bytes;                    // bytes waiting on the free list

// A cycle completes once this much new memory (collected plus outside) has been allocated.
const int kGcCycleBytes = 8 * 1024 * 1024;
// Explicit root stack for local references; nothing pushes onto it, it is reset at every run.
const int kGcLocals = 8192;
extern gc_object* gc_locals[kGcLocals];
extern gc_object** gc_locals_sp;

// Blocks under 64 bytes are recycled through gc_cache[size / 8], each block's first word linking to the
// next; entry 0 stays empty.
const int kGcCacheBlocks = 64;
extern void* gc_cache[8];

// Test aid: when true every gc_collect completes a whole cycle (finds a missing gc_assign or mark at the
// exact store that forgot it).
extern bool gc_stress;

struct gc_static_t {};               // tag: constructs a static object that no list ever holds
constexpr gc_static_t gc_static{};

// Base of every collected object. Allocate with `new` (the class operator new takes the block from the
// collector); never delete: the collector destroys an object once a completed cycle found it unreachable.
struct gc_object {
    gc_object* succ;
    gc_object* pred;
    int flags;

    gc_object();                          // links a block from gc_object_alloc onto gc_unmarked_list
    explicit gc_object(gc_static_t);      // colour 3, on no list: the static empty arrays, list heads
    gc_object(const gc_object&) = delete;
    gc_object& operator=(const gc_object&) = delete;
    virtual ~gc_object() {}
    virtual void mark() {}

    int gc_size() const { return flags & ~7; }

    static void* operator new(size_t size);
    static void operator delete(void* block);   // only reached when a constructor throws
    static void* operator new(size_t, void* where) { return where; }
    static void operator delete(void*, void*) {}
};

// Base of framework and game classes.
struct Object : gc_object {
    using gc_object::gc_object;
    virtual bool Equals(Object* other) { return this == other; }
    virtual int Compare(Object* other);
    virtual class String debug();
};

// Base of interface classes.
struct gc_interface {
    virtual ~gc_interface() {}
};

// Returns a block of `size` bytes (rounded up to 8) for a new object; the object's constructor then links
// it. Destroys about `size` bytes of pending garbage first.
void* gc_object_alloc(int size);
// Gives back a block whose construction failed, without running a destructor.
void gc_object_free(gc_object* object);

inline bool gc_is_white(const gc_object* p) { return (p->flags & 3) == gc_markbit; }

void gc_queue(gc_object* p);           // white -> grey: move to the tail of gc_queued_list
void gc_mark_now(gc_object* p);        // white -> black at once, and scan it now

// Queue-marking, for `mark` operations of classes (their fields) and for roots.
inline void gc_mark_q(gc_object* p) {
    if (p && gc_is_white(p)) gc_queue(p);
}
// Immediate marking, for the elements of arrays of object pointers.
inline void gc_mark_i(gc_object* p) {
    if (p && gc_is_white(p)) gc_mark_now(p);
}

// Interface pointers reach their object through the object's dynamic type.
inline void gc_mark_q(gc_interface* p) { gc_mark_q(dynamic_cast<gc_object*>(p)); }
inline void gc_mark_i(gc_interface* p) { gc_mark_i(dynamic_cast<gc_object*>(p)); }

// Store `value` into `field`; a white value is queued first so that a marked holder never hides it.
template <class T, class U>
inline void gc_assign(T*& field, U* value) {
    gc_mark_q(value);   // keep the marking invariant
    field = value;
}

// Roots: the globals of later layers register their slots once, when their module initialises.
// gc_mark() queue-marks whatever each registered slot holds at the time.
void gc_add_root(gc_object** slot);
template <class T>
inline void gc_root(T*& global) { gc_add_root(reinterpret_cast<gc_object**>(&global)); }
void gc_clear_roots();

void gc_init1();                 // empty every list (what they held is kept aside for gc_teardown)
// Destroys every object the collector holds, those gc_init1 set aside included, and frees its cached
// blocks, so that a leak check that follows reports only memory that is really lost. For the end of a
// test program's main: destructors still reach module statics, which must not have been destroyed yet.
// (Without it, everything the collector holds stays reachable from its list heads and is not reported.)
void gc_teardown();
void gc_init2();                 // gc_mark()
void gc_mark();                  // queue-mark every registered root
void gc_mark_locals();
void gc_mark_queued(int limit);  // scan grey objects until gc_marked_bytes reaches limit
void gc_collect();               // one collector run: an incremental step, or a whole cycle past 8 MiB
void gc_collect_all();           // a whole cycle regardless of the thresholds
void gc_flush_free(int bytes);   // destroy garbage until gc_free_bytes dropped by `bytes`
void gc_ext_malloced(int bytes); // report memory allocated outside the collector (atomic)

// Number of objects on a list (tests and diagnostics).
int gc_list_count(const gc_object& head);
// True when `p` is an object that one of the four lists currently holds.
bool gc_holds(const void* p);
// Counts black-to-white references that are not queued: must be 0 between runs while marking.
int gc_verify();
