#include "script/parser/lexical_parser.h"

#include "platform/text/ascii_case.h"
#include "platform/text/cp1251.h"

#include <algorithm>
#include <charconv>

namespace script {

namespace {

bool isHexDigit(char c) noexcept
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned hexValue(char c) noexcept
{
    if (c <= '9')
        return static_cast<unsigned>(c - '0');
    return static_cast<unsigned>(platform::lowerAscii(c) - 'a' + 10);
}

} // namespace

TfsParser::TfsParser()
{
    SetIdentChars("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
    line1_ = "//";
    setBlock(block1_, "{,}");
    setBlock(block2_, "(*,*)");
    SetText({});
}

void TfsParser::SetIdentChars(std::string_view chars)
{
    ident_.reset();
    for (char c : chars)
        ident_.set(static_cast<unsigned char>(c));
    settingsChanged();
}

void TfsParser::SetCommentLine1(std::string_view opener)
{
    line1_ = opener;
    settingsChanged();
}

void TfsParser::SetCommentLine2(std::string_view opener)
{
    line2_ = opener;
    settingsChanged();
}

void TfsParser::setBlock(BlockComment& b, std::string_view openClose)
{
    std::size_t comma = openClose.find(',');
    if (comma == std::string_view::npos || comma == 0) {
        b = {};
        return;
    }
    b.open = openClose.substr(0, comma);
    b.close = openClose.substr(comma + 1);
}

void TfsParser::SetCommentBlock1(std::string_view openClose)
{
    setBlock(block1_, openClose);
    settingsChanged();
}

void TfsParser::SetCommentBlock2(std::string_view openClose)
{
    setBlock(block2_, openClose);
    settingsChanged();
}

void TfsParser::SetStringQuote(char quote)
{
    quote_ = quote;
    settingsChanged();
}

void TfsParser::SetHexSequence(std::string_view prefix)
{
    hex_ = prefix;
    settingsChanged();
}

void TfsParser::SetSkipEOL(bool skip)
{
    skipEol_ = skip;
    settingsChanged();
}

void TfsParser::SetSkipChar(char continuation)
{
    skipChar_ = continuation;
    settingsChanged();
}

void TfsParser::ClearKeywords()
{
    keywords_.clear();
    longestKeyword_ = 0;
    settingsChanged();
}

void TfsParser::AddKeyword(std::string_view word)
{
    std::string w = platform::lowerCp1251(word);
    auto it = std::lower_bound(keywords_.begin(), keywords_.end(), w);
    if (it == keywords_.end() || *it != w)
        keywords_.insert(it, w);
    longestKeyword_ = std::max(longestKeyword_, w.size());
    settingsChanged();
}

bool TfsParser::IsKeyword(std::string_view word) const
{
    if (word.empty() || word.size() > longestKeyword_)
        return false;
    char buf[256];
    for (std::size_t i = 0; i < word.size(); ++i)
        buf[i] = platform::lowerCp1251(word[i]);
    return std::binary_search(keywords_.begin(), keywords_.end(), std::string_view(buf, word.size()),
                              [](std::string_view a, std::string_view b) { return a < b; });
}

void TfsParser::SetText(std::string_view text)
{
    text_.assign(text);
    text_.push_back('\0');
    len_ = text.size();
    pos_ = tokenStart_ = 1;
    crs_.clear();
    lfs_.clear();
    lineCache_.valid = false;
    for (std::size_t i = 0; i < len_; ++i) {
        if (text_[i] == '\r')
            crs_.push_back(i + 1);
        else if (text_[i] == '\n')
            lfs_.push_back(i + 1);
    }
    settingsChanged();
}

void TfsParser::SetPosition(std::size_t position) noexcept
{
    pos_ = tokenStart_ = std::clamp<std::size_t>(position, 1, len_ + 1);
}

bool TfsParser::startsWith(std::size_t position, std::string_view s) const noexcept
{
    return !s.empty() && position >= 1 && position - 1 <= len_ && len_ - (position - 1) >= s.size() &&
           std::string_view(text_.data() + position - 1, s.size()) == s;
}

bool TfsParser::isBlank(char c) const noexcept
{
    auto u = static_cast<unsigned char>(c);
    return u <= 32 && (skipEol_ || c != '\r');
}

bool TfsParser::isDigit(std::size_t position) const noexcept
{
    char c = At(position);
    return c >= '0' && c <= '9';
}

void TfsParser::SkipBlanks()
{
    if (pos_ == blankMemoFrom_) {
        pos_ = tokenStart_ = blankMemoTo_;
        return;
    }
    const std::size_t from = pos_;
    // Continuation characters met and not yet followed by their line end:
    // each joins the next line end, when one comes, to the blanks.
    std::size_t joins = 0;
    for (;;) {
        while (pos_ <= len_ && isBlank(text_[pos_ - 1]))
            ++pos_;
        if (pos_ > len_)
            break;
        const char c = text_[pos_ - 1];
        if (skipChar_ && c == skipChar_) {
            ++pos_;
            ++joins;
            continue;
        }
        if (pos_ < len_) {
            if (startsWith(pos_, line1_) || startsWith(pos_, line2_)) {
                // To the end of the line, but not over it: where line ends
                // are tokens, the CR that ends a commented line still counts.
                while (pos_ <= len_ && text_[pos_ - 1] != '\n' && (skipEol_ || text_[pos_ - 1] != '\r'))
                    ++pos_;
                continue;
            }
            bool m1 = startsWith(pos_, block1_.open), m2 = startsWith(pos_, block2_.open);
            if (m1 || m2) {
                const std::string& close = m2 ? block2_.close : block1_.close;
                pos_ = std::min(pos_ + close.size(), len_ + 1);
                while (pos_ <= len_ && !startsWith(pos_, close))
                    ++pos_;
                pos_ = std::min(pos_ + close.size(), len_ + 1);
                continue;
            }
        }
        if (joins > 0 && (c == '\r' || c == '\n')) {
            while (pos_ <= len_ && (text_[pos_ - 1] == '\r' || text_[pos_ - 1] == '\n'))
                ++pos_;
            --joins;
            continue;
        }
        break;
    }
    tokenStart_ = pos_;
    blankMemoFrom_ = from;
    blankMemoTo_ = pos_;
}

bool TfsParser::SkipLineEnd()
{
    SkipBlanks();
    if (pos_ > len_ || (text_[pos_ - 1] != '\r' && text_[pos_ - 1] != '\n'))
        return false;
    while (pos_ <= len_ && (text_[pos_ - 1] == '\r' || text_[pos_ - 1] == '\n'))
        ++pos_;
    return true;
}

std::size_t TfsParser::ScanWord()
{
    SkipBlanks();
    const std::size_t start = pos_;
    if (start == wordMemoStart_) {
        pos_ = wordMemoEnd_;
        return pos_ - start;
    }
    if (start > len_)
        return 0;
    auto first = static_cast<unsigned char>(text_[start - 1]);
    if (!ident_.test(first) || (first >= '0' && first <= '9'))
        return 0;
    std::size_t p = start + 1;
    while (p <= len_ && ident_.test(static_cast<unsigned char>(text_[p - 1])))
        ++p;
    wordMemoStart_ = start;
    wordMemoEnd_ = p;
    wordMemoKeyword_ = -1;
    pos_ = p;
    return p - start;
}

bool TfsParser::LastWordIsKeyword()
{
    if (wordMemoKeyword_ < 0)
        wordMemoKeyword_ = IsKeyword(std::string_view(text_.data() + wordMemoStart_ - 1, wordMemoEnd_ - wordMemoStart_));
    return wordMemoKeyword_ != 0;
}

std::size_t TfsParser::ScanIdent()
{
    std::size_t n = ScanWord();
    if (n && LastWordIsKeyword()) {
        pos_ = tokenStart_; // blanks stay skipped
        return 0;
    }
    return n;
}

std::string TfsParser::ReadWord()
{
    std::size_t n = ScanWord();
    return std::string(text_.data() + tokenStart_ - 1, n);
}

std::string TfsParser::ReadIdent()
{
    std::size_t n = ScanIdent();
    return std::string(text_.data() + tokenStart_ - 1, n);
}

std::string TfsParser::ReadPunct()
{
    if (pos_ <= len_ && IsPunct(text_[pos_ - 1]))
        return std::string(1, text_[pos_++ - 1]);
    return {};
}

// Past the integer part at position (decimal digits, or the hex prefix and
// hex digits), or position itself when none stands there.
std::size_t TfsParser::scanIntegerPart(std::size_t position) const noexcept
{
    std::size_t p = position;
    if (startsWith(p, hex_)) {
        p += hex_.size();
        std::size_t digits = p;
        while (p <= len_ && isHexDigit(text_[p - 1]))
            ++p;
        return p == digits ? position : p;
    }
    while (isDigit(p))
        ++p;
    return p;
}

std::size_t TfsParser::ScanNumber()
{
    SkipBlanks();
    const std::size_t start = pos_;
    const std::size_t intEnd = scanIntegerPart(start);
    if (intEnd == start)
        return 0;
    std::size_t p = intEnd;
    bool whole = true;
    if (At(p) == '.') {
        ++p;
        if (!isDigit(p))
            whole = false;
        while (isDigit(p))
            ++p;
    }
    if (whole) {
        char e = At(p);
        if (e == 'E' || e == 'e') {
            std::size_t q = p + 1;
            if (At(q) == '+' || At(q) == '-')
                ++q;
            if (isDigit(q)) {
                while (isDigit(q))
                    ++q;
                p = q;
            }
        }
    } else {
        p = intEnd; // "1..5": the number is 1
    }
    pos_ = p;
    return p - start;
}

std::string_view TfsParser::NumberText(std::size_t n, std::string& scratch) const
{
    std::string_view token(text_.data() + tokenStart_ - 1, n);
    if (hex_.empty() || hex_ == "$" || token.find(hex_) == std::string_view::npos)
        return token;
    scratch.clear();
    for (std::size_t i = 0; i < token.size();) {
        if (token.compare(i, hex_.size(), hex_) == 0) {
            scratch += '$';
            i += hex_.size();
        } else {
            scratch += token[i++];
        }
    }
    return scratch;
}

std::string TfsParser::ReadNumber()
{
    std::string scratch;
    return std::string(NumberText(ScanNumber(), scratch));
}

bool TfsParser::ScanString(std::string& content)
{
    SkipBlanks();
    content.clear();
    const bool escapes = quote_ == '"';
    bool any = false;
    for (;;) {
        if (pos_ > len_)
            break;
        const char c = text_[pos_ - 1];
        if (c == quote_) {
            const std::size_t mark = content.size();
            std::size_t p = pos_ + 1;
            bool closed = false;
            while (p <= len_) {
                const char ch = text_[p - 1];
                if (static_cast<unsigned char>(ch) < 32)
                    break;
                if (ch == quote_) {
                    if (!escapes && p + 1 <= len_ && text_[p] == quote_) {
                        content += quote_;
                        p += 2;
                        continue;
                    }
                    closed = true;
                    ++p;
                    break;
                }
                if (escapes && ch == '\\') {
                    // An escape needs its character on the same line.
                    if (p + 1 > len_ || static_cast<unsigned char>(text_[p]) < 32)
                        break;
                    const char e = text_[p];
                    p += 2;
                    if (e == 'n' || e == 'N') {
                        content += '\n';
                    } else if (e == 'r') {
                        content += '\r';
                    } else if (e == 'x') {
                        unsigned v = 0;
                        bool digits = false;
                        while (p <= len_ && isHexDigit(text_[p - 1])) {
                            v = ((v << 4) | hexValue(text_[p - 1])) & 0xFF;
                            digits = true;
                            ++p;
                        }
                        if (digits)
                            content += static_cast<char>(v);
                    } else {
                        content += e;
                    }
                    continue;
                }
                content += ch;
                ++p;
            }
            if (!closed) {
                content.resize(mark);
                break;
            }
            pos_ = p;
            any = true;
            continue;
        }
        if (c == '#') {
            const std::size_t digitsStart = pos_ + 1;
            const std::size_t end = scanIntegerPart(digitsStart);
            if (end == digitsStart)
                break;
            // Only the low eight bits of the code count.
            unsigned v = 0;
            if (startsWith(digitsStart, hex_)) {
                for (std::size_t p = digitsStart + hex_.size(); p < end; ++p)
                    v = ((v << 4) | hexValue(text_[p - 1])) & 0xFF;
            } else {
                for (std::size_t p = digitsStart; p < end; ++p)
                    v = (v * 10 + static_cast<unsigned>(text_[p - 1] - '0')) & 0xFF;
            }
            content += static_cast<char>(v);
            pos_ = end;
            any = true;
            continue;
        }
        break;
    }
    return any;
}

std::string TfsParser::ReadString()
{
    std::string content;
    if (!ScanString(content))
        return {};
    return "'" + content + "'";
}

std::string TfsParser::ReadBracketText()
{
    const std::size_t start = pos_;
    int depth = 1;
    bool dq = false, sq = false;
    while (pos_ <= len_) {
        const char c = text_[pos_ - 1];
        if (c == '"' && !sq) {
            dq = !dq;
        } else if (c == '\'' && !dq) {
            sq = !sq;
        } else if (!dq && !sq) {
            if (c == '<') {
                ++depth;
            } else if (c == '>' && --depth == 0) {
                break;
            }
        }
        ++pos_;
    }
    return std::string(text_.data() + start - 1, pos_ - start);
}

void TfsParser::AppendPositionText(std::string& out, std::size_t position) const
{
    // Lines are counted by carriage returns; a column counts the characters
    // after the last one, line feeds excepted. Positions asked for come in
    // runs on one line, so the line last found is tried first.
    LineCache& c = lineCache_;
    if (!(c.valid && position >= c.lastCr && position < c.nextCr)) {
        auto crEnd = std::upper_bound(crs_.begin(), crs_.end(), position);
        c.line = 1 + static_cast<std::size_t>(crEnd - crs_.begin());
        c.lastCr = crEnd == crs_.begin() ? 0 : *(crEnd - 1);
        c.nextCr = crEnd == crs_.end() ? static_cast<std::size_t>(-1) : *crEnd;
        c.lfFrom = static_cast<std::size_t>(std::upper_bound(lfs_.begin(), lfs_.end(), c.lastCr) - lfs_.begin());
        c.lfTo = static_cast<std::size_t>(std::upper_bound(lfs_.begin() + c.lfFrom, lfs_.end(), c.nextCr) -
                                          lfs_.begin());
        c.valid = true;
    }
    auto from = lfs_.begin() + static_cast<std::ptrdiff_t>(c.lfFrom);
    auto lfTo = std::upper_bound(from, lfs_.begin() + static_cast<std::ptrdiff_t>(c.lfTo), position);
    const std::size_t column = position - c.lastCr - static_cast<std::size_t>(lfTo - from);
    char buf[48];
    auto r = std::to_chars(buf, buf + sizeof buf, c.line);
    *r.ptr++ = ':';
    r = std::to_chars(r.ptr, buf + sizeof buf, column);
    out.append(buf, r.ptr);
}

std::string TfsParser::PositionText(std::size_t position) const
{
    std::string s;
    AppendPositionText(s, position);
    return s;
}

} // namespace script
