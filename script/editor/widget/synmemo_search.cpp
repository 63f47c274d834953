#include "script/editor/widget/synmemo_search.h"

#include "script/editor/widget/font_lookup.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace script::editor {

TfsSynMemoSearch::TfsSynMemoSearch(QWidget* parent) : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("TfsSynMemoSearch"));
    setWindowTitle(QStringLiteral("Search"));
    setFont(QFont(SubstituteFamily(QStringLiteral("Tahoma")), 8));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Text to find"), this));
    edit_ = new QLineEdit(this);
    edit_->setMinimumWidth(240);
    layout->addWidget(edit_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    search_ = new QPushButton(QStringLiteral("Search"), this);
    search_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(search_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(search_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TfsSynMemoSearch::FindText() const
{
    return edit_->text();
}

void TfsSynMemoSearch::SetFindText(const QString& text)
{
    edit_->setText(text);
    edit_->selectAll();
}

void TfsSynMemoSearch::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    edit_->setFocus();
}

} // namespace script::editor
