#pragma once
// The PNG files the mod writer makes: 8-bit RGBA, not interlaced, every row filtered with the
// Paeth predictor and the whole compressed by zlib at a light level. One fixed filter instead of
// trying every filter on every row makes the encoding several times faster than a general
// encoder, and the same picture always gives the same bytes.
#include <QByteArray>
#include <QImage>

namespace velmora::mod {

// The PNG file of the image (converted to non-premultiplied RGBA first); empty for a null image.
QByteArray EncodePng(const QImage& image);

} // namespace velmora::mod
