// Golden page files: a report's pages as text, compared with the stored file
// (HK_UPDATE_GOLDEN=1 writes the files instead, for a reviewed change).
#pragma once

#include "reports/page.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hk::test
{

inline void compareWithGolden(const char *name, const std::string &actual)
{
    const QString path = QStringLiteral(HK_GOLDEN_DIR "/%1.txt").arg(QLatin1String(name));
    QFile file(path);
    if (qEnvironmentVariableIsSet("HK_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(actual.data(), qint64(actual.size()));
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "missing " << path.toStdString();
    EXPECT_EQ(file.readAll().toStdString(), actual);
}

inline void compareWithGolden(const char *name, const std::vector<Page> &pages)
{
    compareWithGolden(name, describePages(pages));
}

// Every text printed right after `label`, in print order over all pages.
inline std::vector<std::string> textsAfter(const std::vector<Page> &pages, const std::string &label)
{
    std::vector<std::string> out;
    for (const Page &p : pages)
        for (std::size_t i = 0; i + 1 < p.texts.size(); ++i)
            if (p.texts[i].text == label) out.push_back(p.texts[i + 1].text);
    return out;
}

} // namespace hk::test
