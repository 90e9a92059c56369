/* codecs/vorbis.c: stb_vorbis's implementation, compiled on its own so that the build's settings for
   this third-party C (see CMakeLists.txt) reach none of our code. audio_decode.cpp uses its public API. */

/* Its own warnings are not ours to fix. */
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-value"
/* Samples are converted with a plain float-to-int cast, not its integer-overflow trick. */
#define STB_VORBIS_NO_FAST_SCALED_FLOAT
#if __has_include(<stb/stb_vorbis.c>)
#include <stb/stb_vorbis.c>
#else
#include <stb/stb_vorbis.h> /* Debian ships the whole implementation under this name */
#endif
#pragma GCC diagnostic pop
