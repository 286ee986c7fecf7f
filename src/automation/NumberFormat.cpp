#include "automation/NumberFormat.h"

#include <string_view>

namespace qorv::automation {

namespace {

struct Word {
    const char16_t* local;
    const char* usual;
};

// Bracketed colour names of the Russian notation.
constexpr Word kColours[] = {
    {u"Черный", "Black"},  {u"Чёрный", "Black"},  {u"Синий", "Blue"},      {u"Голубой", "Cyan"},
    {u"Зеленый", "Green"}, {u"Зелёный", "Green"}, {u"Лиловый", "Magenta"}, {u"Красный", "Red"},
    {u"Белый", "White"},   {u"Желтый", "Yellow"}, {u"Жёлтый", "Yellow"},
};

// Date and time letters of the Russian notation (д, м, г, ч, с, either case) and the letters
// they stand for; 0 for any other character.
char16_t usualLetter(char16_t ch) {
    static constexpr std::u16string_view kLocal = u"дмгчс";
    static constexpr std::u16string_view kUsual = u"dmyhs";
    const std::size_t at = kLocal.find(char16_t(QChar::toLower(char32_t(ch))));
    return at == std::u16string_view::npos ? 0 : kUsual[at];
}

}  // namespace

QString formatCodeFromLocal(QStringView local) {
    static const QString kGeneralLocal = QStringLiteral("Основной");
    QString out;
    out.reserve(local.size());
    qsizetype pos = 0;
    while (pos < local.size()) {
        const QChar ch = local[pos];
        if (local.sliced(pos).startsWith(kGeneralLocal, Qt::CaseInsensitive)) {
            out += QStringLiteral("General");
            pos += kGeneralLocal.size();
        } else if (ch == u'"') {
            const qsizetype end = local.indexOf(u'"', pos + 1);
            const qsizetype stop = end < 0 ? local.size() : end + 1;
            out += local.sliced(pos, stop - pos);
            pos = stop;
        } else if (ch == u'\\' && pos + 1 < local.size()) {
            out += local.sliced(pos, 2);
            pos += 2;
        } else if (ch == u'[') {
            const qsizetype end = local.indexOf(u']', pos + 1);
            const qsizetype stop = end < 0 ? local.size() : end + 1;
            const QStringView inner = local.sliced(pos + 1, std::max<qsizetype>(0, stop - pos - 2));
            QString translated = inner.toString();
            for (const Word& colour : kColours) {
                if (inner.compare(QStringView(colour.local), Qt::CaseInsensitive) == 0) {
                    translated = QString::fromLatin1(colour.usual);
                }
            }
            // Elapsed-time brackets ([Ч], [ММ], [СС]) use the same letters as the body.
            bool allCodes = !inner.isEmpty();
            for (QChar c : inner) {
                allCodes = allCodes && usualLetter(c.unicode()) != 0;
            }
            if (allCodes) {
                translated.clear();
                for (QChar c : inner) {
                    translated += QChar(usualLetter(c.unicode()));
                }
            }
            out += u'[' + translated + (end < 0 ? QString() : QStringLiteral("]"));
            pos = stop;
        } else if (const char16_t usual = usualLetter(ch.unicode())) {
            out += QChar(usual);
            ++pos;
        } else {
            out += ch;
            ++pos;
        }
    }
    return out;
}

}  // namespace qorv::automation
