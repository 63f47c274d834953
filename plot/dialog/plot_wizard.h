#pragma once
// "3-D Plot Wizard": plot type, appearance and colouring on three pages,
// with a small preview beside them that the plot control draws itself:
// sample data with the choices applied by ApplyWizardChoices, drawn off
// screen into a picture whenever a choice changes.

#include "plot/dialog/wizard_choices.h"

#include <QImage>
#include <QWizard>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace halvex {

class ColorButton;

class PlotWizard final : public QWizard {
public:
    enum PageId { kTypePage = 0, kAppearancePage = 1, kColoringPage = 2 };
    static constexpr int kPreviewSize = 200;

    explicit PlotWizard(QWidget* parent = nullptr);
    ~PlotWizard() override;

    WizardChoices choices() const;
    // Shows the choices as if the user had made them.
    void setChoices(const WizardChoices& c);

    int nextId() const override;

    // The preview as last drawn; null when it could not be drawn.
    const QImage& preview() const noexcept { return preview_; }

private:
    void choicesChanged();
    void updateCaptions();
    void drawPreview();

    QButtonGroup* type_ = nullptr;
    QButtonGroup* appearance_ = nullptr;
    QCheckBox* numbered_ = nullptr;
    QLabel* symbolLabel_ = nullptr;
    QComboBox* symbol_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QSpinBox* size_ = nullptr;
    QButtonGroup* coloring_ = nullptr;
    ColorButton* color_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QImage preview_;
    bool quiet_ = false;
};

} // namespace halvex
