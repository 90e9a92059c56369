// media/audio.cpp: gxtkAudio and gxtkSample on OpenAL (see audio.h for the channel and buffer rules).
#include "media/audio.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "codecs/audio_decode.h"
#include "host/game.h"
#include "runtime/error.h"

gxtkAudio* gxtkAudio::audio = nullptr;

namespace {

// Buffers of discarded samples that OpenAL has not yet let us delete. Process-wide: samples are
// destroyed by the collector, which knows nothing of the engine.
std::vector<ALuint>& discard_list() {
    static std::vector<ALuint> list;
    return list;
}

// The OpenAL format for bytes per sample and channel count; 0 for a layout OpenAL cannot take.
ALenum al_format(int bytesPerSample, int channels) {
    if (bytesPerSample == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (bytesPerSample == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (bytesPerSample == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (bytesPerSample == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

}  // namespace

// ---- The music worker ----

// A streamed tune's decoder thread. The thread alone reads `stream` from its start until it is joined;
// the ready slices and `ended` are shared under `lock`. Slices are plain PCM: the main thread turns them
// into OpenAL buffers and reports their bytes to the collector.
struct MusicWorker {
    OggStream* stream;
    int channels;
    int sliceFrames;   // a slice holds at least this many frames, unless the tune ends first
    int aheadFrames;   // the thread waits while this many frames are ready
    std::mutex lock;
    std::condition_variable wake;            // a slice was taken, or stop was set
    std::deque<std::vector<short>> ready;    // decoded and not yet taken, oldest first (lock)
    int readyFrames = 0;                     // the frames in `ready` (lock)
    bool ended = false;                      // the decoder has given its last frame (lock)
    std::atomic<bool> stop{false};           // set under `lock`; read by the decoding loop without it
    std::thread thread;

    MusicWorker(OggStream* s, int ch, int slice, int ahead)
        : stream(s), channels(ch), sliceFrames(slice), aheadFrames(ahead) {}
};

namespace {

// Whole Vorbis frames, one read each so that a stop is seen within one frame's decoding, until `pcm`
// holds the slice or the stream ends; false at the end. The frames are those of one long read: the
// decoder gives the same frames however its reads are cut.
bool decode_slice(MusicWorker& w, std::vector<short>& pcm) {
    pcm.resize(size_t(w.sliceFrames + kOggFrameFrames) * size_t(w.channels));
    int frames = 0, n = 1;
    while (frames < w.sliceFrames && !w.stop && n > 0) {
        n = ReadOGGStream(w.stream, pcm.data() + size_t(frames) * size_t(w.channels), kOggFrameFrames);
        frames += n;
    }
    pcm.resize(size_t(frames) * size_t(w.channels));
    return n > 0;
}

// Decodes the next slice and hands it over; false on stop, or once the decoder has ended (its last
// frames handed over first).
bool decode_next(MusicWorker* w) {
    std::vector<short> pcm;
    const bool more = decode_slice(*w, pcm);
    const int frames = int(pcm.size()) / w->channels;
    std::lock_guard<std::mutex> hold(w->lock);
    if (w->stop) return false;
    if (frames > 0) {
        w->ready.push_back(std::move(pcm));
        w->readyFrames += frames;
    }
    w->ended = !more;
    return more;
}

// The thread: waits while aheadFrames are ready, otherwise decodes the next slice.
[[maybe_unused]] void decode_ahead(MusicWorker* w) {
    for (;;) {
        {
            std::unique_lock<std::mutex> hold(w->lock);
            w->wake.wait(hold, [w] { return w->stop || w->readyFrames < w->aheadFrames; });
            if (w->stop) return;
        }
        if (!decode_next(w)) return;
    }
}

}  // namespace

// ---- Samples ----

gxtkSample::~gxtkSample() {
    zkPrint(String("Discarding sample"));
    Discard();
}

void gxtkSample::Discard() {
    if (buffer) discard_list().push_back(buffer);
    discard_list().insert(discard_list().end(), slices.begin(), slices.end());
    buffer = 0;
    slices.clear();
}

int gxtkAudio::DiscardPending() { return int(discard_list().size()); }

// ---- Opening ----

gxtkAudio::gxtkAudio() {
    // 1. The one engine.
    audio = this;
    // 2-4. Device, context, current context; a failed step is reported and the rest are skipped.
    alcDevice = alcOpenDevice(nullptr);
    if (!alcDevice) {
        zkPrint(String("OpenAl error: alcOpenDevice failed"));
    } else if (!(alcContext = alcCreateContext(alcDevice, nullptr))) {
        zkPrint(String("OpenAl error: alcCreateContext failed"));
    } else if (!alcMakeContextCurrent(alcContext)) {
        zkPrint(String("OpenAl error: alcMakeContextCurrent failed"));
    }
    // 5. Sounds keep their volume whatever their position: positions only pan.
    alDistanceModel(AL_NONE);
    // 6. The channel records start zeroed (member initialisers). 7. Music always has its source.
    source_of(kMusicChannel);
}

gxtkAudio::~gxtkAudio() { end_stream(); }

// ---- The source rule ----

ALint gxtkAudio::al_state(const gxtkChannel& c) {
    ALint state = AL_STOPPED;   // also the answer when OpenAL is not running
    if (c.source) alGetSourcei(c.source, AL_SOURCE_STATE, &state);
    return state;
}

// A tune whose source ran dry before its next slice was queued has not ended: StreamMusic restarts it.
bool gxtkAudio::sounding(const gxtkChannel& c) {
    return al_state(c) != AL_STOPPED || (musicWorker && &c == &channels[kMusicChannel]);
}

ALuint gxtkAudio::source_of(int channel) {
    gxtkChannel& c = at(channel);
    if (c.source) return c.source;
    alGetError();   // clear a stale error so that the next check sees only alGenSources
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) source = recycle_stopped_source();
    c.source = source;
    return source;
}

ALuint gxtkAudio::recycle_stopped_source() {
    for (int i = 0; i < kSoundChannels; ++i) {
        gxtkChannel& donor = channels[i];
        if (donor.source && ChannelState(i) == 0) {
            ALuint source = donor.source;
            donor.source = 0;
            return source;
        }
    }
    return 0;
}

// ---- Buffers ----

void gxtkAudio::flush_discarded() {
    std::vector<ALuint>& list = discard_list();
    if (list.empty()) return;
    // A stopped source never plays its buffer again (PlaySample sets a new one), so let go of it. This
    // includes channels already recorded as stopped (state 0: stopped by the game, or their end already
    // noticed): left attached, a discarded sound's buffer would stay undeletable, and its memory held,
    // for as long as that channel is not played again, which for an unused channel is forever.
    // A tune that ran dry while streaming keeps its queue: it resumes from there.
    for (gxtkChannel& c : channels) {
        ALint state = al_state(c);
        if (c.source && (state == AL_INITIAL || !sounding(c))) alSourcei(c.source, AL_BUFFER, 0);
    }
    // One at a time: OpenAL refuses a whole batch when a single buffer is still attached somewhere.
    size_t kept = 0;
    for (ALuint buffer : list) {
        alGetError();
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) list[kept++] = buffer;
    }
    list.resize(kept);
}

gxtkSample* gxtkAudio::LoadSample(String path) {
    flush_discarded();
    gxtkSample* sample = new gxtkSample();
    return LoadSample__UNSAFE__(sample, path) ? sample : nullptr;
}

// Any PCM the host decoded becomes a sample, even when OpenAL cannot hold it: a layout OpenAL has no
// format for (24-bit, more than two channels) passes format 0 and leaves the buffer empty, and without
// a running OpenAL every call fails quietly and the buffer stays 0. Either way the sample plays as
// silence. Only a file that cannot be read or decoded gives false.
bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
    ZK_CONTRACT(ZKGame::_game, "the host game exists before any sound loads");
    int length = 0, channelCount = 0, bytesPerSample = 0, hertz = 0;
    unsigned char* pcm = ZKGame::_game->LoadAudioData(path, &length, &channelCount, &bytesPerSample, &hertz);
    if (!pcm) return false;
    ALuint buffer = 0;   // stays 0 when OpenAL makes none
    alGenBuffers(1, &buffer);
    alBufferData(buffer, al_format(bytesPerSample, channelCount), pcm, length * channelCount * bytesPerSample,
                 hertz);
    std::free(pcm);
    sample->SetBuffer(buffer);
    return true;
}

// ---- Channels ----

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    ZK_CONTRACT(sample, "the audio module plays only sounds that hold a sample");
    // 1-2. Free what can be freed, then get a source.
    flush_discarded();
    if (channel == kMusicChannel) end_stream();
    ALuint source = source_of(channel);
    if (!source) return -1;
    // 3. Restart the source with this sample; its gain, pitch and position stay as they were.
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, ALint(sample->buffer));
    alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    // 4. Record it.
    gxtkChannel& c = at(channel);
    gc_assign(c.sample, sample);
    c.flags = flags;
    c.state = 1;
    return 0;
}

