#include "collection/csvimport.h"

#include "collection/csvexport.h"
#include "collection/csvfieldrule.h"
#include "collection/csvreader.h"
#include "collection/csvtext.h"
#include "collection/recordbuffer.h"
#include "dictionary/tables.h"
#include "forms/attachmentdraft.h"
#include "forms/formdef.h"
#include "forms/formrules.h"
#include "platform/data/attachments.h"
#include "platform/data/cursor.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"
#include "platform/data/transaction.h"
#include "platform/mediafile.h"
#include "platform/picture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>

namespace hk
{

namespace
{

constexpr int kBatch = 1000;
// Names remembered per lookup table; beyond this the file is asked again.
constexpr std::size_t kNamesKept = 10000;

bool sameText(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string joined(const std::vector<std::string> &names)
{
    std::string all;
    for (const std::string &n : names)
        all += (all.empty() ? "" : ", ") + n;
    return all;
}

// The highest identifier of the table on file, read once a run (`read`).
int readLastIdentifier(Table &file, const TableDef &t, std::int64_t &last, bool &read)
{
    if (read) return NoError;
    file.set(KeyId{t.id, 0});
    const int code = file.previous();
    if (code != NoError && code != NoMoreRecords) return code;
    last = code == NoError ? field::integer(t.fields[0], file.buffer()) : 0;
    read = true;
    return NoError;
}

} // namespace

// A column of the file as a row is read into a record.
struct CollectionImport::Column {
    CsvFieldRule rule; // the level's field, or the lookup's name field
    std::size_t level;
    int lookup = -1; // index in lookups_ for a lookup's name
    int held = -1;   // the level's field it fills (a lookup's identifier)
    bool required = false;
};

// One table of the collection's chain, with what a run reads and writes.
struct CollectionImport::Level {
    const TableDef *table;
    const FormDef *form;
    int parentKey = -1; // the key ranging over the parent's identifier
    std::vector<std::size_t> columns;
    std::optional<FieldRef> totalValue;
    // The fields a stored parent must match: those the file gives and those
    // the form primes from the parents.
    std::vector<bool> compared;

