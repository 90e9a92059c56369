// runtime/contract.h: the one channel for broken contracts inside our own code, and the one policy for
// memory that cannot be had.
//
// Contracts. ZK_CONTRACT(condition, what) states a precondition or a call-order rule of our own code
// ("an input function runs only once the game has started"). It is checked in Debug builds and in the
// sanitizer build (the sanitizer pass of `make test` runs with it), compiled out of the others. A
// violation prints
//   Contract violated: <what> (<condition>) at <file>:<line>
// on standard error and aborts, so a debugger or the sanitizer shows where. Anything a file, the device
// or the player causes is never a contract: it is handled where it happens (a null image, no sound, a
// block reset to defaults).
//
// Out of memory. Every block our code allocates comes from zk_malloc, zk_calloc or zk_realloc, which
// never return null: a block that cannot be had prints "Out of memory: <n> bytes" on standard error and
// ends the program with status -1, the status of every runtime failure. Nothing carries on with half an
// object. Sizes read from a file are checked against the file before they are asked for, so a hostile
// file is refused as unreadable and never reaches this exit.
#pragma once

#include <cstddef>

#if !defined(NDEBUG) || defined(ZK_CONTRACTS)
#define ZK_CONTRACTS_CHECKED 1
#define ZK_CONTRACT(condition, what) \
    ((condition) ? static_cast<void>(0) : zk_contract_violated(what, #condition, __FILE__, __LINE__))
#else
#define ZK_CONTRACTS_CHECKED 0
#define ZK_CONTRACT(condition, what) static_cast<void>(0)
#endif

// Whether the runtime library itself was built with its contracts checked.
extern const bool zk_contracts_checked;

[[noreturn]] void zk_contract_violated(const char* what, const char* condition, const char* file, int line);

[[noreturn]] void zk_out_of_memory(size_t bytes);
void* zk_malloc(size_t bytes);
void* zk_calloc(size_t count, size_t size);
void* zk_realloc(void* block, size_t bytes);
