#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <vector>

#include "runtime/array.h"
#include "runtime/gc.h"
#include "tests/common/collector.h"

namespace {

struct Node;
std::vector<Node*> nodes;     // every node made, by id
std::vector<int> destroyed;   // destructor calls per node id

struct Node : Object {
    int id = int(nodes.size());
    Node *left = nullptr, *right = nullptr;
    Array<Node*> kids;
    Node() { nodes.push_back(this), destroyed.push_back(0); }
    ~Node() override { ++destroyed[id]; }
    void mark() override { gc_mark_q(left), gc_mark_q(right), gc_mark_q(kids); }
};

const int kNodeSize = (sizeof(Node) + 7) & ~7;
Node* root = nullptr;

// Every test starts and ends with an empty heap: one root slot, nothing reachable.
class Gc : public ::testing::Test {
protected:
    void SetUp() override { gc_clear_roots(), gc_root(root), zk_test::CollectEverything(); }
    void TearDown() override {
        root = nullptr, gc_stress = false, zk_test::CollectEverything();
        EXPECT_EQ(gc_list_count(gc_unmarked_list) + gc_list_count(gc_marked_list) +
                      gc_list_count(gc_queued_list) + gc_list_count(gc_free_list), 0);
    }
};

TEST_F(Gc, AStepMarksTheNewBytesPlusTheirShareOfTheLiveHeap) {
    gc_assign(root, new Node);
    for (Node* n = root; n->id < root->id + 8; n = n->left) gc_assign(n->left, new Node);
    gc_collect_all();                                  // nine live in a chain; the root is queued
    const int saved = gc_alloced_bytes;
    gc_new_bytes = kNodeSize;                          // one node new, three cycles' worth live:
    gc_alloced_bytes = kNodeSize + 3 * kGcCycleBytes;  // the step marks 1 + 3 nodes
    gc_collect();
    EXPECT_EQ(gc_list_count(gc_marked_list), 4);
    gc_alloced_bytes = saved;
    // A cycle's worth of new bytes is a step, one byte more a whole cycle; bytes from outside count once.
    const struct { int fresh, outside; bool completes; } runs[] = {
        {kGcCycleBytes, 0, false}, {kGcCycleBytes + 1, 0, true}, {0, kGcCycleBytes + 1, true}, {0, 0, false}};
    for (const auto& r : runs) {
        const int bit = gc_markbit;
        gc_new_bytes = r.fresh, gc_ext_malloced(r.outside), gc_collect();
        EXPECT_EQ(gc_markbit != bit, r.completes) << &r - runs;
    }
}

TEST_F(Gc, GarbageIsDestroyedLazilyOldestFirstAndSmallBlocksAreReused) {
    const int first = int(nodes.size());
    for (int i = 0; i < 3; ++i) new Node;
    gc_collect_all();                                  // all three are garbage, none destroyed yet
    gc_flush_free(kNodeSize);                          // exactly one block's worth: the oldest goes
    gc_flush_free(1);                                  // and one byte more: the next
    EXPECT_EQ(destroyed[first] * 100 + destroyed[first + 1] * 10 + destroyed[first + 2], 110);
    void* block = gc_free_list.succ;
    EXPECT_EQ(static_cast<void*>(new Node), block);   // a new node destroys as much garbage as it takes ...
    EXPECT_EQ(destroyed[first + 2], 1);               // ... and gets the freed block back
    gc_assign(root, new Node), gc_assign(root->kids, Array<Node*>(2));   // the last kid held by the array alone
    for (int i : {0, 1}) gc_assign(root->kids[i], new Node);
    zk_test::CollectEverything(), zk_test::CollectEverything();
    EXPECT_EQ(destroyed[root->kids[1]->id], 0);
}

// `new Pair(new Node, new Node, ...)` allocates the pair's block before the nodes are made: each block must
// be linked with its own size. A `new` that throws gives its block back, linked or not.
struct Pair : Object {
    Node *a, *b;
    Array<int> numbers;
    Pair(Node* x, Node* y, Array<int> n) : a(x), b(y), numbers(n) {}
    Pair(Node* x, bool fail) : a(x), b(x) { if (fail) throw 8; }
    void mark() override { gc_mark_q(a), gc_mark_q(b), gc_mark_q(numbers); }
};

Pair* pair_root = nullptr;
Node* refuse() { throw 7; }

TEST_F(Gc, NestedAndThrowingNewsLinkEachBlockWithItsOwnSizeOrGiveItBack) {
    EXPECT_THROW(new Pair(refuse(), false), int);   // the initializer throws: the block was never linked
    EXPECT_THROW(new Pair(nullptr, true), int);     // the constructor throws after the block was linked
    EXPECT_EQ(gc_alloced_bytes + gc_list_count(gc_unmarked_list), 0);
    gc_root(pair_root);
    gc_assign(pair_root, new Pair(new Node, new Node, Array<int>(3)));
    zk_test::CollectEverything();
    const int rep = int(sizeof(Array<int>::Rep) + 12 + 7) & ~7;   // whole 8-byte units
    EXPECT_EQ(gc_alloced_bytes, int((sizeof(Pair) + 7) & ~7) + 2 * kNodeSize + rep);
    EXPECT_EQ(destroyed[pair_root->a->id] + destroyed[pair_root->b->id], 0);
    pair_root = nullptr;
}

std::vector<int> Reachable() {
    std::set<int> seen;
    for (std::vector<Node*> todo{root}; !todo.empty();) {
        Node* n = todo.back();
        todo.pop_back();
        if (!n || !seen.insert(n->id).second) continue;
        todo.insert(todo.end(), {n->left, n->right});
        for (int i = 0; i < n->kids.Length(); ++i) todo.push_back(n->kids[i]);
    }
    return std::vector<int>(seen.begin(), seen.end());
}

// Every store goes through the barrier; the heap check after each run finds a marked node hiding a white one.
TEST_F(Gc, RandomGraphsKeepReachableObjectsAndDestroyTheRestOnce) {
    std::mt19937 rng(20261206);
    const int first_id = int(nodes.size());
    gc_assign(root, new Node);
    for (int step = 0; step < 4000; ++step) {
        const std::vector<int> live = Reachable();
        auto pick = [&] { return nodes[live[rng() % live.size()]]; };
        Node* holder = pick();
        switch (rng() % 6) {
        case 0: case 1: gc_assign(rng() % 2 ? holder->left : holder->right, new Node); break;
        case 2: gc_assign(holder->left, pick()); break;                           // cycles allowed
        case 3: gc_assign(holder->right, static_cast<Node*>(nullptr)); break;     // cut a branch
        case 4: {
            Array<Node*> kids(1 + rng() % 4);
            for (int i = 0; i < kids.Length(); ++i) gc_assign(kids[i], pick());
            gc_assign(holder->kids, kids);
            break;
        }
        case 5: gc_assign(root, pick()); break;
        }
        gc_stress = step % 97 == 0, gc_collect();   // now and then a whole cycle
        ASSERT_EQ(gc_verify(), 0) << "step " << step;
        for (int id : Reachable()) ASSERT_EQ(destroyed[id], 0) << "live node " << id << " destroyed";
    }
    root = nullptr, zk_test::CollectEverything();
    for (int id = first_id; id < int(nodes.size()); ++id) EXPECT_EQ(destroyed[id], 1) << "node " << id;
}

}  // namespace
