#include "platform/mediafile.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QLocale>

namespace hk
{

namespace
{

unsigned char at(const QByteArray &b, qsizetype i)
{
    return static_cast<unsigned char>(b[i]);
}

// Walks a JPEG's segments to its end-of-image mark; the entropy-coded data
// after each start of scan runs to the next mark that is not a restart or a
// stuffed byte.
bool jpegComplete(const QByteArray &b)
{
    const qsizetype n = b.size();
    qsizetype i = 2;
    while (i < n) {
        if (at(b, i) != 0xFF) return false;
        while (i < n && at(b, i) == 0xFF)
            ++i;
        if (i >= n) return false;
        const unsigned char m = at(b, i++);
        if (m == 0xD9) return true;
        if (m == 0x01 || (m >= 0xD0 && m <= 0xD7)) continue;
        if (i + 2 > n) return false;
        const int length = (at(b, i) << 8) | at(b, i + 1);
        if (length < 2) return false;
        i += length;
        if (i > n) return false;
        if (m != 0xDA) continue;
        while (i + 1 < n && !(at(b, i) == 0xFF && at(b, i + 1) != 0 &&
                              !(at(b, i + 1) >= 0xD0 && at(b, i + 1) <= 0xD7)))
            ++i;
        if (i + 1 >= n) return false;
    }
    return false;
}

bool pngComplete(const QByteArray &b)
{
    const qsizetype n = b.size();
    qsizetype i = 8;
    while (i + 12 <= n) {
        const quint32 length = (quint32(at(b, i)) << 24) | (quint32(at(b, i + 1)) << 16) |
                               (quint32(at(b, i + 2)) << 8) | quint32(at(b, i + 3));
        if (length > 0x7FFFFFFFu) return false;
        const bool end = b.mid(i + 4, 4) == "IEND";
        i += 12 + qsizetype(length);
        if (i > n) return false;
        if (end) return true;
    }
    return false;
}

bool webpComplete(const QByteArray &b)
{
    if (b.size() < 12) return false;
    const quint32 size = quint32(at(b, 4)) | (quint32(at(b, 5)) << 8) | (quint32(at(b, 6)) << 16) |
                         (quint32(at(b, 7)) << 24);
    return qsizetype(size) + 8 <= b.size();
}

bool pdfComplete(const QByteArray &b)
{
    // The end-of-file mark closes the last section; only line ends or a few
    // bytes of padding may follow it.
    return b.right(1024).contains("%%EOF");
}

QString quoted(const QString &name)
{
    return QStringLiteral("\"%1\"").arg(name);
}

QString number(long long n)
{
    return QLocale(QLocale::English).toString(n);
}

// The reader's picture size, or an invalid size when the header cannot be read.
QSize headerSize(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    return reader.size();
}

QString sizeProblem(QSize size)
{
    if (!size.isValid()) return {};
    if (size.width() > kMaxPhotoSide || size.height() > kMaxPhotoSide ||
        static_cast<long long>(size.width()) * size.height() > kMaxPhotoPixels)
        return QStringLiteral(" is %1 × %2 pixels: a photo may have at most %3 million pixels, "
                              "and %4 along a side")
            .arg(number(size.width()), number(size.height()), number(kMaxPhotoPixels / 1000000),
                 number(kMaxPhotoSide));
    return {};
}

QByteArray encodeThumbnail(const QImage &image)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, image.hasAlphaChannel() ? "png" : "jpeg");
    writer.setQuality(82);
    if (!writer.write(image)) return {};
    return out;
}

} // namespace

QString sizeInWords(long long bytes)
{
    if (bytes < 1024) return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < 1024 * 1024) return QStringLiteral("%1 KB").arg(bytes / 1024.0, 0, 'f', 1);
    if (bytes < 1024LL * 1024 * 1024)
        return QStringLiteral("%1 MB").arg(bytes / (1024.0 * 1024), 0, 'f', 1);
    return QStringLiteral("%1 GB").arg(bytes / (1024.0 * 1024 * 1024), 0, 'f', 2);
}

QByteArray sniffMediaType(const QByteArray &b)
{
    if (b.startsWith("\xFF\xD8\xFF")) return "image/jpeg";
    if (b.startsWith("\x89PNG\r\n\x1A\n")) return "image/png";
    if (b.size() >= 12 && b.startsWith("RIFF") && b.mid(8, 4) == "WEBP") return "image/webp";
    if (b.startsWith("%PDF-")) return "application/pdf";
    return {};
}

bool isComplete(const QByteArray &bytes, const QByteArray &type)
{
    if (type == "image/jpeg") return jpegComplete(bytes);
    if (type == "image/png") return pngComplete(bytes);
    if (type == "image/webp") return webpComplete(bytes);
    if (type == "application/pdf") return pdfComplete(bytes);
    return false;
}

QImage readPhoto(const QByteArray &bytes, QSize fit, QString *problem)
{
    QImageReader::setAllocationLimit(kImageAllocationLimitMb);
    auto refuse = [problem](const QString &why) {
        if (problem) *problem = why;
        return QImage();
    };
    const QSize size = headerSize(bytes);
    if (!size.isValid()) return refuse(QStringLiteral(" cannot be read as a picture"));
    if (QString why = sizeProblem(size); !why.isEmpty()) return refuse(why);
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (fit.isValid() && (size.width() > fit.width() || size.height() > fit.height()))
        reader.setScaledSize(size.scaled(fit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image = reader.read();
    if (image.isNull())
        return refuse(
            QStringLiteral(" cannot be read as a picture (%1)").arg(reader.errorString()));
    return image;
}

InspectedFile inspectFile(const QByteArray &bytes, const QString &name, long long maxBytes)
{
    InspectedFile f;
    auto refuse = [&](const QString &why) {
        f.problem = quoted(name) + why + QLatin1Char('.');
        f.mediaType.clear();
        f.thumbnail.clear();
        return f;
    };
    if (bytes.isEmpty()) return refuse(QStringLiteral(" is empty"));
    if (bytes.size() > maxBytes)
        return refuse(QStringLiteral(" is %1: an attachment may be at most %2")
                          .arg(sizeInWords(bytes.size()), sizeInWords(maxBytes)));
    f.mediaType = sniffMediaType(bytes);
    if (f.mediaType.isEmpty())
        return refuse(QStringLiteral(" is not a photo (JPEG, PNG or WebP) or a PDF document"));
    if (!isComplete(bytes, f.mediaType))
        return refuse(QStringLiteral(" is damaged: the file ends before its content does"));
    if (f.mediaType == "application/pdf") return f;
    if (f.mediaType == "image/webp" && !QImageReader::supportedImageFormats().contains("webp"))
        return refuse(QStringLiteral(" is a WebP picture, which this installation cannot read"));
    QString why;
    const QImage thumb = readPhoto(bytes, QSize(kThumbnailSide, kThumbnailSide), &why);
    if (thumb.isNull()) return refuse(why);
    f.thumbnail = encodeThumbnail(thumb);
    if (f.thumbnail.isEmpty()) return refuse(QStringLiteral(" cannot be made into a thumbnail"));
    return f;
}

} // namespace hk
