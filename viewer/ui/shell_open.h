#pragma once
// The desktop's "open" operation on a document or address.

#include <QString>

class QWidget;

namespace tavrin {

// Opens the document (a path or an address) with the desktop's handler.
// The show state of the original call has no meaning on the desktop here
// and is accepted for compatibility. On failure, when asked, tells the user
// "Ошибка при открытии документа : " and the document's name.
bool ShellOpen(const QString& document, int showState = 0, bool reportFailure = true, QWidget* parent = nullptr);

} // namespace tavrin
