#pragma once
// The About box: product caption, version, status, notes and a link to the
// user's manual.

#include <QDialog>

class QLabel;

namespace tavrin {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    void setVersionText(const QString& text);
    QString versionText() const;

private:
    QLabel* version_ = nullptr;
};

} // namespace tavrin
