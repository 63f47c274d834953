#include "script/editor/editor_model.h"
#include "script/editor/widget/memo_keys.h"
#include "script/editor/widget/synmemo_search.h"
#include "script/editor/widget/syntax_memo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace script::editor {
namespace {

// A Control key event as the Cyrillic layout sends it: the Cyrillic letter
// as the key, the Latin key's scan code.
void sendKey(QWidget* w, int key, Qt::KeyboardModifiers mods, quint32 scanCode, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, mods, scanCode, 0, 0, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, scanCode, 0, 0, text);
    QApplication::sendEvent(w, &release);
}

// Runs `act` on the next modal dialog or popup once the event loop shows it.
void whenShown(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w)
            w = QApplication::activePopupWidget();
        act(w);
    });
}

struct Window {
    QWidget top;
    TfsSyntaxMemo* memo;
    Window()
    {
        auto* layout = new QVBoxLayout(&top);
        memo = new TfsSyntaxMemo(&top);
        layout->addWidget(memo);
        layout->addWidget(new QLineEdit(&top));
        top.resize(480, 320);
        top.show();
        memo->setFocus();
        QApplication::processEvents();
    }
};

TEST(SyntaxMemoKeys, ShortcutsGoByTheKeysPlace)
{
    EXPECT_EQ(ShortcutKeyOf(0x421, 54, false), 'C'); // С with the scan code of C
    EXPECT_EQ(ShortcutKeyOf(0x421, 0, false), 'C');  // С alone: its place on the layout
    EXPECT_EQ(ShortcutKeyOf(0x43C, 0, false), 'V');  // м, lower case
    EXPECT_EQ(ShortcutKeyOf('V', 0, false), 'V');
    EXPECT_EQ(ShortcutKeyOf('!', 10, true), '1');
    EXPECT_EQ(ShortcutKeyOf('!', 0, true), '1');
    EXPECT_EQ(ShortcutKeyOf(0x2116, 0, true), '3'); // №, Shift+3 of the Russian layout
    EXPECT_EQ(ShortcutKeyOf(';', 0, false), 0);
    EXPECT_EQ(ShortcutKeyOf(Qt::Key_Left, 113, false), 0);
    std::string typed;
    EXPECT_TRUE(TypedText1251(QString::fromUtf8("ж№"), typed));
    EXPECT_EQ(typed, "\xE6\xB9");
    EXPECT_FALSE(TypedText1251(QString::fromUtf8("中"), typed));
}

TEST(SyntaxMemo, StartsAsTheControlShould)
{
    TfsSyntaxMemo alone;
    EXPECT_FALSE(alone.ShowFooter());
    EXPECT_FALSE(alone.ShowGutter());
    EXPECT_EQ(alone.LineCount(), 1);
    EXPECT_EQ(alone.SyntaxType(), TSyntaxType::stPascal);
    EXPECT_EQ(alone.size(), QSize(200, 200));
    EXPECT_TRUE(alone.Monospace());
    EXPECT_EQ(QFontInfo(alone.font()).family(), QStringLiteral("Liberation Mono"));
    EXPECT_TRUE(alone.KeywordAttr().bold);
    EXPECT_TRUE(alone.CommentAttr().italic);
    QWidget parent;
    alone.setParent(&parent);
    EXPECT_TRUE(alone.ShowFooter());
    EXPECT_TRUE(alone.ShowGutter());
    alone.setParent(nullptr);
}

