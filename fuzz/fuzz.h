// fuzz/fuzz.h: what every fuzz target shares. A target is one LLVMFuzzerTestOneInput that feeds outside
// bytes to one entry point and then checks what must hold of the result; FUZZ_CHECK aborts on a broken
// rule, so libFuzzer keeps the input and the corpus replay fails on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

// The bytes as an open, seekable, read-only file, as the loaders get one from fopen. The caller closes
// it; the bytes must outlive it.
inline FILE* open_bytes(const uint8_t* data, size_t size) {
    static char empty[1];
    return size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : fmemopen(empty, 0, "rb");
}

// Takes a value of type T from the front of the input (zero when the input has run out).
template <class T>
T take(const uint8_t*& data, size_t& size) {
    T value{};
    for (size_t i = 0; i < sizeof(T) && size; ++i, --size) reinterpret_cast<uint8_t*>(&value)[i] = *data++;
    return value;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
