// framework/async_event.cpp: the async-event dispatcher.
#include "framework/async_event.h"

#include "framework/containers.h"

c_Stack3* zk_asyncevent__sources = nullptr;
c_IAsyncEventSource* zk_asyncevent__current = nullptr;

void zk_asyncevent_init() {
    // zk_asyncevent__current is set only while the dispatcher runs, inside an update, and the collector
    // never runs there, so it needs no root (an interface pointer could not be one as it stands).
    zk_asyncevent__current = nullptr;
    gc_assign(zk_asyncevent__sources, (new c_Stack3())->m_new());
    gc_root(zk_asyncevent__sources);
}

int zk_asyncevent_UpdateAsyncEvents() {
    if (zk_asyncevent__current) return 0;   // already dispatching
    int i = 0;
    while (i < zk_asyncevent__sources->p_Length2()) {
        zk_asyncevent__current = zk_asyncevent__sources->p_Get(i);
        zk_asyncevent__current->p_UpdateAsyncEvents();
        if (zk_asyncevent__current) ++i;   // a source that removed itself cleared it: same index again
    }
    zk_asyncevent__current = nullptr;
    return 0;
}
