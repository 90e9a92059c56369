// Collector: the write barrier, the marking budget, the cycle threshold, block recycling, and a
// randomized stress test that rewires object graphs over many cycles.
#include <gtest/gtest.h>

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

    explicit Node(int i) : id(i) {
        if (static_cast<int>(destroyed.size()) <= id) destroyed.resize(id + 1, 0);
    }
    ~Node() override { ++destroyed[id]; }
    void mark() override {
        gc_mark_q(left);
        gc_mark_q(right);
        gc_mark_q(kids);
    }
};

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
        gc_stress = false;
        drain();
    }
    void TearDown() override {
        root = nullptr;
        gc_stress = false;
        drain();
        EXPECT_EQ(gc_list_count(gc_unmarked_list) + gc_list_count(gc_marked_list) +
                      gc_list_count(gc_queued_list) + gc_list_count(gc_free_list), 0);
    }
    static void drain() { zk_test::CollectEverything(); }   // the free list ends empty
};

TEST_F(Gc, BarrierKeepsAnObjectStoredAfterTheRootsWereQueued) {
    gc_assign(root, make());
    gc_collect_all();                 // root survives and is queued again for the next cycle
    gc_mark_queued(INT_MAX);          // ... and is scanned (black) before the store below
    Node* late = make();
    int late_id = late->id;
    gc_assign(root->left, late);      // a black holder gets a white value: the barrier queues it
    EXPECT_EQ(gc_verify(), 0);
    gc_collect_all();
    gc_flush_free(INT_MAX);
    EXPECT_EQ(destroyed[late_id], 0);
    EXPECT_EQ(root->left, late);
}

TEST_F(Gc, AStoreWithoutTheBarrierIsCaughtByTheHeapCheck) {
    gc_assign(root, make());
    gc_collect_all();
    gc_mark_queued(INT_MAX);
    Node* late = make();
    root->left = late;                // the mistake the barrier exists to prevent
    EXPECT_EQ(gc_verify(), 1);
    gc_queue(late);                   // repair, so the heap stays sound for the next tests
    EXPECT_EQ(gc_verify(), 0);
}

TEST_F(Gc, IncrementalStepMarksInProportionToAllocation) {
    // 100 bytes new and 1,000,000 live: marking stops once 100 + 999,900 * 100 / 8 MiB = 111 bytes
    // are marked. With nodes of 56 bytes the second one crosses 111.
    std::vector<Node*> nodes;
    gc_assign(root, make());
    for (int i = 0; i < 5; ++i) {
        Node* n = make();
        gc_assign(n->left, i ? nodes.back() : nullptr);
        nodes.push_back(n);
    }
    gc_assign(root->right, nodes.back());
    gc_collect_all();                                 // all six live; the root is queued
    ASSERT_EQ(root->gc_size(), 56);
    const int saved_alloced = gc_alloced_bytes;
    gc_new_bytes = 100;
    gc_alloced_bytes = 1000000;
    gc_collect();
    EXPECT_EQ(gc_marked_bytes, 112);                  // 56, then 112 >= 111 stops
    EXPECT_EQ(gc_list_count(gc_marked_list), 2);
    gc_alloced_bytes = saved_alloced;
    gc_new_bytes = 0;
}

TEST_F(Gc, OutsideMemoryCompletesACycle) {
    const int bit = gc_markbit;
    gc_collect();
    EXPECT_EQ(gc_markbit, bit);                        // nothing allocated: a step only
    gc_ext_malloced(4096 * 2048 * 4);                  // a decoded 4096 x 2048 RGBA image
    gc_collect();
    EXPECT_NE(gc_markbit, bit);                        // the cycle completed
    EXPECT_EQ(gc_ext_new_bytes.load(), 0);
}

TEST_F(Gc, SmallBlocksAreRecycledAndGarbageIsDestroyedByLaterAllocations) {
    Node* first = make();
    int first_id = first->id;
    void* block = first;
    gc_collect_all();                                  // unreachable: spliced onto the free list
    EXPECT_EQ(destroyed[first_id], 0);                 // ... but not destroyed yet
    EXPECT_EQ(gc_free_bytes, 56);
    Node* second = make();                             // 56 bytes of garbage go first
    EXPECT_EQ(destroyed[first_id], 1);
    EXPECT_EQ(gc_free_bytes, 0);
    EXPECT_EQ(static_cast<void*>(second), block);      // and the block came back from the cache
    Array<int> big(100);                               // 432 bytes: never cached
    EXPECT_EQ(big.rep->gc_size(), 432);
}