    // Per run.
    std::unique_ptr<RecordBuffer> wanted, io;
    std::unique_ptr<Table> file;
    std::unique_ptr<Cursor> siblings;
    std::int64_t lastId = 0; // the highest identifier, once read
    bool numbered = false;
    bool placed = false; // the record of the previous row's cells is current
    std::vector<std::string> cells;
    std::string failed;  // why the previous row's record failed
    std::int64_t id = 0; // the current record's identifier
};

// A lookup table whose name the file carries in place of its identifier.
struct CollectionImport::Lookup {
    const TableDef *table;
    const FormDef *form;
    int nameKey;
    std::unique_ptr<RecordBuffer> io;
    std::unique_ptr<Table> file;
    std::unordered_map<std::string, std::int64_t> ids; // 0: not on file
    std::int64_t lastId = 0;
    bool numbered = false;
};

struct CollectionImport::Run {
    DataFile &file;
    Mode mode;
    long long line = 0;
    std::map<std::string, std::int64_t> totals; // by total field
    std::unique_ptr<RecordBuffer> totalsRecord;
    std::unique_ptr<Table> totalsFile;
};

std::string CollectionImport::lookupName(TableId table)
{
    const FormDef *form = formFor(table);
    for (const FormField &f : form ? form->fields : std::vector<FormField>{}) {
        if (f.kind != FormControl::Entry) continue;
        std::string name;
        for (char c : f.prompt)
            if (c != '&' && c != ':') name += c;
        return name;
    }
    return tableDef(table).label;
}

CollectionImport::CollectionImport(const std::vector<TableId> &levels, bool numbered)
    : levelIds_(levels), numbered_(numbered)
{
    const CollectionExport layout(levels, numbered, true);
    for (std::size_t d = 0; d < levels.size(); ++d) {
        auto level = std::make_unique<Level>();
        level->table = &tableDef(levels[d]);
        level->form = formFor(levels[d]);
        if (d > 0)
            for (const RelationDef &r : relations())
                if (r.parent == levels[d - 1] && r.child == levels[d])
                    level->parentKey = r.childKey.index;
        if (level->form && level->form->total) {
            const FieldRef v = findField(level->form->total->valueField);
            if (v.table == levels[d]) level->totalValue = v;
        }
        levels_.push_back(std::move(level));
    }
    for (const CsvColumn &c : layout.columns()) {
        if (c.attachments) {
            attachmentColumns_.emplace_back(c.header, std::size_t(c.level));
            continue;
        }
        Level &level = *levels_[std::size_t(c.level)];
        Column col;
        col.level = std::size_t(c.level);
        FieldRef held{level.table->id, c.field};
        if (c.lookup) {
            held.field = c.reference;
            auto found = std::find_if(lookups_.begin(), lookups_.end(),
                                      [&](const auto &l) { return l->table == c.lookup; });
            if (found == lookups_.end()) {
                const FormDef *lookupForm = formFor(c.lookup->id);
                lookups_.push_back(std::make_unique<Lookup>(Lookup{
                    c.lookup,
                    lookupForm,
                    lookupForm && lookupForm->duplicate ? lookupForm->duplicate->key.index : -1,
                    {},
                    {},
                    {},
                    0,
                    false}));
                found = lookups_.end() - 1;
            }
            col.lookup = int(found - lookups_.begin());
            col.rule = CsvFieldRule::of(c.header, FieldRef{c.lookup->id, c.field}, (*found)->form);
        } else {
            col.rule = CsvFieldRule::of(c.header, held, level.form);
        }
        col.held = held.field;
        // A required field the form fills from the parent may be left out.
        const auto isHeld = [&](const std::string &label) {
            const FieldRef f = findField(label);
            return f.table == held.table && f.field == held.field;
        };
        if (level.form) {
            for (const RequiredCheck &r : level.form->required)
                col.required = col.required || isHeld(r.field);
            for (const Priming &p : level.form->primes)
                col.required = col.required && !isHeld(p.field);
        }
        level.columns.push_back(columns_.size());
        columns_.push_back(std::move(col));
    }
}

CollectionImport::~CollectionImport() = default;

bool CollectionImport::mapHeader(const std::vector<std::string> &header)
{
    std::vector<std::string> unknown, twice, missing;
    std::vector<bool> seen(columns_.size());
    byHeader_.clear();
    attachmentsOf_.clear();
    for (const std::string &h : header) {
        const std::string_view name = trimRight(h);
        attachmentsOf_.push_back(-1);
        auto files = std::find_if(attachmentColumns_.begin(), attachmentColumns_.end(),
                                  [&](const auto &a) { return sameText(a.first, name); });
        if (files != attachmentColumns_.end()) {
            attachmentsOf_.back() = int(files->second);
            byHeader_.push_back(-1);
            continue;
        }
        auto found = std::find_if(columns_.begin(), columns_.end(),
                                  [&](const Column &c) { return sameText(c.rule.header, name); });
        if (found == columns_.end()) {
            unknown.push_back(std::string(name));
            byHeader_.push_back(-1);
            continue;
        }
        const std::size_t c = std::size_t(found - columns_.begin());
        if (seen[c]) twice.push_back(found->rule.header);
        seen[c] = true;
        byHeader_.push_back(int(c));
    }
    for (const auto &level : levels_) {
        level->compared.assign(level->table->fields.size(), false);
        if (level->form)
            for (const Priming &p : level->form->primes)
                if (const FieldRef f = findField(p.field); f.table == level->table->id)
                    level->compared[std::size_t(f.field)] = true;
    }
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (seen[c]) levels_[columns_[c].level]->compared[std::size_t(columns_[c].held)] = true;
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c].required && !seen[c]) missing.push_back(columns_[c].rule.header);
    std::string why;
    if (!unknown.empty()) why += "Columns not in the collection: " + joined(unknown) + ". ";
    if (!twice.empty()) why += "Columns given twice: " + joined(twice) + ". ";
    if (!missing.empty()) why += "Required columns missing: " + joined(missing) + ". ";
    failure_ = QString::fromStdString(std::string(trimRight(why)));
    return why.empty();
}

void CollectionImport::fail(long long line, const std::string &reason)
{
    ++failedRows_;
    if (problems_.size() < kProblemsKept) problems_.push_back({line, reason});
}

int CollectionImport::nextIdentifier(Level &level, std::int64_t &id)
{
    if (const int code =
            readLastIdentifier(*level.file, *level.table, level.lastId, level.numbered);
        code != NoError)
        return code;
    id = ++level.lastId;
    return NoError;
}

