#include "reports/pagepainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace hk
{

double pagePixels(double mm, double dpi)
{
    return mm * dpi / 25.4;
}

static QFont fontFor(const ReportFont &f)
{
    QFont font(QString::fromLatin1(kReportFamily));
    font.setPointSizeF(f.points);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setStyleHint(QFont::Serif);
    return font;
}

QString cutToWidth(const QString &text, const QFontMetricsF &metrics, double width)
{
    if (metrics.horizontalAdvance(text) <= width) return text;
    // The longest fitting beginning, never splitting a character in two.
    qsizetype low = 0, high = text.size();
    while (low < high) {
        qsizetype mid = (low + high + 1) / 2;
        if (mid < text.size() && text[mid].isLowSurrogate()) --mid;
        if (mid <= low) {
            high = low;
            break;
        }
        if (metrics.horizontalAdvance(text.left(mid)) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return text.left(low);
}

// A font on a device. Texts of Latin-1 characters the font has are laid
// out here, a glyph after the other with the advances looked up once per
// character, and drawn as glyph runs: shaping each of a large report's texts
// would cost more than all the rest of its drawing. Any other text goes
// through the painter's own text layout.
struct PagePainter::DeviceFont {
    QFont font;
    QFontMetricsF metrics;
    QRawFont raw;
    std::array<quint32, 256> glyph{}; // 0: not looked up yet, or missing
    std::array<qreal, 256> advance{};
    std::array<bool, 256> known{};

    DeviceFont(const ReportFont &f, QPaintDevice *device)
        : font(fontFor(f), device), metrics(font, device), raw(QRawFont::fromFont(font))
    {
    }

    // Glyphs and their places for as much of text as fits in `width`
    // (none: no limit); false when the text needs the full layout.
    bool layOut(const QString &text, double width, QList<quint32> &glyphs, QList<QPointF> &places,
                qreal &used)
    {
        glyphs.clear();
        places.clear();
        used = 0;
        if (!raw.isValid()) return false;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u >= 256) return false;
            if (!known[u]) {
                known[u] = true;
                const QList<quint32> g = raw.glyphIndexesForString(QString(c));
                glyph[u] = g.size() == 1 ? g[0] : 0;
                if (glyph[u]) advance[u] = raw.advancesForGlyphIndexes(g).value(0).x();
            }
            if (!glyph[u]) return false;
            if (width > 0 && used + advance[u] > width) break;
            glyphs.append(glyph[u]);
            places.append(QPointF(used, 0));
            used += advance[u];
        }
        return true;
    }
};

PagePainter::PagePainter() = default;
PagePainter::~PagePainter() = default;

PagePainter::DeviceFont &PagePainter::font(const ReportFont &f, QPaintDevice *device)
{
    const FontKey key{
        f.points,         f.bold, f.italic, device->logicalDpiX(), device->logicalDpiY(),
        device->devType()};
    auto &slot = fonts_[key];
    if (!slot) slot = std::make_unique<DeviceFont>(f, device);
    return *slot;
}

void paintPage(QPainter &painter, const Page &page)
{
    PagePainter().paint(painter, page);
}

void PagePainter::paint(QPainter &painter, const Page &page)
{
    QPaintDevice *device = painter.device();
    const double sx = device->logicalDpiX() / 25.4, sy = device->logicalDpiY() / 25.4;

    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(0.25 * sy); // a quarter millimetre
    painter.setPen(pen);
    for (const PageRule &r : page.rules)
        painter.drawLine(QPointF(r.x * sx, r.y * sy), QPointF((r.x + r.length) * sx, r.y * sy));

    // Fonts are sized in points of the device, so they scale with the page.
    // The glyphs of each font are drawn together, in one run per page: a
    // run of its own for every text would cost each text its own drawing
    // state in a PDF file.
    struct Run {
        DeviceFont *font;
        QList<quint32> glyphs;
        QList<QPointF> places;
    };
    std::vector<Run> runs;
    // On a printer's or a PDF file's fine grid glyphs are placed on whole
    // dots, a PDF file's numbers being shorter for it; a screen's pixels are
    // too coarse for that.
    const bool fine = device->logicalDpiX() >= 300;
    QList<quint32> glyphs;
    QList<QPointF> places;
    for (const PageText &t : page.texts) {
        DeviceFont &font = this->font(t.font, device);
        const QString text = QString::fromStdString(t.text);
        const double column = t.width * sx;
        const bool cut = t.align == Align::Left && column > 0;
        // Placed by the baseline: the text's line has its top at t.y.
        const double baseline = t.y * sy + font.metrics.ascent();
        qreal used = 0;
        if (font.layOut(text, cut ? column : 0, glyphs, places, used)) {
            const double x = t.align == Align::Right ? (t.x + t.width) * sx - used : t.x * sx;
            auto run = std::find_if(runs.begin(), runs.end(),
                                    [&font](const Run &r) { return r.font == &font; });
            if (run == runs.end()) run = runs.insert(runs.end(), Run{&font, {}, {}});
            run->glyphs.append(glyphs);
            for (const QPointF &p : places)
                run->places.append(fine ? QPointF(std::round(x + p.x()), std::round(baseline))
                                        : QPointF(x + p.x(), baseline));
            continue;
        }
        const QString shown = cut ? cutToWidth(text, font.metrics, column) : text;
        const double x = t.align == Align::Right
                             ? (t.x + t.width) * sx - font.metrics.horizontalAdvance(shown)
                             : t.x * sx;
        painter.setFont(font.font);
        painter.drawText(QPointF(x, baseline), shown);
    }
    for (const Run &r : runs) {
        if (r.glyphs.isEmpty()) continue;
        QGlyphRun run;
        run.setRawFont(r.font->raw);
        run.setGlyphIndexes(r.glyphs);
        run.setPositions(r.places);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    // Thumbnails are decoded as the page is drawn, one at a time: a report of
    // thousands of photos holds their pixels for none of them.
    for (const PagePicture &i : page.pictures) {
        QImage image;
        if (!image.loadFromData(reinterpret_cast<const uchar *>(i.bytes.data()),
                                int(i.bytes.size())))
            continue;
        const QSizeF box(i.width * sx, i.height * sy);
        const QSizeF fitted = QSizeF(image.size()).scaled(box, Qt::KeepAspectRatio);
        const QRectF place(i.x * sx + (box.width() - fitted.width()) / 2,
                           i.y * sy + (box.height() - fitted.height()) / 2, fitted.width(),
                           fitted.height());
        painter.drawImage(place, image);
    }
    painter.restore();
}

} // namespace hk
