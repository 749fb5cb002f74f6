// The Photos part of the update forms: files added from the dialog, a drop or
// a paste are stored with OK and dropped with Cancel; bad files are named and
// never kept; a record deleted by another station meanwhile keeps nothing.
#include "forms/formwindow.h"
#include "forms/photopart.h"

#include "browse/lists/browses.h"
#include "integrity/tableopen.h"
#include "platform/data/attachments.h"
#include "platform/data/files.h"
#include "platform/desktop.h"
#include "platform/filedialogs.h"
#include "programfixture.h"
#include "testapp.h"
#include "testimages.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace hk;
namespace img = testimages;

namespace
{

class PhotosTest : public ProgramTest
{
  protected:
    TablesInUse caller;
    ScriptedFileDialogService dialogs;
    RecordingDesktopService desktopDouble;

    void SetUp() override
    {
        test::app();
        ProgramTest::SetUp();
        setFileDialogService(&dialogs);
        setDesktopService(&desktopDouble);
        ASSERT_TRUE(caller.use({&HearthkpValue, &Items, &ItemsRooms}));
        ItmRom.RoomsId = 1;
        ItmRom.Rooms = "Kitchen";
        ASSERT_EQ(ItemsRooms.add(), NoError);
        Itm = ItemsRecord{};
        Itm.ItemsId = 1;
        Itm.Items = "Lamp";
        Itm.RoomsId = 1;
        ASSERT_EQ(Items.add(), NoError);
    }
    void TearDown() override
    {
        caller.release();
        setFileDialogService(nullptr);
        setDesktopService(nullptr);
        ProgramTest::TearDown();
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    QPointer<FormProcedure> open(Long request, Long item = 1)
    {
        if (request == InsertRecord) {
            Itm = ItemsRecord{};
            Itm.RoomsId = 1;
        } else {
            Itm.ItemsId = item;
            EXPECT_EQ(Items.get(Itm.Primary), NoError);
        }
        GlobalRequest = request;
        auto form = std::make_unique<FormProcedure>(*findForm("UpdateItems"));
        QPointer<FormProcedure> p = form.get();
        start(std::move(form));
        EXPECT_TRUE(test::waitFor([&] { return p && p->form(); }));
        return p;
    }

    void press(FormProcedure &p, int button) { p.form()->controlAs<QPushButton>(button)->click(); }
    bool closes(QPointer<FormProcedure> &p)
    {
        return test::waitFor([&] { return !p || !p->form(); });
    }

    std::vector<AttachmentInfo> stored(Long item = 1)
    {
        std::vector<AttachmentInfo> list;
        EXPECT_EQ(listAttachments(DataFile::program(), TableId::Items, item, list), NoError);
        return list;
    }
    std::string bytesOf(std::int64_t id)
    {
        std::string bytes;
        EXPECT_EQ(readContent(DataFile::program(), id, bytes), NoError);
        return bytes;
    }
};

} // namespace

TEST_F(PhotosTest, EveryTableThatKeepsFilesHasOneFormWithAPhotosPart)
{
    for (TableId owner : attachmentOwners()) {
        const FormDef *form = formFor(owner);
        ASSERT_NE(form, nullptr) << tableDef(owner).label;
        EXPECT_TRUE(form->photos) << form->name;
    }
    for (const FormDef &f : allForms())
        EXPECT_TRUE(!f.photos || ownsAttachments(f.table)) << f.name;
}

TEST_F(PhotosTest, AddedFilesAreStoredWithOkAndDroppedWithCancel)
{
    const QByteArray front = img::jpeg(800, 600), back = img::png(300, 200);
    const QString frontPath = write("front.jpg", front), backPath = write("back.png", back),
                  receiptPath = write("receipt.pdf", img::pdf());

    // Cancel drops what was added.
    QPointer<FormProcedure> p = open(ChangeRecord);
    p->photos()->addFiles({frontPath, receiptPath});
    EXPECT_EQ(p->photos()->strip()->count(), 2);
    press(*p, FormProcedure::CancelButton);
    ASSERT_TRUE(closes(p));
    EXPECT_TRUE(stored().empty());

    // OK stores them, from the dialog (several at once) and a paste.
    p = open(ChangeRecord);
    dialogs.answer(QStringList{frontPath, backPath, receiptPath});
    press(*p, PhotoPart::AddButton);
    ASSERT_TRUE(test::waitFor([&] { return p->photos()->strip()->count() == 3; }));
    QApplication::clipboard()->setImage(img::picture(50, 40));
    p->photos()->strip()->setFocus();
    QTest::keyClick(p->photos()->strip(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(p->photos()->strip()->count(), 4);
    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(closes(p));
    std::vector<AttachmentInfo> files = stored();
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[0].fileName, "front.jpg");
    EXPECT_EQ(files[0].mediaType, kMediaJpeg);
    EXPECT_EQ(bytesOf(files[0].id), front.toStdString()); // the bytes as they came
    EXPECT_EQ(files[1].mediaType, kMediaPng);
    EXPECT_EQ(files[2].mediaType, kMediaPdf);
    EXPECT_EQ(files[3].mediaType, kMediaPng);
    EXPECT_TRUE(files[3].fileName.starts_with("Pasted ")) << files[3].fileName;

    // Opened again: thumbnails read, the viewer steps through the photos
    // (the document opens with the desktop), and a removal is stored.
    p = open(ChangeRecord);
    PhotoPart &part = *p->photos();
    part.readAllThumbnails();
    EXPECT_FALSE(part.strip()->item(0)->icon().isNull());
    part.strip()->setCurrentRow(2);
    press(*p, PhotoPart::ViewButton);
    ASSERT_EQ(desktopDouble.opened.size(), 1);
    QFile copy(desktopDouble.opened[0]);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), img::pdf());
    part.strip()->setCurrentRow(1);
    QTest::keyClick(part.strip(), Qt::Key_Return);
    ASSERT_NE(part.viewer(), nullptr);
    EXPECT_EQ(part.viewer()->index(), 1); // of front, back and the pasted picture
    EXPECT_EQ(part.viewer()->image().size(), QSize(300, 200));
    QTest::keyClick(part.viewer(), Qt::Key_PageDown);
    EXPECT_EQ(part.viewer()->index(), 2);
    part.viewer()->zoomIn();
    EXPECT_GT(part.viewer()->zoom(), 0);
    part.strip()->setCurrentRow(0);
    QTest::keyClick(part.strip(), Qt::Key_Delete);
    EXPECT_EQ(part.strip()->count(), 3);
    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(closes(p));
    files = stored();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].fileName, "back.png");
}

