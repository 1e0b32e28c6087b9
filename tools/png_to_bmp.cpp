// png-to-bmp: turns the window's palette PNG pictures into the 8-bit BMP files a resource compiler
// takes. A build-time host tool with no library beyond the standard one, so a cross build needs
// nothing of the target's or the host's image libraries.
//
// Usage: png-to-bmp IN.png OUT.bmp
//
// Only palette PNGs (colour type 3, 1 to 8 bits per pixel, not interlaced) are read: that is how
// resources/draw_art.sh writes every picture. A transparent palette entry becomes light grey
// (192, 192, 192), which the window loads with the system's 3D colour mapping, so it takes the
// colour of the dialog's face; other entries of the three mapped greys are moved off them by one.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Failure {
    std::string what;
};

std::uint32_t BigEndian32(const Bytes& data, std::size_t at) {
    if (at + 4 > data.size()) {
        throw Failure{"the file ends inside a chunk"};
    }
    return (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) |
           (std::uint32_t{data[at + 2]} << 8) | std::uint32_t{data[at + 3]};
}

// A reader of the deflate bit stream: bits are taken from the low end of each byte.
class BitReader {
public:
    explicit BitReader(const Bytes& data, std::size_t start) : data_(data), byte_(start) {}

    unsigned Bits(int count) {
        unsigned value = 0;
        for (int i = 0; i < count; ++i) {
            if (byte_ >= data_.size()) {
                throw Failure{"the compressed picture ends early"};
            }
            value |= ((data_[byte_] >> bit_) & 1U) << i;
            if (++bit_ == 8) {
                bit_ = 0;
                ++byte_;
            }
        }
        return value;
    }
    void AlignToByte() {
        if (bit_ != 0) {
            bit_ = 0;
            ++byte_;
        }
    }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Bits(8)); }

private:
    const Bytes& data_;
    std::size_t byte_;
    int bit_ = 0;
};

