#include "plot/dialog/page_widgets.h"

#include "plot/dialog/color_button.h"
#include "plot/dialog/format_sheet.h"
#include "plot/dialog/number_edit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace halvex {

QString Caption(const char* text)
{
    return QString::fromLatin1(text);
}

QCheckBox* MakeCheck(const char* text, const char* tip, QWidget* parent)
{
    auto* box = new QCheckBox(Caption(text), parent);
    box->setToolTip(Caption(tip));
    return box;
}

NumberEdit* MakeNumber(double min, double max, bool integer, const char* tip, QWidget* parent)
{
    auto* edit = new NumberEdit(parent);
    edit->setRange(min, max);
    edit->setInteger(integer);
    edit->setStep(integer || max - min > 20.0 ? 1.0 : 0.1);
    edit->setToolTip(Caption(tip));
    return edit;
}

NumberEdit* MakeFreeNumber(const char* tip, QWidget* parent)
{
    auto* edit = new NumberEdit(parent);
    edit->setStep(0.1);
    edit->setToolTip(Caption(tip));
    return edit;
}

ColorButton* MakeColor(const char* tip, QWidget* parent)
{
    auto* button = new ColorButton(parent);
    button->setToolTip(Caption(tip));
    return button;
}

QLabel* MakeLabel(const char* text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(Caption(text), parent);
    label->setBuddy(buddy);
    if (buddy)
        label->setToolTip(buddy->toolTip());
    return label;
}

QButtonGroup* MakeChoice(std::initializer_list<const char*> captions, std::initializer_list<const char*> tips,
                         QBoxLayout* layout, QWidget* parent)
{
    auto* group = new QButtonGroup(parent);
    int id = 0;
    const char* const* tip = tips.begin();
    for (const char* c : captions) {
        auto* button = new QRadioButton(Caption(c), parent);
        if (tip != tips.end())
            button->setToolTip(Caption(*tip++));
        group->addButton(button, id++);
        if (layout)
            layout->addWidget(button);
    }
    return group;
}

QTabBar* MakeModelTabs(const FormatSheet& sheet, QWidget* parent)
{
    auto* tabs = new QTabBar(parent);
    int count = std::max(1, sheet.modelCount());
    for (int k = 0; k < count; ++k)
        tabs->addTab(QStringLiteral("%1 %2").arg(QStringLiteral("Plot")).arg(k + 1));
    tabs->setToolTip(QStringLiteral("Click tab to choose the plot these settings are for."));
    // A few plots show all their tabs; many scroll.
    tabs->setUsesScrollButtons(count > 8);
    return tabs;
}

QTabBar* MakeTabs(std::initializer_list<const char*> captions, QWidget* parent)
{
    auto* tabs = new QTabBar(parent);
    for (const char* c : captions)
        tabs->addTab(Caption(c));
    tabs->setUsesScrollButtons(false);
    return tabs;
}

QWidget* TabbedFrame(QTabBar* tabs, QBoxLayout*& content, QWidget* parent)
{
    auto* holder = new QWidget(parent);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs->setParent(holder);
    tabs->setDrawBase(false);
    tabs->setExpanding(false);
    layout->addWidget(tabs);
    auto* frame = new QFrame(holder);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    content = new QVBoxLayout(frame);
    layout->addWidget(frame, 1);
    return holder;
}

} // namespace halvex
