// The main window's commands, its settings and list files, and its timer.

#include "viewer/ui/main_form.h"

#include "platform/automation/dispatch_exception.h"
#include "platform/system/file_io.h"
#include "platform/text/number_text.h"
#include "viewer/data/matrix_builder.h"
#include "viewer/data/matrix_error.h"
#include "viewer/data/number_text_format.h"
#include "viewer/settings/file_list_store.h"
#include "viewer/settings/ini_params.h"
#include "viewer/ui/about_box.h"
#include "viewer/ui/user_prompts.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace tavrin {

// While a show or list command runs, the other such commands are refused
// (and their buttons greyed), but the window keeps handling events.
class BusyScope {
public:
    explicit BusyScope(TForm1& form) : form_(form)
    {
        form_.busy_ = true;
        form_.setCommandsEnabled(false);
    }
    ~BusyScope()
    {
        form_.busy_ = false;
        form_.commandSettings_.reset();
        form_.setCommandsEnabled(true);
        if (form_.closeRequested_)
            QTimer::singleShot(0, &form_, &QWidget::close);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TForm1& form_;
};

namespace {

QString fromUtf8(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string toUtf8(const QString& s)
{
    return s.toUtf8().toStdString();
}

const char* kSurfaceError = "Ошибка при формировании поверхности из файла : ";

} // namespace

TForm1::TForm1(ViewerContext context, QWidget* parent) : QMainWindow(parent), context_(std::move(context))
{
    if (!context_.processEvents)
        context_.processEvents = [] { QCoreApplication::processEvents(); };
    buildWindow();
    if (context_.prompts) {
        prompts_ = context_.prompts;
    } else {
        ownPrompts_ = std::make_unique<QtUserPrompts>(this);
        prompts_ = ownPrompts_.get();
    }

    // Start: the ABOUT keys, the version caption, the clock.
    QString dateZero = QLocale::system().toString(QDate(1899, 12, 30), QLocale::ShortFormat);
    WriteAboutSection(settingsFile(), context_.exePath, toUtf8(dateZero));
    Version->setText(QString::fromUtf8(kVersionCaption));
    Timer1->start();
}

TForm1::~TForm1() = default;

// ---- timer ---------------------------------------------------------------

void TForm1::onTimer()
{
    Timer1->stop();
    QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QStringLiteral(" t")).remove(u't');
    Label_DateTime->setText(locale.toString(QDateTime::currentDateTime(),
                                            locale.dateFormat(QLocale::ShortFormat) + u' ' + timeFormat.trimmed()));
    if (firstTick_)
        FirstTick();
    Timer1->start();
}

void TForm1::FirstTick()
{
    if (!firstTick_)
        return;
    firstTick_ = false;
    Timer1->setInterval(1000);
    showMaximized();
    TN1->setCurrentIndex(0);
    LoadSettings();
    LoadFileList();
    if (!startFiles_.empty())
        OpenFiles(std::exchange(startFiles_, {}));
}

void TForm1::OpenFiles(const std::vector<std::string>& files)
{
    if (files.empty() || busy_)
        return;
    int first = -1;
    for (const std::string& f : files) {
        int row = -1;
        for (std::size_t k = 0; k < ListFiles_Buf.size(); ++k)
            if (ListFiles_Buf[k] == f)
                row = static_cast<int>(k);
        if (row < 0) {
            appendEntry(f, true);
            row = static_cast<int>(ListFiles_Buf.size()) - 1;
        } else {
            setChecked(row, true);
        }
        if (first < 0)
            first = row;
    }
    SaveFileList();
    setCurrentRow(first);
    ShowCurrentCommand();
}

// ---- list ----------------------------------------------------------------

bool TForm1::isChecked(int row) const
{
    return ListFiles->item(row) && ListFiles->item(row)->checkState() == Qt::Checked;
}

void TForm1::setChecked(int row, bool checked)
{
    if (QListWidgetItem* item = ListFiles->item(row))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

int TForm1::currentRow() const
{
    return ListFiles->currentRow();
}

void TForm1::setCurrentRow(int row)
{
    ListFiles->setCurrentRow(row);
}

void TForm1::appendEntry(const std::string& path, bool checked)
{
    ListFiles_Buf.push_back(path);
    auto* item = new QListWidgetItem(fromUtf8(DisplayNameOf(path)), ListFiles);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    item->setToolTip(fromUtf8(path));
}

void TForm1::LoadFileList()
{
    ListFiles_Buf.clear();
    ListFiles->clear();
    for (const ListEntry& e : tavrin::LoadFileList(context_.programFolder)) {
        appendEntry(e.path, e.checked);
        ListFiles->item(ListFiles->count() - 1)->setText(fromUtf8(e.name));
    }
}

bool TForm1::SaveFileList()
{
    std::vector<ListEntry> entries;
    entries.reserve(ListFiles_Buf.size());
    for (std::size_t k = 0; k < ListFiles_Buf.size(); ++k) {
        int row = static_cast<int>(k);
        entries.push_back({ListFiles_Buf[k], toUtf8(ListFiles->item(row)->text()), isChecked(row)});
    }
    return tavrin::SaveFileList(context_.programFolder, entries);
}

void TForm1::AddFileCommand()
{
    if (busy_)
        return;
    int row = currentRow();
    std::string startName = row >= 0 ? ListFiles_Buf[static_cast<std::size_t>(row)] : std::string("*.txt");
    std::string startDir = row >= 0 ? platform::extractFilePath(startName) : context_.programFolder;
    QString path = prompts_->selectFile(fromUtf8(startDir), fromUtf8(startName), QString(), QString());
    if (path.isEmpty())
        return;
    appendEntry(toUtf8(path), true);
    SaveFileList();
}

void TForm1::RemoveFileCommand()
{
    if (busy_)
        return;
    int row = currentRow();
    if (row < 0)
        return;
    if (!prompts_->confirm(QStringLiteral("Вы желаете удалить из списка этот файл с данными ?")))
        return;
    ListFiles_Buf.erase(ListFiles_Buf.begin() + row);
    delete ListFiles->takeItem(row);
    SaveFileList();
}

void TForm1::CheckAllCommand()
{
    if (busy_)
        return;
    for (int i = 0; i < ListFiles->count(); ++i)
        setChecked(i, true);
}

void TForm1::UncheckAllCommand()
{
    if (busy_)
        return;
    for (int i = 0; i < ListFiles->count(); ++i)
        setChecked(i, false);
}

void TForm1::InvertChecksCommand()
{
    if (busy_)
        return;
    for (int i = 0; i < ListFiles->count(); ++i)
        setChecked(i, !isChecked(i));
}

void TForm1::ClearListCommand()
{
    if (busy_)
        return;
    if (!prompts_->confirm(QStringLiteral("Вы желаете очистить весь список файлов с данными ?")))
        return;
    ListFiles_Buf.clear();
    ListFiles->clear();
    SaveFileList();
}

// ---- settings ------------------------------------------------------------

int TForm1::fillMode() const
{
    int id = RG_Buttons->checkedId();
    return id < 0 ? 0 : id;
}

void TForm1::setFillMode(int mode)
{
    if (QAbstractButton* b = RG_Buttons->button(mode))
        b->setChecked(true);
}

WindowParameters TForm1::CurrentParameters() const
{
    WindowParameters p;
    p.rect = {SE_Xmin->value(), SE_Xmax->value(), SE_Ymin->value(), SE_Ymax->value()};
    p.yesScale = CB_YesScaleIN->isChecked();
    p.modeMatrixFill = fillMode();
    p.xdef = toUtf8(Edit_Xdef->text());
    p.ydef = toUtf8(Edit_Ydef->text());
    p.zdef = toUtf8(Edit_Zdef->text());
    return p;
}

MatrixSettings TForm1::TakeMatrixSettings() const
{
    WindowParameters p = CurrentParameters();
    p.xdef = FormatNumberText(p.xdef);
    p.ydef = FormatNumberText(p.ydef);
    p.zdef = FormatNumberText(p.zdef);
    return ToMatrixSettings(p);
}

void TForm1::LoadSettings()
{
    WindowParameters p = LoadWindowParameters(settingsFile());
    setFillMode(p.modeMatrixFill);
    SE_Xmin->setValue(p.rect.xmin);
    SE_Xmax->setValue(p.rect.xmax);
    SE_Ymin->setValue(p.rect.ymin);
    SE_Ymax->setValue(p.rect.ymax);
    CB_YesScaleIN->setChecked(p.yesScale);
    Edit_Xdef->setText(fromUtf8(p.xdef));
    Edit_Ydef->setText(fromUtf8(p.ydef));
    Edit_Zdef->setText(fromUtf8(p.zdef));
}

void TForm1::SaveSettings()
{
    for (QLineEdit* e : {Edit_Xdef, Edit_Ydef, Edit_Zdef})
        e->setText(fromUtf8(FormatNumberText(toUtf8(e->text()))));
    SaveWindowParameters(settingsFile(), CurrentParameters());
}

void TForm1::writeIndexField(const char* key, QSpinBox* field)
{
    PutToINI_IntegerParamW(settingsFile(), "MATRIX", key, field->value());
}

void TForm1::normaliseDefaultField(QLineEdit* field)
{
    QString normal = fromUtf8(FormatNumberText(toUtf8(field->text())));
    if (field->text() != normal)
        field->setText(normal);
}

// ---- showing surfaces ----------------------------------------------------

void TForm1::setCommandsEnabled(bool enabled)
{
    for (QAction* a : guardedActions_)
        a->setEnabled(enabled);
    for (QToolButton* b : guardedButtons_)
        b->setEnabled(enabled);
}

void TForm1::keepEventsFlowing()
{
    context_.processEvents();
}

void TForm1::showPlot(bool visible)
{
    OpenGL1->setVisible(visible);
}

void TForm1::reportFailure(const QString& text)
{
    showPlot(false);
    prompts_->message(text);
}

// A fill script's run-time error ends the command: its message shows, and
// the plot comes back with what it held.
void TForm1::reportScriptFailure(const QString& text)
{
    prompts_->message(text);
    showPlot(true);
}

void TForm1::ShowWarning(const QString& text)
{
    statusBar()->showMessage(text, 15000);
}

std::optional<VisualizationMatrix> TForm1::buildFileMatrix(const std::string& path, const MatrixSettings& settings,
                                                          bool withFillScript)
{
    DataLines lines = withFillScript ? PrepareFileLines(path, settings, context_.fillScript)
                                     : DataLines::fromFile(path);
    if (lines.empty())
        return std::nullopt;
    SaveSettings();
    Pacer pacer([this] { keepEventsFlowing(); });
    return BuildMatrix(lines, settings, &pacer);
}

bool TForm1::VisualizeFile(const std::string& rawPath)
{
    std::string path(platform::trimSpaces(rawPath));
    if (path.empty() || !platform::fileExists(path))
        return false;
    MatrixSettings settings = commandSettings_ ? *commandSettings_ : TakeMatrixSettings();
    std::optional<VisualizationMatrix> m = buildFileMatrix(path, settings, true);
    if (!m)
        return false;
    if (!CB_YesAppend->isChecked())
        context_.plot.RemoveSurfaces();
    context_.plot.AddSurface(*m);
    return true;
}

void TForm1::ShowCurrentCommand()
{
    if (busy_)
        return;
    BusyScope scope(*this);
    commandSettings_ = TakeMatrixSettings();
    showPlot(false);
    int row = currentRow();
    if (row < 0)
        return;
    const std::string path = ListFiles_Buf[static_cast<std::size_t>(row)];
    if (!platform::fileExists(std::string(platform::trimSpaces(path))))
        return;
    try {
        VisualizeFile(path);
        showPlot(true);
    } catch (const FillScriptError& e) {
        reportScriptFailure(QString::fromUtf8(e.what()));
    } catch (const std::exception& e) {
        reportFailure(QString::fromUtf8(e.what()));
    }
}

void TForm1::ShowCheckedEachCommand()
{
    if (busy_)
        return;
    BusyScope scope(*this);
    commandSettings_ = TakeMatrixSettings();
    showPlot(false);
    if (ListFiles_Buf.empty())
        return;
    try {
        context_.plot.RemoveSurfaces();
        CB_YesAppend->setChecked(true);
        for (std::size_t k = 0; k < ListFiles_Buf.size(); ++k) {
            int row = static_cast<int>(k);
            setCurrentRow(row);
            if (isChecked(row)) {
                keepEventsFlowing();
                VisualizeFile(ListFiles_Buf[k]);
            }
            keepEventsFlowing();
        }
        showPlot(true);
    } catch (const FillScriptError& e) {
        reportScriptFailure(QString::fromUtf8(e.what()));
    } catch (const std::exception& e) {
        reportFailure(QString::fromUtf8(e.what()));
    }
}

void TForm1::SumCheckedFiles()
{
    if (busy_)
        return;
    BusyScope scope(*this);
    MatrixSettings settings = TakeMatrixSettings();
    commandSettings_ = settings;
    showPlot(false);
    try {
        if (!CB_YesAppend->isChecked())
            context_.plot.RemoveSurfaces();
        if (ListFiles_Buf.empty())
            return;
        context_.plot.RemoveSurfaces();
        CB_YesAppend->setChecked(false);
        VisualizationMatrix sum(settings.rect);
        Pacer pacer([this] { keepEventsFlowing(); });
        for (std::size_t k = 0; k < ListFiles_Buf.size(); ++k) {
            int row = static_cast<int>(k);
            setCurrentRow(row);
            const std::string& path = ListFiles_Buf[k];
            if (isChecked(row) && platform::fileExists(path)) {
                std::optional<VisualizationMatrix> m = buildFileMatrix(path, settings, false);
                if (m)
                    AddToSum(sum, *m, &pacer);
                else
                    prompts_->message(QString::fromUtf8(kSurfaceError) + fromUtf8(path));
            }
            keepEventsFlowing();
        }
        context_.plot.AddSurface(sum);
        showPlot(true);
    } catch (const std::exception& e) {
        reportFailure(QString::fromUtf8(e.what()));
    }
}

void TForm1::ClearPlotCommand()
{
    if (busy_)
        return;
    try {
        context_.plot.RemoveSurfaces();
    } catch (const std::exception& e) {
        prompts_->message(QString::fromUtf8(e.what()));
    }
    showPlot(false);
}

void TForm1::AboutCommand()
{
    AboutBox->setVersionText(QString::fromUtf8(kVersionCaption));
    AboutBox->exec();
}

// ---- closing -------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* event)
{
    // A command still on the stack must finish first; the window closes
    // as soon as it does.
    if (busy_) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    SaveSettings();
    SaveFileList();
    event->accept();
}

} // namespace tavrin
