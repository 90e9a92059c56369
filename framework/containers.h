// framework/containers.h: the int-keyed red-black map of display modes and the growable stacks.
//
// All are collected objects whose `mark` marks their arrays, nodes and elements. The map de-duplicates
// display modes; the string stack builds the saved-state text; the source stack holds async-event
// sources. Stacks grow to (length + 5) * 2 when full, so n pushes cost O(n) copies.
//
// Red-black invariants, restored after every insert: the root is black; a red node (-1) has no red
// child; every path from a node down to a missing child passes the same number of black nodes (1).
#pragma once

#include "framework/async_event.h"
#include "framework/display_mode.h"
#include "runtime/array.h"

struct c_Node : Object {
    int m_key = 0;
    c_Node* m_right = nullptr;
    c_Node* m_left = nullptr;
    c_DisplayMode* m_value = nullptr;
    int m_color = 0;   // -1 red, 1 black
    c_Node* m_parent = nullptr;

    c_Node* m_new(int key, c_DisplayMode* value, int color, c_Node* parent);
    void mark() override;
};

struct c_Map : Object {
    c_Node* m_root = nullptr;

    c_Map* m_new() { return this; }
    virtual int p_Compare(int a, int b) = 0;
    bool p_Set(int key, c_DisplayMode* value);
    bool p_Insert(int key, c_DisplayMode* value) { return p_Set(key, value); }
    c_Node* p_FindNode(int key);
    bool p_Contains(int key) { return p_FindNode(key) != nullptr; }
    void p_RotateLeft(c_Node* node);
    void p_RotateRight(c_Node* node);
    void p_InsertFixup(c_Node* node);
    void mark() override;
};

struct c_IntMap : c_Map {
    c_IntMap* m_new() { return this; }
    // Compares without overflow, so any two int keys order correctly.
    int p_Compare(int a, int b) override { return a < b ? -1 : a > b ? 1 : 0; }
};

struct c_Stack : Object {
    Array<c_DisplayMode*> m_data;
    int m_length = 0;

    c_Stack* m_new() { return this; }
    c_Stack* m_new2(Array<c_DisplayMode*> data);
    void p_Push(c_DisplayMode* value);
    void p_Push2(Array<c_DisplayMode*> values, int offset, int count);
    void p_Push3(Array<c_DisplayMode*> values, int offset);
    Array<c_DisplayMode*> p_ToArray();
    void mark() override;
};

struct c_Stack2 : Object {
    Array<String> m_data;
    int m_length = 0;

    c_Stack2* m_new() { return this; }
    c_Stack2* m_new2(Array<String> data);
    void p_Push4(String value);
    void p_Push5(Array<String> values, int offset, int count);
    void p_Push6(Array<String> values, int offset);
    Array<String> p_ToArray();
    void mark() override;
};

struct c_StringStack : c_Stack2 {
    c_StringStack* m_new(Array<String> data);
    c_StringStack* m_new2() { return this; }
    // The elements in order with the separator between neighbours; empty for an empty stack.
    String p_Join(String separator);
};

struct c_Stack3 : Object {
    Array<c_IAsyncEventSource*> m_data;
    int m_length = 0;

    static c_IAsyncEventSource* m_NIL;

    c_Stack3* m_new() { return this; }
    c_IAsyncEventSource* p_Get(int index) { return m_data[index]; }
    void p_Length(int n);
    int p_Length2() { return m_length; }
    void mark() override;
};