int gxtkAudio::StopChannel(int channel) {
    gxtkChannel& c = at(channel);
    if (channel == kMusicChannel) end_stream();
    if (c.state != 0) {
        alSourceStop(c.source);
        c.state = 0;
    }
    return 0;
}

int gxtkAudio::PauseChannel(int channel) {
    gxtkChannel& c = at(channel);
    if (c.state != 1) return 0;
    if (!sounding(c)) {   // it already ended: nothing left to pause
        c.state = 0;
    } else {
        alSourcePause(c.source);
        c.state = 2;
    }
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel& c = at(channel);
    if (c.state == 2) {
        alSourcePlay(c.source);
        c.state = 1;
    }
    return 0;
}

int gxtkAudio::ChannelState(int channel) {
    gxtkChannel& c = at(channel);
    if (c.state == 1 && !sounding(c)) c.state = 0;   // the sound ended by itself
    return c.state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
    alSourcef(source_of(channel), AL_GAIN, volume);
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    alSourcef(source_of(channel), AL_PITCH, rate);
    return 0;
}

// `pan` is an angle in radians around the listener: 0 ahead, positive to the right.
int gxtkAudio::SetPan(int channel, float pan) {
    alSource3f(source_of(channel), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
    return 0;
}

// ---- Music ----

int gxtkAudio::PlayMusic(String path, int flags) {
    StopChannel(kMusicChannel);
    // A tune the host can stream starts from its first slice; anything else (a WAV, no OpenAL, a layout
    // OpenAL cannot take) is loaded whole.
    int channelCount = 0, hertz = 0;
    OggStream* stream = source_of(kMusicChannel) ? ZKGame::_game->OpenAudioStream(path, &channelCount, &hertz)
                                                 : nullptr;
    if (stream && al_format(2, channelCount)) return start_stream(stream, channelCount, hertz, flags);
    CloseOGGStream(stream);
    gxtkSample* sample = LoadSample(path);
    if (!sample) return -1;
    PlaySample(sample, kMusicChannel, flags);
    return 0;   // the previous tune is collected once nothing refers to it
}

// What PlaySample does, with the tune's first second as the sample's buffer, decoded here in one read:
// the source starts in this update. The worker then takes the decoder over. -1 (nothing plays) when the
// stream gives not a single frame.
int gxtkAudio::start_stream(OggStream* stream, int channelCount, int hertz, int flags) {
    flush_discarded();
    musicChannels = channelCount;
    musicHertz = hertz;
    musicFormat = al_format(2, channelCount);
    musicQueued = 0;
    gxtkChannel& c = at(kMusicChannel);
    alSourceStop(c.source);
    alSourcei(c.source, AL_BUFFER, 0);             // an empty queue, the last tune's buffers let go
    alSourcei(c.source, AL_LOOPING, AL_FALSE);     // looping waits until the whole tune is queued
    gc_assign(c.sample, new gxtkSample());
    c.flags = flags;
    // A rate no real file has cannot ask for a huge slice.
    const int kMaxSliceFrames = 1 << 18;
    auto frames_of = [&](double seconds) { return int(std::min(seconds * hertz, double(kMaxSliceFrames))); };
    std::vector<short> first(size_t(frames_of(kMusicFirstSeconds) + kOggFrameFrames) * size_t(channelCount));
    const int got = ReadOGGStream(stream, first.data(), int(first.size()) / channelCount);
    first.resize(size_t(got) * size_t(channelCount));
    if (first.empty()) {
        CloseOGGStream(stream);
        return -1;
    }
    queue_pcm(first);
    const int slice = std::max(frames_of(kMusicSliceSeconds), 1);
    const int ahead = slice * int(kMusicAheadSeconds / kMusicSliceSeconds);
    musicWorker = new MusicWorker(stream, channelCount, slice, ahead);
#ifndef __EMSCRIPTEN__   // a page has no threads to spare: StreamMusic decodes there
    musicWorker->thread = std::thread(decode_ahead, musicWorker);
#endif
    alSourcePlay(c.source);
    c.state = 1;
    return 0;
}

// The PCM in a new buffer queued behind the others. The collector hears of it as LoadAudioData would
// tell it.
void gxtkAudio::queue_pcm(const std::vector<short>& pcm) {
    const int frames = int(pcm.size()) / musicChannels;
    const int bytes = int(pcm.size() * sizeof(short));
    gc_ext_malloced(bytes);
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, musicFormat, pcm.data(), bytes, musicHertz);
    gxtkChannel& c = at(kMusicChannel);
    alSourceQueueBuffers(c.source, 1, &buffer);
    if (!c.sample->buffer) c.sample->SetBuffer(buffer);
    else c.sample->slices.push_back(buffer);
    musicQueued += frames;
}

