#include "viewer/ui/shell_open.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace tavrin {

bool ShellOpen(const QString& document, int, bool reportFailure, QWidget* parent)
{
    QString d = document.trimmed();
    QUrl url = d.contains(QStringLiteral("://")) ? QUrl(d) : QUrl::fromLocalFile(d);
    bool ok = !d.isEmpty() && url.isValid() && QDesktopServices::openUrl(url);
    if (!ok && reportFailure)
        QMessageBox::warning(parent, QStringLiteral("Tavrin"), QStringLiteral("Ошибка при открытии документа : ") + d);
    return ok;
}

} // namespace tavrin
