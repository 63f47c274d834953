#include "viewer/ui/qt_host_dialogs.h"

#include "platform/text/cp1251.h"
#include "script/binding/host_ui.h"
#include "viewer/ui/file_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tavrin {

namespace {

QString fromCp1251(const std::string& s)
{
    return QString::fromStdString(platform::cp1251ToUtf8(s));
}

QString joined(const std::vector<std::string>& lines)
{
    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& l : lines)
        out << fromCp1251(l);
    return out.join(QLatin1Char('\n'));
}

// A read-only view of lines with OK and Cancel.
bool showLines(QWidget* parent, const QString& caption, const QString& head, const QString& text)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    if (!head.isEmpty())
        layout->addWidget(new QLabel(head, &dialog));
    auto* view = new QPlainTextEdit(text, &dialog);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFont(QStringLiteral("Courier New"), 10));
    layout->addWidget(view);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(600, 450);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

bool QtHostDialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    return script::HostUi().InputQuery(caption, prompt, value);
}

std::string QtHostDialogs::SelectFile(const std::string& startDir, const std::string& startName,
                                      const std::string& filter, const std::string& title)
{
    QString chosen = tavrin::SelectFile(parent_, fromCp1251(startDir), fromCp1251(startName), fromCp1251(filter),
                                        fromCp1251(title));
    if (chosen.isEmpty())
        return {};
    std::string name;
    if (!PathToCp1251(chosen.toStdString(), name)) {
        // A name that would come back with "?" leads a later write to
        // another file.
        QMessageBox::warning(parent_, QStringLiteral("Tavrin"),
                             QStringLiteral("Имя файла \"%1\" содержит символы, которые скрипт не может сохранить. "
                                            "Выберите другой файл.")
                                 .arg(chosen));
        return {};
    }
    return name;
}

int QtHostDialogs::MessageDlg(const std::string& text, int kind, int buttons)
{
    return script::HostUi().MessageDlg(text, kind, buttons);
}

bool QtHostDialogs::ListView(const std::string& head, const std::vector<std::string>& lines)
{
    return showLines(parent_, fromCp1251(head), QString(), joined(lines));
}

bool QtHostDialogs::TextView(const std::string& caption, const std::string& head, const std::vector<std::string>& text,
                             const std::vector<std::string>&)
{
    return showLines(parent_, fromCp1251(caption), fromCp1251(head), joined(text));
}

void QtHostDialogs::MessageBeep(int)
{
    QApplication::beep();
}

void QtHostDialogs::ProcessMessages()
{
    QCoreApplication::processEvents();
}

} // namespace tavrin
