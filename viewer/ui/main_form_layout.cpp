// The main window's controls, menus and tool bars.

#include "viewer/settings/ini_params.h"
#include "viewer/ui/about_box.h"
#include "viewer/ui/main_form.h"
#include "viewer/ui/tool_icons.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <climits>

namespace tavrin {

namespace {

QSpinBox* indexField(const char* name, QWidget* parent)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(INT_MIN, INT_MAX); // no limits
    s->setMinimumWidth(80);
    return s;
}

QLineEdit* defaultField(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(QStringLiteral("0"), parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaximumWidth(120);
    return e;
}

QToolButton* toolButton(QWidget* parent, ToolIcon icon, const QString& hint)
{
    auto* b = new QToolButton(parent);
    b->setIcon(MakeToolIcon(icon));
    b->setIconSize(QSize(24, 24));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    return b;
}

} // namespace

void TForm1::buildWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Простой 3D-визуализатор"));
    resize(570, 433);

    TN1 = new QTabWidget(this);
    TN1->setObjectName(QStringLiteral("TN1"));
    TN1->addTab(buildWorkPage(), QStringLiteral("Работа"));
    TN1->addTab(buildSettingsPage(), QStringLiteral("Настройка"));
    setCentralWidget(TN1);

    Label_DateTime = new QLabel(QStringLiteral("..."), this);
    Label_DateTime->setObjectName(QStringLiteral("Label_DateTime"));
    statusBar()->addWidget(Label_DateTime, 1);
    auto* about = toolButton(this, ToolIcon::About, QStringLiteral("О программе"));
    about->setObjectName(QStringLiteral("SB_About"));
    connect(about, &QToolButton::clicked, this, &TForm1::AboutCommand);
    statusBar()->addPermanentWidget(about);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TForm1::onTimer);

    AboutBox = new TAboutBox(this);
    buildMenus();
    connectFields();
}

