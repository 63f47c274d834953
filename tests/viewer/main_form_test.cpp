// The main window driven as a user drives it, with a recording plot control
// in place of the real one and scripted answers in place of dialogs.

#include "platform/automation/dispatch_exception.h"
#include "platform/automation/safe_array.h"
#include "viewer/settings/ini_params.h"
#include "viewer/ui/main_form.h"
#include "viewer/ui/user_prompts.h"
#include "scripthost/headless_dialogs.h"
#include "scripthost/script_host.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>

using namespace tavrin;
using platform::DispId;
using platform::Variant;

namespace {

// Records every call with a copy of its arguments.
class RecordingControl : public platform::Dispatch {
public:
    struct Call {
        DispId id;
        std::vector<Variant> args;
    };
    std::vector<Call> calls;
    bool failNextAdd = false;

    DispId idOfName(std::string_view) const override { return platform::kDispIdUnknown; }
    Variant invoke(DispId id, platform::InvokeKind, std::span<Variant> args) override
    {
        if (id == PlotBinding::kAddSurface && failNextAdd) {
            failNextAdd = false;
            throw platform::DispatchException(platform::status::fromErrorNumber(32785), 32785, "OpenGL",
                                              "Not enough Memory.");
        }
        calls.push_back({id, std::vector<Variant>(args.begin(), args.end())});
        return Variant(true);
    }
    int count(DispId id) const
    {
        int n = 0;
        for (const Call& c : calls)
            n += c.id == id;
        return n;
    }
    const Call& lastAdd() const
    {
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->id == PlotBinding::kAddSurface)
                return *it;
        throw std::runtime_error("no AddSurface");
    }
};

class ScriptedPrompts : public UserPrompts {
public:
    std::vector<QString> messages, confirmations;
    bool answer = true;
    QString fileToPick;
    QString lastStartDir, lastStartName;

    void message(const QString& text) override { messages.push_back(text); }
    bool confirm(const QString& text) override
    {
        confirmations.push_back(text);
        return answer;
    }
    QString selectFile(const QString& dir, const QString& name, const QString&, const QString&) override
    {
        lastStartDir = dir;
        lastStartName = name;
        return fileToPick;
    }
};

double cell(const Variant& matrix, std::int32_t i, std::int32_t j)
{
    const platform::SafeArray* a = matrix.array();
    std::int32_t idx[2] = {i, j};
    return a->get(*a->offsetOf(idx)).toDouble();
}

class MainFormTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    platform::Ref<RecordingControl> control = platform::makeRef<RecordingControl>();
    ScriptedPrompts prompts;
    std::function<void()> onEvents;
    std::unique_ptr<TForm1> form;

    FillScriptRunner fillScript;

    void open()
    {
        ViewerContext c;
        c.fillScript = fillScript;
        c.programFolder = dir.path();
        c.exePath = "/opt/tavrin/tavrin";
        c.plot = PlotBinding(control);
        c.prompts = &prompts;
        c.processEvents = [this] {
            if (onEvents)
                onEvents();
        };
        form = std::make_unique<TForm1>(std::move(c));
        form->FirstTick();
    }

    void setRect(int xmin, int xmax, int ymin, int ymax)
    {
        form->SE_Xmin->setValue(xmin);
        form->SE_Xmax->setValue(xmax);
        form->SE_Ymin->setValue(ymin);
        form->SE_Ymax->setValue(ymax);
    }

    std::string add(const char* name, const char* text, bool checked = true)
    {
        std::string path = dir.write(name, text);
        form->appendEntry(path, checked);
        return path;
    }
};

} // namespace

