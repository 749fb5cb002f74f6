// How the text of one CSV cell becomes a field's value under the rule the
// form keeps for that field: its entry's picture and width, or its drop
// list's choices; a field no form edits keeps the width and range of its type.
// Times and dates are read as their entries show them ("01:30:00").
#pragma once

#include "dictionary/tables.h"
#include "forms/formdef.h"
#include "platform/picture.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hk
{

struct CsvFieldRule {
    std::string header; // named in every reason
    FieldRef target;
    std::optional<Picture> picture;
    std::vector<std::string> choices;

    // The rule of form's control for target (form may be null).
    static CsvFieldRule of(std::string header, FieldRef target, const FormDef *form);

    // Stores text into record; false with a reason ("BookValue: "abc" is not a
    // value the field takes") when it breaks the rule.
    bool store(std::string_view text, void *record, std::string &reason) const;
};

// A value as a reason shows it: in quotes, cut after 40 characters.
std::string quotedValue(std::string_view text);

} // namespace hk
