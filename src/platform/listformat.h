// List formats: the column descriptions of a list control, one string for all
// columns, e.g. "44R(1)|M~Location No~C(0)@n10@#1#155L(1)|M~Location~C(0)@s30@#2#".
//
// Each column reads, in this order (all but the width may be left out):
//   width          in dialog units
//   L R C D        alignment (left, right, centred, on the decimal point),
//   (n)            with its indent in dialog units
//   modifiers      |  right border line     M  resizable
//                  _  underline             F  fixed (never scrolls sideways)
//                  /  last column on its line   ?  locator column
//                  Y  a style field follows       *  four colour fields follow
//                  I  an icon field follows       T  a tree-level field follows
//                  P  a tooltip field follows
//   ~header~       the header text, followed by its own alignment and indent
//   @picture@      the display picture (see picture.h)
//   #n#            the number of the row-entry field the column shows
// A column without #n# shows the field after the previous column's field and
// the extra fields its modifiers add (Y, I, T, P one each, * four), starting
// from field 1. A header without its own alignment takes the column's.
#pragma once

#include "platform/picture.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hk
{

enum class ColumnAlign { Left, Right, Center, Decimal };

struct ListColumn {
    int width = 0;
    ColumnAlign align = ColumnAlign::Left;
    int indent = 0;
    bool rightBorder = false;
    bool resizable = false;
    bool underline = false;
    bool fixed = false;
    bool lastOnLine = false;
    bool locator = false;
    bool styleField = false;
    bool colourFields = false;
    bool iconField = false;
    bool treeField = false;
    bool tipField = false;
    std::string header;
    ColumnAlign headerAlign = ColumnAlign::Left;
    int headerIndent = 0;
    std::optional<Picture> picture;
    int field = 0;              // 1-based row-entry field shown
    bool explicitField = false; // given as #n#

    friend bool operator==(const ListColumn &, const ListColumn &) = default;
};

struct ListFormat {
    std::vector<ListColumn> columns;

    // The columns of text; on bad text nothing, with a message naming the
    // position (0-based) and what was wrong in *error when given.
    static std::optional<ListFormat> parse(std::string_view text, std::string *error = nullptr);
    // For formats written into the program's own layouts: bad text is a
    // programming error and throws std::invalid_argument.
    static ListFormat of(std::string_view text);
    // Written back in the same notation; parse(toString()) gives the same
    // columns.
    std::string toString() const;

    // The column that shows the given field, or -1.
    int columnOfField(int field) const;
};

} // namespace hk