TEST_F(MainFormTest, FirstStartWithoutSettings)
{
    ViewerContext c;
    c.programFolder = dir.path();
    c.plot = PlotBinding(control);
    c.prompts = &prompts;
    TForm1 fresh(std::move(c));
    // The window's own initial values, before the first tick.
    EXPECT_EQ(fresh.SE_Xmax->value(), 36);
    EXPECT_TRUE(fresh.CB_YesScaleIN->isChecked());
    EXPECT_FALSE(fresh.OpenGL1->isVisibleTo(&fresh));
    EXPECT_EQ(fresh.windowTitle(), QStringLiteral("Простой 3D-визуализатор"));
    fresh.FirstTick();
    EXPECT_EQ(fresh.SE_Xmin->value(), 0);
    EXPECT_EQ(fresh.SE_Xmax->value(), 100);
    EXPECT_EQ(fresh.SE_Ymax->value(), 100);
    EXPECT_FALSE(fresh.CB_YesScaleIN->isChecked());
    EXPECT_EQ(fresh.RG_Buttons->checkedId(), 0);
    EXPECT_EQ(fresh.Edit_Xdef->text(), QStringLiteral("0"));
    EXPECT_EQ(fresh.ListFiles->count(), 0);
    EXPECT_EQ(fresh.Version->text(), QStringLiteral("Version 1.03  (24.11.2005)"));
    EXPECT_EQ(GetFromINI_StringParamDef(dir.file("Tavrin.ini"), "ABOUT", "Status", ""), "Freeware");
}

TEST_F(MainFormTest, DefaultValueFieldsAreNormalisedWhenLeft)
{
    open();
    form->Edit_Xdef->setText(QStringLiteral("1,50"));
    emit form->Edit_Xdef->editingFinished();
    EXPECT_EQ(form->Edit_Xdef->text(), QStringLiteral("1.5"));
    form->Edit_Ydef->setText(QStringLiteral("x"));
    emit form->Edit_Ydef->editingFinished();
    EXPECT_EQ(form->Edit_Ydef->text(), QStringLiteral("0"));
}

TEST_F(MainFormTest, IndexFieldsAndFillModeAreWrittenAtOnce)
{
    open();
    form->SE_Xmax->setValue(55);
    emit form->SE_Xmax->editingFinished();
    EXPECT_EQ(GetFromINI_IntegerParamDef(dir.file("Tavrin.ini"), "MATRIX", "Xmax", -1), 55);
    form->RG_Buttons->button(3)->click();
    EXPECT_EQ(GetFromINI_IntegerParamDef(dir.file("Tavrin.ini"), "MATRIX", "ModeMatrixFill", -1), 3);
}

TEST_F(MainFormTest, ShowCurrentHandsTheMatrixToTheControl)
{
    open();
    setRect(-1, 2, 0, 1);
    form->CB_YesScaleIN->setChecked(false);
    add("a.txt", "0 0 5\n1 1 7\n");
    form->setCurrentRow(0);
    form->ShowCurrentCommand();
    ASSERT_EQ(control->calls.size(), 2u);
    EXPECT_EQ(control->calls[0].id, PlotBinding::kRemoveSurfaces);
    EXPECT_TRUE(control->calls[0].args.empty());
    const Variant& m = control->calls[1].args.at(0);
    ASSERT_EQ(m.type(), platform::VarType(platform::varArray | platform::varDouble));
    EXPECT_EQ(m.array()->lowerBound(0), -1);
    EXPECT_EQ(m.array()->upperBound(0), 2);
    EXPECT_EQ(m.array()->lowerBound(1), 0);
    EXPECT_EQ(m.array()->upperBound(1), 1);
    EXPECT_EQ(cell(m, 0, 0), 5.0);
    EXPECT_EQ(cell(m, 1, 1), 7.0);
    EXPECT_EQ(cell(m, -1, 0), 0.0);
    EXPECT_TRUE(form->OpenGL1->isVisibleTo(form.get()));
    // The settings were written before the matrix was built.
    EXPECT_EQ(GetFromINI_IntegerParamDef(dir.file("Tavrin.ini"), "MATRIX", "Xmin", 99), -1);

    // Appending keeps what is shown.
    form->CB_YesAppend->setChecked(true);
    form->ShowCurrentCommand();
    EXPECT_EQ(control->count(PlotBinding::kRemoveSurfaces), 1);
    EXPECT_EQ(control->count(PlotBinding::kAddSurface), 2);
}

TEST_F(MainFormTest, ShowCurrentWithoutAFileShowsNothing)
{
    open();
    add("a.txt", "0 0 5\n");
    form->ShowCurrentCommand(); // no current entry
    EXPECT_TRUE(control->calls.empty());
    form->appendEntry(dir.file("gone.txt"), true);
    form->setCurrentRow(1);
    form->ShowCurrentCommand();
    EXPECT_TRUE(control->calls.empty());
    EXPECT_FALSE(form->OpenGL1->isVisibleTo(form.get()));
}

