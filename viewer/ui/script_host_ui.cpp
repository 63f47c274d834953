#include "viewer/ui/script_host_ui.h"

#include "platform/text/cp1251.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace tavrin {

namespace {

QString qt(const std::string& cp1251)
{
    return QString::fromStdString(platform::cp1251ToUtf8(cp1251));
}

std::string engine(const QString& text)
{
    return platform::utf8ToCp1251(text.toStdString());
}

QString title()
{
    QString t = QApplication::applicationDisplayName();
    return t.isEmpty() ? QStringLiteral("Tavrin") : t;
}

} // namespace

QtScriptUi::QtScriptUi(QWidget* parent) : parent_(parent)
{
    script::SetHostUi(this);
}

QtScriptUi::~QtScriptUi()
{
    script::SetHostUi(nullptr);
}

void QtScriptUi::ShowMessage(const std::string& text)
{
    QMessageBox::information(parent_, title(), qt(text));
}

bool QtScriptUi::InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    bool ok = false;
    QString answer = QInputDialog::getText(parent_, qt(caption), qt(prompt), QLineEdit::Normal, qt(value), &ok);
    if (ok)
        value = engine(answer);
    return ok;
}

int QtScriptUi::MessageDlg(const std::string& text, int kind, int buttons)
{
    using script::TfsMessageButton;
    QMessageBox box(parent_);
    switch (kind) {
    case script::mtWarning:
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(QStringLiteral("Предупреждение"));
        break;
    case script::mtError:
        box.setIcon(QMessageBox::Critical);
        box.setWindowTitle(QStringLiteral("Ошибка"));
        break;
    case script::mtInformation:
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(QStringLiteral("Информация"));
        break;
    case script::mtConfirmation:
        box.setIcon(QMessageBox::Question);
        box.setWindowTitle(QStringLiteral("Подтверждение"));
        break;
    default:
        box.setWindowTitle(title());
        break;
    }
    box.setText(qt(text));
    struct Choice {
        int bit;
        QMessageBox::StandardButton button;
        int result;
    };
    static const Choice kChoices[] = {
        {script::mbYes, QMessageBox::Yes, script::mrYes},
        {script::mbNo, QMessageBox::No, script::mrNo},
        {script::mbOK, QMessageBox::Ok, script::mrOk},
        {script::mbCancel, QMessageBox::Cancel, script::mrCancel},
        {script::mbAbort, QMessageBox::Abort, script::mrAbort},
        {script::mbRetry, QMessageBox::Retry, script::mrRetry},
        {script::mbIgnore, QMessageBox::Ignore, script::mrIgnore},
        {script::mbNoToAll, QMessageBox::NoToAll, script::mrNoToAll},
        {script::mbYesToAll, QMessageBox::YesToAll, script::mrYesToAll},
        {script::mbHelp, QMessageBox::Help, script::mrNone},
    };
    if ((buttons & ~script::mbHelp) == 0)
        buttons |= script::mbOK;
    for (const Choice& c : kChoices)
        if (buttons & c.bit)
            box.addButton(c.button);
    QPushButton* all = nullptr;
    if (buttons & script::mbAll)
        all = box.addButton(QStringLiteral("Все"), QMessageBox::AcceptRole);
    box.exec();
    if (all && box.clickedButton() == all)
        return script::mrAll;
    QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const Choice& c : kChoices)
        if (c.button == pressed)
            return c.result;
    // Closed without a button: Cancel where there is one.
    return (buttons & script::mbCancel) ? script::mrCancel : script::mrNone;
}

void QtScriptUi::ShowError(const std::string& text)
{
    QMessageBox::critical(parent_, QStringLiteral("Ошибка"), qt(text));
}

} // namespace tavrin
