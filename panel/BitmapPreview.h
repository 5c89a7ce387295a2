#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace lcd {

// What Show BMP shows in the window: the file as the platform's bitmap reader sees it, and a note on why
// the display will not show the same (empty when it will).
struct PreviewedBitmap {
    QImage image;
    QString note;
};

// Reads a bitmap for the preview, with the BMP format forced. Nothing when the name is empty, the file is
// not a regular file (a pipe or a device could block the window for good) or not a bitmap the reader
// takes. A huge picture is cut to its top-left 4096 x 4096 pixels.
std::optional<PreviewedBitmap> ReadBitmapPreview(const QString& fileName);

}  // namespace lcd
