// SPDX-License-Identifier: GPL-3.0-or-later
#include "localisation/MenuAccelerators.h"

#include <QHash>
#include <QList>
#include <QSet>

namespace {

QChar folded(QChar c) {
    return c.toCaseFolded();
}

// A Latin letter with a diacritic ("Ö", "Č"): many keyboards that show the language's texts have no
// key for it, so Alt with it may not be typed.
bool accentedLatin(QChar c) {
    return c.decompositionTag() == QChar::Canonical && c.decomposition().at(0).unicode() < 0x80;
}

// The positions a text may take its accelerator from, best first, one per distinct key: the first
// letter of each word, then any letter, each without a diacritic first, then any digit.
QList<qsizetype> candidates(const QString& text) {
    QList<qsizetype> positions;
    QSet<QChar> keys;
    const auto offer = [&](qsizetype i) {
        if (!keys.contains(folded(text.at(i)))) {
            keys.insert(folded(text.at(i)));
            positions << i;
        }
    };
    for (const bool accented : {false, true}) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.isLetter() && accentedLatin(c) == accented &&
                (i == 0 || !text.at(i - 1).isLetterOrNumber()))
                offer(i);
        }
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).isLetter() && accentedLatin(text.at(i)) == accented)
                offer(i);
        }
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isDigit())
            offer(i);
    }
    return positions;
}

// Keys handed out so far, and to which text. Each text takes its best free key; one that finds none
// free takes a key from an earlier text that can move to another one (an augmenting path), so that
// a menu gets every text its own key whenever the letters allow it.
class TKeyMatcher {
public:
    explicit TKeyMatcher(const QStringList& texts) : m_texts(texts), m_chosen(texts.size(), -1) {
        for (const QString& text : texts)
            m_candidates << candidates(text);
    }

    void assign(qsizetype item) {
        for (qsizetype position : m_candidates.at(item)) {
            if (!m_owner.contains(keyAt(item, position))) {
                take(item, position);
                return;
            }
        }
        QSet<QChar> visited;
        augment(item, visited);
    }

    qsizetype chosen(qsizetype item) const { return m_chosen.at(item); }

private:
    QChar keyAt(qsizetype item, qsizetype position) const { return folded(m_texts.at(item).at(position)); }

    void take(qsizetype item, qsizetype position) {
        m_owner.insert(keyAt(item, position), item);
        m_chosen[item] = position;
    }

    bool augment(qsizetype item, QSet<QChar>& visited) {
        for (qsizetype position : m_candidates.at(item)) {
            const QChar key = keyAt(item, position);
            if (visited.contains(key))
                continue;
            visited.insert(key);
            const auto owner = m_owner.constFind(key);
            if (owner == m_owner.cend() || augment(owner.value(), visited)) {
                take(item, position);
                return true;
            }
        }
        return false;
    }

    const QStringList& m_texts;
    QList<QList<qsizetype>> m_candidates;
    QList<qsizetype> m_chosen;
    QHash<QChar, qsizetype> m_owner;
};

} // namespace

QStringList AssignAccelerators(const QStringList& plainTexts) {
    TKeyMatcher matcher(plainTexts);
    for (qsizetype item = 0; item < plainTexts.size(); ++item)
        matcher.assign(item);
    QStringList marked;
    marked.reserve(plainTexts.size());
    for (qsizetype item = 0; item < plainTexts.size(); ++item) {
        const QString& text = plainTexts.at(item);
        const qsizetype chosen = matcher.chosen(item);
        QString out;
        out.reserve(text.size() + 2);
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (i == chosen)
                out += u'&';
            out += text.at(i);
            if (text.at(i) == u'&')
                out += u'&';
        }
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
