#include "script/editor/widget/syntax_memo.h"

#include "script/editor/editor_model.h"
#include "script/editor/widget/font_lookup.h"
#include "script/editor/widget/memo_keys.h"
#include "script/editor/widget/synmemo_search.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <exception>

namespace script::editor {

namespace {

// The clipboard of this system ends lines with LF; the editor's text
// joins them with CR LF.
QString toClipboard(const std::string& text)
{
    QString out = QStringFrom1251(text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

// The shortcut letters and digits the editor answers to, with Control.
bool isShortcutKey(char k) noexcept
{
    return (k >= '0' && k <= '9') || (k != 0 && std::string_view("ACFIUVXYZ").find(k) != std::string_view::npos);
}

// Runs an event's work; an exception (out of memory) ends in the footer
// instead of crossing the event handler.
template <class F>
void guarded(EditorModel& model, F&& work) noexcept
{
    try {
        work();
    } catch (const std::exception& e) {
        try {
            model.showMessage(e.what());
        } catch (...) {
        }
    }
}

bool isEditingKey(int key) noexcept
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Insert:
    case Qt::Key_F3: return true;
    default: return false;
    }
}

} // namespace

TfsSyntaxMemo::TfsSyntaxMemo(QWidget* parent) : QAbstractScrollArea(parent), model_(std::make_unique<EditorModel>())
{
    model_->onChange = [this] { emit OnChange(); };
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(1);

    const QPalette pal = palette();
    const QColor windowText = pal.color(QPalette::Text);
    const QColor navy(0, 0, 128);
    attrs_[LookSlot(CharAttr::Text)] = TfsFontAttr{windowText};
    attrs_[LookSlot(CharAttr::Comment)] = TfsFontAttr{navy, false, true};
    attrs_[LookSlot(CharAttr::Keyword)] = TfsFontAttr{windowText, true};
    attrs_[LookSlot(CharAttr::String)] = TfsFontAttr{navy};
    look_.background = pal.color(QPalette::Base);
    look_.blockColor = pal.color(QPalette::Highlight);
    look_.blockFontColor = pal.color(QPalette::HighlightedText);
    look_.buttonFace = pal.color(QPalette::Button);
    look_.buttonHighlight = pal.color(QPalette::Light);
    const QString tahoma = SubstituteFamily(QStringLiteral("Tahoma"));
    look_.gutterFont = QFont(tahoma, 7, QFont::Bold);
    look_.footerFont = QFont(tahoma, 8);
    look_.messageFont = QFont(tahoma, 8, QFont::Bold);

    caretTimer_ = new QTimer(this);
    caretTimer_->setInterval(std::max(100, QApplication::cursorFlashTime() / 2));
    connect(caretTimer_, &QTimer::timeout, this, [this] {
        caretOn_ = !caretOn_;
        viewport()->update();
    });

    // Setting the font measures the cells and builds the look.
    setFont(QFont(SubstituteFamily(QStringLiteral("Courier New")), 10));
    rebuildLook();
    measureFont();
    if (parent)
        showFooter_ = showGutter_ = true;
    resize(200, 200);
    refresh();
}

TfsSyntaxMemo::~TfsSyntaxMemo() = default;

// --- Text --------------------------------------------------------------

std::vector<std::string> TfsSyntaxMemo::Lines() const
{
    return model_->lines();
}

bool TfsSyntaxMemo::SetLines(std::vector<std::string> lines)
{
    bool ok = model_->setLines(std::move(lines));
    refresh();
    return ok;
}

std::string TfsSyntaxMemo::Text1251() const
{
    return model_->text();
}

bool TfsSyntaxMemo::SetText1251(std::string_view text)
{
    bool ok = model_->setText(text);
    refresh();
    return ok;
}

QString TfsSyntaxMemo::Text() const
{
    return QStringFrom1251(model_->text());
}

bool TfsSyntaxMemo::SetText(const QString& text)
{
    return SetText1251(To1251(text));
}

bool TfsSyntaxMemo::LoadFromFile(const QString& path, QString* error)
{
    std::string message;
    bool ok = model_->loadFile(path.toStdString(), &message);
    if (!ok && error)
        *error = QString::fromStdString(message);
    refresh();
    return ok;
}

bool TfsSyntaxMemo::SaveToFile(const QString& path, QString* error) const
{
    std::string message;
    bool ok = model_->saveFile(path.toStdString(), &message);
    if (!ok && error)
        *error = QString::fromStdString(message);
    return ok;
}

int TfsSyntaxMemo::LineCount() const
{
    return int(model_->lineCount());
}

// --- Properties --------------------------------------------------------

TSyntaxType TfsSyntaxMemo::SyntaxType() const
{
    return model_->syntaxType();
}

void TfsSyntaxMemo::SetSyntaxType(TSyntaxType type)
{
    model_->setSyntaxType(type);
    viewport()->update();
}

bool TfsSyntaxMemo::ReadOnly() const
{
    return model_->readOnly();
}

void TfsSyntaxMemo::SetReadOnly(bool on)
{
    model_->setReadOnly(on);
}

bool TfsSyntaxMemo::Modified() const
{
    return model_->modified();
}

void TfsSyntaxMemo::SetModified(bool on)
{
    model_->setModified(on);
}

void TfsSyntaxMemo::SetShowFooter(bool on)
{
    showFooter_ = on;
    refresh();
}

void TfsSyntaxMemo::SetShowGutter(bool on)
{
    showGutter_ = on;
    refresh();
}

void TfsSyntaxMemo::SetBlockColor(const QColor& color)
{
    look_.blockColor = color;
    viewport()->update();
}

void TfsSyntaxMemo::SetBlockFontColor(const QColor& color)
{
    look_.blockFontColor = color;
    viewport()->update();
}

void TfsSyntaxMemo::setAttr(CharAttr slot, const TfsFontAttr& attr)
{
    attrs_[LookSlot(slot)] = attr;
    rebuildLook();
    model_->rehighlight();
    viewport()->update();
}

void TfsSyntaxMemo::rebuildLook()
{
    for (std::size_t slot = 0; slot < attrs_.size(); ++slot) {
        QFont f = font();
        f.setBold(attrs_[slot].bold);
        f.setItalic(attrs_[slot].italic);
        f.setUnderline(attrs_[slot].underline);
        look_.fonts[slot] = f;
        look_.colors[slot] = attrs_[slot].color;
    }
}

void TfsSyntaxMemo::measureFont()
{
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics plainMetrics(font());
    geometry_.lineHeight = std::max(1, boldMetrics.height());
    geometry_.cellWidth = std::max(1, boldMetrics.horizontalAdvance(QChar('W')));
    geometry_.ascent = boldMetrics.ascent();
    // Fixed pitch when narrow and wide characters, plain and bold, all
    // advance by one cell.
    bool fixed = true;
    for (QChar c : QStringLiteral("iW.m\x0416")) {
        fixed = fixed && boldMetrics.horizontalAdvance(c) == geometry_.cellWidth &&
                plainMetrics.horizontalAdvance(c) == geometry_.cellWidth;
    }
    geometry_.monospace = fixed;
}

// --- Cursor, messages --------------------------------------------------

void TfsSyntaxMemo::SetPos(long column, long line)
{
    model_->setPos(column, line);
    refresh();
}

long TfsSyntaxMemo::CaretLine() const
{
    return model_->cursor().line;
}

long TfsSyntaxMemo::CaretColumn() const
{
    return model_->cursor().column;
}

void TfsSyntaxMemo::ShowMessage(const QString& message)
{
    model_->showMessage(To1251(message));
    viewport()->update();
}

QString TfsSyntaxMemo::FooterText() const
{
    return script::editor::FooterText(*model_);
}

int TfsSyntaxMemo::VisibleRows() const
{
    return int(model_->visibleRows());
}

// --- Commands ----------------------------------------------------------

void TfsSyntaxMemo::CopyToClipboard()
{
    guarded(*model_, [&] {
        if (model_->hasSelection())
            QApplication::clipboard()->setText(toClipboard(model_->selectedText()));
    });
}

void TfsSyntaxMemo::CutToClipboard()
{
    if (!model_->hasSelection() || model_->readOnly())
        return;
    guarded(*model_, [&] { QApplication::clipboard()->setText(toClipboard(model_->cut())); });
    refresh();
}

void TfsSyntaxMemo::PasteFromClipboard()
{
    guarded(*model_, [&] { model_->insertText(To1251(QApplication::clipboard()->text())); });
    refresh();
}

void TfsSyntaxMemo::Undo()
{
    model_->undo();
    refresh();
}

void TfsSyntaxMemo::SelectAll()
{
    model_->selectAll();
    refresh();
}

void TfsSyntaxMemo::ShowSearchDialog()
{
    TfsSynMemoSearch dialog(this);
    dialog.SetFindText(QStringFrom1251(model_->lastSearchText()));
    const int result = dialog.exec();
    const std::string text = To1251(dialog.FindText());
    model_->setLastSearchText(text);
    if (result == QDialog::Accepted)
        model_->find(text);
    refresh();
}

bool TfsSyntaxMemo::Find(const QString& text, bool matchCase, bool backward)
{
    bool found = model_->find(To1251(text), SearchOptions{matchCase, backward});
    refresh();
    return found;
}

int TfsSyntaxMemo::ReplaceAll(const QString& text, const QString& with, bool matchCase)
{
    std::size_t n = model_->replaceAll(To1251(text), To1251(with), matchCase);
    refresh();
    return int(n);
}

// --- View --------------------------------------------------------------

void TfsSyntaxMemo::updateViewSize()
{
    geometry_.gutter = showGutter_ ? kGutterWidth : 0;
    geometry_.footer = showFooter_ ? kFooterHeight : 0;
    const QSize size = viewport()->size();
    model_->setViewSize((size.height() - geometry_.footer) / geometry_.lineHeight,
                        (size.width() - geometry_.gutter) / geometry_.cellWidth);
}

void TfsSyntaxMemo::syncScrollBar()
{
    QScrollBar* bar = verticalScrollBar();
    const int count = int(model_->lineCount());
    const int rows = int(model_->visibleRows());
    bar->setRange(0, std::max(0, count - 1));
    bar->setPageStep(rows);
    bar->setValue(int(model_->topLine()));
    const Qt::ScrollBarPolicy policy = count > rows ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
}

void TfsSyntaxMemo::refresh()
{
    updateViewSize();
    syncScrollBar();
    restartCaret();
    viewport()->update();
    const TextPos caret = model_->cursor();
    if (caret != lastCaret_) {
        lastCaret_ = caret;
        emit CaretMoved(caret.line, caret.column);
    }
}

void TfsSyntaxMemo::restartCaret()
{
    caretOn_ = true;
    if (hasFocus())
        caretTimer_->start();
}

TextPos TfsSyntaxMemo::cellAt(const QPoint& point) const
{
    return TextPos{point.y() / geometry_.lineHeight + model_->topLine() + 1,
                   (point.x() - geometry_.gutter) / geometry_.cellWidth + model_->leftColumn() + 1};
}

// --- Events ------------------------------------------------------------

void TfsSyntaxMemo::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    geometry_.size = viewport()->size();
    geometry_.caret = hasFocus() && caretOn_;
    guarded(*model_, [&] { PaintMemo(painter, *model_, look_, geometry_, scratch_); });
}

