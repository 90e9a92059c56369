#include <gtest/gtest.h>

#include <climits>
#include <map>
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

int count(c_Node* node) { return node ? 1 + count(node->m_left) + count(node->m_right) : 0; }

TEST(Containers, ContainersSurviveTheCollectorBetweenEveryOperation) {
    gc_init1();
    gc_root(map_root), gc_root(stack_root), gc_root(strings_root);
    gc_assign(map_root, (new c_IntMap)->m_new());
    gc_assign(stack_root, (new c_Stack)->m_new());
    gc_assign(strings_root, (new c_StringStack)->m_new2());
    std::mt19937 rng(42);
    std::map<int, int> last;   // the step that last set each key
    for (int step = 0; step < 600; ++step) {
        int key = int(rng() % 1000) - 500;
        ASSERT_EQ(map_root->p_Set(key, (new c_DisplayMode)->m_new(key, step)), !last.count(key)) << step;
        last[key] = step;
        stack_root->p_Push((new c_DisplayMode)->m_new(step, key));
        strings_root->p_Push4(String(step));
        ASSERT_EQ(gc_verify(), 0) << "step " << step;
        gc_stress = step % 7 == 0, gc_collect(), gc_stress = false;   // now and then a whole cycle
        ASSERT_EQ(gc_verify(), 0) << "step " << step;
        ASSERT_FALSE(zk_test::OnFreeList(map_root->p_FindNode(key)->m_value)) << "step " << step;
        ASSERT_GT(black_height(map_root->m_root, nullptr, INT_MIN, INT_MAX), 0) << "step " << step;
    }
    zk_test::CollectEverything();               // garbage blocks are destroyed and their memory reused
    for (int i = 0; i < 200; ++i) (new c_DisplayMode)->m_new(-1, -1);
    EXPECT_EQ(count(map_root->m_root), int(last.size()));
    for (auto [k, step] : last) EXPECT_EQ(map_root->p_FindNode(k)->m_value->m_height, step) << k;
    Array<c_DisplayMode*> modes = stack_root->p_ToArray();
    ASSERT_EQ(modes.Length(), 600);
    for (int i = 0; i < 600; ++i) ASSERT_EQ(modes[i]->m_width, i);
    EXPECT_TRUE(strings_root->p_Join(String(",")).StartsWith(String("0,1,2,3,")));
    map_root = nullptr, stack_root = nullptr, strings_root = nullptr;
}

}  // namespace
