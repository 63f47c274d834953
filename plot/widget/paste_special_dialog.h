#pragma once
// The Paste Special dialog: the ways the clipboard's data can be pasted
// (an embedded object, a link, a picture, a bitmap), one to pick.

#include "plot/widget/annotation_transfer.h"

#include <QDialog>

#include <optional>

class QListWidget;

namespace halvex {

class PasteSpecialDialog final : public QDialog {
public:
    PasteSpecialDialog(std::vector<PasteChoice> choices, QWidget* parent = nullptr);
    // The way picked, once the dialog was accepted.
    std::optional<PasteAs> choice() const;
    QListWidget* list() const noexcept { return list_; }

private:
    std::vector<PasteChoice> choices_;
    QListWidget* list_;
};

} // namespace halvex
