#include "collection/csvexport.h"

#include "collection/csvfieldrule.h"
#include "collection/csvtext.h"
#include "collection/recordbuffer.h"
#include "dictionary/tables.h"
#include "forms/formdef.h"
#include "platform/data/attachments.h"
#include "platform/data/cursor.h"
#include "platform/data/fileerror.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <cstddef>
#include <set>

namespace hk
{

namespace
{

constexpr int kBatch = 1000;

// A number as an entry with a blank-when-zero picture shows it.
std::string numberText(const FieldDef &f, const void *record)
{
    const std::int64_t v = field::integer(f, record);
    if (v == 0) return {};
    return f.type == FieldType::Decimal ? formatCents(v) : std::to_string(v);
}

} // namespace

void appendCsvField(std::string &line, std::string_view value)
{
    if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += value;
        return;
    }
    line += '"';
    for (char c : value) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

const std::vector<CsvCollection> &CollectionExport::collections()
{
    using T = TableId;
    // The locations and categories first: imported before the records that
    // name them, they keep their numbers.
    static const std::vector<CsvCollection> list{
        {"Locations", {T::ItemsRooms}, true},
        {"Book Categories", {T::BookCategory}, true},
        {"Article Categories", {T::MagCategory}, true},
        {"Items", {T::Items}},
        {"Books", {T::Books}},
        {"Software", {T::SoftWare}},
        {"Video Cassettes", {T::VideoNumber, T::Video}},
        {"Music Albums", {T::MusicNumber, T::Music}},
        {"Magazines", {T::MagName, T::MagYear, T::MagIssue, T::MagArticle}},
    };
    return list;
}

const CsvCollection *CollectionExport::findCollection(std::string_view name)
{
    for (const CsvCollection &c : collections())
        if (c.name == name) return &c;
    return nullptr;
}

CollectionExport::CollectionExport(TableId table) : CollectionExport(std::vector{table}) {}

QString CollectionExport::attachmentsFolderFor(const QString &csvPath)
{
    const QFileInfo csv(csvPath);
    return csv.dir().filePath(csv.completeBaseName() + QStringLiteral(" files"));
}

void CollectionExport::setAttachmentsFolder(const QString &folder, const QString &named)
{
    folder_ = folder;
    folderNamed_ = named;
}

CollectionExport::CollectionExport(const std::vector<TableId> &levels, bool numbered,
                                   bool withAttachments)
{
    std::set<std::string> headers;
    for (std::size_t d = 0; d < levels.size(); ++d) {
        const TableDef &t = tableDef(levels[d]);
        Level level{&t, -1, {}};
        const int identifier = t.hasIdentifier() ? t.keys[0].components[0] : -1;
        for (int f = 0; f < int(t.fields.size()); ++f) {
            if (f == identifier && !(numbered && d == 0)) continue;
            const RelationDef *to = nullptr;
            for (const RelationDef &r : relations())
                if (r.child == t.id && r.childField == f) to = &r;
            if (to &&
                std::find(levels.begin(), levels.begin() + d, to->parent) != levels.begin() + d) {
                // A parent's identifier: the parent's own columns stand for it.
                if (d > 0 && to->parent == levels[d - 1]) level.parentKey = to->childKey.index;
                continue;
            }
            CsvColumn col{t.fields[f].column, int(d), -1, f, -1, nullptr, std::nullopt};
            const std::optional<Picture> entry =
                CsvFieldRule::of({}, FieldRef{t.id, f}, formFor(t.id)).picture;
            if (entry && (entry->kind == PictureKind::Time || entry->kind == PictureKind::Date))
                col.shown = entry;
            if (to) {
                // The lookup's name: its first field after the identifier.
                col.join = int(level.lookups.size());
                level.lookups.push_back({&tableDef(to->parent), f});
                col.field = 1;
                col.reference = f;
                col.lookup = &tableDef(to->parent);
                col.header = tableDef(to->parent).fields[1].column;
            }
            // A child field named like its parent's is told apart by its table.
            if (!headers.insert(col.header).second) col.header = t.prefix + ':' + col.header;
            headers.insert(col.header);
            columns_.push_back(std::move(col));
        }
        if (withAttachments && ownsAttachments(t.id)) {
            CsvColumn col{kAttachmentsHeader, int(d), -1, -1, -1, nullptr, std::nullopt, true};
            if (!headers.insert(col.header).second) col.header = t.prefix + ':' + col.header;
            columns_.push_back(std::move(col));
        }
        levels_.push_back(std::move(level));
    }
}

std::vector<TableId> CollectionExport::tablesRead() const
{
    std::vector<TableId> ids;
    for (const Level &level : levels_) {
        ids.push_back(level.table->id);
        for (const Lookup &l : level.lookups)
            ids.push_back(l.table->id);
    }
    return ids;
}

// The buffers of one write: a record and its lookups per level.
struct CollectionExport::Reading {
    DataFile &file;
    QIODevice &out;
    const std::function<bool(long long)> &progress;
    std::vector<RecordBuffer> records;
    std::vector<std::vector<RecordBuffer>> lookups;
    std::string chunk;
    long long rows = 0;
    int code = NoError; // the first read or write failure; stops everything
    // The attachments' cell of each level's record, made once per record:
    // a parent's repeats on each of its children's rows.
    std::vector<std::int64_t> cellOf;
    std::vector<std::string> cells;
};

namespace
{

// The name a file is written under: the stored one, less what a file system
// or the column's separator would read otherwise.
QString diskName(std::int64_t id, const std::string &stored)
{
    QString name = QString::fromStdString(stored);
    for (QChar &c : name)
        if (c.unicode() < 0x20 || c == QLatin1Char(kAttachmentSeparator) || c == QLatin1Char('\\'))
            c = QLatin1Char('_');
    return QString::number(id) + QLatin1Char('-') + name;
}

} // namespace

bool CollectionExport::writeAttachments(Reading &r, std::size_t depth, std::string &cell)
{
    const TableDef &t = *levels_[depth].table;
    const std::int64_t record = field::integer(t.fields[0], r.records[depth].data());
    if (r.cellOf[depth] == record) {
        cell = r.cells[depth];
        return true;
    }
    cell.clear();
    std::vector<AttachmentInfo> files;
    if (const int code = listAttachments(r.file, t.id, record, files); code != NoError) {
        r.code = code;
        return false;
    }
    for (const AttachmentInfo &a : files) {
        std::string bytes;
        if (const int code = readContent(r.file, a.id, bytes); code != NoError) {
            r.code = code;
            return false;
        }
        if (!QDir().mkpath(folder_)) {
            failure_ = QStringLiteral("the folder %1 cannot be made").arg(folder_);
            r.code = -1;
            return false;
        }
        const QString name = diskName(a.id, a.fileName);
        QFile out(QDir(folder_).filePath(name));
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
            failure_ = out.errorString();
            r.code = -1;
            return false;
        }
        // The file's time says when it was added, for the import to keep.
        out.setFileTime(QDateTime::fromString(QString::fromStdString(a.added),
                                              QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                        QFileDevice::FileModificationTime);
        if (!cell.empty()) cell += kAttachmentSeparator;
        cell += (folderNamed_ + QLatin1Char('/') + name).toStdString();
    }
    r.cellOf[depth] = record;
    r.cells[depth] = cell;
    return true;
}

void CollectionExport::appendRow(Reading &r, std::size_t depth)
{
    std::string &line = r.chunk;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const CsvColumn &col = columns_[c];
        if (c) line += ',';
        if (std::size_t(col.level) > depth) continue; // a parent without children
        if (col.attachments) {
            std::string cell;
            if (!folder_.isEmpty() && !writeAttachments(r, std::size_t(col.level), cell)) return;
            // The cell begins with the folder's name, which the CSV file's
            // name gives: "=x.csv" must not make a formula of it.
            appendCsvField(line, inertText(cell));
            continue;
        }
        const Level &level = levels_[col.level];
        const TableDef &t = col.join < 0 ? *level.table : *level.lookups[col.join].table;
        const void *rec =
            col.join < 0 ? r.records[col.level].data() : r.lookups[col.level][col.join].data();
        const FieldDef &f = t.fields[col.field];
        if (f.isText())
            appendCsvField(line, inertText(field::text(f, rec)));
        else if (col.shown && field::integer(f, rec) != 0)
            appendCsvField(line, format(PictureValue(field::integer(f, rec)), *col.shown));
        else
            line += numberText(f, rec);
    }
    line += "\r\n";
    ++r.rows;
}