TEST_F(PhotosTest, BadFilesAreNamedInOneMessageAndNothingIsKept)
{
    const QByteArray whole = img::jpeg(640, 480);
    QFile big(dir.filePath("huge.jpg"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(kAttachmentMaxBytes + 1)); // sparse: no disk taken
    big.close();
    const QStringList bad = {write("notes.txt", "a list of things\n"),
                             write("cut.jpg", whole.left(whole.size() / 2)),
                             write("bomb.png", img::pngClaiming(50000, 50000)), big.fileName()};
    QPointer<FormProcedure> p = open(ChangeRecord);
    boxes.answer(ButtonOk);
    p->photos()->addFiles(bad);
    EXPECT_EQ(p->photos()->strip()->count(), 0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const std::string text = boxes.boxes().back().text;
    EXPECT_EQ(boxes.boxes().back().title, "Files not added");
    for (const char *why : {"\"notes.txt\" is not a photo (JPEG, PNG or WebP) or a PDF document.",
                            "\"cut.jpg\" is damaged", "\"bomb.png\" is 50,000 × 50,000 pixels",
                            "\"huge.jpg\" is 50.0 MB: an attachment may be at most 50.0 MB."})
        EXPECT_NE(text.find(why), std::string::npos) << why << " in " << text;
    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(closes(p));
    EXPECT_TRUE(stored().empty());
}

TEST_F(PhotosTest, ANewRecordKeepsItsFilesAndACancelledOneLeavesNone)
{
    const QString photo = write("chair.jpg", img::jpeg());
    QPointer<FormProcedure> p = open(InsertRecord);
    const Long id = Long(p->core().identifier());
    p->photos()->addFiles({photo});
    press(*p, FormProcedure::CancelButton);
    ASSERT_TRUE(closes(p));
    EXPECT_TRUE(stored(id).empty());

    p = open(InsertRecord);
    const Long second = Long(p->core().identifier());
    PictureEntry *name = p->form()->entry(p->controlOf("ITM:ITEMS"));
    name->setText(QStringLiteral("Chair"));
    name->setModified(true);
    p->form()->selectTab(PhotoPart::Tab);
    QMimeData drop;
    drop.setUrls({QUrl::fromLocalFile(photo)});
    QWidget *target = p->photos()->strip()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &drop, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent event(QPointF(5, 5), Qt::CopyAction, &drop, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    EXPECT_EQ(p->photos()->strip()->count(), 1);
    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(closes(p));
    ASSERT_EQ(stored(second).size(), 1u);
    EXPECT_EQ(stored(second)[0].fileName, "chair.jpg");
}

TEST_F(PhotosTest, ARecordDeletedByAnotherStationMeanwhileKeepsNothing)
{
    DataFile &file = DataFile::program();
    ASSERT_EQ(addAttachment(file, TableId::Items, 1,
                            {"old.jpg", kMediaJpeg, "2026-01-01 12:00:00", "bytes", ""}),
              NoError);
    QPointer<FormProcedure> p = open(ChangeRecord);
    EXPECT_EQ(p->photos()->strip()->count(), 1);
    ASSERT_EQ(rawSql("DELETE FROM Items WHERE ItemsId = 1"), SQLITE_OK);
    p->photos()->readAllThumbnails(); // the stored one is gone: no picture, no failure
    p->photos()->addFiles({write("new.jpg", img::jpeg())});
    boxes.answer(ButtonOk);
    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(closes(p));
    AttachmentTotals totals;
    ASSERT_EQ(attachmentTotals(file, totals), NoError);
    EXPECT_EQ(totals.count, 0);
    ASSERT_FALSE(boxes.boxes().empty());
    EXPECT_EQ(boxes.boxes().back().title, "Record Retrieval Error");
}

TEST_F(PhotosTest, ADeleteShowsTheFilesReadOnlyAndTakesThemAlong)
{
    DataFile &file = DataFile::program();
    ASSERT_EQ(addAttachment(file, TableId::Items, 1,
                            {"lamp.pdf", kMediaPdf, "2026-01-01 12:00:00", "%PDF", ""}),
              NoError);
    QPointer<FormProcedure> p = open(DeleteRecord);
    EXPECT_FALSE(p->form()->control(PhotoPart::AddButton)->isEnabled());
    EXPECT_FALSE(p->form()->control(PhotoPart::RemoveButton)->isEnabled());
    EXPECT_TRUE(p->form()->control(PhotoPart::ViewButton)->isEnabled());
    QTest::keyClick(p->photos()->strip(), Qt::Key_Delete);
    EXPECT_EQ(p->photos()->strip()->count(), 1);
    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(closes(p));
    EXPECT_TRUE(stored().empty());
}

TEST_F(PhotosTest, TheKeyboardReachesEveryPartOfThePhotos)
{
    QPointer<FormProcedure> p = open(ChangeRecord);
    BuiltWindow *w = p->form();
    w->show();
    QApplication::setActiveWindow(w);
    QTest::keyClick(w->control(p->controlOf("ITM:ITEMS")), Qt::Key_H, Qt::AltModifier);
    auto *sheet = w->findChild<QTabWidget *>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->currentWidget(), w->control(PhotoPart::Tab));
    // In order: the strip, Add…, then on to OK (Remove and View wait for a file).
    p->photos()->strip()->setFocus();
    std::vector<QWidget *> reached;
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(reached[0], w->control(PhotoPart::AddButton));
    EXPECT_EQ(reached[1], w->control(FormProcedure::OkButton));
    press(*p, FormProcedure::CancelButton);
    ASSERT_TRUE(closes(p));
}