void TfsSyntaxMemo::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateViewSize();
    syncScrollBar();
}

void TfsSyntaxMemo::scrollContentsBy(int, int)
{
    model_->scrollTo(verticalScrollBar()->value());
    viewport()->update();
}

void TfsSyntaxMemo::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // A family this system lacks ("Courier New") is drawn in the one
        // fontconfig offers for it.
        const QString family = SubstituteFamily(font().family());
        if (family != font().family()) {
            QFont f = font();
            f.setFamily(family);
            setFont(f);
            return;
        }
        rebuildLook();
        measureFont();
        refresh();
    } else if (event->type() == QEvent::ParentChange && parentWidget() && !showFooter_ && !showGutter_) {
        showFooter_ = showGutter_ = true;
        refresh();
    }
}

bool TfsSyntaxMemo::focusNextPrevChild(bool)
{
    return false; // Tab is the editor's own key
}

bool TfsSyntaxMemo::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // The editor's keys reach it before the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (isEditingKey(key->key()) ||
            (ctrl && isShortcutKey(ShortcutKeyOf(key->key(), key->nativeScanCode(),
                                                 key->modifiers() & Qt::ShiftModifier)))) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TfsSyntaxMemo::keyPressEvent(QKeyEvent* event)
{
    bool used = false;
    try {
        used = handleKey(event);
    } catch (const std::exception& e) {
        model_->showMessage(e.what());
        used = true;
    }
    if (!used) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    refresh();
}

