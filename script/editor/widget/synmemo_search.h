#pragma once
// TfsSynMemoSearch: the editor's search dialog, a small tool window
// centred on the screen with one edit field. "Search" and Enter confirm;
// "Cancel" and Escape cancel.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace script::editor {

class TfsSynMemoSearch : public QDialog {
    Q_OBJECT
public:
    explicit TfsSynMemoSearch(QWidget* parent = nullptr);

    QString FindText() const;
    void SetFindText(const QString& text);
    QLineEdit* Edit() const noexcept { return edit_; }
    QPushButton* SearchButton() const noexcept { return search_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* edit_;
    QPushButton* search_;
};

} // namespace script::editor
