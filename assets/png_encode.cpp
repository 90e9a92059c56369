// assets/png_encode.cpp: the generator's PNG encoder (see png_encode.h).
//
// An image is tried in each form that keeps its pixels:
//   (a) a palette, when it has at most 256 different pixels, at the fewest bits per index that allows;
//   (b) grey (with alpha unless every pixel is opaque), when every pixel has red = green = blue;
//   (c) otherwise RGB, or RGBA when some pixel is not opaque.
// Each form is filtered in two ways: unfiltered (except that a row repeating the one above is filtered
// "Up", to all zeros), and per row the filter whose bytes have the smallest sum of magnitudes (PNG's own
// recommended guess); each stream is deflated at level 9 with zlib's default and its "filtered" strategy,
// and the smallest file wins. Drawn art of flat shapes and sharp edges deflates best unfiltered, its
// repeats found whole; smooth gradients favour the filters. (The other fixed filters, tried on every
// sheet of the game, never won and took four times as long.)
#include "png_encode.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

const size_t kMaxPalette = 256;
const int kNone = 0, kUp = 2, kFilterTypes = 5;   // of None, Sub, Up, Average, Paeth
const int kUnfiltered = kFilterTypes;             // the two ways to choose each row's filter
const int kPerRowGuess = kFilterTypes + 1;

// One form of the image: PNG's colour type and bit depth, the palette (straight RGBA entries) when it has
// one, and the rows as PNG stores them before filtering (indices packed to the bit depth).
struct Form {
    uint8_t colourType = 6, bitDepth = 8;
    std::vector<uint8_t> palette;
    size_t rowBytes = 0;
    int filterStep = 4;   // bytes back to the same channel of the pixel to the left (at least 1)
    std::vector<uint8_t> rows;
};

// The pixels: straight RGBA, 4 bytes each, and each pixel's bytes as one number.
struct Pixels {
    const uint8_t* rgba;
    int width, height;
    size_t count() const { return size_t(width) * height; }
    uint32_t key(size_t i) const {
        const uint8_t* p = rgba + 4 * i;
        return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
    }
};

// ---- forms -------------------------------------------------------------------------------------------

Form direct_form(const Pixels& px, bool grey, bool opaque) {
    Form f;
    const int channels = (grey ? 1 : 3) + (opaque ? 0 : 1);
    f.colourType = grey ? (opaque ? 0 : 4) : (opaque ? 2 : 6);
    f.filterStep = channels;
    f.rowBytes = size_t(px.width) * channels;
    f.rows.reserve(f.rowBytes * px.height);
    for (size_t i = 0; i < px.count(); ++i) {
        const uint8_t* p = px.rgba + 4 * i;
        f.rows.insert(f.rows.end(), p, p + (grey ? 1 : 3));
        if (!opaque) f.rows.push_back(p[3]);
    }
    return f;
}

// Entries with some transparency first (so the transparency chunk stays short), then by brightness, so
// that neighbouring shades get neighbouring indices.
std::vector<uint32_t> palette_order(const std::map<uint32_t, int>& colours) {
    std::vector<uint32_t> order;
    for (const auto& entry : colours) order.push_back(entry.first);
    auto key = [](uint32_t c) {
        const int v[4] = {int(c >> 24), int(c >> 16 & 255), int(c >> 8 & 255), int(c & 255)};
        return std::make_pair(v[3] == 255, (299 * v[0] + 587 * v[1] + 114 * v[2]) * 256 + v[3]);
    };
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return key(a) < key(b); });
    return order;
}

// `colours` holds every different pixel of the image; it is given each one's palette index.
Form palette_form(const Pixels& px, std::map<uint32_t, int>& colours) {
    Form f;
    f.colourType = 3;
    const std::vector<uint32_t> order = palette_order(colours);
    for (size_t i = 0; i < order.size(); ++i) {
        colours[order[i]] = int(i);
        for (int shift = 24; shift >= 0; shift -= 8) f.palette.push_back(uint8_t(order[i] >> shift));
    }
    f.bitDepth = order.size() <= 2 ? 1 : order.size() <= 4 ? 2 : order.size() <= 16 ? 4 : 8;
    f.filterStep = 1;
    f.rowBytes = (size_t(px.width) * f.bitDepth + 7) / 8;
    f.rows.assign(f.rowBytes * px.height, 0);
    const int perByte = 8 / f.bitDepth;
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x) {
            const int shift = 8 - f.bitDepth * (x % perByte + 1);   // the leftmost pixel in the high bits
            f.rows[y * f.rowBytes + x / perByte] |=
                uint8_t(colours[px.key(size_t(y) * px.width + x)] << shift);
        }
    return f;
}