bool TfsSyntaxMemo::handleKey(QKeyEvent* event)
{
    EditorModel& m = *model_;
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Left: m.move(ctrl ? Motion::WordLeft : Motion::Left, shift); return true;
    case Qt::Key_Right: m.move(ctrl ? Motion::WordRight : Motion::Right, shift); return true;
    case Qt::Key_Up: m.move(Motion::Up, shift); return true;
    case Qt::Key_Down: m.move(Motion::Down, shift); return true;
    case Qt::Key_Home: m.move(ctrl ? Motion::TextStart : Motion::Home, shift); return true;
    case Qt::Key_End: m.move(ctrl ? Motion::TextEnd : Motion::End, shift); return true;
    case Qt::Key_PageUp: m.move(Motion::PageUp, shift); return true;
    case Qt::Key_PageDown: m.move(Motion::PageDown, shift); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!shift)
            m.newLine();
        return true;
    case Qt::Key_Tab:
        if (!ctrl)
            m.tab();
        return true;
    case Qt::Key_Backtab: return true;
    case Qt::Key_Backspace: m.backspace(); return true;
    case Qt::Key_Delete:
        if (shift)
            CutToClipboard();
        else
            m.deleteForward();
        return true;
    case Qt::Key_Insert:
        if (ctrl)
            CopyToClipboard();
        else if (shift)
            PasteFromClipboard();
        return true;
    case Qt::Key_F3:
        if (m.lastSearchText().empty())
            ShowSearchDialog();
        else
            m.findNext();
        return true;
    default: break;
    }
    if (ctrl) {
        const char key = ShortcutKeyOf(event->key(), event->nativeScanCode(), shift);
        return isShortcutKey(key) && handleShortcut(key, shift);
    }
    if (mods & Qt::AltModifier)
        return false;
    std::string typed;
    if (!TypedText1251(event->text(), typed)) {
        QApplication::beep(); // no place in the code page: refused
        return true;
    }
    if (typed.empty())
        return false;
    m.insertText(typed);
    return true;
}

