// Collector: the write barrier and the heap check, the marking budget, cycles forced by outside memory,
// lazy destruction and block recycling, objects made inside a `new`, a throwing `new`, and a randomized
// stress test that rewires object graphs over many cycles.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <set>
#include <vector>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "tests/common/collector.h"

namespace {

std::vector<int> destroyed;   // destructor calls per node id

struct Node : Object {
    int id;
    Node* left = nullptr;
    Node* right = nullptr;
    Array<Node*> kids;
    explicit Node(int i) : id(i) { destroyed.resize(std::max<size_t>(destroyed.size(), i + 1)); }
    ~Node() override { ++destroyed[id]; }
    void mark() override {
        gc_mark_q(left);
        gc_mark_q(right);
        gc_mark_q(kids);
    }
};

const int kNodeSize = (sizeof(Node) + 7) & ~7;
Node* root = nullptr;
int next_id = 0;
Node* make() { return new Node(next_id++); }

// Every test starts and ends with an empty heap: one root slot, nothing reachable.
class Gc : public ::testing::Test {
protected:
    void SetUp() override {
        gc_clear_roots();
        gc_root(root);
        root = nullptr;
        zk_test::CollectEverything();
    }
    void TearDown() override {
        root = nullptr;
        gc_stress = false;
        zk_test::CollectEverything();
        EXPECT_EQ(gc_list_count(gc_unmarked_list) + gc_list_count(gc_marked_list) +
                      gc_list_count(gc_queued_list) + gc_list_count(gc_free_list), 0);
    }
};

TEST_F(Gc, TheBarrierKeepsAStoreIntoAScannedObjectAndTheHeapCheckSeesAStoreWithoutIt) {
    gc_assign(root, make());
    gc_collect_all();                 // root survives and is queued again for the next cycle
    gc_mark_queued(INT_MAX);          // ... and is scanned (black) before the stores below
    Node* late = make();
    gc_assign(root->left, late);      // a black holder gets a white value: the barrier queues it
    EXPECT_EQ(gc_verify(), 0);
    root->right = make();             // the mistake the barrier exists to prevent
    EXPECT_EQ(gc_verify(), 1);
    gc_queue(root->right);
    zk_test::CollectEverything();
    EXPECT_EQ(destroyed[late->id] + destroyed[root->right->id], 0);
}

TEST_F(Gc, AStepMarksTheNewBytesPlusTheirShareOfTheLiveHeap) {
    gc_assign(root, make());
    for (Node* n = root; n->id < root->id + 8; n = n->left) gc_assign(n->left, make());
    gc_collect_all();                                  // nine live in a chain; the root is queued
    const int saved = gc_alloced_bytes;
    gc_new_bytes = kNodeSize;                          // one node new, three cycles' worth live:
    gc_alloced_bytes = kNodeSize + 3 * kGcCycleBytes;  // the step marks 1 + 3 nodes
    gc_collect();
    EXPECT_EQ(gc_list_count(gc_marked_list), 4);
    gc_alloced_bytes = saved;
}

TEST_F(Gc, OutsideMemoryCompletesACycle) {
    const int bit = gc_markbit;
    gc_collect();
    EXPECT_EQ(gc_markbit, bit);                        // nothing allocated: a step only
    gc_ext_malloced(4096 * 2048 * 4);                  // a decoded 4096 x 2048 RGBA image
    gc_collect();
    EXPECT_NE(gc_markbit, bit);
    EXPECT_EQ(gc_ext_new_bytes.load(), 0);
}

TEST_F(Gc, GarbageIsDestroyedLazilyOldestFirstAndSmallBlocksAreReused) {
    const int ids[3] = {make()->id, make()->id, make()->id};
    gc_collect_all();                                  // all three are garbage, none destroyed yet
    EXPECT_EQ(destroyed[ids[0]], 0);
    gc_flush_free(kNodeSize + 1);                      // one block is not enough: two go, oldest first
    EXPECT_EQ(destroyed[ids[0]] + destroyed[ids[1]] + destroyed[ids[2]], 2);
    EXPECT_EQ(destroyed[ids[2]], 0);
    void* block = gc_free_list.succ;
    Node* next = make();                               // a new node destroys as much garbage as it takes
    EXPECT_EQ(destroyed[ids[2]], 1);
    EXPECT_EQ(static_cast<void*>(next), block);        // ... and gets the freed block back
    EXPECT_EQ(gc_free_bytes, 0);
}

// Holds what its constructor is given; `new Pair(make(), make(), ...)` allocates the pair's block before
// the nodes are made.
struct Pair : Object {
    Node* a;
    Node* b;
    Array<int> numbers;
    Pair(Node* x, Node* y, Array<int> n) : a(x), b(y), numbers(n) {}
    Pair(Node* x, bool fail) : a(x), b(x) {
        if (fail) throw 8;
    }
    void mark() override {
        gc_mark_q(a);
        gc_mark_q(b);
        gc_mark_q(numbers);
    }
};

Pair* pair_root = nullptr;
Node* refuse() { throw 7; }

// Objects made inside a `new` and a `new` that throws: each block is linked with its own size, or given back.
TEST_F(Gc, NestedAndThrowingNewsLinkEachBlockWithItsOwnSizeOrGiveItBack) {
    EXPECT_THROW(new Pair(refuse(), false), int);   // the initializer throws: the block was never linked
    EXPECT_THROW(new Pair(nullptr, true), int);     // the constructor throws after the block was linked
    EXPECT_EQ(gc_alloced_bytes, 0);
    EXPECT_EQ(gc_list_count(gc_unmarked_list), 0);
    gc_root(pair_root);
    gc_assign(pair_root, new Pair(make(), make(), Array<int>(10)));
    zk_test::CollectEverything();
    const int rep = int(sizeof(Array<int>::Rep) + 40 + 7) & ~7;
    EXPECT_EQ(pair_root->numbers.rep->gc_size(), rep);
    EXPECT_EQ(gc_alloced_bytes, int((sizeof(Pair) + 7) & ~7) + 2 * kNodeSize + rep);
    EXPECT_EQ(destroyed[pair_root->a->id] + destroyed[pair_root->b->id], 0);
    pair_root = nullptr;
}

TEST_F(Gc, RandomGraphsKeepReachableObjectsAndDestroyTheRestOnce) {
    std::mt19937 rng(20261206);
    std::vector<Node*> all;
    auto pick = [&](const std::vector<int>& ids) { return all[ids[rng() % ids.size()]]; };
    // What the model says is reachable from the root, by following the same fields the collector does.
    auto reachable = [&]() {
        std::set<int> seen;
        std::vector<Node*> todo;
        if (root) todo.push_back(root);
        while (!todo.empty()) {
            Node* n = todo.back();
            todo.pop_back();
            if (!n || !seen.insert(n->id).second) continue;
            todo.insert(todo.end(), {n->left, n->right});
            for (int i = 0; i < n->kids.Length(); ++i) todo.push_back(n->kids[i]);
        }
        return std::vector<int>(seen.begin(), seen.end());
    };
    auto made = [&]() {
        Node* n = make();
        all.resize(next_id);
        all[n->id] = n;
        return n;
    };

    const int first_id = next_id;
    gc_assign(root, made());
    for (int step = 0; step < 4000; ++step) {
        std::vector<int> live = reachable();
        Node* holder = pick(live);
        switch (rng() % 6) {
        case 0: case 1: gc_assign(rng() % 2 ? holder->left : holder->right, made()); break;
        case 2: gc_assign(holder->left, pick(live)); break;                       // cycles allowed
        case 3: gc_assign(holder->right, static_cast<Node*>(nullptr)); break;     // cut a branch
        case 4: {
            Array<Node*> kids(1 + rng() % 4);
            for (int i = 0; i < kids.Length(); ++i) gc_assign(kids[i], pick(live));
            gc_assign(holder->kids, kids);
            break;
        }
        case 5: gc_assign(root, pick(live)); break;
        }
        gc_stress = step % 97 == 0;                    // now and then a whole cycle
        gc_collect();
        ASSERT_EQ(gc_verify(), 0) << "step " << step;
        for (int id : reachable()) ASSERT_EQ(destroyed[id], 0) << "live node " << id << " destroyed";
    }
    root = nullptr;
    zk_test::CollectEverything();
    for (int id = first_id; id < next_id; ++id) EXPECT_EQ(destroyed[id], 1) << "node " << id;
}

}  // namespace
