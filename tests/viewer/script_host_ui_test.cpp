// What scripts ask of the user, in the viewer's windows: the dialogs come
// up modal with the script's texts, and their answers reach the script.

#include "viewer/ui/script_host_ui.h"

#include "script/binding/host_ui.h"
#include "tests/script/run_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

using tavrin::QtScriptUi;

namespace {

// Once a modal dialog of kind T is up: answers it.
template <class T>
void answerNext(std::function<void(T*)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible()) {
            answerNext<T>(answer);
            return;
        }
        answer(w);
    });
}

} // namespace

TEST(ScriptHostUi, MessagesAndQuestionsInWindows)
{
    QtScriptUi ui;
    EXPECT_EQ(&script::HostUi(), &ui);
    QString shown;
    // Each dialog in turn: the message is read and closed, the input gets
    // its answer typed in, the question its No.
    answerNext<QMessageBox>([&](QMessageBox* box) {
        shown = box->text();
        box->accept();
        answerNext<QInputDialog>([](QInputDialog* input) {
            EXPECT_EQ(input->textValue(), "x");
            input->setTextValue(QStringLiteral("Анна"));
            input->accept();
            answerNext<QMessageBox>([](QMessageBox* box2) {
                EXPECT_EQ(box2->text(), "Sure?");
                box2->button(QMessageBox::No)->click();
            });
        });
    });
    scripttest::Program p = scripttest::Compile(
        "var a: String; r: Integer; begin ShowMessage('\xcf\xf0\xe8\xe2\xe5\xf2'); a := InputBox('T', 'Name?', 'x'); "
        "r := MessageDlg('Sure?', mtConfirmation, mbYesNoCancel, 0); end.");
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(shown, QStringLiteral("Привет"));
    EXPECT_EQ(p.Var("a"), "\xc0\xed\xed\xe0");
    EXPECT_EQ(p.Var("r"), "7"); // mrNo
}

TEST(ScriptHostUi, TheTerminalComesBackWhenTheWindowsGo)
{
    script::TfsHostUi* before = &script::HostUi();
    {
        QtScriptUi ui;
        EXPECT_EQ(&script::HostUi(), &ui);
    }
    EXPECT_EQ(&script::HostUi(), before);
}
