#include "script/editor/widget/memo_painter.h"

#include "platform/text/cp1251.h"
#include "script/editor/editor_model.h"
#include "script/editor/widget/memo_keys.h"

#include <QPainter>

#include <algorithm>

namespace script::editor {

namespace {

// One cell's character as drawn: tabs and control bytes are blank cells.
QChar cellChar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127)
        return QChar(' ');
    return QChar(char16_t(platform::cp1251ToUnicode(u)));
}

void paintGutter(QPainter& p, EditorModel& model, const MemoLook& look, const MemoGeometry& g, int textBottom)
{
    p.fillRect(QRect(0, 0, g.gutter - 2, g.size.height()), look.buttonFace);
    p.setPen(look.buttonHighlight);
    p.drawLine(g.gutter - 4, 0, g.gutter - 4, textBottom);
    const long count = long(model.lineCount());
    const int box = std::min(g.lineHeight - 2, 11);
    p.setFont(look.gutterFont);
    for (long row = 0; row * g.lineHeight < textBottom; ++row) {
        const long line = model.topLine() + row;
        if (line >= count)
            break;
        const int digit = model.bookmarkOn(line);
        if (digit < 0)
            continue;
        const int y = int(row) * g.lineHeight + (g.lineHeight - box) / 2;
        const QRect square(3, y, box, box);
        p.fillRect(square.translated(1, 1), Qt::black);
        p.fillRect(square, QColor(0, 128, 0));
        p.setPen(Qt::white);
        p.drawText(square, Qt::AlignCenter, QString(QChar('0' + digit)));
    }
}

void paintFooter(QPainter& p, const EditorModel& model, const MemoLook& look, const MemoGeometry& g)
{
    const int top = g.size.height() - kFooterHeight;
    if (g.footer > 0) {
        p.fillRect(QRect(0, top, g.size.width(), kFooterHeight), look.buttonFace);
        p.setPen(look.buttonHighlight);
        p.drawLine(0, top, g.size.width(), top);
    }
    if (!model.footerMessage().empty()) {
        p.fillRect(QRect(0, top, g.size.width(), kFooterHeight), QColor(128, 0, 0));
        p.setPen(Qt::white);
        p.setFont(look.messageFont);
        p.drawText(QRect(6, top, g.size.width() - 6, kFooterHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringFrom1251(model.footerMessage()));
    } else if (g.footer > 0) {
        p.setPen(Qt::black);
        p.setFont(look.footerFont);
        p.drawText(QRect(g.gutter + 4, top, g.size.width() - g.gutter - 4, kFooterHeight),
                   Qt::AlignVCenter | Qt::AlignLeft, FooterText(model));
    }
}

} // namespace

QString FooterText(const EditorModel& model)
{
    if (!model.footerMessage().empty())
        return QStringFrom1251(model.footerMessage());
    return QString::number(model.cursor().line) + QStringLiteral(" : ") + QString::number(model.cursor().column) +
           QStringLiteral("    ");
}

void PaintMemo(QPainter& p, EditorModel& model, const MemoLook& look, const MemoGeometry& g,
               std::vector<CharAttr>& attrs)
{
    const int textBottom = g.size.height() - g.footer;
    const QRect textArea(g.gutter, 0, std::max(0, g.size.width() - g.gutter), std::max(0, textBottom));
    p.fillRect(textArea, look.background);

    p.save();
    p.setClipRect(textArea);
    const long count = long(model.lineCount());
    const long left = model.leftColumn();
    // The last column or row may be partly on screen.
    const long columns = std::max(0, textArea.width() + g.cellWidth - 1) / g.cellWidth;
    QString run;
    for (long row = 0; row * g.lineHeight < textBottom; ++row) {
        const long index = model.topLine() + row;
        if (index >= count)
            break;
        const std::string& text = model.line(std::size_t(index));
        model.lineAttributes(std::size_t(index), attrs);
        const int y = int(row) * g.lineHeight;
        long col = 0;
        while (col < columns) {
            // A run: cells of one attribute and one selection state.
            const long at = left + col;
            const auto attrAt = [&](long c) { return std::size_t(c) < attrs.size() ? attrs[std::size_t(c)] : CharAttr::Text; };
            const CharAttr attr = attrAt(at);
            const bool selected = model.isSelected(TextPos{index + 1, at + 1});
            long end = col + 1;
            while (end < columns && attrAt(left + end) == attr &&
                   model.isSelected(TextPos{index + 1, left + end + 1}) == selected)
                ++end;
            const int x = g.gutter + int(col) * g.cellWidth;
            const QRect cells(x, y, int(end - col) * g.cellWidth, g.lineHeight);
            if (selected)
                p.fillRect(cells, look.blockColor);
            // Only the cells that hold text are drawn as text.
            const long textEnd = std::min<long>(left + end, long(text.size()));
            if (at < textEnd) {
                const std::size_t slot = LookSlot(attr);
                p.setFont(look.fonts[slot]);
                p.setPen(selected ? look.blockFontColor : look.colors[slot]);
                if (g.monospace) {
                    run.resize(0);
                    for (long c = at; c < textEnd; ++c)
                        run += cellChar(text[std::size_t(c)]);
                    p.drawText(x, y + g.ascent, run);
                } else {
                    for (long c = at; c < textEnd; ++c)
                        p.drawText(QRect(g.gutter + int(c - left) * g.cellWidth, y, g.cellWidth, g.lineHeight),
                                   Qt::AlignHCenter | Qt::AlignTop, QString(cellChar(text[std::size_t(c)])));
                }
            }
            col = end;
        }
    }
    if (g.caret) {
        const TextPos c = model.cursor();
        const long row = c.line - 1 - model.topLine();
        const long col = c.column - 1 - left;
        if (row >= 0 && col >= 0 && col <= columns)
            p.fillRect(QRect(g.gutter + int(col) * g.cellWidth, int(row) * g.lineHeight, 2, g.lineHeight),
                       Qt::black);
    }
    p.restore();

    if (g.gutter > 0)
        paintGutter(p, model, look, g, textBottom);
    paintFooter(p, model, look, g);
}

} // namespace script::editor