std::vector<Form> forms_of(const Pixels& px) {
    bool grey = true, opaque = true;
    std::map<uint32_t, int> colours;
    for (size_t i = 0; i < px.count(); ++i) {
        const uint8_t* p = px.rgba + 4 * i;
        grey = grey && p[0] == p[1] && p[1] == p[2];
        opaque = opaque && p[3] == 255;
        if (colours.size() <= kMaxPalette) colours.emplace(px.key(i), 0);
    }
    std::vector<Form> forms{direct_form(px, grey, opaque)};
    if (colours.size() <= kMaxPalette) forms.push_back(palette_form(px, colours));
    return forms;
}

// ---- filtering ---------------------------------------------------------------------------------------

int paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Filters one row with `type` into `out`; `above` is null on the first row.
void filter_row(int type, const uint8_t* row, const uint8_t* above, size_t n, int step, uint8_t* out) {
    for (size_t i = 0; i < n; ++i) {
        const int a = i >= size_t(step) ? row[i - step] : 0, b = above ? above[i] : 0;
        const int c = above && i >= size_t(step) ? above[i - step] : 0;
        const int predicted = type == 1   ? a
                              : type == 2 ? b
                              : type == 3 ? (a + b) / 2
                              : type == 4 ? paeth(a, b, c)
                                          : 0;
        out[i] = uint8_t(row[i] - predicted);
    }
}

// The sum of the filtered bytes read as signed magnitudes: a small sum usually deflates small.
size_t magnitude(const uint8_t* bytes, size_t n) {
    size_t sum = 0;
    for (size_t i = 0; i < n; ++i) sum += bytes[i] < 128 ? bytes[i] : 256 - bytes[i];
    return sum;
}

// The compressed stream's input: each row its filter type byte, then its filtered bytes; `choice` is
// kUnfiltered or kPerRowGuess.
std::vector<uint8_t> filtered(const Form& f, int height, int choice) {
    const size_t n = f.rowBytes;
    std::vector<uint8_t> out((n + 1) * height), trial(n);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = f.rows.data() + y * n;
        const uint8_t* above = y > 0 ? row - n : nullptr;
        int type = above && std::equal(row, row + n, above) ? kUp : kNone;
        if (choice == kPerRowGuess) {
            size_t best = SIZE_MAX;
            for (int t = 0; t < kFilterTypes; ++t) {
                filter_row(t, row, above, n, f.filterStep, trial.data());
                const size_t m = magnitude(trial.data(), n);
                if (m < best) best = m, type = t;
            }
        }
        out[y * (n + 1)] = uint8_t(type);
        filter_row(type, row, above, n, f.filterStep, out.data() + y * (n + 1) + 1);
    }
    return out;
}

std::vector<uint8_t> deflated(const std::vector<uint8_t>& in, int strategy) {
    z_stream z{};
    // Level 9, the largest window and the most memory zlib offers: the smallest stream it can make.
    if (deflateInit2(&z, 9, Z_DEFLATED, 15, 9, strategy) != Z_OK) std::abort();
    std::vector<uint8_t> out(deflateBound(&z, uLong(in.size())));
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = uInt(in.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// ---- the file ----------------------------------------------------------------------------------------

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    put32(out, uint32_t(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    put32(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

std::vector<uint8_t> file_of(const Form& f, int width, int height, const std::vector<uint8_t>& idat) {
    std::vector<uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}, header;
    put32(header, uint32_t(width));
    put32(header, uint32_t(height));
    header.insert(header.end(),
                  {f.bitDepth, f.colourType, 0, 0, 0});   // deflate, adaptive filters, no interlace
    chunk(out, "IHDR", header);
    if (f.colourType == 3) {
        std::vector<uint8_t> plte, trns;
        for (size_t i = 0; i < f.palette.size(); i += 4) {
            plte.insert(plte.end(), &f.palette[i], &f.palette[i] + 3);
            if (f.palette[i + 3] != 255) trns.resize(i / 4 + 1, 255), trns[i / 4] = f.palette[i + 3];
        }
        chunk(out, "PLTE", plte);
        if (!trns.empty()) chunk(out, "tRNS", trns);
    }
    chunk(out, "IDAT", idat);
    chunk(out, "IEND", {});
    return out;
}

}   // namespace

std::vector<uint8_t> encode_png(const uint8_t* rgba, int width, int height) {
    std::vector<uint8_t> best;
    for (const Form& f : forms_of(Pixels{rgba, width, height}))
        for (int choice : {kUnfiltered, kPerRowGuess}) {
            const std::vector<uint8_t> stream = filtered(f, height, choice);
            for (int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED}) {
                std::vector<uint8_t> file = file_of(f, width, height, deflated(stream, strategy));
                if (best.empty() || file.size() < best.size()) best.swap(file);
            }
        }
    return best;
}
