// The real file dialog answers with the file the user accepted, and with
// nothing when the window that asked has closed meanwhile.
#include "platform/filedialogs.h"
#include "qtapp.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace hk;

namespace
{

QFileDialog *shownDialog()
{
    QFileDialog *found = nullptr;
    (void)QTest::qWaitFor([&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<QFileDialog *>(w); d && d->isVisible()) found = d;
        return found != nullptr;
    });
    return found;
}

struct Asked {
    QString answer = QStringLiteral("no answer yet");
    bool done = false;
};

QCoro::Task<> ask(FileDialogService &service, QWidget *owner, Asked &asked)
{
    // Named: a braced temporary passed to a coroutine is not safe with every compiler.
    const SaveFileRequest request{QStringLiteral("Save"), QStringLiteral("out.csv"),
                                  QStringLiteral("CSV (*.csv)"), QStringLiteral("csv")};
    asked.answer = co_await service.saveFileName(owner, request);
    asked.done = true;
}

} // namespace

TEST(QtFileDialogs, AnswerTheAcceptedFileAndNothingToAClosedOwner)
{
    test::qtApp();
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QtFileDialogService service;

    auto owner = std::make_unique<QWidget>();
    owner->show();
    Asked accepted;
    ask(service, owner.get(), accepted);
    QFileDialog *dialog = shownDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile(dir.filePath(QStringLiteral("chosen.csv")));
    static_cast<QDialog *>(dialog)->accept(); // as the Save button does
    EXPECT_TRUE(QTest::qWaitFor([&] { return accepted.done; }));
    EXPECT_EQ(accepted.answer, dir.filePath(QStringLiteral("chosen.csv")));

    Asked orphaned;
    ask(service, owner.get(), orphaned);
    ASSERT_NE(shownDialog(), nullptr);
    owner.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return orphaned.done; }));
    EXPECT_TRUE(orphaned.answer.isEmpty());
    QDir::setCurrent(before);
}