QWidget* TForm1::buildWorkPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TS_Work"));
    auto* splitter = new QSplitter(Qt::Horizontal, page);
    splitter->setObjectName(QStringLiteral("Splitter1"));

    // Left: the matrix rectangle above the list of data files.
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);

    auto* matrix = new QGroupBox(QStringLiteral("Матрица : "), left);
    matrix->setObjectName(QStringLiteral("GB_Matrix"));
    auto* grid = new QGridLayout(matrix);
    SE_Xmin = indexField("SE_Xmin", matrix);
    SE_Xmax = indexField("SE_Xmax", matrix);
    SE_Ymin = indexField("SE_Ymin", matrix);
    SE_Ymax = indexField("SE_Ymax", matrix);
    SE_Xmin->setValue(0);
    SE_Xmax->setValue(36);
    SE_Ymin->setValue(0);
    SE_Ymax->setValue(36);
    grid->addWidget(new QLabel(QStringLiteral("X:"), matrix), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("min = "), matrix), 0, 1, Qt::AlignRight);
    grid->addWidget(SE_Xmin, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("max = "), matrix), 0, 3, Qt::AlignRight);
    grid->addWidget(SE_Xmax, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Y:"), matrix), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("min = "), matrix), 1, 1, Qt::AlignRight);
    grid->addWidget(SE_Ymin, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("max = "), matrix), 1, 3, Qt::AlignRight);
    grid->addWidget(SE_Ymax, 1, 4);
    grid->setColumnStretch(5, 1);
    leftLayout->addWidget(matrix);

    auto* files = new QGroupBox(QStringLiteral("Текстовые файлы с данными : "), left);
    files->setObjectName(QStringLiteral("GB_Files"));
    auto* filesLayout = new QVBoxLayout(files);
    auto* listBar = new QHBoxLayout;
    struct ListButton {
        ToolIcon icon;
        const char* hint;
        void (TForm1::*command)();
    };
    const ListButton listButtons[] = {
        {ToolIcon::AddFile, "Добавить файл в список", &TForm1::AddFileCommand},
        {ToolIcon::RemoveFile, "Удалить файл из списка", &TForm1::RemoveFileCommand},
        {ToolIcon::CheckAll, "Пометить все", &TForm1::CheckAllCommand},
        {ToolIcon::UncheckAll, "Снять пометку со всех", &TForm1::UncheckAllCommand},
        {ToolIcon::InvertChecks, "Инвертировать пометку", &TForm1::InvertChecksCommand},
        {ToolIcon::ClearList, "Очистить весь список", &TForm1::ClearListCommand},
    };
    for (const ListButton& lb : listButtons) {
        QToolButton* b = toolButton(files, lb.icon, QString::fromUtf8(lb.hint));
        connect(b, &QToolButton::clicked, this, lb.command);
        guardedButtons_.push_back(b);
        listBar->addWidget(b);
    }
    listBar->addStretch();
    filesLayout->addLayout(listBar);
    ListFiles = new QListWidget(files);
    ListFiles->setObjectName(QStringLiteral("ListFiles"));
    ListFiles->setToolTip(QStringLiteral("Правая кнопка мыши - меню"));
    ListFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListFiles, &QListWidget::itemDoubleClicked, this, [this] { ShowCurrentCommand(); });
    filesLayout->addWidget(ListFiles, 1);
    leftLayout->addWidget(files, 1);

    // Right: the visualization group with its tool bar above the plot.
    auto* vis = new QGroupBox(QStringLiteral("Визуализация : "), splitter);
    vis->setObjectName(QStringLiteral("GB_Visualization"));
    auto* visLayout = new QVBoxLayout(vis);
    auto* visBar = new QHBoxLayout;
    QToolButton* sum =
        toolButton(vis, ToolIcon::ShowSum, QStringLiteral("Все отмеченные сложить, а потом визуализировать"));
    connect(sum, &QToolButton::clicked, this, &TForm1::SumCheckedFiles);
    QToolButton* each = toolButton(vis, ToolIcon::ShowEach, QStringLiteral("Визуализировать все отмеченные по очереди"));
    connect(each, &QToolButton::clicked, this, &TForm1::ShowCheckedEachCommand);
    CB_YesAppend = new QCheckBox(QStringLiteral("Добавлять новые данные"), vis);
    CB_YesAppend->setObjectName(QStringLiteral("CB_YesAppend"));
    QToolButton* clear = toolButton(vis, ToolIcon::ClearPlot, QStringLiteral("Очистить  график"));
    connect(clear, &QToolButton::clicked, this, &TForm1::ClearPlotCommand);
    guardedButtons_.insert(guardedButtons_.end(), {sum, each, clear});
    visBar->addWidget(sum);
    visBar->addWidget(each);
    visBar->addWidget(CB_YesAppend);
    visBar->addWidget(clear);
    visBar->addStretch();
    visLayout->addLayout(visBar);

    OpenGL1 = context_.plotWidget;
    if (!OpenGL1) {
        auto* frame = new QFrame(vis);
        frame->setFrameShape(QFrame::StyledPanel);
        OpenGL1 = frame;
    } else {
        OpenGL1->setParent(vis);
    }
    OpenGL1->setObjectName(QStringLiteral("OpenGL1"));
    OpenGL1->setToolTip(QStringLiteral("Двойной щелчок диалог настройки. Правая кнопка мыши - меню"));
    OpenGL1->setMinimumSize(120, 120);
    OpenGL1->hide();
    visLayout->addWidget(OpenGL1, 1);

    splitter->addWidget(left);
    splitter->addWidget(vis);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 330});

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(splitter);
    return page;
}

QWidget* TForm1::buildSettingsPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TS_Settings"));
    auto* input = new QGroupBox(QStringLiteral("Исходная информация : "), page);
    input->setObjectName(QStringLiteral("GB_Input"));
    auto* layout = new QVBoxLayout(input);

    CB_YesScaleIN = new QCheckBox(QStringLiteral("Масштабировать X и Y"), input);
    CB_YesScaleIN->setObjectName(QStringLiteral("CB_YesScaleIN"));
    CB_YesScaleIN->setChecked(true);
    layout->addWidget(CB_YesScaleIN);

    auto* defaults = new QGroupBox(QStringLiteral("Значения по умолчанию : "), input);
    defaults->setObjectName(QStringLiteral("GB_Defaults"));
    auto* defLayout = new QHBoxLayout(defaults);
    Edit_Xdef = defaultField("Edit_Xdef", defaults);
    Edit_Ydef = defaultField("Edit_Ydef", defaults);
    Edit_Zdef = defaultField("Edit_Zdef", defaults);
    defLayout->addWidget(new QLabel(QStringLiteral("X="), defaults));
    defLayout->addWidget(Edit_Xdef);
    defLayout->addWidget(new QLabel(QStringLiteral("Y="), defaults));
    defLayout->addWidget(Edit_Ydef);
    defLayout->addWidget(new QLabel(QStringLiteral("Z="), defaults));
    defLayout->addWidget(Edit_Zdef);
    defLayout->addStretch();
    layout->addWidget(defaults);

    RG_ModeMatrixFill = new QGroupBox(QStringLiteral("Заливка матрицы  перед исходными данными : "), input);
    RG_ModeMatrixFill->setObjectName(QStringLiteral("RG_ModeMatrixFill"));
    RG_ModeMatrixFill->setToolTip(
        QStringLiteral("Эта операция выпоолняется для каждого файла с данными ПЕРЕД его визуализацией"));
    RG_Buttons = new QButtonGroup(this);
    auto* modes = new QVBoxLayout(RG_ModeMatrixFill);
    const char* captions[] = {"нет", "min значением", "max значением", "средн.значением", "вычислить"};
    for (int i = 0; i < 5; ++i) {
        auto* r = new QRadioButton(QString::fromUtf8(captions[i]), RG_ModeMatrixFill);
        RG_Buttons->addButton(r, i);
        modes->addWidget(r);
    }
    RG_Buttons->button(0)->setChecked(true);
    layout->addWidget(RG_ModeMatrixFill);
    layout->addStretch();

    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(input);
    return page;
}

