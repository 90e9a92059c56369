// framework/audio.cpp: the audio module's forwarders to the engine.
#include "framework/audio.h"


#include "framework/data.h"

gxtkAudio* zk_audio_device = nullptr;

c_Sound* c_Sound::m_new(gxtkSample* sample) {
    gc_assign(m_sample, sample);
    return this;
}

c_Sound* c_Sound::m_new2() { return this; }

void c_Sound::mark() { gc_mark_q(m_sample); }

namespace {

// The device every forwarder calls: the game delegate sets it when the game starts.
gxtkAudio* audio() {
    ZK_CONTRACT(zk_audio_device, "audio functions run only once the game has started");
    return zk_audio_device;
}

}  // namespace

void zk_audio_init() {
    static bool rooted = false;   // a root is registered once, however often the module restarts
    if (!rooted) gc_root(zk_audio_device);
    rooted = true;
    zk_audio_device = nullptr;
}

int zk_audio_SetAudioDevice(gxtkAudio* device) {
    gc_assign(zk_audio_device, device);
    return 0;
}

c_Sound* zk_audio_LoadSound(String path) {
    gxtkSample* sample = audio()->LoadSample(zk_data_FixDataPath(path));
    return sample ? (new c_Sound())->m_new(sample) : nullptr;
}

int zk_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (sound && sound->m_sample) audio()->PlaySample(sound->m_sample, channel, flags);
    return 0;
}

int zk_audio_StopChannel(int channel) {
    audio()->StopChannel(channel);
    return 0;
}

int zk_audio_SetChannelVolume(int channel, float volume) {
    audio()->SetVolume(channel, volume);
    return 0;
}

int zk_audio_SetChannelPan(int channel, float pan) {
    audio()->SetPan(channel, pan);
    return 0;
}

int zk_audio_SetChannelRate(int channel, float rate) {
    audio()->SetRate(channel, rate);
    return 0;
}

int zk_audio_PlayMusic(String path, int flags) {
    return audio()->PlayMusic(zk_data_FixDataPath(path), flags);
}

int zk_audio_StopMusic() {
    audio()->StopMusic();
    return 0;
}

int zk_audio_PauseMusic() {
    audio()->PauseMusic();
    return 0;
}

int zk_audio_ResumeMusic() {
    audio()->ResumeMusic();
    return 0;
}
