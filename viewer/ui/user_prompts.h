#pragma once
// What the main window asks of its user: messages, confirmations and file
// choices. The window talks to this interface so that its commands can be
// driven without anyone at the screen.

#include <QString>

class QWidget;

namespace tavrin {

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // A modal message with an OK button.
    virtual void message(const QString& text) = 0;
    // A confirmation with OK and Cancel; true for OK.
    virtual bool confirm(const QString& text) = 0;
    // An open-file dialog as SelectFile describes it; empty when cancelled.
    virtual QString selectFile(const QString& startDir, const QString& startName, const QString& filter,
                               const QString& title) = 0;
};

// The real prompts: Qt message boxes and file dialogs over a parent window.
class QtUserPrompts : public UserPrompts {
public:
    explicit QtUserPrompts(QWidget* parent) : parent_(parent) {}
    void message(const QString& text) override;
    bool confirm(const QString& text) override;
    QString selectFile(const QString& startDir, const QString& startName, const QString& filter,
                       const QString& title) override;

private:
    QWidget* parent_;
};

} // namespace tavrin
