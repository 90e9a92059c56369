// Containers: red-black invariants of the int map under several insertion orders, stack growth and join,
// and the containers kept whole while the collector runs between their operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

#include "framework/containers.h"
#include "tests/common/collector.h"

namespace {

c_IntMap* map_root = nullptr;

// Checks the red-black rules below `node`; returns the black height, or -1 on a violation.
int black_height(c_Node* node, c_Node* parent, long long lo, long long hi) {
    if (!node) return 1;
    if (node->m_parent != parent) return -1;
    if (node->m_key < lo || node->m_key > hi) return -1;   // ordered
    if (node->m_color == -1 && parent && parent->m_color == -1) return -1;
    int l = black_height(node->m_left, node, lo, node->m_key - 1LL);
    int r = black_height(node->m_right, node, node->m_key + 1LL, hi);
    if (l < 0 || r < 0 || l != r) return -1;
    return l + (node->m_color == 1 ? 1 : 0);
}

int count(c_Node* node) { return node ? 1 + count(node->m_left) + count(node->m_right) : 0; }

void check_inserts(std::vector<int> keys) {
    gc_assign(map_root, (new c_IntMap)->m_new());
    for (int k : keys) {
        EXPECT_TRUE(map_root->p_Set(k, (new c_DisplayMode)->m_new(k, k)));
        // The first node stays red until a second insert's fix-up colours the root black.
        if (map_root->m_root->m_left || map_root->m_root->m_right) {
            ASSERT_EQ(map_root->m_root->m_color, 1);
        }
        ASSERT_GT(black_height(map_root->m_root, nullptr, INT_MIN, INT_MAX), 0);
    }
    EXPECT_EQ(count(map_root->m_root), static_cast<int>(keys.size()));
    for (int k : keys) ASSERT_TRUE(map_root->p_Contains(k));
    EXPECT_FALSE(map_root->p_Contains(-12345));
    gc_collect_all();   // the tree survives a whole cycle through its root
    gc_flush_free(INT_MAX);
    EXPECT_FALSE(zk_test::OnFreeList(map_root));
    for (int k : keys) {
        c_Node* node = map_root->p_FindNode(k);
        ASSERT_TRUE(gc_holds(node) && gc_holds(node->m_value));
        ASSERT_EQ(node->m_value->m_width, k);
    }
}

class Containers : public ::testing::Test {
protected:
    void SetUp() override {
        gc_clear_roots();
        gc_root(map_root);
    }
};

}  // namespace

TEST_F(Containers, MapStaysBalancedForAscendingDescendingAndRandomKeys) {
    std::vector<int> up(500), down(500), shuffled(500);
    for (int i = 0; i < 500; ++i) up[i] = i, down[i] = 500 - i, shuffled[i] = i * 7919 % 100003;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    check_inserts(up);
    check_inserts(down);
    check_inserts(shuffled);
    check_inserts({INT_MIN, INT_MAX, 0, -1, 1});   // keys further apart than the int range
}

TEST_F(Containers, SettingAnExistingKeyReplacesItsValue) {
    map_root = (new c_IntMap)->m_new();
    c_DisplayMode* second = (new c_DisplayMode)->m_new(2, 2);
    EXPECT_TRUE(map_root->p_Insert(640 << 16 | 480, (new c_DisplayMode)->m_new(1, 1)));
    EXPECT_FALSE(map_root->p_Set(640 << 16 | 480, second));
    EXPECT_EQ(count(map_root->m_root), 1);
    EXPECT_EQ(map_root->p_FindNode(640 << 16 | 480)->m_value, second);
}

TEST_F(Containers, StacksGrowToTenThenThirtyAndCopyOut) {
    c_Stack* modes = (new c_Stack)->m_new();
    EXPECT_EQ(modes->p_ToArray().Length(), 0);
    for (int i = 0; i < 10; ++i) modes->p_Push((new c_DisplayMode)->m_new(i, i));
    EXPECT_EQ(modes->m_data.Length(), 10);
    modes->p_Push((new c_DisplayMode)->m_new(10, 10));
    EXPECT_EQ(modes->m_data.Length(), 30);
    Array<c_DisplayMode*> out = modes->p_ToArray();
    ASSERT_EQ(out.Length(), 11);
    EXPECT_EQ(out[10]->m_width, 10);

    c_Stack3* sources = (new c_Stack3)->m_new();
    sources->p_Length(3);
    EXPECT_EQ(sources->p_Length2(), 3);
    EXPECT_EQ(sources->p_Get(2), nullptr);
}

