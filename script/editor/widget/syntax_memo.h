#pragma once
// TfsSyntaxMemo: the script editor control. A thin window over the
// editor model: it draws the model (fixed character cells, gutter with
// bookmarks, footer with the position or a message, caret), turns keys and
// mouse into the model's commands, and uses the system clipboard.
//
// Text crosses the interface as copies: Lines() hands out the lines,
// SetLines() replaces them (and resets the editor). Texts are code page
// 1251 bytes, or QString where the name says so.

#include "script/editor/syntax_type.h"
#include "script/editor/widget/memo_painter.h"
#ifndef Q_MOC_RUN // the meta-object compiler cannot read <compare>
#include "script/editor/text_position.h"
#endif

#include <QAbstractScrollArea>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QMenu;
class QTimer;

namespace script::editor {

class EditorModel;
class TfsSynMemoSearch;

class TfsSyntaxMemo : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TfsSyntaxMemo(QWidget* parent = nullptr);
    ~TfsSyntaxMemo() override;

    // --- Text -------------------------------------------------------
    // A copy of the lines, trailing blanks removed.
    std::vector<std::string> Lines() const;
    // Replaces the text: the undo list is cleared, the cursor goes to the
    // start, no OnChange. A text over 16 MB is refused (false; the footer
    // says so).
    bool SetLines(std::vector<std::string> lines);
    // The lines joined with CR LF after each.
    std::string Text1251() const;
    bool SetText1251(std::string_view text);
    QString Text() const;
    bool SetText(const QString& text);
    // Reads or writes a script file (code page 1251; written safely).
    bool LoadFromFile(const QString& path, QString* error = nullptr);
    bool SaveToFile(const QString& path, QString* error = nullptr) const;
    int LineCount() const;

    // --- Properties -------------------------------------------------
    TSyntaxType SyntaxType() const;
    void SetSyntaxType(TSyntaxType type);
    bool ReadOnly() const;
    void SetReadOnly(bool on);
    // Set by every editing command; the host clears it after loading,
    // generating or saving a text.
    bool Modified() const;
    void SetModified(bool on);
    bool ShowFooter() const noexcept { return showFooter_; }
    void SetShowFooter(bool on);
    bool ShowGutter() const noexcept { return showGutter_; }
    void SetShowGutter(bool on);
    QColor BlockColor() const { return look_.blockColor; }
    void SetBlockColor(const QColor& color);
    QColor BlockFontColor() const { return look_.blockFontColor; }
    void SetBlockFontColor(const QColor& color);
    TfsFontAttr CommentAttr() const { return attrs_[LookSlot(CharAttr::Comment)]; }
    void SetCommentAttr(const TfsFontAttr& attr) { setAttr(CharAttr::Comment, attr); }
    TfsFontAttr KeywordAttr() const { return attrs_[LookSlot(CharAttr::Keyword)]; }
    void SetKeywordAttr(const TfsFontAttr& attr) { setAttr(CharAttr::Keyword, attr); }
    TfsFontAttr StringAttr() const { return attrs_[LookSlot(CharAttr::String)]; }
    void SetStringAttr(const TfsFontAttr& attr) { setAttr(CharAttr::String, attr); }
    TfsFontAttr TextAttr() const { return attrs_[LookSlot(CharAttr::Text)]; }
    void SetTextAttr(const TfsFontAttr& attr) { setAttr(CharAttr::Text, attr); }
    // A menu of the host's own, shown on a right click instead of the
    // editor's "Cut", "Copy", "Paste" (nullptr: the editor's).
    QMenu* PopupMenu() const noexcept { return popup_; }
    void SetPopupMenu(QMenu* menu) noexcept { popup_ = menu; }

    // --- Cursor, messages -------------------------------------------
    // Places the cursor (clamped to the text) and scrolls it into view;
    // a compile error's line and column go here.
    void SetPos(long column, long line);
    long CaretLine() const;
    long CaretColumn() const;
    // A message in the footer until the cursor next moves.
    void ShowMessage(const QString& message);
    // What the footer shows now.
    QString FooterText() const;

    // --- Commands ---------------------------------------------------
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Undo();
    void SelectAll();
    // Opens the search dialog and searches for what was typed.
    void ShowSearchDialog();
    bool Find(const QString& text, bool matchCase = false, bool backward = false);
    int ReplaceAll(const QString& text, const QString& with, bool matchCase = false);

    // The cell metrics: line height and cell width in pixels, and whether
    // the font draws every character in the same width.
    int LineHeight() const noexcept { return geometry_.lineHeight; }
    int CellWidth() const noexcept { return geometry_.cellWidth; }
    bool Monospace() const noexcept { return geometry_.monospace; }
    int VisibleRows() const;

    // The model behind the window, for reading its state.
    const EditorModel& Model() const noexcept { return *model_; }

signals:
    // After every change made by an editing command.
    void OnChange();
    // The cursor moved (line and column from 1).
    void CaretMoved(long line, long column);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Keys: true when the editor used the key.
    bool handleKey(QKeyEvent* event);
    bool handleShortcut(char key, bool shift);
    // After every command: the view, the scroll bar, the caret, a repaint.
    void refresh();
    void measureFont();
    void rebuildLook();
    void setAttr(CharAttr slot, const TfsFontAttr& attr);
    void updateViewSize();
    void syncScrollBar();
    TextPos cellAt(const QPoint& point) const;
    void restartCaret();

    std::unique_ptr<EditorModel> model_;
    MemoLook look_;
    std::array<TfsFontAttr, 4> attrs_;
    MemoGeometry geometry_;
    std::vector<CharAttr> scratch_;
    QTimer* caretTimer_ = nullptr;
    bool caretOn_ = false;
    bool showFooter_ = false;
    bool showGutter_ = false;
    bool dragging_ = false;
    int wheelRest_ = 0;
    QMenu* popup_ = nullptr;
    TextPos lastCaret_;
};

} // namespace script::editor