TEST_F(Gc, FlushDestroysFromTheHeadUntilTheBytesHaveGone) {
    const int ids[3] = {make()->id, make()->id, make()->id};
    gc_collect_all();                                  // all three are garbage, none destroyed yet
    const int size = (sizeof(Node) + 7) & ~7;
    ASSERT_EQ(gc_free_bytes, 3 * size);
    gc_flush_free(size + 1);                           // one block is not enough: two go, oldest first
    EXPECT_EQ(destroyed[ids[0]] + destroyed[ids[1]], 2);
    EXPECT_EQ(destroyed[ids[2]], 0);
    EXPECT_EQ(gc_free_bytes, size);
    gc_flush_free(0);
    EXPECT_EQ(destroyed[ids[2]], 0);
    gc_flush_free(INT_MAX);                            // more than is left: the list empties
    EXPECT_EQ(destroyed[ids[2]], 1);
    EXPECT_EQ(gc_free_bytes, 0);
    EXPECT_EQ(gc_list_count(gc_free_list), 0);
}

// Holds two nodes given to its constructor; `new Pair(make(), make())` allocates the pair's block before
// the nodes are made and constructed.
struct Pair : Object {
    Node* a;
    Node* b;
    Array<int> numbers;
    Pair(Node* x, Node* y, Array<int> n) : a(x), b(y), numbers(n) {}
    void mark() override {
        gc_mark_q(a);
        gc_mark_q(b);
        gc_mark_q(numbers);
    }
};

Pair* pair_root = nullptr;

TEST_F(Gc, ObjectsMadeInsideANewInitializerAreLinkedWithTheirOwnSizes) {
    gc_root(pair_root);
    const int before = gc_alloced_bytes;
    Pair* p = new Pair(make(), make(), Array<int>(10));
    const int pair_size = (sizeof(Pair) + 7) & ~7, node_size = (sizeof(Node) + 7) & ~7;
    const int array_size = (sizeof(Array<int>::Rep) + 40 + 7) & ~7;
    EXPECT_EQ(p->gc_size(), pair_size);
    EXPECT_EQ(p->a->gc_size(), node_size);
    EXPECT_EQ(p->b->gc_size(), node_size);
    EXPECT_EQ(p->numbers.rep->gc_size(), array_size);
    const int total = pair_size + 2 * node_size + array_size;
    EXPECT_EQ(gc_alloced_bytes - before, total);
    EXPECT_EQ(gc_list_count(gc_unmarked_list), 4);
    gc_assign(pair_root, p);
    gc_collect_all();
    gc_flush_free(INT_MAX);
    EXPECT_EQ(gc_alloced_bytes, total);
    EXPECT_EQ(destroyed[p->a->id] + destroyed[p->b->id], 0);
    pair_root = nullptr;
    drain();
    EXPECT_EQ(gc_alloced_bytes, 0);
    EXPECT_EQ(gc_free_bytes, 0);
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
            if (!seen.insert(n->id).second) continue;
            if (n->left) todo.push_back(n->left);
            if (n->right) todo.push_back(n->right);
            for (int i = 0; i < n->kids.Length(); ++i)
                if (n->kids[i]) todo.push_back(n->kids[i]);
        }
        return std::vector<int>(seen.begin(), seen.end());
    };

    const int first_id = next_id;
    gc_assign(root, make());
    all.resize(next_id);
    all[root->id] = root;
    for (int step = 0; step < 4000; ++step) {
        std::vector<int> live = reachable();
        Node* holder = pick(live);
        switch (rng() % 6) {
        case 0: case 1: {                              // hang a new node somewhere
            Node* n = make();
            all.resize(next_id);
            all[n->id] = n;
            gc_assign(rng() % 2 ? holder->left : holder->right, n);
            break;
        }
        case 2:                                        // link two reachable nodes (cycles allowed)
            gc_assign(holder->left, pick(live));
            break;
        case 3:                                        // cut a branch
            gc_assign(holder->right, static_cast<Node*>(nullptr));
            break;
        case 4: {                                      // give a node an array of children
            Array<Node*> kids(1 + rng() % 4);
            for (int i = 0; i < kids.Length(); ++i) gc_assign(kids[i], pick(live));
            gc_assign(holder->kids, kids);
            break;
        }
        case 5:                                        // move the root
            gc_assign(root, pick(live));
            break;
        }
        gc_stress = step % 97 == 0;                    // now and then a whole cycle
        gc_collect();
        ASSERT_EQ(gc_verify(), 0) << "step " << step;
        for (int id : reachable()) ASSERT_EQ(destroyed[id], 0) << "live node " << id << " destroyed";
    }
    gc_stress = false;
    std::vector<int> live = reachable();
    root = nullptr;
    drain();
    for (int id = first_id; id < next_id; ++id) EXPECT_EQ(destroyed[id], 1) << "node " << id;
    EXPECT_FALSE(live.empty());
}

}  // namespace