TEST_F(MainFormTest, BadRectangleAndControlErrorsAreShownAndKeepThePlotHidden)
{
    open();
    add("a.txt", "0 0 5\n");
    form->setCurrentRow(0);
    setRect(5, 4, 0, 0);
    form->ShowCurrentCommand();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], QStringLiteral("Error creating variant array"));
    EXPECT_EQ(control->count(PlotBinding::kAddSurface), 0);
    EXPECT_FALSE(form->OpenGL1->isVisibleTo(form.get()));

    setRect(0, 3, 0, 3);
    control->failNextAdd = true;
    form->ShowCurrentCommand();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1], QStringLiteral("Not enough Memory."));
    EXPECT_FALSE(form->OpenGL1->isVisibleTo(form.get()));

    form->SumCheckedFiles();
    EXPECT_EQ(control->count(PlotBinding::kAddSurface), 1);
    setRect(3, 0, 0, 3);
    form->SumCheckedFiles();
    EXPECT_EQ(prompts.messages.back(), QStringLiteral("Error creating variant array"));
    EXPECT_FALSE(form->OpenGL1->isVisibleTo(form.get()));
}

TEST_F(MainFormTest, EachCheckedFileBecomesItsOwnSurface)
{
    open();
    setRect(0, 3, 0, 3);
    add("a.txt", "0 0 1\n");
    add("b.txt", "0 0 2\n", false);
    add("c.txt", "0 0 3\n");
    form->ShowCheckedEachCommand();
    ASSERT_EQ(control->calls.size(), 3u);
    EXPECT_EQ(control->calls[0].id, PlotBinding::kRemoveSurfaces);
    EXPECT_EQ(cell(control->calls[1].args[0], 0, 0), 1.0);
    EXPECT_EQ(cell(control->calls[2].args[0], 0, 0), 3.0);
    EXPECT_EQ(form->currentRow(), 2); // the selection walked to the last entry
    EXPECT_TRUE(form->CB_YesAppend->isChecked());
    EXPECT_TRUE(form->OpenGL1->isVisibleTo(form.get()));
}

TEST_F(MainFormTest, SummingAddsCheckedFilesAndReportsEmptyOnes)
{
    open();
    setRect(0, 1, 0, 1);
    form->CB_YesAppend->setChecked(true);
    add("a.txt", "0 0 1\n");
    std::string empty = add("empty.txt", "");
    add("b.txt", "0 0 2\n");
    add("c.txt", "0 0 100\n", false);
    form->SumCheckedFiles();
    EXPECT_FALSE(form->CB_YesAppend->isChecked());
    EXPECT_EQ(control->count(PlotBinding::kRemoveSurfaces), 1); // append was on
    ASSERT_EQ(control->count(PlotBinding::kAddSurface), 1);
    EXPECT_EQ(cell(control->lastAdd().args[0], 0, 0), 3.0);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], QStringLiteral("Ошибка при формировании поверхности из файла : ") +
                                       QString::fromStdString(empty));
    EXPECT_EQ(form->currentRow(), 3);
}

TEST_F(MainFormTest, SummingWithNothingCheckedShowsZeros)
{
    open();
    setRect(0, 2, 0, 1);
    add("a.txt", "0 0 1\n", false);
    form->SumCheckedFiles();
    EXPECT_EQ(control->count(PlotBinding::kRemoveSurfaces), 2);
    const Variant& m = control->lastAdd().args[0];
    for (int i = 0; i <= 2; ++i)
        for (int j = 0; j <= 1; ++j)
            EXPECT_EQ(cell(m, i, j), 0.0);
    EXPECT_TRUE(form->OpenGL1->isVisibleTo(form.get()));
}

TEST_F(MainFormTest, EmptyListStopsTheShowCommandsWithThePlotHidden)
{
    open();
    form->SumCheckedFiles();
    form->ShowCheckedEachCommand();
    EXPECT_EQ(control->count(PlotBinding::kAddSurface), 0);
    EXPECT_FALSE(form->OpenGL1->isVisibleTo(form.get()));
}

