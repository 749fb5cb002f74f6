#include "platform/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <charconv>

namespace hk
{

namespace
{

QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

bool sameName(std::string_view a, std::string_view b)
{
    return QString::compare(qs(a), qs(b), Qt::CaseInsensitive) == 0;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A value is one line of text.
std::string oneLine(std::string_view value)
{
    std::string out(value);
    for (char &c : out)
        if (c == '\n' || c == '\r') c = ' ';
    return out;
}

SettingsService *gService = nullptr;

} // namespace

// ---------------------------------------------------------------- service

long long SettingsService::readNumber(std::string_view file, std::string_view section,
                                      std::string_view key, long long defaultValue)
{
    const std::string text = read(file, section, key, {});
    const std::string_view t = trimmed(text);
    long long v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return defaultValue;
    return v;
}

SettingsService &settingsService()
{
    static IniSettings standard;
    return gService ? *gService : standard;
}

void setSettingsService(SettingsService *service)
{
    gService = service;
}

// ---------------------------------------------------------------- document

IniDocument IniDocument::fromText(std::string_view text)
{
    IniDocument doc;
    doc.sections_.push_back({});
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view raw = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const std::string_view line = trimmed(raw);
        if (line.size() >= 2 && line.front() == '[' && line.find(']') != std::string_view::npos) {
            const std::string_view name = trimmed(line.substr(1, line.find(']') - 1));
            doc.sections_.push_back({std::string(name), {}});
            continue;
        }
        const std::size_t eq = line.find('=');
        if (line.empty() || line.front() == ';' || line.front() == '#' || eq == 0 ||
            eq == std::string_view::npos) {
            doc.sections_.back().lines.push_back({{}, std::string(raw)});
            continue;
        }
        doc.sections_.back().lines.push_back(
            {std::string(trimmed(line.substr(0, eq))), std::string(trimmed(line.substr(eq + 1)))});
    }
    return doc;
}

std::string IniDocument::toText() const
{
    std::string out;
    for (const auto &s : sections_) {
        if (!s.name.empty()) out += "[" + s.name + "]\n";
        for (const auto &l : s.lines)
            out += l.key.empty() ? l.text + "\n" : l.key + "=" + l.text + "\n";
    }
    return out;
}

IniDocument::Section *IniDocument::find(std::string_view section)
{
    for (auto &s : sections_)
        if (!s.name.empty() && sameName(s.name, section)) return &s;
    return nullptr;
}

const IniDocument::Section *IniDocument::find(std::string_view section) const
{
    return const_cast<IniDocument *>(this)->find(section);
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const
{
    const Section *s = find(section);
    if (!s) return std::nullopt;
    for (const auto &l : s->lines) {
        if (!l.key.empty() && sameName(l.key, key)) {
            std::string_view v = l.text;
            if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
            return std::string(v);
        }
    }
    return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value)
{
    Section *s = find(section);
    if (!s) {
        sections_.push_back({std::string(trimmed(section)), {}});
        s = &sections_.back();
    }
    for (auto &l : s->lines) {
        if (!l.key.empty() && sameName(l.key, key)) {
            l.text = oneLine(value);
            return;
        }
    }
    // New keys go after the section's last key, before trailing blank lines.
    auto at = s->lines.end();
    while (at != s->lines.begin() && std::prev(at)->key.empty() &&
           trimmed(std::prev(at)->text).empty())
        --at;
    s->lines.insert(at, {std::string(trimmed(key)), oneLine(value)});
}

bool IniDocument::removeKey(std::string_view section, std::string_view key)
{
    Section *s = find(section);
    if (!s) return false;
    for (auto it = s->lines.begin(); it != s->lines.end(); ++it) {
        if (!it->key.empty() && sameName(it->key, key)) {
            s->lines.erase(it);
            return true;
        }
    }
    return false;
}

bool IniDocument::removeSection(std::string_view section)
{
    for (auto it = sections_.begin(); it != sections_.end(); ++it) {
        if (!it->name.empty() && sameName(it->name, section)) {
            sections_.erase(it);
            return true;
        }
    }
    return false;
}

int IniDocument::removeKeysEverywhere(const std::vector<std::string> &keys)
{
    int removed = 0;
    for (auto section = sections_.begin(); section != sections_.end();) {
        auto &lines = section->lines;
        const auto before = lines.size();
        std::erase_if(lines, [&](const Line &l) {
            return !l.key.empty() && std::any_of(keys.begin(), keys.end(),
                                                 [&](const auto &k) { return sameName(l.key, k); });
        });
        removed += static_cast<int>(before - lines.size());
        // A section left with nothing in it but blank lines goes as well.
        const bool empty = std::all_of(lines.begin(), lines.end(), [](const Line &l) {
            return l.key.empty() && trimmed(l.text).empty();
        });
        if (lines.size() != before && empty && !section->name.empty())
            section = sections_.erase(section);
        else
            ++section;
    }
    return removed;
}

std::vector<std::string> IniDocument::sections() const
{
    std::vector<std::string> names;
    for (const auto &s : sections_)
        if (!s.name.empty()) names.push_back(s.name);
    return names;
}

std::vector<std::string> IniDocument::keys(std::string_view section) const
{
    std::vector<std::string> names;
    if (const Section *s = find(section))
        for (const auto &l : s->lines)
            if (!l.key.empty()) names.push_back(l.key);
    return names;
}

// ---------------------------------------------------------------- on disk

IniSettings::IniSettings(QString folder) : folder_(std::move(folder)) {}

QString IniSettings::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Hearthkeep");
}

QString IniSettings::pathOf(std::string_view file) const
{
    const QString name = qs(file);
    if (name.contains(QLatin1Char('/'))) return name;
    const QDir dir(folder_.isEmpty() ? defaultFolder() : folder_);
    const QStringList present = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : present)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    return dir.filePath(name);
}

