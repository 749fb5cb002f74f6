// What a file offered as an attachment is, judged by its bytes and never by
// its name: a photo (JPEG, PNG, WebP) or a PDF document, whole, within the
// limits; and the pictures made from it. Anything else is refused with the
// reason in words for the user. Pictures are decoded under Qt's allocation
// limit, and their size is read from the header before any pixel is: a
// decompression bomb is refused before it takes memory.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace hk
{

// The largest picture read, in pixels, and along either side.
constexpr long long kMaxPhotoPixels = 120'000'000;
constexpr int kMaxPhotoSide = 30'000;
// Qt's limit on the memory one decoded picture may take, in megabytes.
constexpr int kImageAllocationLimitMb = 512;
// The longer side of a thumbnail, in pixels.
constexpr int kThumbnailSide = 240;

struct InspectedFile {
    QString problem;      // empty when the file can be kept
    QByteArray mediaType; // "image/jpeg", ... or "application/pdf"
    QByteArray thumbnail; // a JPEG or PNG; empty for a document
    bool ok() const { return problem.isEmpty(); }
};

// Checks a file's bytes and makes its thumbnail. `name` is what the messages
// call the file; maxBytes the largest file kept.
InspectedFile inspectFile(const QByteArray &bytes, const QString &name, long long maxBytes);

// The media type the bytes begin like, or empty: the first test, before the
// file is read through.
QByteArray sniffMediaType(const QByteArray &bytes);

// Whether the file runs to its proper end (a JPEG to its end-of-image mark, a
// PNG to its last chunk, a WebP to the length it declares, a PDF to its
// end-of-file mark): a file cut off in a copy is refused.
bool isComplete(const QByteArray &bytes, const QByteArray &mediaType);

// A photo's picture upright (as the camera meant it), scaled down to fit
// within `fit` when that is given; null with `problem` set when it cannot be.
QImage readPhoto(const QByteArray &bytes, QSize fit = {}, QString *problem = nullptr);

// A size in words: "850 bytes", "12.4 KB", "63.2 MB".
QString sizeInWords(long long bytes);

} // namespace hk