TEST_F(MainFormTest, CommandsAreRefusedWhileAShowCommandRuns)
{
    open();
    setRect(0, 3, 0, 3);
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += "1 2 3\n";
    add("a.txt", big.c_str());
    add("b.txt", "0 0 1\n");
    int nested = 0;
    onEvents = [&] {
        if (nested++)
            return;
        // A user clicking around while the files are placed.
        form->ClearListCommand();
        form->RemoveFileCommand();
        form->ClearPlotCommand();
        form->SumCheckedFiles();
        form->ShowCurrentCommand();
        form->CheckAllCommand();
        setRect(0, 100, 0, 100); // taken once per command: no effect now
        EXPECT_TRUE(form->busy());
    };
    form->ShowCheckedEachCommand();
    EXPECT_FALSE(form->busy());
    EXPECT_TRUE(prompts.confirmations.empty());
    EXPECT_EQ(form->ListFiles->count(), 2);
    EXPECT_EQ(control->count(PlotBinding::kRemoveSurfaces), 1);
    ASSERT_EQ(control->count(PlotBinding::kAddSurface), 2);
    EXPECT_EQ(control->lastAdd().args[0].array()->upperBound(0), 3);
}

TEST_F(MainFormTest, ListCommandsAskAndSave)
{
    open();
    add("a.txt", "1 1 1\n");
    add("b.txt", "1 1 1\n", false);
    // Check marks.
    form->InvertChecksCommand();
    EXPECT_FALSE(form->isChecked(0));
    EXPECT_TRUE(form->isChecked(1));
    form->CheckAllCommand();
    EXPECT_TRUE(form->isChecked(0) && form->isChecked(1));
    form->UncheckAllCommand();
    EXPECT_FALSE(form->isChecked(0) || form->isChecked(1));
    // Remove needs a current entry and a yes.
    form->RemoveFileCommand();
    EXPECT_TRUE(prompts.confirmations.empty());
    form->setCurrentRow(1);
    prompts.answer = false;
    form->RemoveFileCommand();
    EXPECT_EQ(form->ListFiles->count(), 2);
    prompts.answer = true;
    form->RemoveFileCommand();
    EXPECT_EQ(prompts.confirmations.back(), QStringLiteral("Вы желаете удалить из списка этот файл с данными ?"));
    ASSERT_EQ(form->paths().size(), 1u);
    EXPECT_EQ(form->paths()[0], dir.file("a.txt"));
    EXPECT_EQ(testsupport::readAll(dir.file("~ListFilesChecked.txt")), "- a.txt\r\n");
    // Clearing asks even for an empty list.
    form->ClearListCommand();
    form->ClearListCommand();
    EXPECT_EQ(prompts.confirmations.back(), QStringLiteral("Вы желаете очистить весь список файлов с данными ?"));
    EXPECT_EQ(prompts.confirmations.size(), 4u);
    EXPECT_EQ(testsupport::readAll(dir.file("~ListFiles.txt")), "");
}

TEST_F(MainFormTest, AddFileStartsFromTheCurrentEntry)
{
    open();
    prompts.fileToPick = QString();
    form->AddFileCommand();
    EXPECT_EQ(prompts.lastStartName, QStringLiteral("*.txt"));
    EXPECT_EQ(prompts.lastStartDir, QString::fromStdString(dir.path()));
    EXPECT_EQ(form->ListFiles->count(), 0);
    std::string picked = dir.write("picked.dat", "1 2 3\n");
    prompts.fileToPick = QString::fromStdString(picked);
    form->AddFileCommand();
    ASSERT_EQ(form->ListFiles->count(), 1);
    EXPECT_TRUE(form->isChecked(0));
    EXPECT_EQ(form->ListFiles->item(0)->text(), QStringLiteral("picked.dat"));
    form->setCurrentRow(0);
    form->AddFileCommand();
    EXPECT_EQ(prompts.lastStartName, QString::fromStdString(picked));
    EXPECT_EQ(prompts.lastStartDir, QString::fromStdString(dir.path()));
}

