#pragma once
// TfsParser: the small lexical parser under the grammar interpreter. It has
// no token stream: each Read* reads one kind of token at the current
// position and returns empty (leaving the position where it was, blanks
// aside) when none stands there. Positions are 1-based; the text carries a
// #0 after its last character.

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace script {

class TfsParser {
public:
    TfsParser();

    // Lexical settings.
    void SetIdentChars(std::string_view chars); // exactly these characters
    void SetCommentLine1(std::string_view opener);
    void SetCommentLine2(std::string_view opener);
    // "open,close"; a value without a comma sets none.
    void SetCommentBlock1(std::string_view openClose);
    void SetCommentBlock2(std::string_view openClose);
    void SetStringQuote(char quote);
    void SetHexSequence(std::string_view prefix);
    void SetSkipEOL(bool skip);
    void SetSkipChar(char continuation); // 0: none
    char StringQuote() const noexcept { return quote_; }
    const std::string& HexSequence() const noexcept { return hex_; }
    bool SkipEOL() const noexcept { return skipEol_; }

    void ClearKeywords();
    void AddKeyword(std::string_view word);
    bool IsKeyword(std::string_view word) const;

    void SetText(std::string_view text);
    std::string_view Text() const noexcept { return {text_.data(), len_}; }
    std::size_t Length() const noexcept { return len_; }
    std::size_t Position() const noexcept { return pos_; }
    void SetPosition(std::size_t position) noexcept;
    std::size_t TokenStart() const noexcept { return tokenStart_; }
    // The character at a 1-based position; #0 outside the text.
    char At(std::size_t position) const noexcept { return position - 1 < len_ ? text_[position - 1] : '\0'; }

    void SkipBlanks();
    bool SkipLineEnd();
    std::string ReadIdent();
    std::string ReadWord();
    std::string ReadPunct();
    std::string ReadNumber();
    // The literal's characters enclosed in single quotes, quotes inside not
    // doubled.
    std::string ReadString();
    std::string ReadBracketText();

    // "line:column" of the current position, or of any position.
    std::string PositionText() const { return PositionText(pos_); }
    std::string PositionText(std::size_t position) const;
    void AppendPositionText(std::string& out, std::size_t position) const;

    // The same reads without building strings, for the analyser: each
    // returns the length read (0 for none) from the token start.
    std::size_t ScanWord();
    std::size_t ScanIdent();
    std::size_t ScanNumber();
    // The literal's characters (without the enclosing quotes) into content.
    bool ScanString(std::string& content);
    // True when the word just scanned is a keyword.
    bool LastWordIsKeyword();
    // The number of length n just scanned, its hex prefix written "$"
    // (built in scratch when it has to change).
    std::string_view NumberText(std::size_t n, std::string& scratch) const;
    // The printable ASCII characters that are neither letters nor digits.
    static bool IsPunct(char c) noexcept
    {
        auto u = static_cast<unsigned char>(c);
        return (u >= 33 && u <= 47) || (u >= 58 && u <= 64) || (u >= 91 && u <= 96) || (u >= 123 && u <= 126);
    }

private:
    struct BlockComment {
        std::string open, close;
    };
    static void setBlock(BlockComment& b, std::string_view openClose);
    bool startsWith(std::size_t position, std::string_view s) const noexcept;
    bool isBlank(char c) const noexcept;
    bool isDigit(std::size_t position) const noexcept;
    std::size_t scanIntegerPart(std::size_t position) const noexcept;
    void settingsChanged() noexcept { blankMemoFrom_ = 0; wordMemoStart_ = 0; }

    std::string text_; // the text, then #0
    std::size_t len_ = 0;
    std::size_t pos_ = 1;
    std::size_t tokenStart_ = 1;

    std::bitset<256> ident_;
    std::string line1_, line2_;
    BlockComment block1_, block2_;
    char quote_ = '\'';
    std::string hex_ = "$";
    bool skipEol_ = true;
    char skipChar_ = 0;
    std::vector<std::string> keywords_; // lower case, sorted
    std::size_t longestKeyword_ = 0;

    // Line ends, for positions: 1-based positions of every CR and LF.
    std::vector<std::size_t> crs_, lfs_;
    struct LineCache {
        bool valid = false;
        std::size_t line = 1, lastCr = 0, nextCr = 0, lfFrom = 0, lfTo = 0;
    };
    mutable LineCache lineCache_;

    // The grammar asks for blanks and words at one position many times
    // over while it tries alternatives; the last answers are kept.
    std::size_t blankMemoFrom_ = 0, blankMemoTo_ = 0;
    std::size_t wordMemoStart_ = 0, wordMemoEnd_ = 0;
    int wordMemoKeyword_ = -1; // -1: not yet known
};

} // namespace script
