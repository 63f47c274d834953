#include "plot/dialog/plot_wizard.h"

#include "plot/core/plot_control.h"
#include "plot/dialog/color_button.h"
#include "plot/dialog/page_widgets.h"
#include "plot/widget/image_render.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWizardPage>

namespace halvex {

namespace {

// The appearance captions by plot type.
constexpr std::array<std::array<const char*, 3>, 5> kAppearanceCaptions{{
    {"&Draw lines", "&Fill surface with color", "Fill &surface and draw lines"},
    {"&Draw contour lines", "&Fill contours with color", "D&raw contour lines and fill with color"},
    {"&Draw wire arrows", "D&raw filled arrows", "Dr&aw filled arrows with lines"},
    {"&Matrix", "&Stacked", "Si&de by side"},
    {"&Draw points", "&Connect with lines", "D&raw points and connect with lines"},
}};

} // namespace

PlotWizard::PlotWizard(QWidget* parent) : QWizard(parent)
{
    setWindowTitle(QStringLiteral("3-D Plot Wizard"));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage, true);

    // Page 1: the plot type.
    auto* typePage = new QWizardPage(this);
    typePage->setTitle(QStringLiteral("Plot Type"));
    auto* t = new QVBoxLayout(typePage);
    t->addWidget(new QLabel(QStringLiteral("I want to view my data as a:"), typePage));
    type_ = MakeChoice({"&Surface Plot", "&Contour Plot", "&Vector Field Plot", "&Bar Plot", "Scatter &Plot"},
                       {"A surface over the grid of the data.", "Contour lines of the data, seen from above.",
                        "Arrows of two matrices of components.", "A bar for each value.",
                        "A point for each value."},
                       t, typePage);
    t->addStretch(1);
    setPage(kTypePage, typePage);

    // Page 2: the appearance, named after the plot type.
    auto* lookPage = new QWizardPage(this);
    lookPage->setTitle(QStringLiteral("Appearance"));
    auto* a = new QVBoxLayout(lookPage);
    appearance_ = MakeChoice({"&Draw lines", "&Fill surface with color", "Fill &surface and draw lines"}, {}, a,
                             lookPage);
    numbered_ = MakeCheck("&Numbered Contours", "Write the level on each contour line.", lookPage);
    a->addWidget(numbered_);
    auto* symbols = new QGridLayout;
    symbol_ = new QComboBox(lookPage);
    symbol_->addItems({QStringLiteral("dots"), QStringLiteral("x's"), QStringLiteral("+'s"), QStringLiteral("boxes"),
                       QStringLiteral("diamonds")});
    symbol_->setToolTip(QStringLiteral("The symbol drawn at each point."));
    size_ = new QSpinBox(lookPage);
    size_->setRange(1, 10);
    size_->setToolTip(QStringLiteral("Size of the symbols, in pixels (1 to 10)."));
    symbolLabel_ = MakeLabel("&Symbol", symbol_, lookPage);
    sizeLabel_ = MakeLabel("Si&ze", size_, lookPage);
    symbols->addWidget(symbolLabel_, 0, 0);
    symbols->addWidget(symbol_, 0, 1);
    symbols->addWidget(sizeLabel_, 1, 0);
    symbols->addWidget(size_, 1, 1);
    symbols->setColumnStretch(2, 1);
    a->addLayout(symbols);
    a->addStretch(1);
    setPage(kAppearancePage, lookPage);

    // Page 3: the colouring.
    auto* colorPage = new QWizardPage(this);
    colorPage->setTitle(QStringLiteral("Coloring"));
    auto* c = new QGridLayout(colorPage);
    coloring_ = MakeChoice({"&Color by height", "C&olor using lighting", "&Solid color"},
                           {"Color by the height of the data, with a colormap.",
                            "White, shaded by the three colored lights.", "One color of your choice."},
                           nullptr, colorPage);
    color_ = MakeColor("The solid color.", colorPage);
    c->addWidget(coloring_->button(0), 0, 0, 1, 2);
    c->addWidget(coloring_->button(1), 1, 0, 1, 2);
    c->addWidget(coloring_->button(2), 2, 0);
    c->addWidget(color_, 2, 1, Qt::AlignLeft);
    c->setColumnStretch(2, 1);
    c->setRowStretch(3, 1);
    setPage(kColoringPage, colorPage);