bool CollectionExport::flush(Reading &r)
{
    if (r.out.write(r.chunk.data(), qint64(r.chunk.size())) != qint64(r.chunk.size())) {
        failure_ = r.out.errorString();
        r.code = -1;
        return false;
    }
    r.chunk.clear();
    return true;
}

void CollectionExport::writeLevel(Reading &r, std::size_t depth)
{
    const Level &level = levels_[depth];
    std::vector<Join> joins;
    for (std::size_t i = 0; i < level.lookups.size(); ++i)
        joins.push_back(
            {level.lookups[i].table, r.lookups[depth][i].data(), level.lookups[i].referenceField});
    Cursor cursor(r.file, *level.table, r.records[depth].data());
    if (depth == 0) {
        cursor.setOrder(0);
    } else {
        const TableDef &parent = *levels_[depth - 1].table;
        cursor.setOrder(level.parentKey);
        cursor.setRange({field::integer(parent.fields[0], r.records[depth - 1].data())});
    }
    cursor.setJoins(std::move(joins));
    cursor.toStart();

    const bool last = depth + 1 == levels_.size();
    for (;;) {
        const int code = cursor.fetch(true, kBatch, [&] {
            if (r.code != NoError) return;
            const long long before = r.rows;
            if (!last) writeLevel(r, depth + 1);
            if (r.code == NoError && r.rows == before) appendRow(r, depth);
        });
        if (r.code != NoError) return;
        if (code != NoError && code != NoMoreRecords) {
            r.code = code;
            return;
        }
        // Children are written out as they grow; the progress is heard once
        // per batch of the outermost records.
        if ((depth == 0 || r.chunk.size() > (1u << 20)) && !flush(r)) return;
        if (code == NoMoreRecords) return;
        if (depth == 0 && r.progress && !r.progress(r.rows)) {
            failure_ = QStringLiteral("stopped");
            r.code = -1;
            return;
        }
    }
}

int CollectionExport::write(DataFile &file, QIODevice &out,
                            const std::function<bool(long long)> &progress)
{
    failure_.clear();
    Reading r{file, out, progress, {}, {}, {}, 0, NoError, {}, {}};
    r.cellOf.assign(levels_.size(), 0);
    r.cells.assign(levels_.size(), {});
    for (const Level &level : levels_) {
        r.records.emplace_back(*level.table);
        r.lookups.emplace_back();
        for (const Lookup &l : level.lookups)
            r.lookups.back().emplace_back(*l.table);
    }
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (c) r.chunk += ',';
        appendCsvField(r.chunk, columns_[c].header);
    }
    r.chunk += "\r\n";
    writeLevel(r, 0);
    rows_ = r.rows;
    return r.code;
}

} // namespace hk
