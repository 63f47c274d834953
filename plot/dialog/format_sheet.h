#pragma once
// "3-D Plot Format": the control's format dialog, nine pages in a tab
// widget with OK, Cancel, Apply and Help. It edits the control only
// through its automation objects and keeps nothing beyond its own life;
// the control remembers the page and the model tab shown last.

#include "platform/automation/dispatch.h"

#include <QDialog>

#include <array>
#include <functional>
#include <vector>

class QPushButton;
class QTabWidget;
class QUrl;

namespace halvex {

class CGLCOleControl;
class FormatPage;
class GeneralPage;

class FormatSheet final : public QDialog {
public:
    static constexpr int kPageCount = 9;

    FormatSheet(CGLCOleControl& control, QWidget* parent = nullptr);
    ~FormatSheet() override;

    platform::Dispatch& control() const noexcept { return *control_; }
    CGLCOleControl& core() const noexcept { return core_; }
    platform::Dispatch& modelBox() const noexcept { return *box_; }

    // The models the per-model pages show, numbers 0 … count − 1.
    int modelCount() const noexcept { return int(models_.size()); }
    platform::Dispatch& model(int k) const { return *models_[std::size_t(k)]; }
    // The settings object of model k (quick-plot ranges).
    platform::Ref<platform::Dispatch> modelSettings(int k) const;
    // The model whose tab the per-model pages show.
    int currentModel() const noexcept { return currentModel_; }
    void setCurrentModel(int k);
    // The plot kind of model k as the General page holds it now (applied
    // or not).
    int plotKindOf(int k) const;

    FormatPage& page(int k) const { return *pages_[std::size_t(k)]; }
    int currentPage() const;
    // Shows page k as a click on its tab would (refused when the current
    // page's fields are).
    bool selectPage(int k);

    // The Apply button: checks every page read so far, then writes; false
    // (nothing written) when a field is refused. Errors of the control
    // are told and end the writing.
    bool ApplyAll();
    // The OK button: as Apply, and the dialog closes on success.
    void Ok();
    // Help on the current page (the Help button), or context help (F1).
    void Help(bool context = false);
    QPushButton* applyButton() const noexcept { return apply_; }

    // A page's field changed.
    void PageEdited();
    // Tells the user (a message box unless replaced, for tests).
    void Tell(const QString& message);
    void setTeller(std::function<void(const QString&)> tell) { tell_ = std::move(tell); }
    // Opens a help file (the desktop's handler unless replaced).
    void setUrlOpener(std::function<bool(const QUrl&)> open) { open_ = std::move(open); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pageChanged(int index);

    platform::Ref<platform::Dispatch> control_;
    CGLCOleControl& core_;
    platform::Ref<platform::Dispatch> box_;
    std::vector<platform::Ref<platform::Dispatch>> models_;
    int currentModel_ = 0;
    QTabWidget* tabs_ = nullptr;
    std::array<FormatPage*, kPageCount> pages_{};
    GeneralPage* general_ = nullptr;
    QPushButton* apply_ = nullptr;
    int shownPage_ = -1;
    bool switching_ = false;
    std::function<void(const QString&)> tell_;
    std::function<bool(const QUrl&)> open_;
};

// "Fo&rmat...": the colour maps are read again, the sheet shown modally
// over parent and, on OK, applied.
void ShowFormatDialog(CGLCOleControl& control, QWidget* parent);

} // namespace halvex
