#include "viewer/ui/user_prompts.h"

#include "viewer/ui/file_dialogs.h"

#include <QMessageBox>

namespace tavrin {

void QtUserPrompts::message(const QString& text)
{
    QMessageBox::information(parent_, QStringLiteral("Tavrin"), text);
}

bool QtUserPrompts::confirm(const QString& text)
{
    return QMessageBox::question(parent_, QStringLiteral("Tavrin"), text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

QString QtUserPrompts::selectFile(const QString& startDir, const QString& startName, const QString& filter,
                                  const QString& title)
{
    return SelectFile(parent_, startDir, startName, filter, title);
}

} // namespace tavrin
