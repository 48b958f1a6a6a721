// TEditMask: an input mask for the grid's text editor, in the usual mask
// notation: "0" a digit, "9" a digit or blank, "#" a digit, sign or blank,
// "L" a letter, "l" a letter or blank, "A" a letter or digit, "a" the same
// or blank, "C" any character, "c" any character or blank, ">" and "<"
// upper / lower case from there on ("<>" ends it), "\" makes the next
// character a literal, ":" and "/" the locale's time and date separators,
// any other character a literal.  Two optional fields follow, separated by
// ";": "0" to store the text without the literals (default "1", with them)
// and the character that shows a blank (default "_").
//
// The one rule: the editor shows Display(text) and keeps one character per
// position; Stored() gives the text the cell keeps.
//
//   grid::TEditMask m("00/00/0000;1;_");
//   std::string shown = m.Display("");        // "__/__/____"
//   int at = 0;
//   m.Put(shown, at, u'1');                   // "1_/__/____", at = 1
#pragma once

#include <string>
#include <vector>

namespace grid {

class TEditMask {
public:
    explicit TEditMask(const std::string& mask);
    bool Empty() const { return FSlots.empty(); }
    int Length() const { return static_cast<int>(FSlots.size()); }
    // The text laid into the mask: characters fill the input positions in
    // order, literals stand where the mask has them.
    std::u16string Display(const std::u16string& text) const;
    // Types ch at the first input position from at on; false (nothing
    // changes) when there is none or ch does not fit it.  at ends after it.
    bool Put(std::u16string& shown, int& at, char16_t ch) const;
    // Blanks the input position before at (Backspace) or at it (Delete).
    void Clear(std::u16string& shown, int& at, bool backward) const;
    bool IsLiteral(int pos) const;
    // Every required position filled.
    bool Complete(const std::u16string& shown) const;
    // What the cell keeps: literals dropped unless stored, blanks as spaces.
    std::u16string Stored(const std::u16string& shown) const;
    char16_t Blank() const { return FBlank; }

private:
    struct Slot {
        char16_t Kind;     // 0 for a literal
        char16_t Literal;
        bool Required;
        int Case;          // -1 lower, 0 as typed, 1 upper
    };
    bool Fits(const Slot& s, char16_t& ch) const;
    std::vector<Slot> FSlots;
    bool FSaveLiterals = true;
    char16_t FBlank = u'_';
};

} // namespace grid
