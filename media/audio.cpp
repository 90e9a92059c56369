// media/audio.cpp: gxtkAudio and gxtkSample on OpenAL (see audio.h for the channel and buffer rules).
#include "media/audio.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// ---- The source rule ----

ALint gxtkAudio::al_state(const gxtkChannel& c) {
    ALint state = AL_STOPPED;   // also the answer when OpenAL is not running
    if (c.source) alGetSourcei(c.source, AL_SOURCE_STATE, &state);
    return state;
}

// A tune whose source ran dry before its next slice was queued has not ended: StreamMusic restarts it.
bool gxtkAudio::sounding(const gxtkChannel& c) {
    return al_state(c) != AL_STOPPED || (musicStream && &c == &channels[kMusicChannel]);
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

// What PlaySample does, with the tune's first slice as the sample's buffer: the source starts in this
// update. -1 (nothing plays) when the stream gives not a single frame.
int gxtkAudio::start_stream(OggStream* stream, int channelCount, int hertz, int flags) {
    flush_discarded();
    musicStream = stream;
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
    if (queue_slice(kMusicFirstSeconds) == 0) {
        end_stream();
        return -1;
    }
    alSourcePlay(c.source);
    c.state = 1;
    return 0;
}

// One read of whole Vorbis frames, at least `seconds` long unless the tune ends first, into a new buffer
// queued behind the others. The collector hears of the PCM as LoadAudioData would tell it.
int gxtkAudio::queue_slice(double seconds) {
    const int kMaxSliceFrames = 1 << 18;   // a rate no real file has cannot ask for a huge slice
    const int room = int(std::min(seconds * musicHertz, double(kMaxSliceFrames))) + kOggFrameFrames;
    musicPcm.resize(size_t(room) * size_t(musicChannels));
    const int frames = ReadOGGStream(musicStream, musicPcm.data(), room);
    if (frames == 0) return 0;
    const int bytes = frames * musicChannels * 2;
    gc_ext_malloced(bytes);
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, musicFormat, musicPcm.data(), bytes, musicHertz);
    gxtkChannel& c = at(kMusicChannel);
    alSourceQueueBuffers(c.source, 1, &buffer);
    if (!c.sample->buffer) c.sample->SetBuffer(buffer);
    else c.sample->slices.push_back(buffer);
    musicQueued += frames;
    return frames;
}

void gxtkAudio::end_stream() {
    if (!musicStream) return;
    CloseOGGStream(musicStream);
    musicStream = nullptr;
    std::vector<short>().swap(musicPcm);
}

// Ahead is what is queued past the play position (AL_SAMPLE_OFFSET counts from the head of the queue,
// which keeps every buffer). A source that ran dry has played everything queued: the new slice goes on
// from there. Once the decoder has nothing more, the tune loops the whole queue if its flags say so.
void gxtkAudio::StreamMusic() {
    if (!musicStream) return;
    gxtkChannel& c = at(kMusicChannel);
    const bool dry = al_state(c) == AL_STOPPED;
    ALint played = 0;
    if (!dry) alGetSourcei(c.source, AL_SAMPLE_OFFSET, &played);
    if (!dry && musicQueued - played >= kMusicAheadSeconds * musicHertz) return;
    const int from = musicQueued;
    if (queue_slice(kMusicSliceSeconds) > 0) {
        if (dry) alSourcei(c.source, AL_SAMPLE_OFFSET, from);
    } else {
        end_stream();
        alSourcei(c.source, AL_LOOPING, c.flags != 0 ? AL_TRUE : AL_FALSE);
        if (dry && c.flags == 0) return;   // it ran dry at its very end: the tune is over
    }
    if (dry && c.state == 1) alSourcePlay(c.source);
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
