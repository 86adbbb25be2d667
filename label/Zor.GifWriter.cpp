#include "Zor.GifWriter.h"

#include "Zor.Msg.h"

#include <QHash>

#include <array>
#include <gif_lib.h>
#include <vector>

namespace {

constexpr int PaletteSize = 256; // a GIF colour table holds a power of two
constexpr QRgb OpaqueWhite = 0xFFFFFFFFu;

// An image as palette indexes and the colours they stand for.
struct TIndexed {
    std::vector<GifByteType> pixels;
    std::array<GifColorType, PaletteSize> colors {};
    int transparent = NO_TRANSPARENT_COLOR;
};

[[noreturn]] void Fail(int code)
{
    throw zor::Error(
        QStringLiteral("FileWrite"), QStringLiteral("GIF"), QString::fromLatin1(GifErrorString(code)));
}

bool IsClear(QRgb rgba, bool transparentWhite)
{
    return transparentWhite && rgba == OpaqueWhite;
}

// Exact colours, when the image holds few enough of them.
bool IndexExactly(const QImage& image, bool transparentWhite, int room, TIndexed& out)
{
    QHash<QRgb, int> index;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (IsClear(line[x], transparentWhite)) {
                out.pixels.push_back(GifByteType(out.transparent));
                continue;
            }
            const QRgb rgb = line[x] | 0xFF000000u;
            auto it = index.constFind(rgb);
            if (it == index.constEnd()) {
                if (index.size() == room)
                    return false;
                const int n = int(index.size());
                out.colors[size_t(n)]
                    = { GifByteType(qRed(rgb)), GifByteType(qGreen(rgb)), GifByteType(qBlue(rgb)) };
                it = index.insert(rgb, n);
            }
            out.pixels.push_back(GifByteType(*it));
        }
    }
    return true;
}

// Median cut over the whole image; clear pixels then take the index kept for them.
void Quantise(const QImage& image, bool transparentWhite, int room, TIndexed& out)
{
    const size_t n = size_t(image.width()) * size_t(image.height());
    std::vector<GifByteType> r(n), g(n), b(n);
    out.pixels.assign(n, 0);
    size_t i = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, ++i) {
            r[i] = GifByteType(qRed(line[x]));
            g[i] = GifByteType(qGreen(line[x]));
            b[i] = GifByteType(qBlue(line[x]));
        }
    }
    int size = room;
    if (GifQuantizeBuffer(unsigned(image.width()), unsigned(image.height()), &size, r.data(), g.data(),
            b.data(), out.pixels.data(), out.colors.data())
        != GIF_OK)
        Fail(E_GIF_ERR_NOT_ENOUGH_MEM);
    i = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x, ++i)
            if (IsClear(line[x], transparentWhite))
                out.pixels[i] = GifByteType(out.transparent);
    }
}

int Append(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

void Check(int rc, GifFileType* gif)
{
    if (rc != GIF_OK)
        Fail(gif->Error);
}

// Writes the indexed image through giflib into bytes.
void Write(const TIndexed& indexed, int width, int height, QByteArray& bytes)
{
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, Append, &error);
    if (!gif)
        Fail(error);
    ColorMapObject* map = GifMakeMapObject(PaletteSize, indexed.colors.data());
    const auto close = [&] {
        int closeError = 0;
        const bool closed = EGifCloseFile(gif, &closeError) == GIF_OK;
        GifFreeMapObject(map);
        return closed ? GIF_OK : closeError;
    };
    try {
        EGifSetGifVersion(gif, true);
        Check(EGifPutScreenDesc(gif, width, height, 8, 0, map), gif);
        if (indexed.transparent != NO_TRANSPARENT_COLOR) {
            GraphicsControlBlock gcb { DISPOSAL_UNSPECIFIED, false, 0, indexed.transparent };
            std::array<GifByteType, 4> extension {};
            EGifGCBToExtension(&gcb, extension.data());
            Check(
                EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(extension.size()), extension.data()), gif);
        }
        Check(EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr), gif);
        std::vector<GifByteType> line(static_cast<size_t>(width));
        for (int y = 0; y < height; ++y) {
            const auto* row = indexed.pixels.data() + size_t(y) * size_t(width);
            line.assign(row, row + width); // giflib takes a writable line
            Check(EGifPutLine(gif, line.data(), width), gif);
        }
    } catch (...) {
        close();
        throw;
    }
    if (const int rc = close(); rc != GIF_OK)
        Fail(rc);
}

} // namespace

QByteArray zor::EncodeGif(const QImage& image, bool transparentWhite)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    TIndexed indexed;
    // The transparent index is kept apart, so no quantised colour lands on it.
    const int room = transparentWhite ? PaletteSize - 1 : PaletteSize;
    if (transparentWhite)
        indexed.transparent = PaletteSize - 1;
    indexed.pixels.reserve(size_t(argb.width()) * size_t(argb.height()));
    if (!IndexExactly(argb, transparentWhite, room, indexed)) {
        indexed.pixels.clear();
        Quantise(argb, transparentWhite, room, indexed);
    }
    QByteArray bytes;
    Write(indexed, argb.width(), argb.height(), bytes);
    return bytes;
}
