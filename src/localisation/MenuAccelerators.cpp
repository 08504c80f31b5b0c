#include "localisation/MenuAccelerators.h"

#include <QSet>

namespace {

QChar folded(QChar c) {
    return c.toCaseFolded();
}

// The position of the letter chosen for `text`, -1 when every letter is taken.
qsizetype chooseLetter(const QString& text, const QSet<QChar>& used) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool wordStart = i == 0 || !text.at(i - 1).isLetterOrNumber();
        if (wordStart && text.at(i).isLetter() && !used.contains(folded(text.at(i))))
            return i;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isLetter() && !used.contains(folded(text.at(i))))
            return i;
    }
    return -1;
}

} // namespace

QStringList AssignAccelerators(const QStringList& plainTexts) {
    QSet<QChar> used;
    QStringList marked;
    marked.reserve(plainTexts.size());
    for (const QString& text : plainTexts) {
        const qsizetype chosen = chooseLetter(text, used);
        QString out;
        out.reserve(text.size() + 2);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (i == chosen)
                out += u'&';
            out += text.at(i);
            if (text.at(i) == u'&')
                out += u'&';
        }
        if (chosen >= 0)
            used.insert(folded(text.at(chosen)));
        marked << out;
    }
    return marked;
}

QString WithoutAccelerator(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size())
            ++i;
        out += text.at(i);
    }
    return out;
}

QChar AcceleratorOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&')
            continue;
        if (text.at(i + 1) != u'&')
            return folded(text.at(i + 1));
        ++i;
    }
    return {};
}