// The number the row gives its record (a numbered collection's), when it is
// free; 0 when the row gives none or another record has it.
int CollectionImport::givenIdentifier(Level &level, std::int64_t &id, std::string &reason)
{
    const TableDef &t = *level.table;
    id = field::integer(t.fields[0], level.wanted->data());
    if (id == 0) return NoError;
    if (id < 0) {
        reason = t.fields[0].column + ": " + quotedValue(std::to_string(id)) +
                 " is not a number a record takes (they begin at 1)";
        return NoError;
    }
    t.copy(level.io->data(), level.wanted->data());
    int code = level.file->get(KeyId{t.id, 0});
    if (code == NoError) {
        id = 0; // taken: the record gets a new number
        return NoError;
    }
    if (code != RecordNotFound) return code;
    code = readLastIdentifier(*level.file, t, level.lastId, level.numbered);
    if (code != NoError) return code;
    level.lastId = std::max(level.lastId, id);
    return NoError;
}

int CollectionImport::findByName(Run &r, Lookup &l, const std::string &name, std::int64_t &id,
                                 std::string &reason)
{
    if (auto known = l.ids.find(name); known != l.ids.end()) {
        id = known->second;
    } else {
        if (l.ids.size() >= kNamesKept) l.ids.clear();
        const FieldDef &nameField = l.table->fields[1];
        l.table->clear(l.io->data());
        field::setText(nameField, l.io->data(), name);
        int code = l.file->get(KeyId{l.table->id, l.nameKey});
        if (code == NoError) {
            id = field::integer(l.table->fields[0], l.io->data());
        } else if (code != RecordNotFound) {
            return code;
        } else {
            id = 0;
            missing_.push_back({l.table->id, name});
            // A dry run goes on as though the name were created; so does a
            // write that may create it.
            if (r.mode == Mode::DryRun || createMissing_) {
                code = readLastIdentifier(*l.file, *l.table, l.lastId, l.numbered);
                if (code != NoError) return code;
                l.table->clear(l.io->data());
                field::setText(nameField, l.io->data(), name);
                field::setInteger(l.table->fields[0], l.io->data(), ++l.lastId);
                if (l.form) {
                    if (const int i = failingRequired(*l.form, l.io->data()); i >= 0) {
                        reason = l.form->required[std::size_t(i)].text;
                        return NoError;
                    }
                }
                if (code = l.file->add(); code != NoError) return code;
                id = l.lastId;
            }
        }
        l.ids.emplace(name, id);
    }
    if (id == 0) reason = lookupName(l.table->id) + " " + quotedValue(name) + " is not on file";
    return NoError;
}

// Fills the level's wanted record from the row: its own columns, its
// lookups by name and what the form primes from the parents.
int CollectionImport::build(Run &r, std::size_t depth, const std::vector<std::string> &cells,
                            std::string &reason)
{
    Level &level = *levels_[depth];
    void *rec = level.wanted->data();
    level.table->clear(rec);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (byHeader_[i] < 0) continue;
        const Column &col = columns_[std::size_t(byHeader_[i])];
        if (col.level != depth) continue;
        if (col.lookup < 0) {
            if (!col.rule.store(cells[i], rec, reason)) return NoError;
            continue;
        }
        Lookup &l = *lookups_[std::size_t(col.lookup)];
        l.table->clear(l.io->data());
        if (!col.rule.store(cells[i], l.io->data(), reason)) return NoError;
        const std::string name(field::text(col.rule.target.def(), l.io->data()));
        std::int64_t id = 0;
        if (!name.empty()) {
            if (const int code = findByName(r, l, name, id, reason); code != NoError) return code;
            if (!reason.empty()) return NoError;
        }
        // The lookup's identifier goes where the form keeps it.
        field::setInteger(level.table->fields[std::size_t(col.held)], rec, id);
    }
    if (!level.form) return NoError;
    for (const Priming &p : level.form->primes) {
        const FieldRef to = findField(p.field), from = findField(p.from);
        if (to.table != level.table->id) continue;
        for (std::size_t d = 0; d < depth; ++d) {
            if (levels_[d]->table->id != from.table) continue;
            const void *parent = levels_[d]->wanted->data();
            if (to.def().isText()) {
                if (field::text(to.def(), rec).empty())
                    field::setText(to.def(), rec, field::text(from.def(), parent));
            } else if (field::integer(to.def(), rec) == 0) {
                field::setInteger(to.def(), rec, field::integer(from.def(), parent));
            }
        }
    }
    if (const int i = failingRequired(*level.form, rec); i >= 0)
        reason = level.form->required[std::size_t(i)].text;
    return NoError;
}

