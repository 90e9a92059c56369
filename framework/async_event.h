// framework/async_event.h: sources that deliver events between updates, and their dispatcher.
//
// A source is registered on zk_asyncevent__sources; zk_asyncevent_UpdateAsyncEvents, which the game runs
// each update, gives every registered source one p_UpdateAsyncEvents in order. A source may remove
// itself from inside its call: it clears zk_asyncevent__current, and the dispatcher then does not step
// past the index it left. Nothing in this program registers one; the dispatcher still runs.
//
// zk_asyncevent_init() empties the source stack and registers it as a collector root; start-up calls it
// once.
#pragma once

#include "runtime/gc.h"

struct c_Stack3;

struct c_IAsyncEventSource : gc_interface {
    virtual void p_UpdateAsyncEvents() = 0;
};

extern c_Stack3* zk_asyncevent__sources;              // registered async-event sources
extern c_IAsyncEventSource* zk_asyncevent__current;   // source being updated, else null

void zk_asyncevent_init();
// Runs each registered source once; a call made while one runs returns at once. Always 0.
int zk_asyncevent_UpdateAsyncEvents();