namespace {
struct Source : Object, c_IAsyncEventSource {
    void p_UpdateAsyncEvents() override {}
};
}  // namespace

TEST_F(Containers, SourceStackForgetsElementsCutOffByAShorterLength) {
    c_Stack3* sources = (new c_Stack3)->m_new();
    sources->p_Length(2);
    gc_assign(sources->m_data[0], static_cast<c_IAsyncEventSource*>(new Source));
    gc_assign(sources->m_data[1], static_cast<c_IAsyncEventSource*>(new Source));
    sources->p_Length(1);
    EXPECT_EQ(sources->p_Length2(), 1);
    EXPECT_NE(sources->p_Get(0), nullptr);
    sources->p_Length(2);                        // within the capacity: the cut-off slot comes back empty
    EXPECT_EQ(sources->p_Get(1), c_Stack3::m_NIL);
    sources->p_Length(0);
    sources->p_Length(2);
    EXPECT_EQ(sources->p_Get(0), nullptr);
}

namespace {
c_Stack* stack_root = nullptr;
c_StringStack* strings_root = nullptr;
}  // namespace

// Runs the collector between every two operations, now an incremental step and now a whole cycle, and
// checks the marking invariant and that nothing reachable is swept while the containers are rebuilt.
TEST_F(Containers, ContainersSurviveTheCollectorBetweenEveryOperation) {
    gc_root(stack_root);
    gc_root(strings_root);
    gc_assign(map_root, (new c_IntMap)->m_new());
    gc_assign(stack_root, (new c_Stack)->m_new());
    gc_assign(strings_root, (new c_StringStack)->m_new2());
    std::mt19937 rng(42);
    std::vector<int> keys;
    for (int step = 0; step < 600; ++step) {
        int key = static_cast<int>(rng() % 1000) - 500;
        c_DisplayMode* mode = (new c_DisplayMode)->m_new(key, step);
        bool fresh = map_root->p_Set(key, mode);
        if (fresh) keys.push_back(key);
        stack_root->p_Push((new c_DisplayMode)->m_new(step, key));
        strings_root->p_Push4(String(step));
        ASSERT_EQ(gc_verify(), 0) << "step " << step;
        gc_stress = step % 7 == 0;
        gc_collect();
        gc_stress = false;
        ASSERT_EQ(gc_verify(), 0) << "step " << step;
        ASSERT_FALSE(zk_test::OnFreeList(map_root->p_FindNode(key)->m_value)) << "step " << step;
    }
    zk_test::CollectEverything();               // garbage blocks are destroyed and their memory reused
    for (int i = 0; i < 200; ++i) (new c_DisplayMode)->m_new(-1, -1);
    ASSERT_GT(black_height(map_root->m_root, nullptr, INT_MIN, INT_MAX), 0);
    EXPECT_EQ(count(map_root->m_root), static_cast<int>(keys.size()));
    for (int k : keys) {
        c_Node* node = map_root->p_FindNode(k);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->m_value->m_width, k);
        EXPECT_TRUE(gc_holds(node->m_value));
    }
    Array<c_DisplayMode*> modes = stack_root->p_ToArray();
    ASSERT_EQ(modes.Length(), 600);
    for (int i = 0; i < 600; ++i) ASSERT_EQ(modes[i]->m_width, i);
    EXPECT_TRUE(strings_root->p_Join(String(",")).StartsWith(String("0,1,2,3,")));
    EXPECT_EQ(strings_root->p_ToArray().Length(), 600);
    map_root = nullptr;
    stack_root = nullptr;
    strings_root = nullptr;
}

TEST_F(Containers, StringStackJoinsWithSeparatorsBetweenNeighboursOnly) {
    c_StringStack* s = (new c_StringStack)->m_new2();
    EXPECT_EQ(s->p_Join(String(",")).Length(), 0);
    s->p_Push4(String("a"));
    EXPECT_TRUE(s->p_Join(String(",")) == String("a"));
    s->p_Push4(String("bb"));
    s->p_Push4(String("c"));
    EXPECT_TRUE(s->p_Join(String(",")) == String("a,bb,c"));
    Array<String> parts = String("x|y|z").Split(String("|"));
    c_StringStack* from = (new c_StringStack)->m_new(parts);
    from->p_Push6(parts, 1);
    EXPECT_TRUE(from->p_Join(String("")) == String("xyzyz"));
}