// A stored record equal to the wanted one in every field but the
// identifier: by the form's duplicate key, else among the parent's children.
int CollectionImport::findEqual(Level &level, std::int64_t &id)
{
    id = 0;
    const TableDef &t = *level.table;
    const auto equal = [&] {
        for (std::size_t f = 1; f < t.fields.size(); ++f)
            if (level.compared[f] &&
                !field::equal(t.fields[f], level.io->data(), level.wanted->data()))
                return false;
        return true;
    };
    if (level.form && level.form->duplicate) {
        t.copy(level.io->data(), level.wanted->data());
        const int code = level.file->get(level.form->duplicate->key);
        if (code == RecordNotFound) return NoError;
        if (code != NoError) return code;
        if (equal()) id = field::integer(t.fields[0], level.io->data());
        return NoError;
    }
    if (level.parentKey < 0) return NoError;
    const std::size_t parentField = std::size_t(keyDef(KeyId{t.id, level.parentKey}).components[0]);
    level.siblings->setOrder(level.parentKey);
    level.siblings->setRange({field::integer(t.fields[parentField], level.wanted->data())});
    level.siblings->toStart();
    int code;
    do {
        code = level.siblings->fetch(true, kBatch, [&] {
            if (!id && equal()) id = field::integer(t.fields[0], level.io->data());
        });
    } while (code == NoError && !id);
    return code == NoMoreRecords ? NoError : code;
}

int CollectionImport::create(Run &r, Level &level, std::string &reason)
{
    const TableDef &t = *level.table;
    if (level.form && level.form->duplicate) {
        t.copy(level.io->data(), level.wanted->data());
        level.file->setCurrent(0, nullptr);
        if (level.file->duplicate(level.form->duplicate->key)) {
            reason = duplicateMessage(*level.form->duplicate, level.wanted->data());
            return NoError;
        }
    }
    std::int64_t id = 0;
    if (const int code = givenIdentifier(level, id, reason); code != NoError || !reason.empty())
        return code;
    if (id == 0)
        if (const int code = nextIdentifier(level, id); code != NoError) return code;
    field::setInteger(t.fields[0], level.wanted->data(), id);
    t.copy(level.io->data(), level.wanted->data());
    if (const int code = level.file->add(); code != NoError) {
        if (code != DuplicateKey) return code;
        reason = "a record with the same " + lastError().key + " is on file";
        return NoError;
    }
    level.id = id;
    if (level.totalValue)
        r.totals[level.form->total->totalField] +=
            field::integer(level.totalValue->def(), level.wanted->data());
    return NoError;
}

int CollectionImport::placeParent(Run &r, std::size_t depth, const std::vector<std::string> &cells,
                                  std::string &reason)
{
    Level &level = *levels_[depth];
    level.placed = true;
    level.failed.clear();
    int code = build(r, depth, cells, reason);
    if (code == NoError && reason.empty()) {
        std::int64_t id = 0;
        code = findEqual(level, id);
        if (code == NoError && id) {
            level.id = id;
            field::setInteger(level.table->fields[0], level.wanted->data(), id);
        } else if (code == NoError) {
            code = create(r, level, reason);
            if (code == NoError && reason.empty()) code = attach(r, depth, cells, reason);
        }
    }
    level.failed = reason;
    return code;
}

int CollectionImport::addChild(Run &r, std::size_t depth, const std::vector<std::string> &cells,
                               std::string &reason)
{
    Level &level = *levels_[depth];
    int code = build(r, depth, cells, reason);
    if (code != NoError || !reason.empty()) return code;
    // A location or category the file names as it stands on file is that
    // one: the file adds only those not there yet.
    if (numbered_ && depth == 0) {
        std::int64_t id = 0;
        if (code = findEqual(level, id); code != NoError || id) return code;
    }
    code = create(r, level, reason);
    if (code == NoError && reason.empty()) code = attach(r, depth, cells, reason);
    return code;
}