std::optional<IniDocument> IniSettings::load(const QString &path) const
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = f.readAll();
    return IniDocument::fromText(std::string_view(bytes.constData(), bytes.size()));
}

bool IniSettings::save(const QString &path, const IniDocument &doc) const
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const std::string text = doc.toText();
    if (f.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()))
        return false;
    return f.commit();
}

std::string IniSettings::read(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view defaultValue)
{
    const auto doc = load(pathOf(file));
    if (!doc) return std::string(defaultValue);
    return doc->value(section, key).value_or(std::string(defaultValue));
}

bool IniSettings::write(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value)
{
    const QString path = pathOf(file);
    IniDocument doc = load(path).value_or(IniDocument{});
    doc.set(section, key, value);
    return save(path, doc);
}

bool IniSettings::removeKey(std::string_view file, std::string_view section, std::string_view key)
{
    const QString path = pathOf(file);
    auto doc = load(path);
    if (!doc || !doc->removeKey(section, key)) return true;
    return save(path, *doc);
}

bool IniSettings::removeSection(std::string_view file, std::string_view section)
{
    const QString path = pathOf(file);
    auto doc = load(path);
    if (!doc || !doc->removeSection(section)) return true;
    return save(path, *doc);
}

std::optional<int> IniSettings::removeKeysEverywhere(std::string_view file,
                                                     const std::vector<std::string> &keys)
{
    const QString path = pathOf(file);
    auto doc = load(path);
    if (!doc) return 0;
    const int removed = doc->removeKeysEverywhere(keys);
    if (removed > 0 && !save(path, *doc)) return std::nullopt;
    return removed;
}

bool IniSettings::removeFile(std::string_view file)
{
    const QString path = pathOf(file);
    return !QFile::exists(path) || QFile::remove(path);
}

bool IniSettings::exists(std::string_view file)
{
    return QFile::exists(pathOf(file));
}

// ---------------------------------------------------------------- in memory

namespace
{
std::string fileKey(std::string_view file)
{
    return qs(file).toUpper().toStdString();
}
} // namespace

std::string MemorySettings::read(std::string_view file, std::string_view section,
                                 std::string_view key, std::string_view defaultValue)
{
    auto it = files_.find(fileKey(file));
    if (it == files_.end()) return std::string(defaultValue);
    return it->second.value(section, key).value_or(std::string(defaultValue));
}

bool MemorySettings::write(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value)
{
    files_[fileKey(file)].set(section, key, value);
    return true;
}

bool MemorySettings::removeKey(std::string_view file, std::string_view section,
                               std::string_view key)
{
    auto it = files_.find(fileKey(file));
    if (it != files_.end()) it->second.removeKey(section, key);
    return true;
}

bool MemorySettings::removeSection(std::string_view file, std::string_view section)
{
    auto it = files_.find(fileKey(file));
    if (it != files_.end()) it->second.removeSection(section);
    return true;
}

std::optional<int> MemorySettings::removeKeysEverywhere(std::string_view file,
                                                        const std::vector<std::string> &keys)
{
    auto it = files_.find(fileKey(file));
    return it == files_.end() ? 0 : it->second.removeKeysEverywhere(keys);
}

bool MemorySettings::removeFile(std::string_view file)
{
    files_.erase(fileKey(file));
    return true;
}

bool MemorySettings::hasFile(std::string_view file) const
{
    return files_.count(fileKey(file)) > 0;
}

std::string MemorySettings::text(std::string_view file) const
{
    auto it = files_.find(fileKey(file));
    return it == files_.end() ? std::string() : it->second.toText();
}

} // namespace hk
