#pragma once
// One page of the format dialog. A page keeps records of field values: one
// for its own fields and one per object its tab row chooses (a model, an
// axis, a back plane, a light). It reads them from the control when it is
// shown, except records holding changes not yet applied; switching tabs or
// leaving the page first checks the fields the user changed; applying
// writes, object by object in tab order, only what the user changed; once
// every page has written, each reads everything afresh.

#include "plot/dialog/field_binder.h"

#include <QWidget>

#include <vector>

class QTabBar;

namespace halvex {

class FormatSheet;

class FormatPage : public QWidget {
public:
    FormatPage(FormatSheet& sheet, const char* caption, const char* helpStem);
    ~FormatPage() override;

    const char* caption() const noexcept { return caption_; }
    const char* helpStem() const noexcept { return stem_; }

    // The page becomes the sheet's current page.
    void OnSetActive();
    // Checks the fields the user changed; refuses the first bad one with
    // its message and puts the focus there.
    bool Validate();
    // The first field Validate would refuse, with the message; null when
    // none. Tells no one.
    QWidget* Problem(QString& message);
    // Writes what the user changed; the page must have validated.
    void Apply();
    // Reads what the control holds now (after every page applied).
    void Reload();
    bool loaded() const noexcept { return loaded_; }
    bool HasChanges() const;

    // The tab row's current object; -1 for a page without tabs.
    int currentTab() const noexcept { return shownTab_; }
    // Chooses the tab as a click would (refused when the shown fields are).
    bool selectTab(int tab);
    QTabBar* tabBar() const noexcept { return tabs_; }

protected:
    // Set by a page with a tab row; model tabs follow the sheet's model.
    void setTabs(QTabBar* tabs, bool modelTabs);

    virtual FieldValues ReadPage() { return {}; }
    virtual void WritePage(const FieldRecord&) {}
    virtual int TabCount() const { return 0; }
    virtual FieldValues ReadTab(int) { return {}; }
    virtual void WriteTab(int, const FieldRecord&) {}
    // The shown values are in place, or the user changed one: captions and
    // enabled states that follow the values.
    virtual void Shown() {}
    // A refusal that depends on several of the shown values.
    virtual QWidget* CrossCheck(QString&) { return nullptr; }

    FieldRecord& pageRecord() noexcept { return page_; }
    // The record of the shown tab; of tab t.
    FieldRecord& tabRecord() { return tabRecords_[std::size_t(shownTab_)]; }
    FieldRecord& tabRecord(int t) { return tabRecords_[std::size_t(t)]; }
    const FieldRecord& tabRecord(int t) const { return tabRecords_[std::size_t(t)]; }
    int tabRecordCount() const noexcept { return int(tabRecords_.size()); }
    // Shows the records again (after a page changed them itself).
    void showRecords();
    // Takes the shown values into the records and tells the sheet.
    void edited();

    FieldBinder pageFields;
    FieldBinder tabFields;
    FormatSheet& sheet_;

private:
    void readAll();
    // Reads the records that hold no change of the user's.
    void refresh();
    void switchTab(int tab);
    // Refuses with the message, focusing the widget.
    bool refuse(QWidget* field, const QString& message);

    const char* caption_;
    const char* stem_;
    FieldRecord page_;
    std::vector<FieldRecord> tabRecords_;
    QTabBar* tabs_ = nullptr;
    bool modelTabs_ = false;
    int shownTab_ = -1;
    bool loaded_ = false;
    bool switching_ = false;
};

} // namespace halvex