int CollectionImport::attach(Run &r, std::size_t depth, const std::vector<std::string> &cells,
                             std::string &reason)
{
    const Level &level = *levels_[depth];
    for (std::size_t i = 0; i < cells.size() && i < attachmentsOf_.size(); ++i) {
        if (attachmentsOf_[i] != int(depth) || cells[i].empty()) continue;
        const std::string_view text = textOfCell(cells[i]);
        const QString cell = QString::fromUtf8(text.data(), qsizetype(text.size()));
        for (const QString &path : cell.split(QLatin1Char(kAttachmentSeparator))) {
            const QString quoted = QStringLiteral("the attachment \"%1\"").arg(path);
            // Only files in the CSV's own folder, or below it, are read.
            if (attachmentsFolder_.isEmpty() || QDir::isAbsolutePath(path) ||
                path.split(QLatin1Char('/')).contains(QStringLiteral(".."))) {
                reason =
                    (quoted + QStringLiteral(" is not in the folder of the file")).toStdString();
                return NoError;
            }
            const QFileInfo info(QDir(attachmentsFolder_).filePath(path));
            if (!info.isFile()) {
                reason = (quoted + QStringLiteral(" is not there")).toStdString();
                return NoError;
            }
            if (info.size() > kAttachmentMaxBytes) {
                reason =
                    (quoted + QStringLiteral(" is %1: an attachment may be at most %2")
                                  .arg(sizeInWords(info.size()), sizeInWords(kAttachmentMaxBytes)))
                        .toStdString();
                return NoError;
            }
            QFile in(info.filePath());
            if (!in.open(QIODevice::ReadOnly)) {
                reason =
                    (quoted + QStringLiteral(" cannot be read: ") + in.errorString()).toStdString();
                return NoError;
            }
            // The export wrote each file under its number and its name.
            QString name = info.fileName();
            const int dash = name.indexOf(QLatin1Char('-'));
            bool numbered = false;
            if (dash > 0) name.left(dash).toLongLong(&numbered);
            if (numbered) name = name.mid(dash + 1);
            name = name.left(255);
            if (name.isEmpty()) name = QStringLiteral("attachment");
            const QByteArray bytes = in.readAll();
            const InspectedFile checked = inspectFile(bytes, name, kAttachmentMaxBytes);
            if (!checked.ok()) {
                reason = checked.problem.toStdString();
                if (!reason.empty() && reason.back() == '.') reason.pop_back();
                return NoError;
            }
            const QDateTime when = info.lastModified();
            const NewAttachment a{name.toStdString(), checked.mediaType.toStdString(),
                                  (when.isValid()
                                       ? when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                       : attachmentTimeNow())
                                      .toStdString(),
                                  bytes.toStdString(), checked.thumbnail.toStdString()};
            if (const int code = addAttachment(r.file, level.table->id, level.id, a);
                code != NoError)
                return code;
        }
    }
    return NoError;
}

int CollectionImport::processRow(Run &r, const std::vector<std::string> &cells)
{
    if (cells.size() != byHeader_.size()) {
        fail(r.line, "the row has " + std::to_string(cells.size()) + " fields, the header " +
                         std::to_string(byHeader_.size()));
        return NoError;
    }
    // The deepest level with a value: a parent's row may come without children.
    int deepest = -1;
    std::vector<std::vector<std::string>> byLevel(levels_.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (byHeader_[i] < 0) continue;
        const std::size_t d = columns_[std::size_t(byHeader_[i])].level;
        byLevel[d].push_back(cells[i]);
        if (!cells[i].empty()) deepest = std::max(deepest, int(d));
    }
    if (deepest < 0) return NoError; // nothing on the row
    const std::size_t last = levels_.size() - 1;
    std::string reason;
    bool replaced = false;
    for (std::size_t d = 0; d <= std::size_t(deepest); ++d) {
        Level &level = *levels_[d];
        int code = NoError;
        if (d == last) {
            code = addChild(r, d, cells, reason);
        } else if (!replaced && level.placed && level.cells == byLevel[d]) {
            reason = level.failed; // the same parent as the row before
        } else {
            replaced = true;
            level.cells = byLevel[d];
            for (std::size_t below = d + 1; below < levels_.size(); ++below)
                levels_[below]->placed = false;
            code = placeParent(r, d, cells, reason);
        }
        if (code != NoError) return code;
        if (!reason.empty()) {
            fail(r.line, reason);
            return NoError;
        }
    }
    return NoError;
}

