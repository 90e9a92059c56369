// framework/audio.cpp: the audio module's forwarders to the engine.
#include "framework/audio.h"

#include <cassert>

#include "framework/data.h"

gxtkAudio* zk_audio_device = nullptr;

c_Sound* c_Sound::m_new(gxtkSample* sample) {
    gc_assign(m_sample, sample);
    return this;
}

c_Sound* c_Sound::m_new2() { return this; }

void c_Sound::mark() { gc_mark_q(m_sample); }

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
    gxtkSample* sample = zk_audio_device->LoadSample(zk_data_FixDataPath(path));
    return sample ? (new c_Sound())->m_new(sample) : nullptr;
}

int zk_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (sound && sound->m_sample) zk_audio_device->PlaySample(sound->m_sample, channel, flags);
    return 0;
}

int zk_audio_StopChannel(int channel) {
    zk_audio_device->StopChannel(channel);
    return 0;
}

int zk_audio_SetChannelVolume(int channel, float volume) {
    zk_audio_device->SetVolume(channel, volume);
    return 0;
}

int zk_audio_SetChannelPan(int channel, float pan) {
    zk_audio_device->SetPan(channel, pan);
    return 0;
}

int zk_audio_SetChannelRate(int channel, float rate) {
    zk_audio_device->SetRate(channel, rate);
    return 0;
}

int zk_audio_PlayMusic(String path, int flags) {
    return zk_audio_device->PlayMusic(zk_data_FixDataPath(path), flags);
}

int zk_audio_StopMusic() {
    zk_audio_device->StopMusic();
    return 0;
}

int zk_audio_PauseMusic() {
    zk_audio_device->PauseMusic();
    return 0;
}

int zk_audio_ResumeMusic() {
    zk_audio_device->ResumeMusic();
    return 0;
}
