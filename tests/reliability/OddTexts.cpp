#include "OddTexts.h"

#include "game/Game.h"
#include "base/Levels.h"

namespace zw::reliability {

namespace {

const char* const NotQuiteNumbers[] = {
    "", " ", "abc", "1,5", "2.5", "-1", "-0", "+3", " 7 ", "7 ", "0x10", "1e3", "1E1", "3.0",
    "NaN", "inf", "-inf", "1e40", "-1e40", "1e-50", "99999999999999999999", "16777217", "9999999",
    "2147483648", "٣", "３", "Ⅻ", "1\u00A0000", "1 000", "1'000", "0,0", "\t3", "3\n", "\u22121",
    "Saw1", "true", "#3", "\"3\"", "@Invalid()", "@Variant(\\0\\0\\0\\n)",
};

// Texts that mean something to the box or to upper-casing: ß grows to SS,
// ﬀ to FF, a dotted i changes under Turkish rules, and the rest are
// characters a text field takes but no code contains.
const char* const OddCodes[] = {
    "", " ", "fjord ", " FJORD", "FJORD\n", "red herrings", "RED  HERRINGS", "b(a)r(e)n", "?5??", "?5???x",
    "ŽLUŤOUČKÝ KŮŇ", "straße", "ﬀ", "ı", "İ", "😀", "e\u0301", "\u202EDROJF", "\u200BFJORD", "\x01",
    "ＦＪＯＲＤ", "fjörd", "ǅ",
};

QString fromUtf8(const char* text) { return QString::fromUtf8(text); }

QString randomCase(Choices& choices, const QString& text)
{
    QString mixed = text;
    for (QChar& c : mixed)
        if (choices.oneIn(2))
            c = c.toLower();
    return mixed;
}

} // namespace

QString oddStoredText(Choices& choices)
{
    switch (choices.below(3)) {
    case 0:
        return QString::number(int(choices.below(30)) - 4); // -4 to 25: around the levels
    case 1:
        return QString::number(choices.below(100000));
    default:
        return fromUtf8(NotQuiteNumbers[choices.below(std::size(NotQuiteNumbers))]);
    }
}

StoredTexts damagedSet(Choices& choices)
{
    const int level = int(choices.below(LevelPictureCount));
    const int deaths = int(choices.below(500));
    StoredTexts set{QString::number(level), QString::number(deaths), QString::number(level + deaths),
                    QString::number(level == 0 ? 0 : deaths % level)};
    switch (choices.below(4)) {
    case 0:
        break; // consistent when the level is 1 to 20
    case 1: { // one value off by a little
        QString& value = *set[choices.below(4)];
        value = QString::number(value.toInt() + (choices.oneIn(2) ? 1 : -1));
        break;
    }
    case 2: // one value replaced by odd text
        set[choices.below(4)] = oddStoredText(choices);
        break;
    default: // keys missing
        for (auto& value : set)
            if (choices.oneIn(2))
                value.reset();
        break;
    }
    return set;
}

QString typedCode(Choices& choices)
{
    const auto& codes = Game::levelCodes();
    switch (choices.below(8)) {
    case 0:
    case 1:
    case 2:
        return randomCase(choices, codes[choices.below(std::uint32_t(codes.size()))]);
    case 3: { // one character off
        QString code = codes[choices.below(std::uint32_t(codes.size()))];
        code[qsizetype(choices.below(std::uint32_t(code.size())))] = QChar(u'A' + char16_t(choices.below(26)));
        return code;
    }
    case 4:
    case 5:
        return fromUtf8(OddCodes[choices.below(std::size(OddCodes))]);
    case 6: { // a lone surrogate or any other UTF-16 unit
        QString text;
        for (std::uint32_t i = 0, n = 1 + choices.below(6); i < n; ++i)
            text += QChar(char16_t(choices.below(65536)));
        return text;
    }
    default: // as long as the text box takes
        return QString(32767, QChar(u'A' + char16_t(choices.below(26))));
    }
}

} // namespace zw::reliability
