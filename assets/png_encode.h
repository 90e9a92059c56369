// assets/png_encode.h: PNG files as small as zlib can make them, for the generator's pictures.
// The pixels are straight (not premultiplied) RGBA, rows top to bottom. The file keeps every pixel: a
// decoder that expands it to RGBA gets exactly these bytes back. It is written in the narrowest form that
// does so (a palette of 1, 2, 4 or 8 bits, grey, grey with alpha, RGB or RGBA; each that fits is tried)
// with every row filter choice and zlib's level 9, and the smallest is kept. Deterministic: the same
// pixels give the same bytes.
#pragma once
#include <cstdint>
#include <vector>

std::vector<uint8_t> encode_png(const uint8_t* rgba, int width, int height);
