#include "plot/model/quick_plot_replay.h"

#include "plot/base/plot_errors.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace halvex {

namespace {

// Saved state and matrices a replay may hold at once.
constexpr int kMaxStateDepth = 8;
constexpr int kMaxMatrixDepth = 16;

constexpr std::array<GLenum, 4> kCapabilities{GL_LIGHTING, GL_COLOR_MATERIAL, GL_CULL_FACE, GL_NORMALIZE};
// Vertex, normal and colour arrays: doubles per element.
constexpr std::array<int, 3> kArrayWidth{3, 3, 4};

// A call's arguments, read against its operation's table entry.
struct Arguments {
    std::array<double, 4> number{};
    // The one array argument: its doubles in the arena.
    const double* array = nullptr;
    std::size_t arrayLength = 0;
};

bool Decode(const RecordedCalls::Call& call, const DrawOpInfo& info, Arguments& out) noexcept
{
    const std::uint32_t* w = call.words();
    std::size_t left = call.wordCount();
    std::size_t numbers = 0;
    for (char kind : info.arguments) {
        if (left < 2)
            return false;
        double v = GetNumber(w);
        w += 2;
        left -= 2;
        if (kind == 'n') {
            out.number[numbers++] = v;
            continue;
        }
        if (!(v >= 0.0) || v != std::floor(v) || 2.0 * v > double(left))
            return false;
        out.array = reinterpret_cast<const double*>(w);
        out.arrayLength = std::size_t(v);
        w += 2 * out.arrayLength;
        left -= 2 * out.arrayLength;
    }
    return left == 0;
}

bool WholeIn(double v, double lo, double hi) noexcept
{
    return v >= lo && v <= hi && v == std::floor(v);
}

constexpr double kMaxIndex = 2147483647.0;

bool ArgumentsValid(DrawOp op, const Arguments& a) noexcept
{
    switch (op) {
    case DrawOp::Begin:
        return WholeIn(a.number[0], 0, 9);
    case DrawOp::EnableArray:
    case DrawOp::DisableArray:
        return WholeIn(a.number[0], 0, double(kArrayWidth.size() - 1));
    case DrawOp::ArrayElement:
        return WholeIn(a.number[0], 0, kMaxIndex);
    case DrawOp::DrawArrays:
        return WholeIn(a.number[0], 0, 9) && WholeIn(a.number[1], 0, kMaxIndex) && WholeIn(a.number[2], 0, kMaxIndex);
    case DrawOp::DrawElements:
        if (!WholeIn(a.number[0], 0, 9))
            return false;
        for (std::size_t i = 0; i < a.arrayLength; ++i) {
            double index;
            std::memcpy(&index, a.array + i, sizeof index);
            if (!WholeIn(index, 0, kMaxIndex))
                return false;
        }
        return true;
    case DrawOp::Enable:
    case DrawOp::Disable:
        return WholeIn(a.number[0], 0, double(kCapabilities.size() - 1));
    default:
        return true;
    }
}

[[noreturn]] void Illegal()
{
    raiseError(err::IllegalGraphicsPrimitive);
}

// What one replay holds; the destructor gives it all back.
class Replay {
public:
    explicit Replay(const ReplayOptions& options) : options_(options) {}
    ~Replay()
    {
        if (inside_)
            glEnd();
        for (; matrices_ > 0; --matrices_)
            glPopMatrix();
        for (; states_ > 0; --states_)
            glPopAttrib();
    }
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    void Perform(const RecordedCalls::Call& call);

private:
    struct ArrayState {
        const double* data = nullptr;
        std::size_t elements = 0;
        bool enabled = false;
    };

    void Outside() const
    {
        if (inside_)
            Illegal();
    }
    // Elements every enabled array has.
    std::size_t Reach() const
    {
        std::size_t reach = SIZE_MAX;
        bool any = false;
        for (const ArrayState& a : arrays_)
            if (a.enabled) {
                reach = std::min(reach, a.data ? a.elements : 0);
                any = true;
            }
        return any ? reach : 0;
    }
    void SetArray(std::size_t k, const Arguments& a)
    {
        Outside();
        ArrayState& s = arrays_[k];
        s.data = a.array;
        s.elements = a.arrayLength / std::size_t(kArrayWidth[k]);
    }
    void SwitchArray(std::size_t k, bool on)
    {
        Outside();
        arrays_[k].enabled = on;
    }
    // One element of the enabled arrays, sent as the immediate calls the
    // arrays stand for: normal and colour before the vertex. The caller has
    // checked the index against Reach().
    void Element(std::size_t i) const
    {
        double v[4];
        if (arrays_[1].enabled) {
            std::memcpy(v, arrays_[1].data + 3 * i, 3 * sizeof(double));
            glNormal3dv(v);
        }
        if (arrays_[2].enabled && !options_.ignoreColors) {
            std::memcpy(v, arrays_[2].data + 4 * i, 4 * sizeof(double));
            glColor4dv(v);
        }
        if (arrays_[0].enabled) {
            std::memcpy(v, arrays_[0].data + 3 * i, 3 * sizeof(double));
            glVertex3dv(v);
        }
    }

