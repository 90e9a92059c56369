// runtime/contract.cpp: contract violations and the out-of-memory exit.
#include "runtime/contract.h"

#include <cstdio>
#include <cstdlib>

const bool zk_contracts_checked = ZK_CONTRACTS_CHECKED;

void zk_contract_violated(const char* what, const char* condition, const char* file, int line) {
    std::fflush(stdout);
    std::fprintf(stderr, "Contract violated: %s (%s) at %s:%d\n", what, condition, file, line);
    std::fflush(stderr);
    std::abort();
}

void zk_out_of_memory(size_t bytes) {
    std::fflush(stdout);
    std::fprintf(stderr, "Out of memory: %zu bytes\n", bytes);
    std::fflush(stderr);
    std::exit(-1);
}

void* zk_malloc(size_t bytes) {
    void* block = std::malloc(bytes ? bytes : 1);
    if (!block) zk_out_of_memory(bytes);
    return block;
}

void* zk_calloc(size_t count, size_t size) {
    void* block = std::calloc(count ? count : 1, size ? size : 1);
    if (!block) zk_out_of_memory(count * size);
    return block;
}

void* zk_realloc(void* block, size_t bytes) {
    void* grown = std::realloc(block, bytes ? bytes : 1);
    if (!grown) zk_out_of_memory(bytes);
    return grown;
}
