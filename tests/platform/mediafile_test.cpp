// Files offered as attachments: kept only when they are whole photos or PDF
// documents within the limits, whatever their name says; a bomb is refused
// from its header, before its pixels would take memory.
#include "platform/mediafile.h"
#include "testimages.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace hk;
namespace img = testimages;

namespace
{

constexpr long long k50Mb = 50LL * 1024 * 1024;

int argc = 1;
char arg0[] = "mediafile_test";
char *argv[] = {arg0, nullptr};
QGuiApplication &app()
{
    static QGuiApplication a(argc, argv);
    return a;
}

class MediaFileTest : public ::testing::Test
{
  protected:
    void SetUp() override { app(); }
};

} // namespace

TEST_F(MediaFileTest, PhotosAndDocumentsAreKeptWithAThumbnailThatFits)
{
    struct Case {
        QByteArray bytes;
        QByteArray type;
        bool thumbnail;
    };
    const Case cases[] = {{img::jpeg(1200, 800), "image/jpeg", true},
                          {img::png(300, 900), "image/png", true},
                          {img::webp(500, 500), "image/webp", true},
                          {img::pdf(), "application/pdf", false}};
    for (const Case &c : cases) {
        const InspectedFile f = inspectFile(c.bytes, QStringLiteral("a file"), k50Mb);
        EXPECT_TRUE(f.ok()) << c.type.constData() << ": " << f.problem.toStdString();
        EXPECT_EQ(f.mediaType, c.type);
        EXPECT_EQ(!f.thumbnail.isEmpty(), c.thumbnail) << c.type.constData();
        if (!c.thumbnail) continue;
        const QImage thumb = QImage::fromData(f.thumbnail);
        ASSERT_FALSE(thumb.isNull()) << c.type.constData();
        EXPECT_EQ(std::max(thumb.width(), thumb.height()), kThumbnailSide) << c.type.constData();
        EXPECT_LT(f.thumbnail.size(), 256 * 1024);
    }
    // A picture smaller than a thumbnail is not blown up.
    const QImage small = QImage::fromData(inspectFile(img::png(40, 30), "x", k50Mb).thumbnail);
    EXPECT_EQ(small.size(), QSize(40, 30));
}

TEST_F(MediaFileTest, BadFilesAreRefusedWithTheirReason)
{
    const QByteArray whole = img::jpeg(640, 480);
    const QByteArray wholePng = img::png(200, 200);
    struct Case {
        const char *what;
        QByteArray bytes;
        const char *reason;
    };
    const Case cases[] = {
        {"text", QByteArray("just some words, not a picture\n"), "is not a photo"},
        {"empty", QByteArray(), "is empty"},
        {"cut JPEG", whole.left(whole.size() * 2 / 3), "is damaged"},
        {"JPEG cut in its headers", whole.left(300), "is damaged"},
        {"cut PNG", wholePng.left(wholePng.size() - 20), "is damaged"},
        {"cut PDF", img::pdf().left(40), "is damaged"},
        {"JPEG bomb", img::jpegClaiming(50000, 50000), "50,000 × 50,000 pixels"},
        {"PNG bomb", img::pngClaiming(50000, 50000), "50,000 × 50,000 pixels"},
        {"long thin PNG", img::pngClaiming(40000, 10), "30,000 along a side"},
        {"picture that lies", QByteArray("\x89PNG\r\n\x1A\n") + QByteArray(40, 'x'), "is damaged"},
    };
    for (const Case &c : cases) {
        const InspectedFile f = inspectFile(c.bytes, QStringLiteral("holiday.jpg"), k50Mb);
        EXPECT_FALSE(f.ok()) << c.what;
        EXPECT_TRUE(f.problem.startsWith(QStringLiteral("\"holiday.jpg\""))) << c.what;
        EXPECT_TRUE(f.problem.contains(QString::fromUtf8(c.reason)))
            << c.what << ": " << f.problem.toStdString();
        EXPECT_TRUE(f.thumbnail.isEmpty()) << c.what;
    }
}

TEST_F(MediaFileTest, TheSizeLimitIsNamed)
{
    const QByteArray big = QByteArray("%PDF-1.4\n") + QByteArray(3000, ' ') + "\n%%EOF\n";
    const InspectedFile f = inspectFile(big, QStringLiteral("manual.pdf"), 2048);
    EXPECT_FALSE(f.ok());
    EXPECT_EQ(f.problem.toStdString(),
              "\"manual.pdf\" is 2.9 KB: an attachment may be at most 2.0 KB.");
    EXPECT_TRUE(inspectFile(big, QStringLiteral("manual.pdf"), big.size()).ok());
}

TEST_F(MediaFileTest, APhotoIsReadUprightAndScaledToFit)
{
    const QImage shown = readPhoto(img::jpeg(400, 200), QSize(100, 100));
    EXPECT_EQ(shown.size(), QSize(100, 50));
    QString why;
    EXPECT_TRUE(readPhoto(img::jpegClaiming(50000, 50000), {}, &why).isNull());
    EXPECT_TRUE(why.contains(QStringLiteral("50,000"))) << why.toStdString();
}