    const ReplayOptions& options_;
    std::array<ArrayState, 3> arrays_;
    bool inside_ = false;
    int states_ = 0;
    int matrices_ = 0;
};

void Replay::Perform(const RecordedCalls::Call& call)
{
    const DrawOpInfo* info = FindDrawOp(std::int32_t(call.op));
    Arguments a;
    if (!info || !Decode(call, *info, a) || !ArgumentsValid(call.op, a))
        Illegal();
    const auto& n = a.number;
    switch (call.op) {
    case DrawOp::Begin:
        Outside();
        glBegin(GLenum(n[0]));
        inside_ = true;
        break;
    case DrawOp::End:
        if (!inside_)
            Illegal();
        glEnd();
        inside_ = false;
        break;
    case DrawOp::Vertex:
        if (!inside_)
            Illegal();
        glVertex3d(n[0], n[1], n[2]);
        break;
    case DrawOp::Normal:
        glNormal3d(n[0], n[1], n[2]);
        break;
    case DrawOp::Color:
        if (!options_.ignoreColors)
            glColor4d(n[0], n[1], n[2], n[3]);
        break;
    case DrawOp::EdgeFlag:
        glEdgeFlag(n[0] != 0.0 ? GL_TRUE : GL_FALSE);
        break;
    case DrawOp::VertexArray:
        SetArray(0, a);
        break;
    case DrawOp::NormalArray:
        SetArray(1, a);
        break;
    case DrawOp::ColorArray:
        SetArray(2, a);
        break;
    case DrawOp::EnableArray:
    case DrawOp::DisableArray:
        SwitchArray(std::size_t(n[0]), call.op == DrawOp::EnableArray);
        break;
    case DrawOp::ArrayElement:
        if (!inside_ || n[0] >= double(Reach()))
            Illegal();
        Element(std::size_t(n[0]));
        break;
    case DrawOp::DrawArrays: {
        Outside();
        if (n[1] + n[2] > double(Reach()))
            Illegal();
        const auto first = std::size_t(n[1]), count = std::size_t(n[2]);
        glBegin(GLenum(n[0]));
        for (std::size_t i = first; i < first + count; ++i)
            Element(i);
        glEnd();
        break;
    }
    case DrawOp::DrawElements: {
        Outside();
        const double reach = double(Reach());
        for (std::size_t i = 0; i < a.arrayLength; ++i) {
            double index;
            std::memcpy(&index, a.array + i, sizeof index);
            if (index >= reach)
                Illegal();
        }
        glBegin(GLenum(n[0]));
        for (std::size_t i = 0; i < a.arrayLength; ++i) {
            double index;
            std::memcpy(&index, a.array + i, sizeof index);
            Element(std::size_t(index));
        }
        glEnd();
        break;
    }
    case DrawOp::PushState:
        Outside();
        if (states_ == kMaxStateDepth)
            Illegal();
        glPushAttrib(GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT);
        ++states_;
        break;
    case DrawOp::PopState:
        Outside();
        if (states_ == 0)
            Illegal();
        glPopAttrib();
        --states_;
        break;
    case DrawOp::Enable:
    case DrawOp::Disable:
        Outside();
        if (call.op == DrawOp::Enable)
            glEnable(kCapabilities[std::size_t(n[0])]);
        else
            glDisable(kCapabilities[std::size_t(n[0])]);
        break;
    case DrawOp::PushMatrix:
        Outside();
        if (matrices_ == kMaxMatrixDepth)
            Illegal();
        glPushMatrix();
        ++matrices_;
        break;
    case DrawOp::PopMatrix:
        Outside();
        if (matrices_ == 0)
            Illegal();
        glPopMatrix();
        --matrices_;
        break;
    case DrawOp::Translate:
        Outside();
        glTranslated(n[0], n[1], n[2]);
        break;
    case DrawOp::Rotate:
        Outside();
        glRotated(n[0], n[1], n[2], n[3]);
        break;
    case DrawOp::Scale:
        Outside();
        glScaled(n[0], n[1], n[2]);
        break;
    }
}

} // namespace

bool CallArgumentsValid(const RecordedCalls::Call& call) noexcept
{
    const DrawOpInfo* info = FindDrawOp(std::int32_t(call.op));
    Arguments a;
    return info && Decode(call, *info, a) && ArgumentsValid(call.op, a);
}

void ReplayCalls(const RecordedCalls& calls, const ReplayOptions& options)
{
    Replay replay(options);
    for (const RecordedCalls::Call* call : calls.calls())
        replay.Perform(*call);
}

} // namespace halvex
