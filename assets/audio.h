// assets/audio.h: the sound side of the generator: every effect and tune, synthesised by this program.
// Effects are 16-bit PCM mono WAV files sfx/NNN.wav; tunes are Ogg Vorbis sfx/30.ogg, 20.ogg, 10.ogg.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int kSfxRate = 44100;    // effects: full bandwidth, they are short
constexpr int kMusicRate = 32000;  // tunes: chiptune lives below 16 kHz; a lower rate decodes faster

void write_sound_effects(const std::string& dataDir);
void write_tunes(const std::string& dataDir);

// Writers (audio_write.cpp). Samples are floats in -1..1; they are checked, never clipped silently.
void write_wav(const std::string& path, const std::vector<float>& mono, int rate);
void write_ogg(const std::string& path, const std::vector<float>& mono, int rate, float quality);
