#include "plot/dialog/format_sheet.h"

#include "platform/automation/dispatch_exception.h"
#include "plot/core/gl_control_core.h"
#include "plot/dialog/advanced_page.h"
#include "plot/dialog/appearance_page.h"
#include "plot/dialog/axes_page.h"
#include "plot/dialog/backplanes_page.h"
#include "plot/dialog/format_help.h"
#include "plot/dialog/general_page.h"
#include "plot/dialog/lighting_page.h"
#include "plot/dialog/property_io.h"
#include "plot/dialog/quickplot_page.h"
#include "plot/dialog/special_page.h"
#include "plot/dialog/title_page.h"
#include "plot/model/colormaps.h"
#include "plot/model/model_settings.h"
#include "plot/model/plot_model.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace halvex {

namespace {

// The message of the error being handled, for the user.
QString handledError()
{
    try {
        throw;
    } catch (const platform::DispatchException& e) {
        return QString::fromStdString(e.description().empty() ? std::string(e.what()) : e.description());
    } catch (const std::exception& e) {
        return QString::fromStdString(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

} // namespace

FormatSheet::FormatSheet(CGLCOleControl& control, QWidget* parent)
    : QDialog(parent), control_(&control), core_(control)
{
    setWindowTitle(QStringLiteral("3-D Plot Format"));
    box_ = ReadObject(*control_, "ModelBox");
    // The models the pages edit: NumberOfModels of them, numbered from 0.
    int count = int(ReadNumber(*control_, "NumberOfModels"));
    for (int k = 0; k < count; ++k) {
        try {
            models_.push_back(CallForObject(*control_, "Model", k));
        } catch (const platform::DispatchException&) {
            break;
        }
    }
    currentModel_ = core_.lastFormatModel() < modelCount() ? core_.lastFormatModel() : 0;

    tabs_ = new QTabWidget(this);
    // Every page's tab in sight: the dialog is as wide as the row.
    tabs_->setUsesScrollButtons(false);
    general_ = new GeneralPage(*this);
    pages_ = {general_,
              new AxesPage(*this),
              new AppearancePage(*this),
              new LightingPage(*this),
              new TitlePage(*this),
              new BackplanesPage(*this),
              new SpecialPage(*this),
              new AdvancedPage(*this),
              new QuickPlotPage(*this)};
    for (FormatPage* p : pages_)
        tabs_->addTab(p, QString::fromLatin1(p->caption()));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply |
                                             QDialogButtonBox::Help,
                                         this);
    apply_ = buttons->button(QDialogButtonBox::Apply);
    apply_->setEnabled(false);
    connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, [this] { Ok(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, [this] { ApplyAll(); });
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { Help(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);

    int first = core_.lastFormatPage();
    if (first < 0 || first >= kPageCount)
        first = 0;
    {
        QSignalBlocker block(tabs_);
        tabs_->setCurrentIndex(first);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { pageChanged(index); });
    pageChanged(first);
}

FormatSheet::~FormatSheet() = default;

platform::Ref<platform::Dispatch> FormatSheet::modelSettings(int k) const
{
    auto* model = dynamic_cast<CglModel*>(models_[std::size_t(k)].get());
    if (!model)
        throw platform::DispatchException::fromStatus(platform::status::TypeMismatch);
    return ModelSettings(*model);
}

void FormatSheet::setCurrentModel(int k)
{
    currentModel_ = k;
    core_.setLastFormatModel(k);
}

int FormatSheet::plotKindOf(int k) const
{
    int kind = general_->plotKind(k);
    return kind >= 0 ? kind : int(ReadNumber(model(k), "ViewAs"));
}

int FormatSheet::currentPage() const
{
    return tabs_->currentIndex();
}

bool FormatSheet::selectPage(int k)
{
    tabs_->setCurrentIndex(k);
    return currentPage() == k;
}

void FormatSheet::pageChanged(int index)
{
    if (switching_ || index == shownPage_)
        return;
    try {
        // The page left first checks what the user changed on it.
        if (shownPage_ >= 0 && !pages_[std::size_t(shownPage_)]->Validate()) {
            switching_ = true;
            tabs_->setCurrentIndex(shownPage_);
            switching_ = false;
            return;
        }
        shownPage_ = index;
        core_.setLastFormatPage(index);
        pages_[std::size_t(index)]->OnSetActive();
    } catch (...) {
        Tell(handledError());
    }
}

bool FormatSheet::ApplyAll()
{
    try {
        // The current page first: its refusal keeps the user where they are.
        int current = currentPage();
        if (!pages_[std::size_t(current)]->Validate())
            return false;
        for (int k = 0; k < kPageCount; ++k) {
            QString message;
            if (k == current || !pages_[std::size_t(k)]->Problem(message))
                continue;
            // Shown first, so that the refusal puts the focus on the field.
            selectPage(k);
            pages_[std::size_t(k)]->Validate();
            return false;
        }
        for (FormatPage* p : pages_)
            p->Apply();
        for (FormatPage* p : pages_)
            p->Reload();
        apply_->setEnabled(false);
        return true;
    } catch (...) {
        Tell(handledError());
        return false;
    }
}

void FormatSheet::Ok()
{
    if (ApplyAll())
        accept();
}

void FormatSheet::Help(bool context)
{
    try {
        const FormatPage& p = page(currentPage());
        std::string topic = FormatHelpTopic(core_.InZorvicContainer(), p.helpStem(), context);
        std::string file = FindHelpFile(HelpFolder(), topic);
        if (file.empty()) {
            Tell(QStringLiteral("The help topic \"%1\" is not installed.").arg(QString::fromStdString(topic)));
            return;
        }
        QUrl url = QUrl::fromLocalFile(QString::fromStdString(file));
        bool opened = open_ ? open_(url) : QDesktopServices::openUrl(url);
        if (!opened)
            Tell(QStringLiteral("The help topic \"%1\" could not be opened.").arg(QString::fromStdString(file)));
    } catch (...) {
        Tell(handledError());
    }
}

void FormatSheet::PageEdited()
{
    apply_->setEnabled(true);
}

void FormatSheet::Tell(const QString& message)
{
    if (tell_) {
        tell_(message);
        return;
    }
    QMessageBox::warning(this, windowTitle(), message);
}

void FormatSheet::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        Help(true);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ShowFormatDialog(CGLCOleControl& control, QWidget* parent)
{
    try {
        ColormapList::instance().Load();
        FormatSheet sheet(control, parent);
        sheet.exec();
    } catch (...) {
        QMessageBox::warning(parent, QStringLiteral("3-D Plot Format"), handledError());
    }
}

} // namespace halvex
