// runtime/array.h: fixed-length collected arrays.
//
// An Array<T> holds exactly one pointer to an Array<T>::Rep: a collected object (header, length, then the
// elements, all in one block from gc_object_alloc). Copying an Array copies the pointer; element writes
// are seen through every copy. The rep lives until the collector finds it unreachable.
//
// Invariant: every zero-length Array<T> points at the one static empty rep of T, which carries colour 3
// (never white) and is on no list, so default-initialised arrays never allocate.
//
// Element types: numbers and bool (zeroed), String (empty; released by the destructor), and pointers to
// collected objects (null; marked by `mark`). Storing an object pointer into an element goes through
// gc_assign(arr[i], value).
#pragma once

#include <cstring>
#include <type_traits>

#include "runtime/gc.h"
#include "runtime/string.h"

template <class T>
class Array {
public:
    static_assert(std::is_arithmetic_v<T> || std::is_pointer_v<T> || std::is_same_v<T, String>,
                  "array elements are numbers, bool, String or object pointers");

    struct Rep : gc_object {
        int length;

        explicit Rep(int n) : length(n) { init(data(), n); }
        explicit Rep(gc_static_t tag) : gc_object(tag), length(0) {}
        ~Rep() override {
            // The shared empty rep holds no strings; saying so lets the compiler see that its destructor,
            // run at exit, reads nothing past it.
            if constexpr (std::is_same_v<T, String>)
                if (this != &empty) t_destroy(length, data());
        }
        void mark() override {
            if constexpr (std::is_pointer_v<T>) {
                T* p = data();
                for (int i = 0; i < length; ++i) gc_mark_i(p[i]);
            }
        }
        T* data() { return reinterpret_cast<T*>(this + 1); }

        static Rep* alloc(int n) {
            void* block = gc_object_alloc(static_cast<int>(sizeof(Rep) + sizeof(T) * n));
            return new (block) Rep(n);
        }
        static Rep empty;   // the one empty rep of this element type
    };

    Array() : rep(&Rep::empty) {}
    explicit Array(int length) : rep(length > 0 ? Rep::alloc(length) : &Rep::empty) {}
    Array(const T* src, int length) : Array(length) { copy(rep->data(), src, length); }

    int Length() const { return rep->length; }
    T& operator[](int i) const { return rep->data()[i]; }
    T* Data() const { return rep->data(); }

    // A new array of length n holding the first min(Length(), n) elements; the rest take the default.
    // This array is left unchanged.
    Array Resize(int n) const {
        if (n <= 0) return Array();
        Array a(n);
        copy(a.Data(), Data(), Length() < n ? Length() : n);
        return a;
    }

    Rep* rep;

private:
    static void init(T* p, int n) {
        if constexpr (std::is_same_v<T, String>)
            t_create(n, p);
        else if (n > 0)
            std::memset(static_cast<void*>(p), 0, sizeof(T) * n);
    }
    // Copies into freshly initialised elements; object pointers go through the write barrier.
    static void copy(T* dst, const T* src, int n) {
        for (int i = 0; i < n; ++i) {
            if constexpr (std::is_pointer_v<T>)
                gc_assign(dst[i], src[i]);
            else
                dst[i] = src[i];
        }
    }
};

template <class T>
typename Array<T>::Rep Array<T>::Rep::empty{gc_static};

// Stores an array into a field, element or global through the write barrier.
template <class T>
inline void gc_assign(Array<T>& field, const Array<T>& value) {
    gc_mark_q(value.rep);
    field = value;
}

template <class T>
inline void gc_mark_q(const Array<T>& a) { gc_mark_q(a.rep); }

template <class T>
inline void gc_root(Array<T>& global) { gc_add_root(reinterpret_cast<gc_object**>(&global.rep)); }
