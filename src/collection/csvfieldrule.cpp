#include "collection/csvfieldrule.h"

#include "collection/csvreader.h"
#include "collection/csvtext.h"
#include "dictionary/utf8.h"

#include <algorithm>
#include <charconv>

namespace hk
{

namespace
{

std::string joined(const std::vector<std::string> &names)
{
    std::string all;
    for (const std::string &n : names)
        all += (all.empty() ? "" : ", ") + n;
    return all;
}

// How a form takes a field: its entry's picture or its list of choices.
const FormField *formField(const FormDef *form, const FieldRef &target)
{
    if (!form) return nullptr;
    for (const FormField &f : form->fields) {
        if (f.field.empty() || f.kind == FormControl::Display) continue;
        const FieldRef r = findField(f.field);
        if (r.table == target.table && r.field == target.field) return &f;
    }
    return nullptr;
}

std::vector<std::string> choicesOf(const std::string &choices)
{
    std::vector<std::string> list;
    std::size_t from = 0;
    while (!choices.empty()) {
        const std::size_t bar = choices.find('|', from);
        list.push_back(choices.substr(from, bar - from));
        if (bar == std::string::npos) break;
        from = bar + 1;
    }
    return list;
}

} // namespace

std::string quotedValue(std::string_view text)
{
    constexpr std::size_t kShown = 40;
    if (utf8Length(text) <= kShown) return "\"" + std::string(text) + "\"";
    return "\"" + std::string(utf8Prefix(text, kShown)) + "\u2026\"";
}

CsvFieldRule CsvFieldRule::of(std::string header, FieldRef target, const FormDef *form)
{
    CsvFieldRule rule{std::move(header), target, {}, {}};
    if (const FormField *f = formField(form, target)) {
        if (!f->picture.empty()) rule.picture = Picture::of(f->picture);
        rule.choices = choicesOf(f->choices);
    }
    return rule;
}

bool CsvFieldRule::store(std::string_view text, void *record, std::string &reason) const
{
    const FieldDef &f = target.def();
    if (!validUtf8(text)) {
        reason = header + ": the text is not UTF-8";
        return false;
    }
    // A field cannot hold a NUL: it would cut the text short unseen.
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        reason = header + ": " + quotedValue(text.substr(0, nul)) +
                 " is followed by a NUL character, which no field holds";
        return false;
    }
    if (f.isText()) {
        const std::string_view value = trimRight(textOfCell(text));
        if (!choices.empty() && !value.empty() &&
            std::find(choices.begin(), choices.end(), value) == choices.end()) {
            reason = header + ": " + quotedValue(value) + " is not one of " + joined(choices);
            return false;
        }
        const std::size_t width = picture && picture->kind == PictureKind::Text
                                      ? std::size_t(picture->width)
                                      : std::size_t(f.size);
        if (utf8Length(value) > width) {
            reason = header + ": " + quotedValue(value) + " is longer than " +
                     std::to_string(width) + " characters";
            return false;
        }
        field::setText(f, record, value);
        return true;
    }
    std::optional<std::int64_t> value;
    if (picture && picture->kind == PictureKind::Number) {
        if (const auto v = parse(text, *picture)) {
            if (const auto *whole = std::get_if<std::int64_t>(&*v))
                value = f.type == FieldType::Decimal ? *whole * 100 : *whole;
            else if (const auto *cents = std::get_if<Hundredths>(&*v))
                value = f.type == FieldType::Decimal ? cents->cents : cents->cents / 100;
        }
    } else if (picture) {
        // A date or time as its entry shows it; blank for none.
        if (const auto v = parse(text, *picture))
            if (const auto *whole = std::get_if<std::int64_t>(&*v)) value = *whole;
    } else {
        // A number no form edits: its plain digits.
        std::int64_t n = 0;
        std::string_view t = trimRight(text);
        while (!t.empty() && t.front() == ' ')
            t.remove_prefix(1);
        if (t.empty())
            value = 0;
        else if (auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
                 ec == std::errc() && end == t.data() + t.size())
            value = n;
    }
    if (!value || !valueRange(f).holds(*value)) {
        reason = header + ": " + quotedValue(text) + " is not a value the field takes";
        return false;
    }
    field::setInteger(f, record, *value);
    return true;
}

} // namespace hk
