#include "tests/plot/dialog_test_support.h"

#include "platform/automation/dispatch_exception.h"
#include "platform/text/number_text.h"
#include "plot/core/plot_control.h"
#include "plot/dialog/color_button.h"
#include "plot/dialog/number_edit.h"
#include "plot/model/back_plane.h"
#include "plot/model/gl_axis.h"
#include "plot/model/model_box.h"
#include "plot/model/model_settings.h"
#include "plot/model/plot_light.h"
#include "plot/model/plot_model.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <stdexcept>

namespace dialogtest {

using platform::Dispatch;
using platform::Variant;

QAbstractButton* button(QWidget* root, const QString& text)
{
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (b->text() == text)
            return b;
    throw std::runtime_error("no button " + text.toStdString());
}

static QWidget* buddyOf(QWidget* root, const QString& label)
{
    for (QLabel* l : root->findChildren<QLabel*>())
        if (l->text() == label && l->buddy())
            return l->buddy();
    throw std::runtime_error("no field labelled " + label.toStdString());
}

halvex::NumberEdit* number(QWidget* root, const QString& label)
{
    auto* e = dynamic_cast<halvex::NumberEdit*>(buddyOf(root, label));
    if (!e)
        throw std::runtime_error("not a number field: " + label.toStdString());
    return e;
}

halvex::ColorButton* color(QWidget* root, const QString& label)
{
    auto* c = dynamic_cast<halvex::ColorButton*>(buddyOf(root, label));
    if (!c)
        throw std::runtime_error("not a colour field: " + label.toStdString());
    return c;
}

QComboBox* list(QWidget* root, const QString& label)
{
    auto* c = qobject_cast<QComboBox*>(buddyOf(root, label));
    if (!c)
        throw std::runtime_error("not a list: " + label.toStdString());
    return c;
}

void type(halvex::NumberEdit* edit, const QString& text)
{
    edit->findChild<QLineEdit*>()->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void pick(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

namespace {

std::string text(const Variant& v)
{
    switch (v.type()) {
    case platform::varSingle:
    case platform::varDouble: return platform::formatShortest(v.toDouble());
    case platform::varEmpty: return "<empty>";
    default: return v.toString() + " :" + std::to_string(int(v.type()));
    }
}

// The properties of members numbered first … last.
void properties(Dispatch& object, const platform::MemberTable& names, platform::DispId first, platform::DispId last,
                const std::string& path, std::map<std::string, std::string>& out)
{
    for (const auto& e : names.entries()) {
        if (e.id < first || e.id > last)
            continue;
        Variant v;
        try {
            v = object.get(e.id);
        } catch (const platform::DispatchException& x) {
            out[path + e.name] = "error " + std::to_string(x.code());
            continue;
        }
        if (v.isDispatch())
            continue;
        out[path + e.name] = text(v);
    }
}

} // namespace

std::map<std::string, std::string> Snapshot(Dispatch& control)
{
    std::map<std::string, std::string> out;
    properties(control, halvex::COpenGLCtrl::memberNames(), 1, 63, "", out);
    platform::Ref<Dispatch> box(control.get("ModelBox").dispatch());
    properties(*box, halvex::CglModelBox::memberNames(), 1, 9, "ModelBox.", out);
    for (const char* a : {"XAxis", "YAxis", "ZAxis"})
        properties(*platform::Ref<Dispatch>(box->get(a).dispatch()), halvex::CglAxis::memberNames(), 1, 17,
                   std::string("ModelBox.") + a + ".", out);
    for (const char* p : {"XYPlane", "YZPlane", "XZPlane"})
        properties(*platform::Ref<Dispatch>(box->get(p).dispatch()), halvex::CglBackPlane::memberNames(), 1, 30,
                   std::string("ModelBox.") + p + ".", out);
    for (int k = 0; k < 8; ++k) {
        Variant n = Variant::fromInt16(std::int16_t(k));
        Variant l = control.invoke("Light", platform::InvokeKind::Method, std::span<Variant>(&n, 1));
        std::string path = "Light(" + std::to_string(k) + ").";
        if (!l.dispatch()) {
            out[path] = "none";
            continue;
        }
        properties(*l.dispatch(), halvex::CglLight::memberNames(), 1, 8, path, out);
    }
    auto& core = dynamic_cast<halvex::CGLCOleControl&>(control);
    for (const auto& [number, model] : core.models()) {
        std::string path = "Model(" + std::to_string(number) + ").";
        properties(*model, halvex::CglModel::memberNames(), 1, 72, path, out);
        const auto& qp = model->format().quickPlotParams;
        out[path + "QuickPlotParams"] =
            qp ? platform::formatShortest(qp->U0) + " " + platform::formatShortest(qp->U1) + " " +
                     platform::formatShortest(qp->V0) + " " + platform::formatShortest(qp->V1) + " " +
                     std::to_string(qp->M) + " " + std::to_string(qp->N) + " " + std::to_string(qp->c)
               : "none";
    }
    return out;
}

} // namespace dialogtest
