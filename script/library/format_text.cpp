#include "script/library/format_text.h"

#include "platform/automation/value_limits.h"
#include "platform/text/number_text.h"
#include "script/library/decimal_digits.h"
#include "script/program/run_error.h"

#include <algorithm>
#include <cstdio>

namespace script::library {

using platform::Variant;

namespace {

// At most this many arguments take part, as the original list holds.
constexpr std::size_t kMaxArguments = 32;

enum class Kind { Integer, Float, String, Boolean, Other };

Kind kindOf(const Variant& v)
{
    switch (v.type()) {
    case platform::varInteger: case platform::varSmallint: case platform::varShortInt: case platform::varByte:
    case platform::varWord: case platform::varLongWord: case platform::varInt64: case platform::varUInt64:
    case platform::varObject:
        return Kind::Integer;
    case platform::varSingle: case platform::varDouble: case platform::varCurrency: case platform::varDate:
        return Kind::Float;
    case platform::varString: return Kind::String;
    case platform::varBoolean: return Kind::Boolean;
    default: return Kind::Other;
    }
}

class Formatter {
public:
    Formatter(std::string_view format, std::span<const Variant> args)
        : format_(format), args_(args.subspan(0, std::min(args.size(), kMaxArguments)))
    {
    }

    std::string Run()
    {
        std::size_t i = 0;
        while (i < format_.size()) {
            std::size_t pct = format_.find('%', i);
            if (pct == std::string_view::npos) {
                append(format_.substr(i));
                break;
            }
            append(format_.substr(i, pct - i));
            i = directive(pct + 1);
        }
        return std::move(out_);
    }

private:
    [[noreturn]] void invalid() const
    {
        RaiseRuntime("Format '" + std::string(format_) + "' invalid or incompatible with argument");
    }

    void append(std::string_view s)
    {
        if (out_.size() + s.size() > platform::valueLimits().maxStringBytes)
            RaiseRuntime("Out of memory");
        out_ += s;
    }

    Variant next()
    {
        if (argIndex_ < args_.size())
            return args_[argIndex_++];
        ++argIndex_;
        return Variant(0); // a directive without argument gets 0
    }

    // A number of the directive, or "*" taken from the arguments.
    bool number(std::size_t& i, std::int64_t& value)
    {
        if (i < format_.size() && format_[i] == '*') {
            ++i;
            Variant v = next();
            if (kindOf(v) != Kind::Integer)
                invalid();
            value = v.toInt64();
            return true;
        }
        std::size_t start = i;
        value = 0;
        while (i < format_.size() && format_[i] >= '0' && format_[i] <= '9') {
            value = value * 10 + (format_[i] - '0');
            if (value > (std::int64_t(1) << 40))
                invalid();
            ++i;
        }
        return i > start;
    }

    std::size_t directive(std::size_t i)
    {
        if (i < format_.size() && format_[i] == '%') {
            append("%");
            return i + 1;
        }
        // An index: digits and a colon.
        std::size_t digitsEnd = i;
        while (digitsEnd < format_.size() && format_[digitsEnd] >= '0' && format_[digitsEnd] <= '9')
            ++digitsEnd;
        if (digitsEnd > i && digitsEnd < format_.size() && format_[digitsEnd] == ':') {
            std::int64_t n = 0;
            number(i, n);
            argIndex_ = static_cast<std::size_t>(n);
            ++i;
        }
        bool left = false;
        if (i < format_.size() && format_[i] == '-') {
            left = true;
            ++i;
        }
        std::int64_t width = 0;
        number(i, width);
        if (width < 0) {
            left = true;
            width = -width;
        }
        std::int64_t precision = -1;
        if (i < format_.size() && format_[i] == '.') {
            ++i;
            if (!number(i, precision))
                precision = 0;
        }
        if (i >= format_.size())
            invalid();
        char type = static_cast<char>(format_[i] | 0x20);
        ++i;
        std::string text = convert(type, next(), precision);
        if (static_cast<std::uint64_t>(width) > platform::valueLimits().maxStringBytes)
            RaiseRuntime("Out of memory");
        std::size_t w = static_cast<std::size_t>(width);
        if (text.size() < w) {
            std::string pad(w - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        append(text);
        return i;
    }

    std::string convert(char type, const Variant& v, std::int64_t precision)
    {
        Kind k = kindOf(v);
        switch (type) {
        case 'd':
        case 'u':
        case 'x':
        case 'p': {
            if (k != Kind::Integer && k != Kind::Other)
                invalid();
            std::int64_t x = v.toInt64();
            std::string digits;
            bool negative = false;
            if (type == 'd') {
                negative = x < 0;
                std::uint64_t mag = negative ? 0 - static_cast<std::uint64_t>(x) : static_cast<std::uint64_t>(x);
                digits = std::to_string(mag);
            } else {
                // u, x, p: the 32-bit pattern of a 32-bit value.
                std::uint64_t bits = static_cast<std::uint64_t>(x);
                if (v.type() != platform::varInt64 && v.type() != platform::varUInt64)
                    bits &= 0xFFFFFFFFu;
                if (type == 'u') {
                    digits = std::to_string(bits);
                } else {
                    char buf[24];
                    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(bits));
                    digits = buf;
                    if (type == 'p' && digits.size() < 8)
                        digits.insert(0, 8 - digits.size(), '0');
                }
            }
            if (precision > static_cast<std::int64_t>(digits.size())) {
                if (static_cast<std::uint64_t>(precision) > platform::valueLimits().maxStringBytes)
                    RaiseRuntime("Out of memory");
                digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
            }
            return negative ? "-" + digits : digits;
        }
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm': {
            if (k != Kind::Float && k != Kind::Other)
                invalid();
            double x = v.toDouble();
            switch (type) {
            case 'e': return ScientificText(x, precision < 0 ? 15 : static_cast<int>(std::clamp<std::int64_t>(precision, 1, 40)), 3);
            case 'f': return FixedText(x, precision < 0 ? 2 : static_cast<int>(std::clamp<std::int64_t>(precision, 0, 60)));
            case 'g': return platform::formatGeneral(x, precision < 0 ? 15 : static_cast<int>(std::clamp<std::int64_t>(precision, 1, 17)));
            default: return FixedText(x, precision < 0 ? 2 : static_cast<int>(std::clamp<std::int64_t>(precision, 0, 60)), ',');
            }
        }
        case 's': {
            if (k != Kind::String && k != Kind::Other)
                invalid();
            std::string s = v.toString();
            if (precision >= 0 && static_cast<std::uint64_t>(precision) < s.size())
                s.resize(static_cast<std::size_t>(precision));
            return s;
        }
        default:
            invalid();
        }
    }

    std::string_view format_;
    std::span<const Variant> args_;
    std::size_t argIndex_ = 0;
    std::string out_;
};

} // namespace

std::string FormatText(std::string_view format, std::span<const Variant> args)
{
    return Formatter(format, args).Run();
}

} // namespace script::library
