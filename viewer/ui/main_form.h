#pragma once
// The main window: the list of data files, the index rectangle and the
// settings page, the commands of its menus and buttons, and the embedded
// plot control that shows the surfaces.

#include "viewer/binding/plot_binding.h"
#include "viewer/data/fill_script.h"
#include "viewer/data/matrix_settings.h"
#include "viewer/data/visualization_matrix.h"
#include "viewer/settings/program_folder.h"
#include "viewer/settings/viewer_settings.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolButton;

namespace tavrin {

class TAboutBox;
class UserPrompts;

// What the window is given by the program: where its files live, the plot
// control it drives, and the seams that tests replace.
struct ViewerContext {
    std::string programFolder; // with a trailing '/'
    std::string exePath;
    PlotBinding plot;
    QWidget* plotWidget = nullptr;  // the control's window; an empty frame when null
    UserPrompts* prompts = nullptr; // message boxes and dialogs when null
    FillScriptRunner fillScript;    // fill mode 4; none until a script host is attached
    std::function<void()> processEvents; // QCoreApplication::processEvents when empty
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(ViewerContext context, QWidget* parent = nullptr);
    ~TForm1() override;

    // The first timer tick: maximise, select the work page, load settings
    // and the file list.
    void FirstTick();
    // Files given on the command line: added to the list (or found there),
    // checked; the first is shown.
    void OpenFiles(const std::vector<std::string>& paths);
    // The same, once the first tick has loaded the settings and the list.
    void OpenFilesAfterStart(std::vector<std::string> paths) { startFiles_ = std::move(paths); }

    // Commands.
    void AddFileCommand();
    void RemoveFileCommand();
    void CheckAllCommand();
    void UncheckAllCommand();
    void InvertChecksCommand();
    void ClearListCommand();
    void ClearPlotCommand();
    void ShowCurrentCommand();
    void ShowCheckedEachCommand();
    void SumCheckedFiles();
    void AboutCommand();
    // A warning on the status strip (a fill script that does not compile).
    void ShowWarning(const QString& text);

    // One file as one surface; false when there is no such file or no matrix.
    bool VisualizeFile(const std::string& path);

    // Settings and list files.
    void LoadSettings();
    void SaveSettings();
    void LoadFileList();
    bool SaveFileList();
    WindowParameters CurrentParameters() const;
    MatrixSettings TakeMatrixSettings() const;

    std::string settingsFile() const { return context_.programFolder + kSettingsFileName; }
    bool busy() const noexcept { return busy_; }
    const std::vector<std::string>& paths() const noexcept { return ListFiles_Buf; }
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);
    int currentRow() const;
    void setCurrentRow(int row);
    void appendEntry(const std::string& path, bool checked);

    // The controls, under the names the program has always used.
    QTabWidget* TN1 = nullptr;
    QSpinBox *SE_Xmin = nullptr, *SE_Xmax = nullptr, *SE_Ymin = nullptr, *SE_Ymax = nullptr;
    QCheckBox* CB_YesScaleIN = nullptr;
    QCheckBox* CB_YesAppend = nullptr;
    QLineEdit *Edit_Xdef = nullptr, *Edit_Ydef = nullptr, *Edit_Zdef = nullptr;
    QGroupBox* RG_ModeMatrixFill = nullptr;
    QButtonGroup* RG_Buttons = nullptr;
    QListWidget* ListFiles = nullptr;
    QWidget* OpenGL1 = nullptr;
    QLabel* Label_DateTime = nullptr;
    QTimer* Timer1 = nullptr;
    QAction* Version = nullptr;
    TAboutBox* AboutBox = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class BusyScope;

    void buildWindow();
    void buildMenus();
    QWidget* buildWorkPage();
    QWidget* buildSettingsPage();
    void connectFields();
    void onTimer();
    void writeIndexField(const char* key, QSpinBox* field);
    void normaliseDefaultField(QLineEdit* field);
    void setFillMode(int mode);
    int fillMode() const;
    void setCommandsEnabled(bool enabled);
    void keepEventsFlowing();
    // Shows a failure of a command; the plot control stays hidden.
    void reportFailure(const QString& text);
    void reportScriptFailure(const QString& text);
    std::optional<VisualizationMatrix> buildFileMatrix(const std::string& path, const MatrixSettings& settings,
                                                      bool withFillScript);
    void showPlot(bool visible);

    ViewerContext context_;
    std::unique_ptr<UserPrompts> ownPrompts_;
    UserPrompts* prompts_ = nullptr;
    std::vector<std::string> ListFiles_Buf;
    std::vector<QAction*> guardedActions_;
    std::vector<QToolButton*> guardedButtons_;
    std::vector<std::string> startFiles_;
    bool firstTick_ = true;
    bool busy_ = false;
    bool closeRequested_ = false;
    // The matrix settings of the running show command, taken once.
    std::optional<MatrixSettings> commandSettings_;
};

} // namespace tavrin
