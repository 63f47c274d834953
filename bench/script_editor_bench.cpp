// The script editor on a 100,000-line script: loading it, and each
// keystroke, scroll step and redraw, in the model alone and in the window
// drawn off screen. Each step is to stay under 16 ms, loading under 0.5 s.
//
//   script_editor_bench --make FILE     write the 100,000-line script
//   script_editor_bench FILE [gbench options]

#include "script/editor/editor_model.h"
#include "script/editor/widget/syntax_memo.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

using script::editor::EditorModel;
using script::editor::TfsSyntaxMemo;

namespace {

constexpr int kLines = 100000;
std::string gFile;

// A Pascal-like script: routines with comments, strings and blocks.
std::string makeScript()
{
    std::string text;
    text.reserve(std::size_t(kLines) * 40);
    for (int i = 0; i < kLines; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 10) {
        case 0: text += "procedure Step" + n + "(a: Integer);"; break;
        case 1: text += "{ step " + n + ": fills the list"; break;
        case 2: text += "  with its values }"; break;
        case 3: text += "var s: string;"; break;
        case 4: text += "begin"; break;
        case 5: text += "  s := 'value ' + IntToStr(a * " + n + "); // one line"; break;
        case 6: text += "  (* a block comment *) if a > 0 then"; break;
        case 7: text += "    List_Data.Add(s + \xE7\xED\xE0\xF7\xE5\xED\xE8\xE5);"; break;
        case 8: text += "end;"; break;
        default: text += ""; break;
        }
        text += "\r\n";
    }
    return text;
}

const std::string& scriptText()
{
    static const std::string text = [] {
        std::ifstream in(gFile, std::ios::binary);
        if (!in)
            return makeScript();
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }();
    return text;
}

// The work of one redraw in the model: the attributes of the rows on
// screen.
void drawRows(EditorModel& m, std::vector<script::editor::CharAttr>& attrs)
{
    const std::size_t end = std::min(m.lineCount(), std::size_t(m.topLine() + m.visibleRows()));
    for (std::size_t l = std::size_t(m.topLine()); l < end; ++l) {
        m.lineAttributes(l, attrs);
        benchmark::DoNotOptimize(attrs.data());
    }
}

std::unique_ptr<EditorModel> loadedModel()
{
    auto m = std::make_unique<EditorModel>();
    m->setViewSize(40, 100);
    m->setText(scriptText());
    return m;
}

void BM_ModelLoad(benchmark::State& state)
{
    std::vector<script::editor::CharAttr> attrs;
    for (auto _ : state) {
        EditorModel m;
        m.setViewSize(40, 100);
        m.loadFile(gFile);
        drawRows(m, attrs);
        benchmark::DoNotOptimize(m.lineCount());
    }
}
BENCHMARK(BM_ModelLoad)->Unit(benchmark::kMillisecond);

// Typing in the middle of the text, 32 snapshots deep.
void BM_ModelTypeKey(benchmark::State& state)
{
    auto m = loadedModel();
    std::vector<script::editor::CharAttr> attrs;
    m->setPos(10, kLines / 2);
    for (auto _ : state) {
        m->insertText("x");
        drawRows(*m, attrs);
    }
}
BENCHMARK(BM_ModelTypeKey)->Unit(benchmark::kMicrosecond);

// The worst case for the highlighter: a comment opened and closed at the
// top while the view shows the middle, so every line down to it changes.
void BM_ModelTypeCommentAtTop(benchmark::State& state)
{
    auto m = loadedModel();
    std::vector<script::editor::CharAttr> attrs;
    for (auto _ : state) {
        m->setPos(1, 1);
        m->insertText("{");
        m->scrollTo(kLines / 2);
        drawRows(*m, attrs);
        m->backspace();
        m->scrollTo(kLines / 2);
        drawRows(*m, attrs);
    }
    state.counters["steps_per_iteration"] = 2;
}
BENCHMARK(BM_ModelTypeCommentAtTop)->Unit(benchmark::kMillisecond);

void BM_ModelScrollStep(benchmark::State& state)
{
    auto m = loadedModel();
    std::vector<script::editor::CharAttr> attrs;
    long top = 0;
    for (auto _ : state) {
        top = (top + 1) % kLines;
        m->scrollTo(top);
        drawRows(*m, attrs);
    }
}
BENCHMARK(BM_ModelScrollStep)->Unit(benchmark::kMicrosecond);

// The window, drawn into an image as the screen would be.
struct Window {
    TfsSyntaxMemo memo;
    QImage image;
    Window()
    {
        memo.SetShowFooter(true);
        memo.SetShowGutter(true);
        memo.resize(1000, 700);
        memo.SetText1251(scriptText());
        image = QImage(memo.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    }
    void redraw()
    {
        memo.viewport()->render(&image);
    }
    void key(int qtKey, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
        QApplication::sendEvent(&memo, &press);
    }
};

void BM_WindowLoad(benchmark::State& state)
{
    for (auto _ : state) {
        Window w;
        w.redraw();
    }
}
BENCHMARK(BM_WindowLoad)->Unit(benchmark::kMillisecond);

void BM_WindowTypeKey(benchmark::State& state)
{
    Window w;
    w.memo.SetPos(10, kLines / 2);
    for (auto _ : state) {
        w.key(Qt::Key_X, QStringLiteral("x"));
        w.redraw();
    }
}
BENCHMARK(BM_WindowTypeKey)->Unit(benchmark::kMillisecond);

void BM_WindowEnterKey(benchmark::State& state)
{
    Window w;
    w.memo.SetPos(5, kLines / 2);
    for (auto _ : state) {
        w.key(Qt::Key_Return);
        w.redraw();
    }
}
BENCHMARK(BM_WindowEnterKey)->Unit(benchmark::kMillisecond);

void BM_WindowWheelStep(benchmark::State& state)
{
    Window w;
    int dy = -120;
    for (auto _ : state) {
        if (w.memo.Model().topLine() >= kLines - 100)
            dy = 120;
        else if (w.memo.Model().topLine() == 0)
            dy = -120;
        QWheelEvent wheel(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.memo.viewport(), &wheel);
        w.redraw();
    }
}
BENCHMARK(BM_WindowWheelStep)->Unit(benchmark::kMillisecond);

void BM_WindowPageDown(benchmark::State& state)
{
    Window w;
    for (auto _ : state) {
        if (w.memo.CaretLine() >= kLines - 100)
            w.memo.SetPos(1, 1);
        w.key(Qt::Key_PageDown);
        w.redraw();
    }
}
BENCHMARK(BM_WindowPageDown)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--make") == 0) {
        std::ofstream out(argv[2], std::ios::binary);
        out << makeScript();
        return out ? 0 : 1;
    }
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: script_editor_bench --make FILE | script_editor_bench FILE [options]\n");
        return 2;
    }
    gFile = argv[1];
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    // The file takes the program name's place for the benchmark options.
    --argc;
    ++argv;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
