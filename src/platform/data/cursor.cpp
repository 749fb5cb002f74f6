#include "platform/data/cursor.h"

#include "platform/data/collation.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/schema.h"

#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace hk
{

Cursor::Cursor(DataFile &file, const TableDef &table, void *buffer)
    : file_(file), table_(table), buffer_(buffer)
{
}

void Cursor::invalidate()
{
    dropReadAhead();
    for (auto &s : sqlCache_)
        s.clear();
    regetSql_.clear();
}

void Cursor::setOrder(int key)
{
    order_ = key;
    invalidate();
    toStart();
}

void Cursor::setJoins(std::vector<Join> joins)
{
    joins_ = std::move(joins);
    invalidate();
}

void Cursor::setRange(std::vector<Value> prefix)
{
    range_ = std::move(prefix);
    invalidate();
}

void Cursor::setFilter(std::string sql, std::vector<Value> params)
{
    filter_ = std::move(sql);
    filterParams_ = std::move(params);
    invalidate();
}

std::string Cursor::columnRef(const TableDef &table, int field, int join)
{
    std::string alias = join < 0 ? "m" : "j" + std::to_string(join);
    return alias + "." + quoteName(table.fields.at(field).column);
}

std::vector<int> Cursor::orderFields() const
{
    if (order_ == kFileOrder) return {};
    return table_.keys.at(order_).components;
}

std::size_t Cursor::rangedFields() const
{
    return std::min(range_.size(), orderFields().size());
}

// Where the anchor's ranged components stand against the range: <0 before
// it, 0 inside, >0 after it, compared as the key orders them.
int Cursor::anchorSide() const
{
    const std::vector<int> fields = orderFields();
    for (std::size_t i = 0; i < rangedFields() && i < anchorValues_.size(); ++i) {
        const Value &a = anchorValues_[i], &r = range_[i];
        int c = 0;
        if (a.index() != r.index())
            c = a.index() < r.index() ? -1 : 1;
        else if (const auto *n = std::get_if<std::int64_t>(&a))
            c = *n < std::get<std::int64_t>(r) ? -1 : *n > std::get<std::int64_t>(r) ? 1 : 0;
        else if (table_.fields[fields[i]].isText())
            c = compareKeyText(std::get<std::string>(a), std::get<std::string>(r));
        else
            c = std::get<std::string>(a).compare(std::get<std::string>(r));
        if (c != 0) return c;
    }
    return 0;
}

void Cursor::toStart()
{
    dropReadAhead();
    anchor_ = Anchor::Start;
    anchorValues_.clear();
}

void Cursor::toKeyValues()
{
    dropReadAhead();
    if (order_ == kFileOrder) {
        toStart();
        return;
    }
    anchor_ = Anchor::Keys;
    anchorValues_ = keyValues(order_);
    inclusive_ = true;
}

bool Cursor::toPosition(const Position &position)
{
    int key;
    std::vector<Value> values;
    std::int64_t row;
    if (!decodePosition(position, key, values, row) || key != order_ ||
        values.size() != orderFields().size())
        return false;
    values.emplace_back(std::in_place_type<std::int64_t>, row);
    dropReadAhead();
    anchor_ = Anchor::Record;
    anchorValues_ = std::move(values);
    inclusive_ = true;
    return true;
}

std::vector<Value> Cursor::keyValues(int key) const
{
    std::vector<Value> out;
    if (key == kFileOrder) return out;
    for (int f : table_.keys.at(key).components) {
        const FieldDef &fd = table_.fields[f];
        if (fd.isText())
            out.emplace_back(std::string(field::text(fd, buffer_)));
        else
            out.emplace_back(field::integer(fd, buffer_));
    }
    return out;
}

Position Cursor::position() const
{
    return encodePosition(order_, keyValues(order_), currentRow_);
}

std::string Cursor::selectFrom() const
{
    std::string sql = "SELECT m.rowid";
    for (std::size_t f = 0; f < table_.fields.size(); ++f)
        sql += ", " + columnRef(table_, static_cast<int>(f));
    for (std::size_t j = 0; j < joins_.size(); ++j)
        for (std::size_t f = 0; f < joins_[j].table->fields.size(); ++f)
            sql += ", " + columnRef(*joins_[j].table, static_cast<int>(f), static_cast<int>(j));
    sql += " FROM " + quoteName(table_.label) + " AS m";
    for (std::size_t j = 0; j < joins_.size(); ++j) {
        const Join &jn = joins_[j];
        std::string alias = "j" + std::to_string(j);
        sql += " LEFT JOIN " + quoteName(jn.table->label) + " AS " + alias + " ON " +
               columnRef(*jn.table, 0, static_cast<int>(j)) + " = " +
               columnRef(table_, jn.mainField);
    }
    return sql;
}

std::string Cursor::selectSql(bool forward, Anchor anchor, bool inclusive)
{
    std::size_t slot =
        (forward ? 6 : 0) + static_cast<std::size_t>(anchor) * 2 + (inclusive ? 1 : 0);
    std::string &sql = sqlCache_[slot];
    if (!sql.empty()) return sql;

    sql = selectFrom();

    std::vector<int> fields = orderFields();
    const std::size_t ranged = rangedFields();
    std::vector<std::string> conditions;
    for (std::size_t i = 0; i < ranged; ++i)
        conditions.push_back(columnRef(table_, fields[i]) + " = ?");
    if (!filter_.empty()) conditions.push_back("(" + filter_ + ")");
    if (anchor == Anchor::Keys || anchor == Anchor::Record) {
        // The ranged components are equal in every record read, so the
        // comparison starts after them: a row value that began with a column
        // the range fixes would not narrow the index search, and every read
        // would scan the range from its start.
        std::vector<std::string> lhs;
        for (std::size_t i = ranged; i < fields.size(); ++i)
            lhs.push_back(columnRef(table_, fields[i]));
        if (anchor == Anchor::Record) lhs.push_back("m.rowid");
        std::string left, right;
        for (std::size_t i = 0; i < lhs.size(); ++i) {
            left += (i ? ", " : "") + lhs[i];
            right += i ? ", ?" : "?";
        }
        const char *op = forward ? (inclusive ? " >= " : " > ") : (inclusive ? " <= " : " < ");
        if (!lhs.empty())
            conditions.push_back("(" + left + ")" + op + "(" + right + ")");
        else if (!inclusive)
            conditions.push_back("0"); // equal keys, and equal is excluded
    }
    for (std::size_t i = 0; i < conditions.size(); ++i)
        sql += (i ? " AND " : " WHERE ") + conditions[i];

    const char *dir = forward ? "" : " DESC";
    sql += " ORDER BY ";
    for (int f : fields)
        sql += columnRef(table_, f) + dir + ", ";
    sql += std::string("m.rowid") + dir + " LIMIT ?";
    return sql;
}

static void bindValue(sqlite3_stmt *st, int index, const Value &v)
{
    if (auto *i = std::get_if<std::int64_t>(&v))
        sqlite3_bind_int64(st, index, *i);
    else {
        const auto &s = std::get<std::string>(v);
        sqlite3_bind_text(st, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
}

int Cursor::bindCommon(sqlite3_stmt *st, int next) const
{
    for (std::size_t i = 0; i < range_.size() && i < orderFields().size(); ++i)
        bindValue(st, next++, range_[i]);
    for (const auto &p : filterParams_)
        bindValue(st, next++, p);
    return next;
}

void Cursor::load(sqlite3_stmt *st)
{
    currentRow_ = sqlite3_column_int64(st, 0);
    int col = 1;
    for (const auto &f : table_.fields)
        readField(st, col++, f, buffer_);
    for (const auto &j : joins_) {
        // A record whose lookup is missing shows a cleared lookup buffer.
        if (sqlite3_column_type(st, col) == SQLITE_NULL) {
            j.table->clear(j.buffer);
            col += static_cast<int>(j.table->fields.size());
            continue;
        }
        for (const auto &f : j.table->fields)
            readField(st, col++, f, j.buffer);
    }
}

int Cursor::fetch(bool forward, int n, const std::function<void()> &each)
{
    if (n <= 0) return setError(NoError, table_.storedName());
    // The reading place is the last record handed out; what was read ahead
    // of it is read again from the file.
    ahead_.clear();
    // An anchor outside the range reads the whole range or nothing of it.
    Anchor anchor = anchor_;
    if (anchor != Anchor::Start) {
        const int side = anchorSide();
        if (side != 0) {
            if ((side < 0) != forward) return setError(NoMoreRecords, table_.storedName());
            anchor = Anchor::Start;
        }
    }
    sqlite3_stmt *st = file_.statement(selectSql(forward, anchor, inclusive_), table_.storedName());
    if (!st) return lastError().code;
    StatementScope scope(st);
    int idx = bindCommon(st, 1);
    if (anchor == Anchor::Keys || anchor == Anchor::Record)
        for (std::size_t i = rangedFields(); i < anchorValues_.size(); ++i)
            bindValue(st, idx++, anchorValues_[i]);
    sqlite3_bind_int(st, idx, n);

    int read = 0;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        load(st);
        ++read;
        if (each) each();
    }
    if (rc != SQLITE_DONE) return setSqliteError(file_.db(), rc, table_.storedName());
    if (read == 0) return setError(NoMoreRecords, table_.storedName());
    // Reading goes on after the last record read.
    anchor_ = Anchor::Record;
    inclusive_ = false;
    anchorValues_ = keyValues(order_);
    anchorValues_.emplace_back(currentRow_);
    return setError(NoError, table_.storedName());
}

int Cursor::prepare()
{
    if (!file_.statement(selectSql(true, Anchor::Start, false), table_.storedName()))
        return lastError().code;
    return setError(NoError, table_.storedName());
}

std::size_t Cursor::snapshotSize() const
{
    std::size_t n = sizeof(std::int64_t) + table_.recordSize;
    for (const auto &j : joins_)
        n += j.table->recordSize;
    return n;
}

void Cursor::snapshot(std::vector<unsigned char> &out) const
{
    out.resize(snapshotSize());
    unsigned char *p = out.data();
    std::memcpy(p, &currentRow_, sizeof currentRow_);
    p += sizeof currentRow_;
    table_.copy(p, buffer_);
    p += table_.recordSize;
    for (const auto &j : joins_) {
        j.table->copy(p, j.buffer);
        p += j.table->recordSize;
    }
}

void Cursor::restore(const std::vector<unsigned char> &in)
{
    const unsigned char *p = in.data();
    std::memcpy(&currentRow_, p, sizeof currentRow_);
    p += sizeof currentRow_;
    table_.copy(buffer_, p);
    p += table_.recordSize;
    for (const auto &j : joins_) {
        j.table->copy(j.buffer, p);
        p += j.table->recordSize;
    }
    anchor_ = Anchor::Record;
    inclusive_ = false;
    anchorValues_ = keyValues(order_);
    anchorValues_.emplace_back(currentRow_);
}

void Cursor::dropReadAhead()
{
    ahead_.clear();
    streak_ = 0;
}

int Cursor::step(bool forward)
{
    if (!ahead_.empty() && aheadForward_ == forward && aheadStamp_ == file_.stamp()) {
        restore(ahead_.front());
        ahead_.pop_front();
        return setError(NoError, table_.storedName());
    }
    // Reads in one direction in a row are a scan: read further ahead each
    // time, up to a page, and serve the next steps from what was read while
    // nothing has been written.
    const bool scanning = streak_ > 0 && aheadForward_ == forward;
    streak_ = scanning ? streak_ + 1 : 1;
    ahead_.clear();
    aheadForward_ = forward;
    const int batch = streak_ == 1 ? 1 : std::min(kMaxReadAhead, 4 << std::min(streak_ - 1, 3));
    std::vector<std::vector<unsigned char>> rows;
    int code = fetch(forward, batch, [&] { snapshot(rows.emplace_back()); });
    if (code != NoError) {
        streak_ = 0;
        return code;
    }
    aheadStamp_ = file_.stamp();
    restore(rows.front());
    for (std::size_t i = 1; i < rows.size(); ++i)
        ahead_.push_back(std::move(rows[i]));
    return code;
}

int Cursor::next()
{
    return step(true);
}

int Cursor::previous()
{
    return step(false);
}

int Cursor::reget(const Position &position)
{
    int key;
    std::vector<Value> values;
    std::int64_t row;
    if (!decodePosition(position, key, values, row))
        return setError(RecordNotFound, table_.storedName());
    // By row id alone: the record is wanted as it is stored now, even when its
    // key values have changed since the position was taken.
    if (regetSql_.empty()) regetSql_ = selectFrom() + " WHERE m.rowid = ?";
    sqlite3_stmt *st = file_.statement(regetSql_, table_.storedName());
    if (!st) return lastError().code;
    StatementScope scope(st);
    sqlite3_bind_int64(st, 1, row);
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        load(st);
        return setError(NoError, table_.storedName());
    }
    if (rc != SQLITE_DONE) return setSqliteError(file_.db(), rc, table_.storedName());
    return setError(RecordNotFound, table_.storedName());
}

Position encodePosition(int key, const std::vector<Value> &values, std::int64_t row)
{
    Position out;
    out += static_cast<char>(1); // format
    out += static_cast<char>(key == kFileOrder ? 0xFF : key);
    auto put64 = [&](std::int64_t v) {
        for (int i = 0; i < 8; ++i)
            out += static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF);
    };
    for (const auto &v : values) {
        if (auto *i = std::get_if<std::int64_t>(&v)) {
            out += 'i';
            put64(*i);
        } else {
            const auto &s = std::get<std::string>(v);
            out += 's';
            out += static_cast<char>(s.size() & 0xFF);
            out += static_cast<char>((s.size() >> 8) & 0xFF);
            out += s;
        }
    }
    out += 'r';
    put64(row);
    return out;
}

