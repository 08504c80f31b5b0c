// SPDX-License-Identifier: GPL-3.0-or-later
#include "localisation/TextIndex.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(TextIndex, FindsTheFirstEqualEntryAsAScanWould) {
    // Short texts, texts that share length, start, middle and end, repeats and the empty text.
    const QStringList keys{u"abcdXXXXefghYYYYijkl"_s,
                           u"a"_s,
                           u""_s,
                           u"abcdZZZZefghWWWWijkl"_s,
                           u"ab"_s,
                           u"abcd"_s,
                           u"abcdXXXXefghYYYYijkl"_s,
                           u"abc"_s,
                           u"a"_s,
                           u"flow "_s,
                           u"flow"_s};
    QList<TMessageEntry> entries;
    for (const QString& key : keys)
        entries.append({key, QString()});
    TTextIndex index;
    EXPECT_EQ(index.find(u"a"), -1);
    index.rebuild(entries);
    for (const QString& key : keys)
        EXPECT_EQ(index.find(key), keys.indexOf(key)) << qPrintable(key);
    for (const QString& absent : {u"abcdXXXXefghWWWWijkl"_s, u"abcde"_s, u"Flow"_s, u"b"_s})
        EXPECT_EQ(index.find(absent), -1) << qPrintable(absent);

    index.rebuild({});
    EXPECT_EQ(index.find(u"a"), -1);
}

} // namespace
