#include "viewer/ui/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace tavrin {

namespace {

QString trimSpaces(QString s)
{
    int b = 0, e = static_cast<int>(s.size());
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

QString fileNamePart(const QString& path)
{
    int slash = static_cast<int>(path.lastIndexOf(u'/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString folderPart(const QString& path)
{
    int slash = static_cast<int>(path.lastIndexOf(u'/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

QString extensionOf(const QString& path)
{
    QString name = fileNamePart(path);
    int dot = static_cast<int>(name.lastIndexOf(u'.'));
    return dot < 0 ? QString() : name.mid(dot);
}

QString runDialog(QWidget* parent, bool save, QString startDir, QString startName, QString filter, QString title)
{
    startDir = trimSpaces(startDir);
    startName = trimSpaces(startName);
    filter = trimSpaces(filter);
    title = trimSpaces(title);

    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    // Without a start folder the start name's folder part is the folder.
    QString folder = startDir.isEmpty() ? folderPart(startName) : startDir;
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    QString name = fileNamePart(startName);
    QStringList filters = ToQtFilters(BuildFileFilter(filter, startName));
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.front());
    // A wildcard in the name box only restates the filter.
    if (!name.isEmpty() && !name.contains(u'*') && !name.contains(u'?'))
        dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return trimSpaces(dialog.selectedFiles().front());
}

} // namespace

QString BuildFileFilter(const QString& filter, const QString& startName)
{
    QString list;
    if (!filter.isEmpty()) {
        list = QStringLiteral("Файлы типа ") + filter;
    } else {
        QString ext = extensionOf(startName);
        if (!ext.isEmpty())
            list = QStringLiteral("Файлы типа *") + ext + QStringLiteral("|*") + ext;
    }
    if (!list.isEmpty())
        list += u'|';
    list += QStringLiteral("Все файлы|*.*");
    return list;
}

QStringList ToQtFilters(const QString& delphiStyle)
{
    QStringList parts = delphiStyle.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1].trimmed();
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        pattern.replace(u';', u' ');
        out << parts[i].trimmed() + QStringLiteral(" (") + pattern + u')';
    }
    return out;
}

QString SelectFile(QWidget* parent, QString startDir, QString startName, QString filter, QString title)
{
    return runDialog(parent, false, std::move(startDir), std::move(startName), std::move(filter), std::move(title));
}

QString SelectFileForSave(QWidget* parent, QString startDir, QString startName, QString filter, QString title)
{
    return runDialog(parent, true, std::move(startDir), std::move(startName), std::move(filter), std::move(title));
}

} // namespace tavrin
