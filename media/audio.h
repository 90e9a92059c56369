// media/audio.h: the OpenAL audio engine.
//
// gxtkAudio owns one OpenAL device and context and a fixed bank of 33 channels: 0 to 31 for sounds,
// kMusicChannel (32) for music. A gxtkSample is one decoded sound in one OpenAL buffer; music is a sample
// played on the music channel. Files are read through the host's LoadAudioData.
//
// A tune the host can stream (Ogg Vorbis, OpenAudioStream) is not decoded whole when it starts, which
// would take longer than a frame: PlayMusic decodes its first second into one buffer, queues it and starts
// the source in the same update, then hands the decoder to a worker thread of its own. The worker decodes
// the rest in slices into plain PCM memory, keeping up to kMusicAheadSeconds decoded and not yet taken,
// and touches nothing else: no collected object, no String, no OpenAL. StreamMusic, called at the start
// of every update on the main thread, takes ready slices in decoding order while less than
// kMusicAheadSeconds is queued ahead of what is playing, and makes, fills and queues their buffers. The
// slices are the whole decode's samples cut at frame boundaries, queued in order on one source, so OpenAL
// plays them back to back: what is heard is the whole decode. Every buffer stays queued until the tune is
// replaced or stopped, so once the last slice is queued a looping tune loops the whole queue.
// Should the queue ever run dry (the main thread stalled for seconds, or the worker fell behind), the tune
// counts as playing still and resumes, from where it ran dry, as soon as its next slice is queued.
// StopMusic, a new tune and the engine's destruction stop and join the worker before its decoder closes.
// In a browser page (no threads) there is no worker: StreamMusic itself decodes one slice per update while
// fewer than kMusicAheadSeconds are ready, and the rest goes as above.
//
// Channel states: 0 stopped, 1 playing, 2 paused (by the game). A sound that ends by itself is noticed
// only when its state is asked for (ChannelState, the source rule, mark or a flush); until then the
// recorded state stays 1.
//
// Source rule: a channel gets its OpenAL source on first need. When OpenAL has no more sources, the first
// of the sound channels 0..31 whose sound has stopped gives its source up; when none can, the channel
// stays without a source (0) and PlaySample answers -1.
//
// Buffers are never deleted while a source may still hold them: a discarded sample's buffer goes on a
// process-wide discard list, and each LoadSample and PlaySample first detaches buffers from stopped
// sources and deletes every listed buffer that OpenAL lets go of; the rest wait for the next flush.
//
// Fails soft: when OpenAL cannot open, the start-up message is printed, the engine is still created and
// every later OpenAL call fails quietly: sounds still load (as samples without a buffer) and nothing
// plays. Main thread only (the music worker is internal to the engine).
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <vector>

#include "runtime/gc.h"
#include "runtime/string.h"

struct OggStream;
struct MusicWorker;   // a streamed tune's decoder thread and the slices it has ready (audio.cpp)

// One decoded sound. Collected: when the collector destroys it, its buffer joins the discard list.
struct gxtkSample : Object {
    ALuint buffer = 0;   // 0 when none, or once discarded
    std::vector<ALuint> slices;   // a streamed tune's further buffers, queued after `buffer`

    gxtkSample() = default;
    explicit gxtkSample(ALuint buf) : buffer(buf) {}
    ~gxtkSample() override;

    void SetBuffer(ALuint buf) { buffer = buf; }
    // Hands the buffer to the discard list and forgets it; a second call does nothing.
    void Discard();
};

// A channel of the bank; a plain record inside gxtkAudio.
struct gxtkChannel {
    ALuint source = 0;              // 0 until the channel first needs one
    gxtkSample* sample = nullptr;   // last sample played here; kept alive by mark while it sounds
    int flags = 0;                  // flags of the last PlaySample: not 0 means loop
    int state = 0;                  // 0 stopped, 1 playing, 2 paused
};

struct gxtkAudio : Object {
    static const int kChannels = 33;
    static const int kSoundChannels = 32;   // 0..31; only these ever give up their source
    static const int kMusicChannel = 32;

    ALCdevice* alcDevice = nullptr;
    ALCcontext* alcContext = nullptr;
    gxtkChannel channels[kChannels];

    static gxtkAudio* audio;   // the one engine, set by the constructor

    // Opens the default device; prints "OpenAl error: ..." for a step that fails and carries on silent.
    gxtkAudio();
    // Stops and joins a streamed tune's worker.
    ~gxtkAudio() override;

    // Marks the sample of every channel that is still playing or paused.
    void mark() override;

    // Pauses what OpenAL is playing on channels the game has playing (state 1); the recorded states stay.
    virtual int Suspend();
    // Restarts what Suspend paused; channels the game paused itself (state 2) stay paused.
    virtual int Resume();
    // A new sample holding the decoded file, or null when it cannot be read or decoded. A decoded file
    // that OpenAL cannot take still gives a sample; it plays as silence.
    virtual gxtkSample* LoadSample(String path);
    // Fills `sample` from the file; false only when the host could not read or decode it.
    virtual bool LoadSample__UNSAFE__(gxtkSample* sample, String path);
    // 0, or -1 when the channel could get no source (nothing plays).
    virtual int PlaySample(gxtkSample* sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    virtual int ChannelState(int channel);
    virtual int SetVolume(int channel, float volume);
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);
    // 0, or -1 when the file cannot be loaded.
    virtual int PlayMusic(String path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);

    // Queues a streamed tune's ready slices while what is queued ahead runs low, and sets the tune
    // looping once the worker has given its last; does nothing otherwise. The game delegate calls it at
    // the start of every update.
    void StreamMusic();
    // Whether a tune is still being decoded in slices (tests and diagnostics).
    bool MusicStreaming() const { return musicWorker != nullptr; }

    static constexpr double kMusicFirstSeconds = 1;   // decoded by PlayMusic itself
    static constexpr double kMusicSliceSeconds = 0.25;   // one slice the worker decodes
    static constexpr double kMusicAheadSeconds = 2;   // queued ahead by StreamMusic; ready in the worker

    // Buffers waiting on the discard list (tests and diagnostics).
    static int DiscardPending();

private:
    // The record of `channel`, which callers keep within 0..kChannels-1.
    gxtkChannel& at(int channel) {
        ZK_CONTRACT(channel >= 0 && channel < kChannels, "no such channel");
        return channels[channel];
    }
    ALuint source_of(int channel);          // the source rule
    ALuint recycle_stopped_source();        // the donor search of the source rule
    ALint al_state(const gxtkChannel& c);   // OpenAL's state of the channel's source
    void flush_discarded();
    // Music streamed in slices.
    bool sounding(const gxtkChannel& c);       // not stopped, or a streamed tune that ran dry
    int start_stream(OggStream* stream, int channels, int hertz, int flags);
    void queue_pcm(const std::vector<short>& pcm);   // one buffer behind the others
    bool take_slice(bool* ended);              // queues the worker's next ready slice
    void end_stream();                         // stops and joins the worker, closes its decoder

    MusicWorker* musicWorker = nullptr;   // the tune being decoded, or null
    int musicChannels = 0, musicHertz = 0;
    ALenum musicFormat = 0;
    int musicQueued = 0;                  // frames queued on the music source
};
