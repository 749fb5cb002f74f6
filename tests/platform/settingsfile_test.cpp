#include "platform/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace hk;

namespace
{

class SettingsFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        const char *old = std::getenv("XDG_CONFIG_HOME");
        saved_ = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("XDG_CONFIG_HOME", home_.path().toUtf8().constData(), 1);
    }
    void TearDown() override
    {
        if (saved_)
            setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    QString folder() const { return home_.path() + "/Hearthkeep"; }
    QByteArray fileText(const QString &name) const
    {
        QFile f(folder() + "/" + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir home_;
    std::optional<std::string> saved_;
};

} // namespace

TEST_F(SettingsFileTest, FirstWriteMakesTheFolderAndTheFile)
{
    IniSettings ini;
    EXPECT_FALSE(QDir(folder()).exists());
    EXPECT_EQ(ini.read("HEARTHKP.INI", "BrowseBooks", "Width", "380"), "380");
    EXPECT_FALSE(QDir(folder()).exists()); // reading writes nothing

    ASSERT_TRUE(ini.write("HEARTHKP.INI", "BrowseBooks", "Width", "412"));
    ASSERT_TRUE(ini.write("HEARTHKP.INI", "BrowseBooks", "Maximize", "0"));
    ASSERT_TRUE(ini.write("HkOwner.Ini", "HkOwner", "OwnerName", "Anne Lee"));
    EXPECT_EQ(fileText("HEARTHKP.INI"), "[BrowseBooks]\nWidth=412\nMaximize=0\n");
    EXPECT_EQ(fileText("HkOwner.Ini"), "[HkOwner]\nOwnerName=Anne Lee\n");
    EXPECT_EQ(ini.read("HEARTHKP.INI", "BrowseBooks", "Width", ""), "412");
    EXPECT_EQ(ini.readNumber("HEARTHKP.INI", "BrowseBooks", "Width", 0), 412);
    EXPECT_EQ(ini.readNumber("HkOwner.Ini", "HkOwner", "OwnerName", -1), -1);
}

TEST_F(SettingsFileTest, NamesMatchWhateverTheirCaseAndKeepTheirFirstSpelling)
{
    IniSettings ini;
    ASSERT_TRUE(ini.write("HEARTHKP.INI", "RptSelectYear", "XPosit", "10"));
    // The report selection windows name the file "Hearthkp.Ini": the same file.
    EXPECT_EQ(ini.read("Hearthkp.Ini", "rptselectyear", "XPOSIT", ""), "10");
    ASSERT_TRUE(ini.write("Hearthkp.Ini", "RPTSELECTYEAR", "xposit", "11"));
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{"HEARTHKP.INI"});
    EXPECT_EQ(fileText("HEARTHKP.INI"), "[RptSelectYear]\nXPosit=11\n");
}

TEST_F(SettingsFileTest, RewritesKeepWhatTheyDoNotTouch)
{
    QDir().mkpath(folder());
    {
        QFile f(folder() + "/HEARTHKP.INI");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("; window places\r\n[Main]\r\nMaximize = 1 \r\n\r\n[FileSummary]\r\n"
                "Width=\"300\"\r\nbroken line\r\n");
    }
    IniSettings ini;
    EXPECT_EQ(ini.read("HEARTHKP.INI", "Main", "Maximize", ""), "1");
    EXPECT_EQ(ini.read("HEARTHKP.INI", "FileSummary", "Width", ""), "300");
    ASSERT_TRUE(ini.write("HEARTHKP.INI", "Main", "Height", "two\nlines"));
    EXPECT_EQ(fileText("HEARTHKP.INI"), "; window places\n[Main]\nMaximize=1\nHeight=two lines\n\n"
                                        "[FileSummary]\nWidth=\"300\"\nbroken line\n");

    ASSERT_TRUE(ini.removeKey("HEARTHKP.INI", "main", "maximize"));
    ASSERT_TRUE(ini.removeSection("HEARTHKP.INI", "filesummary"));
    EXPECT_EQ(fileText("HEARTHKP.INI"), "; window places\n[Main]\nHeight=two lines\n\n");
    EXPECT_EQ(ini.read("HEARTHKP.INI", "FileSummary", "Width", "none"), "none");

    ASSERT_TRUE(ini.removeFile("hearthkp.ini"));
    EXPECT_FALSE(QFile::exists(folder() + "/HEARTHKP.INI"));
    EXPECT_TRUE(ini.removeFile("HEARTHKP.INI")); // nothing left to remove
    EXPECT_EQ(ini.read("HEARTHKP.INI", "Main", "Height", "gone"), "gone");
}

TEST_F(SettingsFileTest, AFolderThatCannotBeMadeFailsTheWrite)
{
    QFile blocker(folder()); // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    IniSettings ini;
    EXPECT_FALSE(ini.write("HEARTHKP.INI", "Main", "Width", "1"));
    EXPECT_EQ(ini.read("HEARTHKP.INI", "Main", "Width", "default"), "default");
}

TEST(MemorySettings, StandsInForTheFilesThroughTheSharedAccessor)
{
    MemorySettings memory;
    setSettingsService(&memory);
    settingsService().write("HkOwner.Ini", "HkOwner", "OwnerAddress", "1 Elm Road");
    EXPECT_EQ(settingsService().read("HKOWNER.INI", "hkowner", "owneraddress", ""), "1 Elm Road");
    EXPECT_EQ(memory.text("HkOwner.Ini"), "[HkOwner]\nOwnerAddress=1 Elm Road\n");
    settingsService().removeFile("HkOwner.Ini");
    EXPECT_FALSE(memory.hasFile("HkOwner.Ini"));
    setSettingsService(nullptr);
    EXPECT_NE(&settingsService(), &memory);
}