// A canonical Huffman code, decoded one bit at a time (the pictures are small).
class Huffman {
public:
    explicit Huffman(const std::vector<std::uint8_t>& lengths) {
        for (const std::uint8_t length : lengths) {
            ++counts_[length];
        }
        counts_[0] = 0;
        std::array<int, 16> offsets{};
        for (int length = 1; length < 16; ++length) {
            offsets[length] = offsets[length - 1] + counts_[length - 1];
        }
        symbols_.resize(lengths.size());
        for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
            if (lengths[symbol] != 0) {
                symbols_[static_cast<std::size_t>(offsets[lengths[symbol]]++)] =
                    static_cast<int>(symbol);
            }
        }
    }

    int Decode(BitReader& bits) const {
        int code = 0;
        int first = 0;
        int index = 0;
        for (int length = 1; length < 16; ++length) {
            code |= static_cast<int>(bits.Bits(1));
            const int count = counts_[length];
            if (code - first < count) {
                return symbols_[static_cast<std::size_t>(index + code - first)];
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        throw Failure{"a Huffman code of the picture is not valid"};
    }

private:
    std::array<int, 16> counts_{};
    std::vector<int> symbols_;
};

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void InflateBlock(BitReader& bits, const Huffman& literals, const Huffman& distances, Bytes& out) {
    for (;;) {
        const int symbol = literals.Decode(bits);
        if (symbol < 256) {
            out.push_back(static_cast<std::uint8_t>(symbol));
            continue;
        }
        if (symbol == 256) {
            return;
        }
        const auto lengthCode = static_cast<std::size_t>(symbol - 257);
        if (lengthCode >= kLengthBase.size()) {
            throw Failure{"a length code of the picture is not valid"};
        }
        const int length =
            kLengthBase[lengthCode] + static_cast<int>(bits.Bits(kLengthExtra[lengthCode]));
        const auto distanceCode = static_cast<std::size_t>(distances.Decode(bits));
        if (distanceCode >= kDistanceBase.size()) {
            throw Failure{"a distance code of the picture is not valid"};
        }
        const auto distance =
            static_cast<std::size_t>(kDistanceBase[distanceCode] +
                                     static_cast<int>(bits.Bits(kDistanceExtra[distanceCode])));
        if (distance > out.size()) {
            throw Failure{"the picture refers to data before its start"};
        }
        for (int i = 0; i < length; ++i) {
            out.push_back(out[out.size() - distance]);
        }
    }
}

// The zlib stream of the IDAT chunks, uncompressed (the checksum is not verified: the build
// reads pictures of the project's own tree).
Bytes Inflate(const Bytes& stream) {
    if (stream.size() < 2 || (stream[0] & 0x0F) != 8) {
        throw Failure{"the picture is not deflate-compressed"};
    }
    BitReader bits(stream, 2);
    Bytes out;
    bool last = false;
    while (!last) {
        last = bits.Bits(1) != 0;
        const unsigned type = bits.Bits(2);
        if (type == 0) {
            bits.AlignToByte();
            const unsigned length = bits.Byte() | (unsigned{bits.Byte()} << 8);
            bits.Bits(16);
            for (unsigned i = 0; i < length; ++i) {
                out.push_back(bits.Byte());
            }
        } else if (type == 1) {
            std::vector<std::uint8_t> lengths(288, 8);
            std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
            std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
            InflateBlock(bits, Huffman(lengths), Huffman(std::vector<std::uint8_t>(30, 5)), out);
        } else if (type == 2) {
            const unsigned literalCount = bits.Bits(5) + 257;
            const unsigned distanceCount = bits.Bits(5) + 1;
            const unsigned codeCount = bits.Bits(4) + 4;
            static constexpr std::array<int, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                           11, 4,  12, 3, 13, 2, 14, 1, 15};
            std::vector<std::uint8_t> codeLengths(19, 0);
            for (unsigned i = 0; i < codeCount; ++i) {
                codeLengths[static_cast<std::size_t>(kOrder[i])] =
                    static_cast<std::uint8_t>(bits.Bits(3));
            }
            const Huffman codes(codeLengths);
            std::vector<std::uint8_t> lengths;
            while (lengths.size() < literalCount + distanceCount) {
                const int symbol = codes.Decode(bits);
                if (symbol < 16) {
                    lengths.push_back(static_cast<std::uint8_t>(symbol));
                    continue;
                }
                if (symbol == 16 && lengths.empty()) {
                    throw Failure{"a code length of the picture repeats nothing"};
                }
                const std::uint8_t repeated = symbol == 16 ? lengths.back() : 0;
                const unsigned times = symbol == 16   ? 3 + bits.Bits(2)
                                       : symbol == 17 ? 3 + bits.Bits(3)
                                                      : 11 + bits.Bits(7);
                lengths.insert(lengths.end(), times, repeated);
            }
            const std::vector<std::uint8_t> literalLengths(lengths.begin(),
                                                           lengths.begin() + literalCount);
            const std::vector<std::uint8_t> distanceLengths(lengths.begin() + literalCount,
                                                            lengths.end());
            InflateBlock(bits, Huffman(literalLengths), Huffman(distanceLengths), out);
        } else {
            throw Failure{"a block of the picture has an unknown type"};
        }
    }
    return out;
}

int Paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) {
        return left;
    }
    return toUp <= toUpLeft ? up : upLeft;
}

struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::array<std::array<std::uint8_t, 3>, 256> palette{};
    std::array<std::uint8_t, 256> alpha{};
    Bytes indexes; // one byte per pixel, rows top-down
};

