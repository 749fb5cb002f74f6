// Settings files: small INI files of sections and keys, as the window
// placements ("HEARTHKP.INI") and the owner details ("HkOwner.Ini") use.
//
// Files live in $XDG_CONFIG_HOME/Hearthkeep/ (normally ~/.config/Hearthkeep/),
// which stands in for the system's settings directory and is created on the
// first write. A file name containing '/' is taken as a path instead. As on
// the system these files come from, names of files, sections and keys match
// without regard to letter case, while the spelling first written is kept.
// Comments (';' or '#') and blank lines survive rewrites.
#pragma once

#include <QString>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hk
{

class SettingsService
{
  public:
    virtual ~SettingsService() = default;
    // The key's value, or defaultValue when the file, section or key is
    // missing.
    virtual std::string read(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view defaultValue) = 0;
    // Each returns false when the file could not be written.
    virtual bool write(std::string_view file, std::string_view section, std::string_view key,
                       std::string_view value) = 0;
    virtual bool removeKey(std::string_view file, std::string_view section,
                           std::string_view key) = 0;
    virtual bool removeSection(std::string_view file, std::string_view section) = 0;
    // Removes these keys from every section of the file, and a section that
    // holds nothing else; how many were removed, nothing when the file could
    // not be written.
    virtual std::optional<int> removeKeysEverywhere(std::string_view file,
                                                    const std::vector<std::string> &keys) = 0;
    // Deletes the whole file; true also when there was none.
    virtual bool removeFile(std::string_view file) = 0;
    // Whether the file is there (it may hold no section yet).
    virtual bool exists(std::string_view file) = 0;

    // read() as a whole number; the default when missing or not a number.
    long long readNumber(std::string_view file, std::string_view section, std::string_view key,
                         long long defaultValue);
};

// The service every part of the program uses. Until one is set it is an
// IniSettings on the default folder; setSettingsService(nullptr) goes back to
// that. The caller keeps ownership of what it sets.
SettingsService &settingsService();
void setSettingsService(SettingsService *service);

// The text of one INI file.
class IniDocument
{
  public:
    static IniDocument fromText(std::string_view text);
    std::string toText() const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    void set(std::string_view section, std::string_view key, std::string_view value);
    bool removeKey(std::string_view section, std::string_view key);
    bool removeSection(std::string_view section);
    int removeKeysEverywhere(const std::vector<std::string> &keys);
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;

  private:
    struct Line {
        std::string key; // empty: a comment or blank line kept as text
        std::string text;
    };
    struct Section {
        std::string name; // empty: lines before the first section
        std::vector<Line> lines;
    };
    Section *find(std::string_view section);
    const Section *find(std::string_view section) const;
    std::vector<Section> sections_;
};

// Settings files on disk.
class IniSettings : public SettingsService
{
  public:
    // folder empty: the default folder, looked up afresh at every call.
    explicit IniSettings(QString folder = {});
    static QString defaultFolder();
    // Where file lives: an existing file whose name matches without regard
    // to case, or a new one under the name given.
    QString pathOf(std::string_view file) const;

    std::string read(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view defaultValue) override;
    bool write(std::string_view file, std::string_view section, std::string_view key,
               std::string_view value) override;
    bool removeKey(std::string_view file, std::string_view section, std::string_view key) override;
    bool removeSection(std::string_view file, std::string_view section) override;
    std::optional<int> removeKeysEverywhere(std::string_view file,
                                            const std::vector<std::string> &keys) override;
    bool removeFile(std::string_view file) override;
    bool exists(std::string_view file) override;

  private:
    std::optional<IniDocument> load(const QString &path) const;
    bool save(const QString &path, const IniDocument &doc) const;
    QString folder_;
};

// Settings kept in memory, for tests of the parts that use settings.
class MemorySettings : public SettingsService
{
  public:
    std::string read(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view defaultValue) override;
    bool write(std::string_view file, std::string_view section, std::string_view key,
               std::string_view value) override;
    bool removeKey(std::string_view file, std::string_view section, std::string_view key) override;
    bool removeSection(std::string_view file, std::string_view section) override;
    std::optional<int> removeKeysEverywhere(std::string_view file,
                                            const std::vector<std::string> &keys) override;
    bool removeFile(std::string_view file) override;
    bool exists(std::string_view file) override { return hasFile(file); }

    bool hasFile(std::string_view file) const;
    std::string text(std::string_view file) const; // the file as it would be written

  private:
    std::map<std::string, IniDocument> files_; // by upper-case name
};

} // namespace hk