int CollectionImport::finish(Run &r)
{
    for (const auto &[field, sum] : r.totals) {
        for (const auto &level : levels_) {
            if (!level->form || !level->form->total || level->form->total->totalField != field)
                continue;
            // A file whose values the total cannot hold is refused as a
            // whole, as the form refuses a value that would carry it past
            // its maximum.
            const RunningTotal &total = *level->form->total;
            const std::optional<std::int64_t> now = runningTotalNow(*r.totalsFile, total);
            if (!now) return lastError().code;
            if (const auto past = totalPastMaximum(total, *now, sum)) {
                failure_ = QString::fromStdString("The total " + past->total + " would come to " +
                                                  past->amountAndMaximum());
                return -1;
            }
            if (const int code = addToRunningTotal(*r.totalsFile, total, sum); code != NoError)
                return code;
        }
    }
    return NoError;
}

int CollectionImport::run(DataFile &file, QIODevice &in, Mode mode,
                          const std::function<bool(long long rows)> &progress)
{
    problems_.clear();
    missing_.clear();
    failedRows_ = 0;
    rowsRead_ = 0;
    failure_.clear();
    stopped_ = false;

    CsvReader reader(in);
    std::vector<std::string> cells;
    if (!reader.next(cells)) {
        failure_ = QString::fromStdString(reader.error().empty()
                                              ? "The file is empty"
                                              : "The file cannot be read: " + reader.error());
        return -1;
    }
    if (!mapHeader(cells)) return -1;

    Run r{file, mode, 0, {}, {}, {}};
    std::vector<Table *> opened;
    const auto open = [&](TableId id, std::unique_ptr<RecordBuffer> &buffer,
                          std::unique_ptr<Table> &table) {
        buffer = std::make_unique<RecordBuffer>(tableDef(id));
        table = std::make_unique<Table>(id, buffer->data(), &file);
        const int code = table->open();
        if (code == NoError) opened.push_back(table.get());
        return code;
    };
    const auto closeAll = [&] {
        for (Table *t : opened)
            t->close();
    };
    int code = open(TableId::HearthkpValue, r.totalsRecord, r.totalsFile);
    for (auto &level : levels_) {
        if (code != NoError) break;
        level->wanted = std::make_unique<RecordBuffer>(*level->table);
        code = open(level->table->id, level->io, level->file);
        level->siblings = std::make_unique<Cursor>(file, *level->table, level->io->data());
        level->numbered = level->placed = false;
        level->cells.clear();
    }
    for (auto &l : lookups_) {
        if (code != NoError) break;
        code = open(l->table->id, l->io, l->file);
        l->ids.clear();
        l->numbered = false;
    }
    Transaction txn(file);
    if (code == NoError) code = txn.begin();
    if (code != NoError) {
        const FileError error = lastError();
        closeAll();
        setDriverError(error.code, error.driverCode, error.driverMessage, error.file);
        return code;
    }

    while (reader.next(cells)) {
        r.line = reader.line();
        ++rowsRead_;
        if (code = processRow(r, cells); code != NoError) break;
        if (rowsRead_ % kBatch == 0 && progress && !progress(rowsRead_)) {
            failure_ = QStringLiteral("stopped");
            stopped_ = true;
            code = -1;
            break;
        }
    }
    if (code == NoError && !reader.error().empty()) {
        failure_ = QString::fromStdString("The file cannot be read: " + reader.error());
        code = -1;
    }
    if (code == NoError && failedRows_) {
        failure_ = QStringLiteral("%1 rows cannot be imported").arg(failedRows_);
        code = -1;
    }
    if (code == NoError) code = finish(r);
    if (code == NoError && mode == Mode::Write)
        code = txn.commit();
    else
        txn.rollback(); // a trial run, or a failure: lastError() keeps why
    // What failed is what the caller reports: closing the tables may not
    // overwrite it.
    const FileError error = lastError();
    closeAll();
    setDriverError(error.code, error.driverCode, error.driverMessage, error.file);
    return code;
}

} // namespace hk