Picture ReadPng(const Bytes& file) {
    static constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P',  'N',  'G',
                                                               0x0D, 0x0A, 0x1A, 0x0A};
    if (file.size() < 8 || !std::equal(kSignature.begin(), kSignature.end(), file.begin())) {
        throw Failure{"not a PNG file"};
    }
    Picture picture;
    picture.alpha.fill(255);
    int depth = 0;
    Bytes compressed;
    for (std::size_t at = 8; at + 8 <= file.size();) {
        const std::uint32_t length = BigEndian32(file, at);
        const std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               file.begin() + static_cast<std::ptrdiff_t>(at + 8));
        const std::size_t data = at + 8;
        if (data + length + 4 > file.size()) {
            throw Failure{"the file ends inside chunk " + type};
        }
        if (type == "IHDR") {
            picture.width = BigEndian32(file, data);
            picture.height = BigEndian32(file, data + 4);
            depth = file[data + 8];
            if (file[data + 9] != 3 || file[data + 12] != 0 || depth > 8) {
                throw Failure{"only palette pictures without interlacing are read"};
            }
        } else if (type == "PLTE") {
            for (std::size_t i = 0; i < length / 3 && i < 256; ++i) {
                picture.palette[i] = {file[data + 3 * i], file[data + 3 * i + 1],
                                      file[data + 3 * i + 2]};
            }
        } else if (type == "tRNS") {
            for (std::size_t i = 0; i < length && i < 256; ++i) {
                picture.alpha[i] = file[data + i];
            }
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), file.begin() + static_cast<std::ptrdiff_t>(data),
                              file.begin() + static_cast<std::ptrdiff_t>(data + length));
        }
        at = data + length + 4;
    }
    if (picture.width == 0 || picture.height == 0 || picture.width > 4096 ||
        picture.height > 4096) {
        throw Failure{"the picture has no size or is too large"};
    }
    const Bytes raw = Inflate(compressed);
    const std::size_t stride = (picture.width * static_cast<std::uint32_t>(depth) + 7) / 8;
    if (raw.size() < (stride + 1) * picture.height) {
        throw Failure{"the picture has fewer rows than its size says"};
    }
    Bytes previous(stride, 0);
    Bytes row(stride, 0);
    // Filters work on bytes; a pixel of fewer than 8 bits counts as one byte apart.
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        const std::size_t start = y * (stride + 1);
        const std::uint8_t filter = raw[start];
        for (std::size_t x = 0; x < stride; ++x) {
            const int value = raw[start + 1 + x];
            const int left = x > 0 ? row[x - 1] : 0;
            const int up = previous[x];
            const int upLeft = x > 0 ? previous[x - 1] : 0;
            int predicted = 0;
            switch (filter) {
            case 0:
                break;
            case 1:
                predicted = left;
                break;
            case 2:
                predicted = up;
                break;
            case 3:
                predicted = (left + up) / 2;
                break;
            case 4:
                predicted = Paeth(left, up, upLeft);
                break;
            default:
                throw Failure{"a row of the picture has an unknown filter"};
            }
            row[x] = static_cast<std::uint8_t>(value + predicted);
        }
        for (std::uint32_t x = 0; x < picture.width; ++x) {
            const std::uint32_t bit = x * static_cast<std::uint32_t>(depth);
            const unsigned shift = 8 - static_cast<unsigned>(depth) - bit % 8;
            picture.indexes.push_back(
                static_cast<std::uint8_t>((row[bit / 8] >> shift) & ((1U << depth) - 1)));
        }
        previous = row;
    }
    return picture;
}

void PutLittleEndian(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// An 8-bit BMP with a 256-entry colour table, rows bottom-up and padded to four bytes.
Bytes WriteBmp(const Picture& picture) {
    const std::uint32_t stride = (picture.width + 3) & ~3U;
    const std::uint32_t pixelsAt = 14 + 40 + 256 * 4;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    PutLittleEndian(out, pixelsAt + stride * picture.height, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, pixelsAt, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, picture.width, 4);
    PutLittleEndian(out, picture.height, 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 8, 2);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, stride * picture.height, 4);
    PutLittleEndian(out, 2835, 4); // 72 dpi
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 256, 4);
    PutLittleEndian(out, 0, 4);
    for (std::size_t i = 0; i < 256; ++i) {
        std::array<std::uint8_t, 3> colour = picture.palette[i];
        const bool mappedGrey = colour[0] == colour[1] && colour[1] == colour[2] &&
                                (colour[0] == 128 || colour[0] == 192 || colour[0] == 223);
        if (picture.alpha[i] < 128) {
            colour = {192, 192, 192};
        } else if (mappedGrey) {
            ++colour[2];
        }
        out.push_back(colour[2]);
        out.push_back(colour[1]);
        out.push_back(colour[0]);
        out.push_back(0);
    }
    for (std::uint32_t y = picture.height; y-- > 0;) {
        const auto rowStart =
            picture.indexes.begin() + static_cast<std::ptrdiff_t>(y * picture.width);
        out.insert(out.end(), rowStart, rowStart + picture.width);
        out.insert(out.end(), stride - picture.width, 0);
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: png-to-bmp IN.png OUT.bmp\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        if (!in && !in.eof()) {
            throw Failure{"it cannot be read"};
        }
        const Bytes bmp = WriteBmp(ReadPng(file));
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bmp.data()),
                  static_cast<std::streamsize>(bmp.size()));
        if (!out.flush()) {
            throw Failure{std::string("'") + argv[2] + "' cannot be written"};
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "png-to-bmp: %s: %s\n", argv[1], failure.what.c_str());
        return 1;
    }
    return 0;
}
