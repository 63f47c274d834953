#include "plot/widget/bitmap_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace halvex {

namespace {

constexpr int kResolutions[4] = {150, 300, 600, 1200};
constexpr int kDepths[3] = {8, 16, 24};

} // namespace

BitmapParametersDialog::BitmapParametersDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Bitmap Parameters"));
    setObjectName(QStringLiteral("BitmapParameters"));
    auto* resolution = new QGroupBox(QStringLiteral("Resolution"), this);
    auto* rl = new QVBoxLayout(resolution);
    const char* const resolutionText[4] = {"&150 D.P.I.", "&300 D.P.I.", "&600 D.P.I.", "1&200 D.P.I."};
    for (int i = 0; i < 4; ++i) {
        resolutions_[i] = new QRadioButton(QString::fromLatin1(resolutionText[i]), resolution);
        rl->addWidget(resolutions_[i]);
    }
    auto* colours = new QGroupBox(QStringLiteral("Colors"), this);
    auto* cl = new QVBoxLayout(colours);
    const char* const depthText[3] = {"256 Colors", "64K Colors", "16.7M Colors"};
    for (int i = 0; i < 3; ++i) {
        depths_[i] = new QRadioButton(QString::fromLatin1(depthText[i]), colours);
        cl->addWidget(depths_[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* groups = new QHBoxLayout;
    groups->addWidget(resolution);
    groups->addWidget(colours);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    choose(300, 24);
}

int BitmapParametersDialog::dpi() const
{
    for (int i = 0; i < 4; ++i)
        if (resolutions_[i]->isChecked())
            return kResolutions[i];
    return 300;
}

int BitmapParametersDialog::bits() const
{
    for (int i = 0; i < 3; ++i)
        if (depths_[i]->isChecked())
            return kDepths[i];
    return 24;
}

void BitmapParametersDialog::choose(int dpi, int bits)
{
    for (int i = 0; i < 4; ++i)
        resolutions_[i]->setChecked(kResolutions[i] == dpi);
    for (int i = 0; i < 3; ++i)
        depths_[i]->setChecked(kDepths[i] == bits);
}

} // namespace halvex