TEST_F(MainFormTest, ListAndSettingsSurviveARestart)
{
    open();
    add("a.txt", "1 1 1\n");
    add("b.txt", "1 1 1\n", false);
    setRect(-3, 7, 1, 9);
    form->RG_Buttons->button(2)->setChecked(true);
    form->Edit_Zdef->setText(QStringLiteral("2,5"));
    form->close();
    form.reset();
    open();
    ASSERT_EQ(form->ListFiles->count(), 2);
    EXPECT_TRUE(form->isChecked(0));
    EXPECT_FALSE(form->isChecked(1));
    EXPECT_EQ(form->SE_Xmin->value(), -3);
    EXPECT_EQ(form->SE_Ymax->value(), 9);
    EXPECT_EQ(form->RG_Buttons->checkedId(), 2);
    EXPECT_EQ(form->Edit_Zdef->text(), QStringLiteral("2.5"));
}

TEST_F(MainFormTest, MovedFileIsFoundInTheProgramFolderAtTheNextStart)
{
    dir.write("moved.txt", "1 1 1\n");
    dir.write("~ListFiles.txt", "/somewhere/else/moved.txt\r\n");
    dir.write("~ListFilesChecked.txt", "+ moved.txt\r\n");
    open();
    ASSERT_EQ(form->paths().size(), 1u);
    EXPECT_EQ(form->paths()[0], dir.file("moved.txt"));
}

TEST_F(MainFormTest, CommandLineFilesAreAddedCheckedAndTheFirstIsShown)
{
    open();
    std::string a = add("a.txt", "0 0 1\n", false);
    std::string b = dir.write("b.txt", "0 0 2\n");
    form->OpenFiles({b, a});
    ASSERT_EQ(form->ListFiles->count(), 2); // a was already listed
    EXPECT_TRUE(form->isChecked(0));
    EXPECT_TRUE(form->isChecked(1));
    EXPECT_EQ(form->currentRow(), 1);
    ASSERT_EQ(control->count(PlotBinding::kAddSurface), 1);
    EXPECT_TRUE(form->OpenGL1->isVisibleTo(form.get()));
}

TEST_F(MainFormTest, ClearPlotRemovesSurfacesAndHidesTheControl)
{
    open();
    add("a.txt", "0 0 1\n");
    form->setCurrentRow(0);
    form->ShowCurrentCommand();
    form->ClearPlotCommand();
    EXPECT_EQ(control->calls.back().id, PlotBinding::kRemoveSurfaces);
    EXPECT_FALSE(form->OpenGL1->isVisibleTo(form.get()));
}

TEST_F(MainFormTest, FillScriptsAddPointsWarnAndFailWithoutLosingThePlot)
{
    HeadlessDialogs dialogs;
    ScriptHost host(dir.path(), dialogs);
    std::vector<std::string> warnings;
    fillScript = MakeFillScriptRunner(host, [&](const std::string& w) { warnings.push_back(w); });
    open();
    setRect(0, 2, 0, 2);
    form->CB_YesScaleIN->setChecked(false);
    form->RG_Buttons->button(4)->click();
    add("a.txt", "0 0 5\n");
    dir.write("a.Tavrin", "begin List_Data.Add(IntToStr(Matrix_Xmax) + ' 2 8'); ResultScript := True; end.");
    form->setCurrentRow(0);
    form->ShowCurrentCommand();
    ASSERT_EQ(control->count(PlotBinding::kAddSurface), 1);
    const Variant& m = control->calls.back().args.at(0);
    EXPECT_EQ(cell(m, 2, 2), 8.0);
    EXPECT_EQ(cell(m, 0, 0), 5.0);
    EXPECT_TRUE(prompts.messages.empty());

    dir.write("a.Tavrin", "begin x := ; end.");
    form->ShowCurrentCommand();
    EXPECT_EQ(control->count(PlotBinding::kAddSurface), 2);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("does not compile"), std::string::npos);

    dir.write("a.Tavrin", "begin RaiseException('no fill today'); end.");
    form->ShowCurrentCommand();
    EXPECT_EQ(control->count(PlotBinding::kAddSurface), 2);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("no fill today")));
    // The command ended; what the plot held is shown again.
    EXPECT_TRUE(form->OpenGL1->isVisibleTo(form.get()));
    form->ShowWarning(QStringLiteral("w"));
    EXPECT_EQ(form->statusBar()->currentMessage(), QStringLiteral("w"));
}
