// framework/audio.h: the audio module: sounds as collected objects, channel control and music.
//
// Every call forwards to the audio engine in `zk_audio_device` (media/audio.h), set when the game starts.
// Paths are asset names, mapped with zk_data_FixDataPath. Sounds fail soft: a file that does not load
// gives a null sound, and playing a null sound, or one without a sample, does nothing.
//
// Channels 0 to 31 are for sounds; music plays on the engine's own channel 32.
#pragma once

#include "media/audio.h"
#include "runtime/gc.h"
#include "runtime/string.h"

// A loaded sound: the engine's sample, kept alive by the sound.
struct c_Sound : Object {
    gxtkSample* m_sample = nullptr;

    c_Sound* m_new(gxtkSample* sample);   // holds `sample`
    c_Sound* m_new2();                    // no sample
    void mark() override;
};

extern gxtkAudio* zk_audio_device;   // a collector root

// Sets the module's globals to their start values and registers its roots (once per process).
void zk_audio_init();

int zk_audio_SetAudioDevice(gxtkAudio* device);
c_Sound* zk_audio_LoadSound(String path);
// `flags` other than 0 loop the sound.
int zk_audio_PlaySound(c_Sound* sound, int channel, int flags);
int zk_audio_StopChannel(int channel);
int zk_audio_SetChannelVolume(int channel, float volume);
int zk_audio_SetChannelPan(int channel, float pan);
int zk_audio_SetChannelRate(int channel, float rate);
// 0, or -1 when the tune cannot be loaded.
int zk_audio_PlayMusic(String path, int flags);
int zk_audio_StopMusic();
int zk_audio_PauseMusic();
int zk_audio_ResumeMusic();
