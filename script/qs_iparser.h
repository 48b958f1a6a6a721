// TqsParser: the one lexer of all four script languages.  It holds the
// script text and a 1-based read position and offers the token readers the
// grammar interpreter asks for.  Nothing in it is language-specific: a
// grammar's lexical settings fill its fields.  Positions are byte offsets
// into the UTF-8 text; position texts are "line:column", both 1-based.
#pragma once

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

class TqsParser {
public:
    TqsParser();

    // Empties the keywords and restores every lexical setting's default;
    // the text, positions and line table stay.
    void Clear();
    // The identifier characters become exactly the low bytes of chars.
    void ConstructCharset(std::string_view chars);

    // --- settings ---
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool v) { FCaseSensitive = v; }
    const std::string& CommentBlock1() const { return FCommentBlock1; }
    void SetCommentBlock1(const std::string& v);
    const std::string& CommentBlock2() const { return FCommentBlock2; }
    void SetCommentBlock2(const std::string& v);
    const std::string& CommentLine1() const { return FCommentLine1; }
    void SetCommentLine1(const std::string& v) { FCommentLine1 = v; }
    const std::string& CommentLine2() const { return FCommentLine2; }
    void SetCommentLine2(const std::string& v) { FCommentLine2 = v; }
    const std::string& HexSequence() const { return FHexSequence; }
    void SetHexSequence(const std::string& v) { FHexSequence = v; }
    std::bitset<256>& IdentifierCharset() { return FIdentifierCharset; }
    // The keyword list, kept sorted (upper-cased copies for the
    // case-insensitive lookup).
    void AddKeyword(const std::string& word);
    const std::vector<std::string>& Keywords() const { return FKeywords; }
    const std::string& SkipChar() const { return FSkipChar; }
    void SetSkipChar(const std::string& v) { FSkipChar = v; }
    bool SkipEOL() const { return FSkipEOL; }
    void SetSkipEOL(bool v) { FSkipEOL = v; }
    bool SkipSpace() const { return FSkipSpace; }
    void SetSkipSpace(bool v) { FSkipSpace = v; }
    bool SpecStrChar() const { return FSpecStrChar; }
    void SetSpecStrChar(bool v) { FSpecStrChar = v; }
    const std::string& StringQuotes() const { return FStringQuotes; }
    void SetStringQuotes(const std::string& v) { FStringQuotes = v; }
    bool UseY() const { return FUseY; }
    void SetUseY(bool v) { FUseY = v; }

    // --- text and positions ---
    std::string_view Text() const { return std::string_view(FText).substr(0, FSize); }
    void SetText(std::string_view text);
    int Position() const { return FPosition; }
    void SetPosition(int p)
    {
        FPosition = p;
        FLastPosition = p;
    }
    int LastPosition() const { return FLastPosition; }
    int Size() const { return FSize; }

    // --- token readers ---
    void SkipSpaces();
    bool GetEOL();
    std::string GetIdent();
    std::string GetWord();
    std::string GetChar();
    std::string GetNumber();
    std::string GetString();
    std::string GetFRString();
    bool IsKeyWord(std::string_view word) const;

    // "line:column" of the current position, or of a given one.
    std::string GetXYPosition() const { return XYPositionOf(FPosition); }
    std::string XYPositionOf(int position) const;
    // Plain position of (X = column, Y = line), or -1.
    int GetPlainPosition(int x, int y) const;

private:
    char At(int p) const { return FText[static_cast<size_t>(p - 1)]; }
    unsigned char UAt(int p) const { return static_cast<unsigned char>(At(p)); }
    bool StartsAt(int p, std::string_view s) const;
    std::string ReadWord();
    // Reads hex or decimal digits for a number's integer part; false when
    // none.
    bool ReadInteger();

    bool FCaseSensitive = false;
    std::string FCommentBlock1, FCommentBlock11, FCommentBlock12;
    std::string FCommentBlock2, FCommentBlock21, FCommentBlock22;
    std::string FCommentLine1, FCommentLine2;
    std::string FHexSequence;
    std::bitset<256> FIdentifierCharset;
    std::vector<std::string> FKeywords;       // sorted by upper-case form
    std::vector<std::string> FKeywordsUpper;  // same order, upper-cased
    int FLastPosition = 1;
    int FPosition = 1;
    int FSize = 0;
    std::string FSkipChar;
    bool FSkipEOL = true;
    bool FSkipSpace = true;
    std::string FStringQuotes;
    std::string FText = std::string(1, '\0');
    bool FUseY = true;
    std::vector<int> FYList{0};
    bool FSpecStrChar = false;
};

} // namespace qs