void TForm1::buildMenus()
{
    auto guarded = [this](QAction* a) {
        guardedActions_.push_back(a);
        return a;
    };
    auto action = [this](QMenu* menu, const char* text, void (TForm1::*command)(), QKeySequence key = {}) {
        QAction* a = menu->addAction(QString::fromUtf8(text));
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, command);
        return a;
    };

    QMenu* data = menuBar()->addMenu(QStringLiteral("Данные"));
    data->setObjectName(QStringLiteral("N_Data"));
    guarded(action(data, "Добавить файл-матрицу в список", &TForm1::AddFileCommand));
    guarded(action(data, "Удалить файл-матрицу из списка", &TForm1::RemoveFileCommand));
    data->addSeparator();
    guarded(action(data, "Отметить весь список", &TForm1::CheckAllCommand));
    guarded(action(data, "Снять отметки по всему списку", &TForm1::UncheckAllCommand));
    guarded(action(data, "Инвертировать отметки в списке", &TForm1::InvertChecksCommand));
    data->addSeparator();
    guarded(action(data, "Очистить весь список", &TForm1::ClearListCommand));

    QMenu* vis = menuBar()->addMenu(QStringLiteral("Визуализация"));
    vis->setObjectName(QStringLiteral("N_Visualization"));
    guarded(action(vis, "Показать: Текущий в списке", &TForm1::ShowCurrentCommand));
    guarded(action(vis, "Показать: Отмеченные в списке. Все сложить на одной поверхности", &TForm1::SumCheckedFiles));
    guarded(action(vis, "Показать: Отмеченные в списке. На каждый - отдельная поверхность",
                   &TForm1::ShowCheckedEachCommand));
    vis->addSeparator();
    guarded(action(vis, "Очистить всю визуализацию", &TForm1::ClearPlotCommand));

    QAction* about = menuBar()->addAction(QStringLiteral("?"));
    connect(about, &QAction::triggered, this, &TForm1::AboutCommand);
    Version = menuBar()->addAction(QString());
    Version->setObjectName(QStringLiteral("Version"));
    Version->setEnabled(false);

    // The list's pop-up menu; its shortcuts work anywhere in the window.
    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PM_ListFiles"));
    QAction* show = guarded(action(popup, "Визуализировать", &TForm1::ShowCurrentCommand, QKeySequence(Qt::Key_F4)));
    QAction* remove = guarded(action(popup, "Удалить из списка", &TForm1::RemoveFileCommand, QKeySequence(Qt::Key_F8)));
    addAction(show);
    addAction(remove);
    connect(ListFiles, &QListWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& at) { popup->popup(ListFiles->viewport()->mapToGlobal(at)); });
}

void TForm1::connectFields()
{
    connect(SE_Xmin, &QSpinBox::editingFinished, this, [this] { writeIndexField("Xmin", SE_Xmin); });
    connect(SE_Xmax, &QSpinBox::editingFinished, this, [this] { writeIndexField("Xmax", SE_Xmax); });
    connect(SE_Ymin, &QSpinBox::editingFinished, this, [this] { writeIndexField("Ymin", SE_Ymin); });
    connect(SE_Ymax, &QSpinBox::editingFinished, this, [this] { writeIndexField("Ymax", SE_Ymax); });
    for (QLineEdit* e : {Edit_Xdef, Edit_Ydef, Edit_Zdef})
        connect(e, &QLineEdit::editingFinished, this, [this, e] { normaliseDefaultField(e); });
    connect(RG_Buttons, &QButtonGroup::idClicked, this, [this](int) {
        PutToINI_IntegerParamW(settingsFile(), "MATRIX", "ModeMatrixFill", fillMode());
    });
}

} // namespace tavrin