TEST(SyntaxMemo, FontChangesRemeasureTheCells)
{
    Window w;
    w.memo->SetText(QStringLiteral("begin { note } 'text' end"));
    const int height = w.memo->LineHeight();
    QFont big(QStringLiteral("Courier New"));
    big.setPixelSize(26);
    w.memo->setFont(big);
    EXPECT_EQ(w.memo->font().family(), QStringLiteral("Liberation Mono"));
    EXPECT_GT(w.memo->LineHeight(), height);
    EXPECT_TRUE(w.memo->Monospace());
    // A proportional face: every character in a cell of its own.
    w.memo->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    EXPECT_FALSE(w.memo->Monospace());
    QImage shot = w.memo->viewport()->grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

TEST(SyntaxMemo, TypingEditsAndSignals)
{
    Window w;
    QSignalSpy changes(w.memo, &TfsSyntaxMemo::OnChange);
    QTest::keyClicks(w.memo, "begin");
    QTest::keyClick(w.memo, Qt::Key_Return);
    QTest::keyClick(w.memo, Qt::Key_Space);
    QTest::keyClick(w.memo, Qt::Key_Space);
    sendKey(w.memo, 0x416, Qt::NoModifier, 47, QString::fromUtf8("ж"));
    QTest::keyClick(w.memo, Qt::Key_Return);
    EXPECT_EQ(w.memo->Lines(), (std::vector<std::string>{"begin", "  \xE6", ""}));
    EXPECT_EQ(w.memo->CaretColumn(), 3); // indented like the line above
    EXPECT_TRUE(w.memo->Modified());
    EXPECT_EQ(changes.count(), 10);
    // A character outside the code page is refused.
    sendKey(w.memo, 0x4E2D, Qt::NoModifier, 0, QString::fromUtf8("中"));
    EXPECT_EQ(w.memo->LineCount(), 3);
    EXPECT_EQ(w.memo->Lines()[2], "");
    // Tab is the editor's: the focus stays.
    QTest::keyClick(w.memo, Qt::Key_Tab); // past the text of the line above
    EXPECT_EQ(w.memo->CaretColumn(), 4);
    EXPECT_EQ(QApplication::focusWidget(), w.memo);
    // Ctrl+Z through the Cyrillic key on Z.
    sendKey(w.memo, 0x42F, Qt::ControlModifier, 52, QString::fromUtf8("я"));
    sendKey(w.memo, 0x42F, Qt::ControlModifier, 52, QString::fromUtf8("я"));
    EXPECT_EQ(w.memo->Lines(), (std::vector<std::string>{"begin", "  \xE6"}));
    w.memo->SetReadOnly(true);
    QTest::keyClicks(w.memo, "x");
    EXPECT_EQ(w.memo->Lines(), (std::vector<std::string>{"begin", "  \xE6"}));
}

TEST(SyntaxMemo, CopyAndPasteUnderTheCyrillicLayout)
{
    Window w;
    w.memo->SetText(QStringLiteral("var a;\nbegin\nend."));
    // Ctrl+Ф (the A key), Ctrl+С (the C key): select all, copy.
    sendKey(w.memo, 0x424, Qt::ControlModifier, 38, QString::fromUtf8("ф"));
    sendKey(w.memo, 0x421, Qt::ControlModifier, 54, QString::fromUtf8("с"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("var a;\nbegin\nend."));
    // Ctrl+End, then Ctrl+М (the V key): paste.
    QTest::keyClick(w.memo, Qt::Key_End, Qt::ControlModifier);
    QApplication::clipboard()->setText(QString::fromUtf8("\n// Привет\tмир"));
    sendKey(w.memo, 0x41C, Qt::ControlModifier, 55, QString::fromUtf8("м"));
    EXPECT_EQ(w.memo->Lines().back(), "// \xCF\xF0\xE8\xE2\xE5\xF2\t\xEC\xE8\xF0");
    EXPECT_EQ(w.memo->LineCount(), 4);
    // Shift+Delete cuts, Shift+Insert pastes.
    QTest::keyClick(w.memo, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(w.memo, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(w.memo->Lines().back(), "");
    QTest::keyClick(w.memo, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(w.memo->Lines().back(), "// \xCF\xF0\xE8\xE2\xE5\xF2\t\xEC\xE8\xF0");
}

TEST(SyntaxMemo, BookmarksByDigitKeys)
{
    Window w;
    w.memo->SetText(QStringLiteral("a\nb\nc\nd"));
    w.memo->SetPos(1, 3);
    // Ctrl+Shift+1 arrives as "!" (with the scan code of 1, and without).
    sendKey(w.memo, Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 10, QStringLiteral("!"));
    EXPECT_EQ(w.memo->Model().bookmarkLine(1), 2);
    w.memo->SetPos(1, 1);
    sendKey(w.memo, Qt::Key_1, Qt::ControlModifier, 10, QStringLiteral("1"));
    EXPECT_EQ(w.memo->CaretLine(), 3);
    sendKey(w.memo, Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 0, QStringLiteral("!"));
    EXPECT_EQ(w.memo->Model().bookmarkLine(1), -1);
}

TEST(SyntaxMemo, MouseClicksDragsAndTheGutter)
{
    Window w;
    w.memo->SetText(QStringLiteral("alpha beta\ngamma delta\nepsilon"));
    const int h = w.memo->LineHeight(), cw = w.memo->CellWidth();
    QWidget* vp = w.memo->viewport();
    const int x0 = kGutterWidth;
    QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(x0 + 6 * cw + 1, h + 2));
    EXPECT_EQ(w.memo->CaretLine(), 2);
    EXPECT_EQ(w.memo->CaretColumn(), 7);
    QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(x0 + 1, 2));
    QTest::mouseMove(vp, QPoint(x0 + 3 * cw + 1, h + 2));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(x0 + 3 * cw + 1, h + 2));
    EXPECT_EQ(w.memo->Model().selectedText(), "alpha beta\r\ngam");
    // A click in the gutter: column 1 of that row's line, no selection.
    QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(5, 2 * h + 2));
    EXPECT_EQ(w.memo->CaretLine(), 3);
    EXPECT_EQ(w.memo->CaretColumn(), 1);
    EXPECT_FALSE(w.memo->Model().hasSelection());
    QTest::mouseDClick(vp, Qt::LeftButton, {}, QPoint(x0 + 7 * cw + 1, 2));
    EXPECT_EQ(w.memo->Model().selectedText(), "beta");
}

TEST(SyntaxMemo, FooterShowsThePositionOrAMessage)
{
    Window w;
    w.memo->SetText(QStringLiteral("one\ntwo\nthree"));
    w.memo->SetPos(5, 3);
    EXPECT_EQ(w.memo->FooterText(), QStringLiteral("3 : 5    "));
    EXPECT_FALSE(w.memo->Find(QStringLiteral("four")));
    EXPECT_EQ(w.memo->FooterText(), QStringLiteral("Text \"four\" not found."));
    // The message strip is dark red across the bottom.
    QImage shot = w.memo->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() - 3), QColor(128, 0, 0));
    QTest::keyClick(w.memo, Qt::Key_Left);
    EXPECT_EQ(w.memo->FooterText(), QStringLiteral("3 : 4    "));
    shot = w.memo->viewport()->grab().toImage();
    EXPECT_NE(shot.pixelColor(shot.width() / 2, shot.height() - 3), QColor(128, 0, 0));
}

