// Containers: red-black invariants of the int map under several insertion orders, stacks and joins, a
// shortened source stack, and the containers kept whole while the collector runs between operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

#include "framework/containers.h"
#include "tests/common/collector.h"

namespace {

c_IntMap* map_root = nullptr;
c_Stack* stack_root = nullptr;
c_StringStack* strings_root = nullptr;

// Checks the red-black rules and the order below `node`; returns the black height, or -1 on a violation.
int black_height(c_Node* node, c_Node* parent, long long lo, long long hi) {
    if (!node) return 1;
    if (node->m_parent != parent || node->m_key < lo || node->m_key > hi) return -1;
    if (node->m_color == -1 && parent && parent->m_color == -1) return -1;
    int l = black_height(node->m_left, node, lo, node->m_key - 1LL);
    int r = black_height(node->m_right, node, node->m_key + 1LL, hi);
    return l < 0 || l != r ? -1 : l + (node->m_color == 1);
}

struct Source : Object, c_IAsyncEventSource {
    void p_UpdateAsyncEvents() override {}
};

int count(c_Node* node) { return node ? 1 + count(node->m_left) + count(node->m_right) : 0; }

class Containers : public ::testing::Test {
protected:
    void SetUp() override {
        zk_test::StartCollectorOnce();
        gc_clear_roots();
        gc_root(map_root), gc_root(stack_root), gc_root(strings_root);
    }
};

TEST_F(Containers, TheMapStaysBalancedAndOrderedForAscendingDescendingAndRandomKeys) {
    std::vector<int> up(300), down(300), shuffled(300);
    for (int i = 0; i < 300; ++i) up[i] = i, down[i] = 300 - i, shuffled[i] = i * 7919 % 100003;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    for (const std::vector<int>& keys : {up, down, shuffled, std::vector<int>{INT_MIN, INT_MAX, 0, -1, 1}}) {
        gc_assign(map_root, (new c_IntMap)->m_new());
        for (int k : keys) {
            EXPECT_TRUE(map_root->p_Set(k, (new c_DisplayMode)->m_new(k, k)));
            ASSERT_GT(black_height(map_root->m_root, nullptr, INT_MIN, INT_MAX), 0) << k;
        }
        EXPECT_EQ(count(map_root->m_root), int(keys.size()));
        for (int k : keys) ASSERT_EQ(map_root->p_FindNode(k)->m_value->m_width, k);
    }
    c_DisplayMode* second = (new c_DisplayMode)->m_new(2, 2);
    EXPECT_FALSE(map_root->p_Set(0, second));   // an existing key: its value is replaced
    EXPECT_EQ(map_root->p_FindNode(0)->m_value, second);
}

TEST_F(Containers, StacksCopyOutJoinAndForgetSourcesCutOffByAShorterLength) {
    c_StringStack* s = (new c_StringStack)->m_new(String("x|y").Split(String("|")));
    s->p_Push4(String("bb"));
    s->p_Push6(String("x|y|z").Split(String("|")), 1);
    EXPECT_TRUE(s->p_Join(String(",")) == String("x,y,bb,y,z"));
    c_Stack3* sources = (new c_Stack3)->m_new();
    sources->p_Length(2);
    gc_assign(sources->m_data[1], static_cast<c_IAsyncEventSource*>(new Source));
    sources->p_Length(1);
    sources->p_Length(2);   // within the capacity: the cut-off slot comes back empty
    EXPECT_EQ(sources->p_Get(1), nullptr);
}

// Runs the collector between every two operations, now an incremental step and now a whole cycle, and
// checks the marking invariant and that nothing reachable is swept while the containers are rebuilt.
TEST_F(Containers, ContainersSurviveTheCollectorBetweenEveryOperation) {
    gc_assign(map_root, (new c_IntMap)->m_new());
    gc_assign(stack_root, (new c_Stack)->m_new());
    gc_assign(strings_root, (new c_StringStack)->m_new2());
    std::mt19937 rng(42);
    std::vector<int> keys;
    for (int step = 0; step < 600; ++step) {
        int key = int(rng() % 1000) - 500;
        if (map_root->p_Set(key, (new c_DisplayMode)->m_new(key, step))) keys.push_back(key);
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
    EXPECT_EQ(count(map_root->m_root), int(keys.size()));
    for (int k : keys) EXPECT_EQ(map_root->p_FindNode(k)->m_value->m_width, k);
    Array<c_DisplayMode*> modes = stack_root->p_ToArray();
    ASSERT_EQ(modes.Length(), 600);
    for (int i = 0; i < 600; ++i) ASSERT_EQ(modes[i]->m_width, i);
    EXPECT_TRUE(strings_root->p_Join(String(",")).StartsWith(String("0,1,2,3,")));
    map_root = nullptr, stack_root = nullptr, strings_root = nullptr;
}

}  // namespace
