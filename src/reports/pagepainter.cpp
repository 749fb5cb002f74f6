#include "reports/pagepainter.h"

#include "platform/data/attachments.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"

#include <QFont>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>

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

void paintPage(QPainter &painter, const Page &page)
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
    ReportFont current{0, false, false};
    QFont font;
    for (const PageText &t : page.texts) {
        if (!(t.font == current)) {
            current = t.font;
            font = fontFor(current);
            painter.setFont(font);
        }
        // Boxes as wide as the paper: a text is never cut short.
        const double wide = PageArea::width * sx, high = 20 * sy, y = t.y * sy;
        const int flags = Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
        if (t.align == Align::Right)
            painter.drawText(QRectF((t.x + t.width) * sx - wide, y, wide, high),
                             flags | Qt::AlignRight, QString::fromStdString(t.text));
        else
            painter.drawText(QRectF(t.x * sx, y, wide, high), flags | Qt::AlignLeft,
                             QString::fromStdString(t.text));
    }
    // Thumbnails are read as the page is drawn, one at a time: a report of
    // thousands of photos holds none of them.
    for (const PagePicture &i : page.pictures) {
        std::string bytes;
        if (readThumbnail(DataFile::program(), i.attachment, bytes) != NoError) continue;
        QImage image;
        if (!image.loadFromData(reinterpret_cast<const uchar *>(bytes.data()), int(bytes.size())))
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

bool printPages(QPrinter &printer, const std::vector<Page> &pages, const QString &job, int from,
                int to)
{
    if (pages.empty()) return true;
    const int count = int(pages.size());
    if (from <= 0) from = 1;
    if (to <= 0 || to > count) to = count;
    if (from > to) return true;
    printer.setDocName(job);
    printer.setFullPage(true); // positions are measured from the paper's edge
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    for (int p = from; p <= to; ++p) {
        if (p > from) printer.newPage();
        paintPage(painter, pages[p - 1]);
    }
    painter.end();
    return true;
}

QString savePdf(const QString &file, const std::vector<Page> &pages, const QString &job)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return out.errorString();
    {
        QPdfWriter pdf(&out);
        pdf.setTitle(job);
        pdf.setCreator(QStringLiteral("Hearthkeep"));
        pdf.setPageSize(
            QPageSize(QSizeF(PageArea::width, PageArea::height), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0)); // positions are measured from the paper's edge
        QPainter painter;
        if (!painter.begin(&pdf)) {
            out.cancelWriting();
            return QStringLiteral("the PDF writer could not start");
        }
        for (std::size_t p = 0; p < pages.size(); ++p) {
            if (p > 0) pdf.newPage();
            paintPage(painter, pages[p]);
        }
        painter.end();
    }
    if (!out.commit()) return out.errorString();
    return {};
}

} // namespace hk