    // The preview beside the pages.
    previewLabel_ = new QLabel(this);
    previewLabel_->setFixedSize(kPreviewSize, kPreviewSize);
    previewLabel_->setAlignment(Qt::AlignCenter);
    previewLabel_->setFrameShape(QFrame::StyledPanel);
    previewLabel_->setToolTip(QStringLiteral("How the plot will look, with sample data."));
    setSideWidget(previewLabel_);

    setChoices(WizardChoices{});
    connect(type_, &QButtonGroup::idClicked, this, [this] { choicesChanged(); });
    connect(appearance_, &QButtonGroup::idClicked, this, [this] { choicesChanged(); });
    connect(coloring_, &QButtonGroup::idClicked, this, [this] { choicesChanged(); });
    connect(numbered_, &QCheckBox::toggled, this, [this] { choicesChanged(); });
    connect(symbol_, &QComboBox::currentIndexChanged, this, [this] { choicesChanged(); });
    connect(size_, &QSpinBox::valueChanged, this, [this] { choicesChanged(); });
    color_->onPicked = [this] {
        coloring_->button(kSolidColor)->setChecked(true);
        choicesChanged();
    };
}

PlotWizard::~PlotWizard() = default;

WizardChoices PlotWizard::choices() const
{
    WizardChoices c;
    c.plotType = std::max(0, type_->checkedId());
    c.appearance = std::max(0, appearance_->checkedId());
    c.numberedContours = numbered_->isChecked();
    c.symbol = std::max(0, symbol_->currentIndex());
    c.symbolSize = size_->value();
    c.coloring = std::max(0, coloring_->checkedId());
    c.solidColor = color_->value() & 0xFFFFFFu;
    return c;
}

void PlotWizard::setChoices(const WizardChoices& c)
{
    quiet_ = true;
    type_->button(std::clamp(c.plotType, 0, 4))->setChecked(true);
    appearance_->button(std::clamp(c.appearance, 0, 2))->setChecked(true);
    numbered_->setChecked(c.numberedContours);
    symbol_->setCurrentIndex(std::clamp(c.symbol, 0, 4));
    size_->setValue(std::clamp(c.symbolSize, 1, 10));
    coloring_->button(std::clamp(c.coloring, 0, 2))->setChecked(true);
    color_->setValue(c.solidColor & 0xFFFFFFu);
    quiet_ = false;
    choicesChanged();
}

int PlotWizard::nextId() const
{
    switch (currentId()) {
    case kTypePage: return kAppearancePage;
    case kAppearancePage: return WizardHasColoringPage(type_->checkedId()) ? kColoringPage : -1;
    default: return -1;
    }
}

void PlotWizard::choicesChanged()
{
    if (quiet_)
        return;
    try {
        updateCaptions();
        drawPreview();
    } catch (...) {
    }
}

void PlotWizard::updateCaptions()
{
    int type = std::clamp(type_->checkedId(), 0, 4);
    for (int k = 0; k < 3; ++k)
        appearance_->button(k)->setText(Caption(kAppearanceCaptions[std::size_t(type)][std::size_t(k)]));
    numbered_->setVisible(type == kWizardContour);
    for (QWidget* w : {static_cast<QWidget*>(symbolLabel_), static_cast<QWidget*>(symbol_),
                       static_cast<QWidget*>(sizeLabel_), static_cast<QWidget*>(size_)})
        w->setVisible(type == kWizardScatter);
}

void PlotWizard::drawPreview()
{
    // A new control each time, so that nothing an earlier choice set stays.
    platform::Ref<COpenGLCtrl> control(new COpenGLCtrl);
    std::string error;
    try {
        WizardChoices c = choices();
        // No axes: their numbers would crowd so small a picture.
        platform::Ref<platform::Dispatch> box(control->get("ModelBox").dispatch());
        box->put("AxesStyle", platform::Variant::fromInt16(2));
        control->put("ShowBorder", platform::Variant(false));
        LoadWizardSampleData(*control, c.plotType);
        ApplyWizardChoices(control.get(), c);
        preview_ = RenderControlImage(*control, kPreviewSize, kPreviewSize, error);
    } catch (const std::exception& e) {
        preview_ = QImage();
        error = e.what();
    }
    if (preview_.isNull()) {
        previewLabel_->setPixmap(QPixmap());
        previewLabel_->setText(QStringLiteral("No preview"));
        previewLabel_->setToolTip(QString::fromStdString(error));
        return;
    }
    previewLabel_->setPixmap(QPixmap::fromImage(preview_));
}

} // namespace halvex