bool TfsSyntaxMemo::handleShortcut(char key, bool shift)
{
    EditorModel& m = *model_;
    if (key >= '0' && key <= '9') {
        if (shift)
            m.toggleBookmark(key - '0');
        else
            m.gotoBookmark(key - '0');
        return true;
    }
    if (shift)
        return false;
    switch (key) {
    case 'A': m.selectAll(); return true;
    case 'C': CopyToClipboard(); return true;
    case 'F': ShowSearchDialog(); return true;
    case 'I': m.indentBlock(); return true;
    case 'U': m.unindentBlock(); return true;
    case 'V': PasteFromClipboard(); return true;
    case 'X': CutToClipboard(); return true;
    case 'Y': m.deleteLine(); return true;
    case 'Z': m.undo(); return true;
    default: return false;
    }
}

void TfsSyntaxMemo::mousePressEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::MiddleButton && !(button == Qt::RightButton && popup_))
        return;
    setFocus(Qt::MouseFocusReason);
    const TextPos cell = cellAt(event->position().toPoint());
    guarded(*model_, [&] {
        if (button == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier))
            model_->dragTo(cell);
        else
            model_->clickAt(cell);
    });
    dragging_ = button != Qt::RightButton;
    refresh();
}

void TfsSyntaxMemo::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_ || !(event->buttons() & (Qt::LeftButton | Qt::MiddleButton)))
        return;
    model_->dragTo(cellAt(event->position().toPoint()));
    refresh();
}

void TfsSyntaxMemo::mouseReleaseEvent(QMouseEvent*)
{
    dragging_ = false;
}

void TfsSyntaxMemo::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    guarded(*model_, [&] {
        model_->clickAt(cellAt(event->position().toPoint()));
        model_->selectWordAtCursor();
    });
    refresh();
}

void TfsSyntaxMemo::wheelEvent(QWheelEvent* event)
{
    // One line a notch.
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / 120;
    wheelRest_ %= 120;
    if (notches != 0) {
        model_->scrollTo(model_->topLine() - notches);
        syncScrollBar();
        viewport()->update();
    }
    event->accept();
}

void TfsSyntaxMemo::contextMenuEvent(QContextMenuEvent* event)
{
    if (popup_) {
        popup_->exec(event->globalPos());
        return;
    }
    QMenu menu(this);
    QAction* cut = menu.addAction(QStringLiteral("Cut"), this, &TfsSyntaxMemo::CutToClipboard);
    QAction* copy = menu.addAction(QStringLiteral("Copy"), this, &TfsSyntaxMemo::CopyToClipboard);
    QAction* paste = menu.addAction(QStringLiteral("Paste"), this, &TfsSyntaxMemo::PasteFromClipboard);
    cut->setEnabled(model_->hasSelection() && !model_->readOnly());
    copy->setEnabled(model_->hasSelection());
    paste->setEnabled(!model_->readOnly() && !QApplication::clipboard()->text().isEmpty());
    menu.exec(event->globalPos());
}

void TfsSyntaxMemo::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartCaret();
    viewport()->update();
}

void TfsSyntaxMemo::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    caretTimer_->stop();
    viewport()->update();
}

} // namespace script::editor
