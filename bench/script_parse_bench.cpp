// Syntax analysis of a large generated script into its intermediate
// language: 10,000 lines of the Pascal-like language (routines, loops,
// conditions, comments, strings), and the same amount of the Basic-like
// and JavaScript-like languages. The target is well under 0.5 s for the
// Pascal-like script.

#include "script/parser/il_parser.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string pascalScript(int lines)
{
    std::string s = "program Big;\r\nvar i, j, k: Integer;\r\n  s: String;\r\n  a: array[0..99] of Double;\r\n";
    int n = 4;
    for (int f = 0; n < lines / 2; ++f) {
        s += "function F" + std::to_string(f) + "(x: Integer; y: Double): Double;\r\nvar t: Integer;\r\nbegin\r\n";
        for (int l = 0; l < 20; ++l)
            s += "  t := x * " + std::to_string(l) + " + Round(y) div 3 - (x mod 7);\r\n";
        s += "  if t > 10 then Result := t / 2.5 else Result := -t;\r\nend;\r\n";
        n += 25;
    }
    s += "begin\r\n";
    const char* body[] = {
        "  for i := 0 to 99 do a[i] := F1(i, 0.5) + a[(i + 1) mod 100];\r\n",
        "  s := s + 'line ' + IntToStr(i) + #13#10; // a comment\r\n",
        "  if (i > 3) and (j <= 10) or not (k = 0) then j := j + 1 else k := k - 1;\r\n",
        "  while k < 100 do begin k := k + 1; j := j * 2 end;\r\n",
        "  { block comment } a[k mod 100] := Sqrt(a[j mod 100] * 2.0e-3);\r\n",
        "  case i of 1, 3..5: j := 0; 6: k := 1; else j := 2; end;\r\n",
    };
    for (int i = 0; n < lines - 1; ++i, ++n)
        s += body[i % 6];
    s += "end.\r\n";
    return s;
}

std::string basicScript(int lines)
{
    std::string s;
    const char* body[] = {
        "For i = 0 To 99\r\n  a(i) = F1(i, 0.5) + a((i + 1) Mod 100)\r\nNext\r\n",
        "s = s & \"line \" & CStr(i) ' a comment\r\n",
        "If (i > 3) And (j <= 10) Or Not (k = 0) Then j = j + 1\r\n",
        "While k < 100\r\n  k = k + 1 : j = j * 2\r\nWend\r\n",
    };
    const int bodyLines[] = {3, 1, 1, 3};
    for (int i = 0, n = 0; n < lines; ++i) {
        s += body[i % 4];
        n += bodyLines[i % 4];
    }
    return s;
}

std::string jscript(int lines)
{
    std::string s;
    const char* body[] = {
        "for (i = 0; i < 100; i++) a[i] = F1(i, 0.5) + a[(i + 1) % 100];\r\n",
        "s = s + \"line \" + i; // a comment\r\n",
        "if ((i > 3) && (j <= 10) || !(k == 0)) j++; else k -= 1;\r\n",
        "while (k < 100) { k = k + 1; j = j * 2; }\r\n",
    };
    for (int i = 0; i < lines; ++i)
        s += body[i % 4];
    return s;
}

void analyse(benchmark::State& state, const char* language, const std::string& text)
{
    script::ScriptErrors errors;
    for (auto _ : state) {
        script::TfsILParser parser(errors);
        parser.UseLanguage(language);
        if (!parser.BuildIntermediate(text)) {
            state.SkipWithError((errors.ErrorPosition + " " + errors.ErrorText).c_str());
            break;
        }
        benchmark::DoNotOptimize(parser.ILDocument().Root().Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_Pascal10000Lines(benchmark::State& state)
{
    static const std::string text = pascalScript(10000);
    analyse(state, "PascalScript", text);
}

void BM_Basic10000Lines(benchmark::State& state)
{
    static const std::string text = basicScript(10000);
    analyse(state, "BasicScript", text);
}

void BM_JScript10000Lines(benchmark::State& state)
{
    static const std::string text = jscript(10000);
    analyse(state, "JScript", text);
}

} // namespace

BENCHMARK(BM_Pascal10000Lines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Basic10000Lines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JScript10000Lines)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
