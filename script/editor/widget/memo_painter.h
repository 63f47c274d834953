#pragma once
// Drawing the editor: gutter, text in fixed character cells, footer and
// caret. Only the rows and columns on screen are touched, and the font
// changes only where the attribute does.

#include "script/editor/syntax_type.h"

#include <QColor>
#include <QFont>
#include <QSize>

#include <array>
#include <vector>

class QPainter;

namespace script::editor {

class EditorModel;

// The look of one kind of text: its colour and style; the family and size
// are the control's font.
struct TfsFontAttr {
    QColor color;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const TfsFontAttr&) const = default;
};

struct MemoLook {
    // By attribute: text, comment, keyword, string.
    std::array<QFont, 4> fonts;
    std::array<QColor, 4> colors;
    QColor background;
    QColor blockColor;
    QColor blockFontColor;
    QColor buttonFace;
    QColor buttonHighlight;
    QFont gutterFont;
    QFont footerFont;
    QFont messageFont;
};

// The slot of an attribute in MemoLook's arrays.
constexpr std::size_t LookSlot(CharAttr a) noexcept
{
    switch (a) {
    case CharAttr::Comment: return 1;
    case CharAttr::Keyword: return 2;
    case CharAttr::String: return 3;
    case CharAttr::Text: break;
    }
    return 0;
}

struct MemoGeometry {
    QSize size;          // the drawing surface
    int lineHeight = 16;
    int cellWidth = 8;
    int ascent = 12;
    bool monospace = true;
    int gutter = 0;      // 0 when hidden
    int footer = 0;      // 0 when hidden
    bool caret = false;  // draw the caret now
};

constexpr int kGutterWidth = 20;
constexpr int kFooterHeight = 20;

// The footer's text: the message, or "line : column" and four blanks.
QString FooterText(const EditorModel& model);

// attrs is scratch space kept by the caller between paints.
void PaintMemo(QPainter& painter, EditorModel& model, const MemoLook& look, const MemoGeometry& geometry,
               std::vector<CharAttr>& attrs);

} // namespace script::editor
