#include "shell/csvexport.h"

#include "dictionary/tables.h"
#include "platform/data/cursor.h"
#include "platform/data/fileerror.h"

#include <QIODevice>

#include <cstddef>

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

// A record buffer of any table, owned here and not shared with any window.
struct CollectionExport::Buffer {
    explicit Buffer(const TableDef &t)
        : storage((t.recordSize + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t))
    {
        t.clear(data());
    }
    void *data() { return storage.data(); }
    const void *data() const { return storage.data(); }
    std::vector<std::max_align_t> storage;
};

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

const std::vector<TableId> &CollectionExport::collections()
{
    static const std::vector<TableId> list{TableId::Items, TableId::Books};
    return list;
}

CollectionExport::CollectionExport(TableId table) : table_(tableDef(table))
{
    const int identifier = table_.hasIdentifier() ? table_.keys[0].components[0] : -1;
    for (int f = 0; f < int(table_.fields.size()); ++f) {
        if (f == identifier) continue;
        int join = -1;
        for (const RelationDef &r : relations())
            if (r.child == table && r.childField == f) {
                join = int(lookups_.size());
                lookups_.push_back({&tableDef(r.parent), f});
            }
        if (join < 0) {
            columns_.push_back({table_.fields[f].column, -1, f});
        } else {
            // The lookup's name: its first field after the identifier.
            const TableDef &lookup = *lookups_.back().table;
            columns_.push_back({lookup.fields[1].column, join, 1});
        }
    }
}

std::vector<TableId> CollectionExport::tablesRead() const
{
    std::vector<TableId> ids{table_.id};
    for (const Lookup &l : lookups_)
        ids.push_back(l.table->id);
    return ids;
}

std::string CollectionExport::rowOf(const void *record, const std::vector<Buffer> &lookups) const
{
    std::string line;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const CsvColumn &col = columns_[c];
        const TableDef &t = col.join < 0 ? table_ : *lookups_[col.join].table;
        const void *rec = col.join < 0 ? record : lookups[col.join].data();
        const FieldDef &f = t.fields[col.field];
        if (c) line += ',';
        if (f.isText())
            appendCsvField(line, field::text(f, rec));
        else
            line += numberText(f, rec);
    }
    line += "\r\n";
    return line;
}

int CollectionExport::write(DataFile &file, QIODevice &out,
                            const std::function<bool(long long)> &progress)
{
    failure_.clear();
    Buffer main(table_);
    std::vector<Buffer> lookups;
    std::vector<Join> joins;
    for (const Lookup &l : lookups_)
        lookups.emplace_back(*l.table);
    for (std::size_t i = 0; i < lookups_.size(); ++i)
        joins.push_back({lookups_[i].table, lookups[i].data(), lookups_[i].referenceField});

    Cursor cursor(file, table_, main.data());
    cursor.setOrder(0);
    cursor.setJoins(std::move(joins));
    cursor.toStart();

    std::string chunk;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (c) chunk += ',';
        appendCsvField(chunk, columns_[c].header);
    }
    chunk += "\r\n";
    long long rows = 0;
    for (;;) {
        const int code = cursor.fetch(true, kBatch, [&] {
            chunk += rowOf(main.data(), lookups);
            ++rows;
        });
        if (code != NoError && code != NoMoreRecords) return code;
        if (out.write(chunk.data(), qint64(chunk.size())) != qint64(chunk.size())) {
            failure_ = out.errorString();
            return -1;
        }
        chunk.clear();
        if (code == NoMoreRecords) return NoError;
        if (progress && !progress(rows)) {
            failure_ = QStringLiteral("stopped");
            return -1;
        }
    }
}

} // namespace hk