// The oldest ready slice, queued; false when none is ready, with `ended` telling whether none ever will.
// Taking one wakes the worker to decode the next.
bool gxtkAudio::take_slice(bool* ended) {
    MusicWorker& w = *musicWorker;
    std::vector<short> pcm;
    {
        std::lock_guard<std::mutex> hold(w.lock);
        *ended = w.ready.empty() && w.ended;
        if (w.ready.empty()) return false;
        pcm = std::move(w.ready.front());
        w.ready.pop_front();
        w.readyFrames -= int(pcm.size()) / w.channels;
    }
    w.wake.notify_one();
    queue_pcm(pcm);
    return true;
}

// The worker is stopped and joined before its decoder closes: the thread may be mid-frame.
void gxtkAudio::end_stream() {
    if (!musicWorker) return;
    {
        std::lock_guard<std::mutex> hold(musicWorker->lock);
        musicWorker->stop = true;
    }
    musicWorker->wake.notify_one();
    if (musicWorker->thread.joinable()) musicWorker->thread.join();
    CloseOGGStream(musicWorker->stream);
    delete musicWorker;
    musicWorker = nullptr;
}

// Ahead is what is queued past the play position (AL_SAMPLE_OFFSET counts from the head of the queue,
// which keeps every buffer). A source that ran dry has played everything queued: the next slices go on
// from there, and it restarts once one is queued (a worker behind leaves it dry until then). Once the
// worker has nothing more, the tune loops the whole queue if its flags say so.
void gxtkAudio::StreamMusic() {
    if (!musicWorker) return;
#ifdef __EMSCRIPTEN__
    // No worker thread in a page: one slice per update, decoded here, keeps the same slices ready.
    if (!musicWorker->ended && musicWorker->readyFrames < musicWorker->aheadFrames) decode_next(musicWorker);
#endif
    gxtkChannel& c = at(kMusicChannel);
    const bool dry = al_state(c) == AL_STOPPED;
    ALint played = musicQueued;
    if (!dry) alGetSourcei(c.source, AL_SAMPLE_OFFSET, &played);
    const int from = musicQueued;
    bool ended = false;
    while (musicQueued - played < kMusicAheadSeconds * musicHertz && take_slice(&ended)) {
    }
    if (ended) {
        end_stream();
        alSourcei(c.source, AL_LOOPING, c.flags != 0 ? AL_TRUE : AL_FALSE);
    }
    if (!dry) return;
    if (musicQueued > from) alSourcei(c.source, AL_SAMPLE_OFFSET, from);
    else if (!ended || c.flags == 0) return;   // nothing new yet, or it ran dry at its very end: over
    if (c.state == 1) alSourcePlay(c.source);
}

int gxtkAudio::StopMusic() { return StopChannel(kMusicChannel); }
int gxtkAudio::PauseMusic() { return PauseChannel(kMusicChannel); }
int gxtkAudio::ResumeMusic() { return ResumeChannel(kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }
int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }

// ---- Focus and collection ----

int gxtkAudio::Suspend() {
    for (gxtkChannel& c : channels) {
        if (c.state == 1 && al_state(c) == AL_PLAYING) alSourcePause(c.source);
    }
    return 0;
}

int gxtkAudio::Resume() {
    for (gxtkChannel& c : channels) {
        if (c.state == 1 && al_state(c) == AL_PAUSED) alSourcePlay(c.source);
    }
    return 0;
}

void gxtkAudio::mark() {
    for (gxtkChannel& c : channels) {
        if (c.state != 0 && sounding(c)) gc_mark_q(c.sample);
    }
}
