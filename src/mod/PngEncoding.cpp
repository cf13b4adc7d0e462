#include "mod/PngEncoding.h"

#include <cstdlib>
#include <zlib.h>

namespace velmora::mod {

namespace {

void appendBigEndian(QByteArray& out, quint32 value) {
    out.append(char(value >> 24));
    out.append(char(value >> 16));
    out.append(char(value >> 8));
    out.append(char(value));
}

// A chunk: length, type, data, and the CRC of type and data.
void appendChunk(QByteArray& out, const char type[4], const QByteArray& data) {
    appendBigEndian(out, quint32(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* bytes = reinterpret_cast<const Bytef*>(out.constData() + start);
    appendBigEndian(out, quint32(crc32(0, bytes, uInt(out.size() - start))));
}

unsigned char paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return static_cast<unsigned char>(a);
    return static_cast<unsigned char>(pb <= pc ? b : c);
}

} // namespace

QByteArray EncodePng(const QImage& image) {
    if (image.isNull())
        return {};
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    const int width = rgba.width(), height = rgba.height();
    const qsizetype stride = qsizetype(width) * 4;

    // Each row: the filter type 4 (Paeth), then each byte minus its prediction from the byte to
    // the left (a), above (b) and above-left (c).
    QByteArray filtered;
    filtered.resize((stride + 1) * height);
    auto* out = reinterpret_cast<unsigned char*>(filtered.data());
    for (int y = 0; y < height; ++y) {
        const uchar* row = rgba.constScanLine(y);
        const uchar* above = y > 0 ? rgba.constScanLine(y - 1) : nullptr;
        *out++ = 4;
        for (qsizetype i = 0; i < stride; ++i) {
            const int a = i >= 4 ? row[i - 4] : 0;
            const int b = above ? above[i] : 0;
            const int c = above && i >= 4 ? above[i - 4] : 0;
            *out++ = static_cast<unsigned char>(row[i] - paeth(a, b, c));
        }
    }

    uLongf packedSize = compressBound(uLong(filtered.size()));
    QByteArray packed(qsizetype(packedSize), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(filtered.constData()), uLong(filtered.size()),
                  Z_BEST_SPEED) != Z_OK)
        return {};
    packed.resize(qsizetype(packedSize));

    QByteArray header;
    appendBigEndian(header, quint32(width));
    appendBigEndian(header, quint32(height));
    header.append(char(8)); // bits per sample
    header.append(char(6)); // colour type: RGB with alpha
    header.append(char(0)); // deflate
    header.append(char(0)); // adaptive filtering, one filter type per row
    header.append(char(0)); // not interlaced

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace velmora::mod
