#include "plot/widget/paste_special_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace halvex {

PasteSpecialDialog::PasteSpecialDialog(std::vector<PasteChoice> choices, QWidget* parent)
    : QDialog(parent), choices_(std::move(choices)), list_(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Paste Special"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("&As:"), this));
    for (const PasteChoice& c : choices_)
        list_->addItem(c.text);
    if (!choices_.empty())
        list_->setCurrentRow(0);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Paste"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!choices_.empty());
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

std::optional<PasteAs> PasteSpecialDialog::choice() const
{
    int row = list_->currentRow();
    if (result() != QDialog::Accepted || row < 0 || row >= int(choices_.size()))
        return std::nullopt;
    return choices_[std::size_t(row)].as;
}

} // namespace halvex
