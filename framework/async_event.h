// framework/async_event.h: the interface of sources that deliver events between updates.
// Nothing in this program registers one; the dispatcher still runs each update.
#pragma once

#include "runtime/gc.h"

struct c_IAsyncEventSource : gc_interface {
    virtual void p_UpdateAsyncEvents() = 0;
};
