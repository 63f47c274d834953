#include "plot/dialog/title_page.h"

#include "platform/text/cp1251.h"
#include "plot/dialog/format_sheet.h"
#include "plot/dialog/page_widgets.h"
#include "plot/dialog/property_io.h"

#include <QLabel>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace halvex {

namespace {
enum Slot { kTitle, kPosition, kSlots };
}

TitlePage::TitlePage(FormatSheet& sheet) : FormatPage(sheet, "Title", "title")
{
    auto* page = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("Graph title"), this);
    auto* b = new QVBoxLayout(box);
    title_ = new QLineEdit(box);
    title_->setMaxLength(kMaxTitle);
    title_->setToolTip(QStringLiteral("The title drawn above or below the plot (at most 100 characters)."));
    title_->setAccessibleName(QStringLiteral("Graph title"));
    b->addWidget(title_);
    auto* where = new QHBoxLayout;
    QButtonGroup* position = MakeChoice({"Ab&ove", "&Below", "&Hide"},
                                        {"Draw the title above the plot.", "Draw the title below the plot.",
                                         "Draw no title."},
                                        where, box);
    where->addStretch(1);
    b->addLayout(where);
    page->addWidget(box);
    page->addStretch(1);

    pageFields.text(title_, kTitle);
    pageFields.choice(position, kPosition);
}

// The control's text is 8-bit, code page 1251; the field edits Unicode.
FieldValues TitlePage::ReadPage()
{
    FieldValues v(kSlots);
    v[kTitle] = FieldValue(platform::cp1251ToUtf8(ReadText(sheet_.control(), "GraphTitle")));
    v[kPosition] = FieldValue(ReadNumber(sheet_.control(), "GraphTitlePosition"));
    // A longer title the control already holds is shown whole, not cut.
    int held = int(QString::fromStdString(v[kTitle].text).size());
    title_->setMaxLength(std::max(kMaxTitle, held));
    return v;
}

void TitlePage::WritePage(const FieldRecord& record)
{
    if (record.changed(kTitle))
        WriteText(sheet_.control(), "GraphTitle", platform::utf8ToCp1251(record.now[kTitle].text));
    if (record.changed(kPosition))
        WriteInt(sheet_.control(), "GraphTitlePosition", std::llround(record.now[kPosition].number));
}

} // namespace halvex