TEST(SyntaxMemo, DrawsSelectionAndHighlighting)
{
    Window w;
    w.memo->SetBlockColor(QColor(0, 0, 255));
    w.memo->SetText(QStringLiteral("x := 1; { comment }\nbegin"));
    w.memo->SetPos(1, 2);
    QTest::keyClick(w.memo, Qt::Key_End, Qt::ShiftModifier);
    QImage shot = w.memo->viewport()->grab().toImage();
    const int h = w.memo->LineHeight(), cw = w.memo->CellWidth();
    // The selected row is blue in the text cells; the row above is not.
    EXPECT_EQ(shot.pixelColor(kGutterWidth + 2 * cw, h + 1), QColor(0, 0, 255));
    EXPECT_NE(shot.pixelColor(kGutterWidth + 2 * cw, 1), QColor(0, 0, 255));
    // The comment is drawn in navy.
    bool navy = false;
    for (int x = kGutterWidth + 10 * cw; x < kGutterWidth + 19 * cw && !navy; ++x)
        for (int y = 0; y < h && !navy; ++y)
            navy = shot.pixelColor(x, y).blue() - shot.pixelColor(x, y).red() > 40;
    EXPECT_TRUE(navy);
}

TEST(SyntaxMemo, ScrollBarAndWheel)
{
    Window w;
    std::string text;
    for (int i = 1; i <= 1000; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    QScrollBar* bar = w.memo->verticalScrollBar();
    EXPECT_EQ(w.memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    w.memo->SetText1251(text);
    EXPECT_EQ(w.memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(bar->maximum(), 999);
    EXPECT_EQ(bar->pageStep(), w.memo->VisibleRows());
    QTest::keyClick(w.memo, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), w.memo->VisibleRows() - 1);
    EXPECT_EQ(w.memo->Model().topLine(), bar->value());
    bar->setValue(500);
    EXPECT_EQ(w.memo->Model().topLine(), 500);
    QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.memo->viewport(), &wheel);
    EXPECT_EQ(w.memo->Model().topLine(), 502); // one line a notch
    EXPECT_EQ(bar->value(), 502);
}

TEST(SyntaxMemo, SearchDialog)
{
    Window w;
    w.memo->SetText(QStringLiteral("a\nfoo\nb\nFOO"));
    whenShown([](QWidget* dialog) {
        auto* search = qobject_cast<TfsSynMemoSearch*>(dialog);
        ASSERT_NE(search, nullptr);
        EXPECT_EQ(search->windowTitle(), QStringLiteral("Search"));
        search->Edit()->setText(QStringLiteral("foo"));
        search->SearchButton()->click();
    });
    sendKey(w.memo, 0x410, Qt::ControlModifier, 41, QString::fromUtf8("а")); // Ctrl+F
    EXPECT_EQ(w.memo->CaretLine(), 2);
    QTest::keyClick(w.memo, Qt::Key_F3);
    EXPECT_EQ(w.memo->CaretLine(), 4); // Latin letters ignore case
    // Cancelled: nothing is searched, but the text is remembered.
    whenShown([](QWidget* dialog) {
        auto* search = qobject_cast<TfsSynMemoSearch*>(dialog);
        ASSERT_NE(search, nullptr);
        search->Edit()->setText(QStringLiteral("a"));
        search->reject();
    });
    w.memo->ShowSearchDialog();
    EXPECT_EQ(w.memo->CaretLine(), 4);
    EXPECT_EQ(w.memo->Model().lastSearchText(), "a");
}

TEST(SyntaxMemo, OwnContextMenu)
{
    Window w;
    w.memo->SetText(QStringLiteral("abc def"));
    w.memo->SetPos(1, 1);
    QTest::keyClick(w.memo, Qt::Key_Right, Qt::ShiftModifier);
    QApplication::clipboard()->setText(QStringLiteral("Z"));
    QStringList seen;
    whenShown([&seen](QWidget* popup) {
        auto* menu = qobject_cast<QMenu*>(popup);
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions())
            seen << a->text() + (a->isEnabled() ? "+" : "-");
        menu->actions().at(2)->trigger(); // "Paste"
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(30, 5), w.memo->viewport()->mapToGlobal(QPoint(30, 5)));
    QApplication::sendEvent(w.memo->viewport(), &event);
    EXPECT_EQ(seen, (QStringList{"Cut+", "Copy+", "Paste+"}));
    EXPECT_EQ(w.memo->Lines(), (std::vector<std::string>{"Zbc def"}));
}

} // namespace
} // namespace script::editor
