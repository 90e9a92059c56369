// framework/containers.cpp: red-black insertion and the stacks' growth.
#include "framework/containers.h"

c_IAsyncEventSource* c_Stack3::m_NIL = nullptr;

namespace {

// Makes room for one more element: a full array is replaced by one of capacity (length + 5) * 2 holding
// the same elements, the rest cleared.
template <class T>
void make_room(Array<T>& data, int length) {
    if (length == data.Length()) gc_assign(data, data.Resize((length + 5) * 2));
}

template <class T>
void store(Array<T>& data, int index, const T& value) {
    if constexpr (std::is_pointer_v<T>)
        gc_assign(data[index], value);
    else
        data[index] = value;
}

template <class T>
void push(Array<T>& data, int& length, const T& value) {
    make_room(data, length);
    store(data, length, value);
    ++length;
}

template <class T>
Array<T> copy_out(const Array<T>& data, int length) {
    Array<T> out(length);
    for (int i = 0; i < length; ++i) store(out, i, data[i]);
    return out;
}

}  // namespace

// ---- Map ----

c_Node* c_Node::m_new(int key, c_DisplayMode* value, int color, c_Node* parent) {
    m_key = key;
    gc_assign(m_value, value);
    m_color = color;
    gc_assign(m_parent, parent);
    return this;
}

void c_Node::mark() {
    gc_mark_q(m_right);
    gc_mark_q(m_left);
    gc_mark_q(m_value);
    gc_mark_q(m_parent);
}

void c_Map::mark() { gc_mark_q(m_root); }

c_Node* c_Map::p_FindNode(int key) {
    c_Node* node = m_root;
    while (node) {
        int c = p_Compare(key, node->m_key);
        if (c > 0) node = node->m_right;
        else if (c < 0) node = node->m_left;
        else return node;
    }
    return nullptr;
}

bool c_Map::p_Set(int key, c_DisplayMode* value) {
    c_Node* node = m_root;
    c_Node* parent = nullptr;
    int c = 0;
    while (node) {
        parent = node;
        c = p_Compare(key, node->m_key);
        if (c > 0) {
            node = node->m_right;
        } else if (c < 0) {
            node = node->m_left;
        } else {
            gc_assign(node->m_value, value);
            return false;
        }
    }
    node = (new c_Node)->m_new(key, value, -1, parent);
    if (!parent) {
        gc_assign(m_root, node);
        return true;
    }
    if (c > 0) gc_assign(parent->m_right, node);
    else gc_assign(parent->m_left, node);
    p_InsertFixup(node);
    return true;
}

// Hangs `child` where `node` hung: under node's parent, or as the root.
static void replace_child(c_Map* map, c_Node* node, c_Node* child) {
    gc_assign(child->m_parent, node->m_parent);
    if (!node->m_parent) gc_assign(map->m_root, child);
    else if (node == node->m_parent->m_left) gc_assign(node->m_parent->m_left, child);
    else gc_assign(node->m_parent->m_right, child);
}

void c_Map::p_RotateLeft(c_Node* node) {
    c_Node* child = node->m_right;
    gc_assign(node->m_right, child->m_left);
    if (child->m_left) gc_assign(child->m_left->m_parent, node);
    replace_child(this, node, child);
    gc_assign(child->m_left, node);
    gc_assign(node->m_parent, child);
}

void c_Map::p_RotateRight(c_Node* node) {
    c_Node* child = node->m_left;
    gc_assign(node->m_left, child->m_right);
    if (child->m_right) gc_assign(child->m_right->m_parent, node);
    replace_child(this, node, child);
    gc_assign(child->m_right, node);
    gc_assign(node->m_parent, child);
}

void c_Map::p_InsertFixup(c_Node* node) {
    while (node->m_parent && node->m_parent->m_color == -1 && node->m_parent->m_parent) {
        c_Node* parent = node->m_parent;
        c_Node* grand = parent->m_parent;
        bool left_side = parent == grand->m_left;
        c_Node* uncle = left_side ? grand->m_right : grand->m_left;
        if (uncle && uncle->m_color == -1) {   // recolour and continue two levels up
            parent->m_color = 1;
            uncle->m_color = 1;
            grand->m_color = -1;
            node = grand;
            continue;
        }
        if (left_side && node == parent->m_right) {   // bring the node into line with its parent
            node = parent;
            p_RotateLeft(node);
        } else if (!left_side && node == parent->m_left) {
            node = parent;
            p_RotateRight(node);
        }
        node->m_parent->m_color = 1;
        node->m_parent->m_parent->m_color = -1;
        if (left_side) p_RotateRight(node->m_parent->m_parent);
        else p_RotateLeft(node->m_parent->m_parent);
    }
    m_root->m_color = 1;
}

// ---- Stacks ----

c_Stack* c_Stack::m_new2(Array<c_DisplayMode*> data) {
    gc_assign(m_data, copy_out(data, data.Length()));
    m_length = data.Length();
    return this;
}

void c_Stack::p_Push(c_DisplayMode* value) { push(m_data, m_length, value); }

void c_Stack::p_Push2(Array<c_DisplayMode*> values, int offset, int count) {
    for (int i = 0; i < count; ++i) p_Push(values[offset + i]);
}

void c_Stack::p_Push3(Array<c_DisplayMode*> values, int offset) {
    p_Push2(values, offset, values.Length() - offset);
}

Array<c_DisplayMode*> c_Stack::p_ToArray() { return copy_out(m_data, m_length); }

void c_Stack::mark() { gc_mark_q(m_data); }

c_Stack2* c_Stack2::m_new2(Array<String> data) {
    gc_assign(m_data, copy_out(data, data.Length()));
    m_length = data.Length();
    return this;
}

void c_Stack2::p_Push4(String value) { push(m_data, m_length, value); }

void c_Stack2::p_Push5(Array<String> values, int offset, int count) {
    for (int i = 0; i < count; ++i) p_Push4(values[offset + i]);
}

void c_Stack2::p_Push6(Array<String> values, int offset) { p_Push5(values, offset, values.Length() - offset); }

Array<String> c_Stack2::p_ToArray() { return copy_out(m_data, m_length); }

void c_Stack2::mark() { gc_mark_q(m_data); }

c_StringStack* c_StringStack::m_new(Array<String> data) {
    c_Stack2::m_new2(data);
    return this;
}

String c_StringStack::p_Join(String separator) { return separator.Join(p_ToArray()); }

// Slots given up by a shorter length are cleared, so that a later longer length does not bring old
// sources back and the collector does not keep them alive.
void c_Stack3::p_Length(int n) {
    if (n > m_data.Length()) gc_assign(m_data, m_data.Resize(n));
    for (int i = n < 0 ? 0 : n; i < m_length; ++i) gc_assign(m_data[i], m_NIL);
    m_length = n;
}

void c_Stack3::mark() { gc_mark_q(m_data); }
