#include "BitmapPreview.h"

#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <QStringList>
#include <memory>

#include "drawing/BitmapImport.h"
#include "drawing/RegularFile.h"

namespace lcd {
namespace {

// A one-bit picture tens of thousands of pixels wide decodes within the reader's memory limit, but would
// grow 32-fold as a screen pixmap; no window shows more of it than this anyway.
const QSize LargestPreview(4096, 4096);

// The file for the preview, or nothing when it is not a regular file that can be opened.
std::unique_ptr<QFile> OpenRegularFile(const QString& fileName) {
    if (fileName.isEmpty()) {
        return nullptr;
    }
    int fd = -1;
    try {
        fd = OpenRegularFileForReading(QFile::encodeName(fileName).toStdString());
    } catch (const std::runtime_error&) {
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

QString PerPixel(int bits) {
    return bits == 1 ? QStringLiteral("1 bit per pixel") : QString("%1 bits per pixel").arg(bits);
}

// Why the display will not show what the preview shows, or nothing when it will. The file's own header
// is the truer witness (a 4-bit file loads as an 8-bit image, and the image knows nothing of row order or
// where the pixels start); the loaded image only speaks for a header the import does not read.
QString BitmapNote(const std::optional<BitmapShape>& shape, std::size_t fileBytes, const QImage& image) {
    const QString expected = QStringLiteral("the display expects 128 x 64 at 1 bit per pixel");
    const QString scrambled = QStringLiteral(", so it shows scrambled.");
    if (!shape) {
        return QString("The file is %1 x %2 at %3; %4%5")
            .arg(image.width())
            .arg(image.height())
            .arg(PerPixel(image.depth()), expected, scrambled);
    }
    const bool sizeAndDepthFit =
        shape->width == DisplayColumns && shape->height == DisplayRows && shape->bitsPerPixel == 1;
    if (!sizeAndDepthFit) {
        return QString("The file is %1 x %2 at %3; %4%5")
            .arg(shape->width)
            .arg(shape->height)
            .arg(PerPixel(shape->bitsPerPixel), expected, scrambled);
    }
    QStringList found;
    QStringList wanted;
    if (shape->topDown) {
        found << "stored top row first";
        wanted << "bottom row first";
    }
    if (shape->compression != 0) {
        found << "compressed";
        wanted << "uncompressed";
    }
    if (shape->pixelDataOffset != BMPHeaderSize) {
        found << QString("with its pixels from byte %1").arg(shape->pixelDataOffset);
        wanted << QString("pixels from byte %1").arg(BMPHeaderSize);
    }
    if (!found.isEmpty()) {
        return QString("The file is 128 x 64 at 1 bit per pixel, %1; %2, %3%4")
            .arg(found.join(", "), expected, wanted.join(", "), scrambled);
    }
    if (fileBytes < BMPFileSize) {
        return QString(
                   "The file holds only %1 of the %2 bytes of a 128 x 64 bitmap; the rows it lacks show lit.")
            .arg(fileBytes)
            .arg(BMPFileSize);
    }
    return {};
}

}  // namespace

std::optional<PreviewedBitmap> ReadBitmapPreview(const QString& fileName) {
    const std::unique_ptr<QFile> file = OpenRegularFile(fileName);
    if (!file) {
        return std::nullopt;
    }
    BMPFileBuffer header{};
    const qint64 headerBytes =
        file->read(reinterpret_cast<char*>(header.data()), static_cast<qint64>(header.size()));
    if (headerBytes < 0 || !file->seek(0)) {
        return std::nullopt;
    }
    QImageReader reader(file.get(), "bmp");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    return PreviewedBitmap{image.copy(QRect(QPoint(0, 0), image.size().boundedTo(LargestPreview))),
                           BitmapNote(ReadBitmapShape(header), static_cast<std::size_t>(headerBytes), image)};
}

}  // namespace lcd