bool decodePosition(const Position &p, int &key, std::vector<Value> &values, std::int64_t &row)
{
    std::size_t i = 0;
    auto get64 = [&](std::int64_t &v) {
        if (i + 8 > p.size()) return false;
        std::uint64_t u = 0;
        for (int b = 0; b < 8; ++b)
            u |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i + b])) << (8 * b);
        v = static_cast<std::int64_t>(u);
        i += 8;
        return true;
    };
    if (p.size() < 2 || p[0] != 1) return false;
    unsigned char k = static_cast<unsigned char>(p[1]);
    key = k == 0xFF ? kFileOrder : k;
    i = 2;
    values.clear();
    while (i < p.size()) {
        char tag = p[i++];
        if (tag == 'i') {
            std::int64_t v;
            if (!get64(v)) return false;
            values.emplace_back(v);
        } else if (tag == 's') {
            if (i + 2 > p.size()) return false;
            std::size_t len = static_cast<unsigned char>(p[i]) |
                              (static_cast<std::size_t>(static_cast<unsigned char>(p[i + 1])) << 8);
            i += 2;
            if (i + len > p.size()) return false;
            values.emplace_back(p.substr(i, len));
            i += len;
        } else if (tag == 'r') {
            return get64(row) && i == p.size();
        } else {
            return false;
        }
    }
    return false;
}

} // namespace hk
