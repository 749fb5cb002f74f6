// Photos and papers made on the spot for the tests: real encoded pictures of
// a given size, a PDF, and the bad files a user may offer (cut off, lying
// about their size, not a picture at all).
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>

namespace testimages
{

inline QByteArray encoded(const QImage &image, const char *format, int quality = 90)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return out;
}

// A picture with some structure, so that it compresses like a photo would.
inline QImage picture(int width, int height, QColor colour = QColor(40, 120, 200))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QPainter p(&image);
    p.setPen(Qt::white);
    for (int x = 0; x < width; x += 7)
        p.drawLine(x, 0, width - x, height);
    return image;
}

inline QByteArray jpeg(int width = 64, int height = 48, QColor colour = QColor(40, 120, 200))
{
    return encoded(picture(width, height, colour), "JPEG");
}

inline QByteArray png(int width = 64, int height = 48)
{
    return encoded(picture(width, height), "PNG");
}

inline QByteArray webp(int width = 64, int height = 48)
{
    return encoded(picture(width, height), "WEBP");
}

inline QByteArray pdf()
{
    return QByteArray("%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
                      "2 0 obj << /Type /Pages /Kids [] /Count 0 >> endobj\n"
                      "trailer << /Root 1 0 R >>\n%%EOF\n");
}

inline quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : data) {
        crc ^= static_cast<unsigned char>(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void putBigEndian(QByteArray &b, qsizetype at, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = static_cast<char>((v >> (8 * (bytes - 1 - i))) & 0xFF);
}

// A small, whole JPEG whose frame header claims width × height.
inline QByteArray jpegClaiming(int width, int height)
{
    QByteArray b = jpeg(16, 16);
    for (qsizetype i = 2; i + 9 < b.size(); ++i)
        if (static_cast<unsigned char>(b[i]) == 0xFF &&
            (static_cast<unsigned char>(b[i + 1]) & 0xF0) == 0xC0 &&
            static_cast<unsigned char>(b[i + 1]) != 0xC4 &&
            static_cast<unsigned char>(b[i + 1]) != 0xC8) {
            putBigEndian(b, i + 5, quint32(height), 2);
            putBigEndian(b, i + 7, quint32(width), 2);
            break;
        }
    return b;
}

// A small, whole PNG whose header claims width × height (its checksum fixed).
inline QByteArray pngClaiming(int width, int height)
{
    QByteArray b = png(16, 16);
    putBigEndian(b, 16, quint32(width), 4);
    putBigEndian(b, 20, quint32(height), 4);
    putBigEndian(b, 29, crc32(b.mid(12, 17)), 4);
    return b;
}

} // namespace testimages
