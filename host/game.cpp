// host/game.cpp: ZKGame's base behaviour and the guarded forwarders.
//
// A forwarder runs only when its guard holds; it catches ThrowableObject pointers from the delegate and
// ends the program through Die, and after a normal return it runs one collector step, so garbage is
// reclaimed between calls into the game and never inside one: a forwarder called from inside another
// (the key releases of a window replaced during an update) leaves the step to the outer call. A failed
// guard does nothing at all.
#include "host/game.h"

ZKGame* ZKGame::_game = nullptr;

ZKGame::ZKGame() { _game = this; }

void ZKGame::Die(ThrowableObject* ex) { zk_die_uncaught(ex); }

void ZKGame::gc_collect() {
    // The delegate is reached through the host, not through a root, so mark it first.
    if (_delegate) gc_mark_i(_delegate);
    ::gc_collect();
}

// Calls the delegate and then runs a collector step; an escaping ThrowableObject ends the program.
// `calls` counts the forwarded calls running; only the outermost one steps the collector, so a call
// nested inside game code (an event sent from inside an update) never collects under that code's feet.
template <class Call>
static void guarded(ZKGame* game, int& calls, Call call) {
    struct Nesting {
        int& calls;
        explicit Nesting(int& c) : calls(c) { ++calls; }
        ~Nesting() { --calls; }
    };
    {
        Nesting nesting(calls);
        try {
            call();
        } catch (ThrowableObject* ex) {
            game->Die(ex);
        }
    }
    if (calls == 0) game->gc_collect();
}

void ZKGame::StartGame() {
    if (_started) return;
    _started = true;
    guarded(this, _gameCalls, [&] { _delegate->StartGame(); });
}

void ZKGame::SuspendGame() {
    if (!_started || _suspended) return;
    _suspended = true;
    guarded(this, _gameCalls, [&] { _delegate->SuspendGame(); });
}

void ZKGame::ResumeGame() {
    if (!_started || !_suspended) return;
    _suspended = false;
    guarded(this, _gameCalls, [&] { _delegate->ResumeGame(); });
}

void ZKGame::UpdateGame() {
    if (!_started || _suspended) return;
    guarded(this, _gameCalls, [&] { _delegate->UpdateGame(); });
}

void ZKGame::RenderGame() {
    if (!_started) return;
    guarded(this, _gameCalls, [&] { _delegate->RenderGame(); });
}

void ZKGame::KeyEvent(int event, int data) {
    if (!_started) return;
    guarded(this, _gameCalls, [&] { _delegate->KeyEvent(event, data); });
}

void ZKGame::MouseEvent(int event, int data, float x, float y) {
    if (!_started) return;
    guarded(this, _gameCalls, [&] { _delegate->MouseEvent(event, data, x, y); });
}

void ZKGame::TouchEvent(int event, int data, float x, float y) {
    if (!_started) return;
    guarded(this, _gameCalls, [&] { _delegate->TouchEvent(event, data, x, y); });
}

void ZKGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!_started) return;
    guarded(this, _gameCalls, [&] { _delegate->MotionEvent(event, data, x, y, z); });
}

void ZKGame::DiscardGraphics() {
    if (!_started) return;
    guarded(this, _gameCalls, [&] { _delegate->DiscardGraphics(); });
}
