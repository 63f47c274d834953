#include "plot/dialog/format_page.h"

#include "plot/dialog/format_sheet.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabBar>

namespace halvex {

FormatPage::FormatPage(FormatSheet& sheet, const char* caption, const char* helpStem)
    : sheet_(sheet), caption_(caption), stem_(helpStem)
{
    pageFields.onEdited = [this] { edited(); };
    tabFields.onEdited = [this] { edited(); };
}

FormatPage::~FormatPage() = default;

void FormatPage::setTabs(QTabBar* tabs, bool modelTabs)
{
    tabs_ = tabs;
    modelTabs_ = modelTabs;
    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
        if (switching_)
            return;
        try {
            switchTab(tab);
        } catch (const std::exception& e) {
            sheet_.Tell(QString::fromStdString(e.what()));
        }
    });
}

bool FormatPage::HasChanges() const
{
    if (!loaded_)
        return false;
    if (page_.anyChanged())
        return true;
    for (const FieldRecord& r : tabRecords_)
        if (r.anyChanged())
            return true;
    return false;
}

void FormatPage::readAll()
{
    page_ = FieldRecord(ReadPage());
    tabRecords_.clear();
    int count = TabCount();
    for (int t = 0; t < count; ++t)
        tabRecords_.emplace_back(ReadTab(t));
    loaded_ = true;
}

void FormatPage::refresh()
{
    if (!loaded_) {
        readAll();
        return;
    }
    if (!page_.anyChanged())
        page_ = FieldRecord(ReadPage());
    for (int t = 0; t < tabRecordCount(); ++t)
        if (!tabRecords_[std::size_t(t)].anyChanged())
            tabRecords_[std::size_t(t)] = FieldRecord(ReadTab(t));
}

void FormatPage::OnSetActive()
{
    refresh();
    if (tabs_) {
        int tab = shownTab_;
        if (modelTabs_ || tab < 0)
            tab = modelTabs_ ? sheet_.currentModel() : 0;
        if (tab < 0 || tab >= tabRecordCount())
            tab = 0;
        shownTab_ = tabRecordCount() > 0 ? tab : -1;
        QSignalBlocker block(tabs_);
        switching_ = true;
        tabs_->setCurrentIndex(shownTab_ < 0 ? 0 : shownTab_);
        switching_ = false;
    }
    showRecords();
}

void FormatPage::showRecords()
{
    if (!loaded_)
        return;
    pageFields.show(page_);
    if (shownTab_ >= 0)
        tabFields.show(tabRecord());
    tabFields.setEnabled(shownTab_ >= 0);
    Shown();
}

void FormatPage::edited()
{
    if (!loaded_)
        return;
    pageFields.take(page_);
    if (shownTab_ >= 0)
        tabFields.take(tabRecord());
    Shown();
    sheet_.PageEdited();
}

bool FormatPage::refuse(QWidget* field, const QString& message)
{
    sheet_.Tell(message);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field))
        spin->selectAll();
    else if (auto* line = qobject_cast<QLineEdit*>(field))
        line->selectAll();
    return false;
}

QWidget* FormatPage::Problem(QString& message)
{
    if (!loaded_)
        return nullptr;
    if (QWidget* w = pageFields.invalid(page_, message))
        return w;
    if (shownTab_ >= 0)
        if (QWidget* w = tabFields.invalid(tabRecord(), message))
            return w;
    return CrossCheck(message);
}

bool FormatPage::Validate()
{
    QString message;
    if (QWidget* w = Problem(message))
        return refuse(w, message);
    if (!loaded_)
        return true;
    pageFields.take(page_);
    if (shownTab_ >= 0)
        tabFields.take(tabRecord());
    return true;
}

void FormatPage::switchTab(int tab)
{
    if (tab == shownTab_ || tab < 0)
        return;
    if (tab >= tabRecordCount() || !Validate()) {
        switching_ = true;
        tabs_->setCurrentIndex(shownTab_);
        switching_ = false;
        return;
    }
    shownTab_ = tab;
    if (modelTabs_)
        sheet_.setCurrentModel(tab);
    showRecords();
}

bool FormatPage::selectTab(int tab)
{
    if (!tabs_ || tab < 0 || tab >= tabs_->count())
        return false;
    tabs_->setCurrentIndex(tab);
    return shownTab_ == tab;
}

void FormatPage::Apply()
{
    if (!loaded_)
        return;
    if (page_.anyChanged())
        WritePage(page_);
    for (int t = 0; t < tabRecordCount(); ++t)
        if (tabRecords_[std::size_t(t)].anyChanged())
            WriteTab(t, tabRecords_[std::size_t(t)]);
}

void FormatPage::Reload()
{
    if (!loaded_)
        return;
    readAll();
    showRecords();
}

} // namespace halvex
