// codecs/audio_decode.h: whole-file decoders for WAV (PCM) and Ogg Vorbis.
//
// Both take an open file (left open, read from its current position) and return a malloc'ed block of
// interleaved little-endian PCM that the caller frees, or null when the file is not one they can decode.
// Out-parameters: `length` in frames, `channels`, `format` in bytes per sample (1 for 8-bit unsigned,
// 2 for 16-bit signed; Ogg always 2), `hertz` the sample rate. They are written only on success.
//
// Neither decoder trusts the file: no size read from a header is allocated before it has been checked
// against what is left of the file, and a file that ends early, lies about its sizes or describes zero
// channels or zero-width samples is rejected (null) rather than decoded. No messages are printed.
#pragma once

#include <cstdio>

// 2^26 samples: 128 MiB of 16-bit PCM, over eleven minutes of 48 kHz stereo, far longer than any sound
// or music the game plays, and far below 2^31, so every count derived from it fits an int.
const long long kOggMaxSamples = 1LL << 26;

// RIFF/WAVE with a PCM fmt chunk (audio format 1). The PCM is the data chunk's bytes, unchanged.
unsigned char* LoadWAV(FILE* f, int* length, int* channels, int* format, int* hertz);
// Ogg Vorbis through stb_vorbis, decoded whole to 16-bit samples. A stream that decodes to more than
// kOggMaxSamples samples (all channels together) is rejected: a few kilobytes of highly compressible
// Vorbis can describe hours of sound, and decoding it whole would take gigabytes.
unsigned char* LoadOGG(FILE* f, int* length, int* channels, int* format, int* hertz);

// An Ogg Vorbis file decoded a slice at a time, for music that must start before the whole file has been
// decoded. It makes the same stb_vorbis calls on the same frames as LoadOGG, so its slices laid end to end
// are exactly LoadOGG's PCM; the file's checks are LoadOGG's too.
struct OggStream;
// Opens the stream on `f`, which it owns from then on (CloseOGGStream closes it, also on failure here);
// null when LoadOGG would reject the file's headers.
OggStream* OpenOGGStream(FILE* f, int* channels, int* hertz);
// Decodes whole frames into `pcm` (interleaved 16-bit) until fewer than one frame's room of `frames`
// frames is left; returns the frames decoded, 0 once the stream has ended (or is damaged from here on).
// `frames` must hold at least kOggFrameFrames. The stream ends after kOggMaxSamples samples: LoadOGG
// refuses a longer file, a stream plays its first kOggMaxSamples.
int ReadOGGStream(OggStream* s, short* pcm, int frames);
void CloseOGGStream(OggStream* s);
// The most frames one Vorbis frame decodes to (per channel).
const int kOggFrameFrames = 4096;
