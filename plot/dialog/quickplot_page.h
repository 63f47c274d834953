#pragma once
// Page 9, "QuickPlot Data": per model, the two parameter ranges with their
// grid counts and the coordinate system a host computes a quick plot
// with. They are edited through the model's settings object and can be
// changed for quick-plot models only; the host uses them the next time it
// computes the plot.

#include "plot/dialog/format_page.h"

class QLabel;

namespace halvex {

class QuickPlotPage final : public FormatPage {
public:
    explicit QuickPlotPage(FormatSheet& sheet);

protected:
    int TabCount() const override;
    FieldValues ReadTab(int tab) override;
    void WriteTab(int tab, const FieldRecord& record) override;
    void Shown() override;

private:
    QLabel* note_;
};

} // namespace halvex
