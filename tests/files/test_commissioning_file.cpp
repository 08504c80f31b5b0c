// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/CommissioningFile.h"
#include "model/Markers.h"
#include "model/Translator.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TCommissioningDetails sample() {
    TCommissioningDetails d;
    d.Client = u"Město Žďár nad Sázavou"_qs;
    d.Site = u"Школа № 5"_qs;
    d.System = u"Heating circuit 2"_qs;
    d.Standard = u"EN 14336"_qs;
    d.LowerTolerancePercent = 10;
    d.UpperTolerancePercent = 15.5;
    d.TestDate = QDate(2026, 3, 14);
    d.Witness = u"Jiří Novák"_qs;
    d.Remarks = u"Line one\nline \"two\""_qs;
    d.BranchRemarks = {u"ok"_qs, QString(), u"Ventil přiškrcen, ремонт"_qs};
    return d;
}

} // namespace

TEST(CommissioningFile, PathBesideTheProject) {
    EXPECT_EQ(CommissioningPathFor(u"/a/b/Plant.proj"_qs), u"/a/b/Plant.commissioning.json"_qs);
    EXPECT_EQ(CommissioningPathFor(u"/a/b/Plant.PROJ"_qs), u"/a/b/Plant.commissioning.json"_qs);
}

TEST(CommissioningFile, RoundTripThroughTheFile) {
    QTemporaryDir dir;
    const QString path = CommissioningPathFor(dir.filePath(u"Plant.proj"_qs));
    for (const TCommissioningDetails& details : {sample(), TCommissioningDetails{}}) {
        QString error;
        ASSERT_TRUE(SaveCommissioningFile(path, details, &error)) << error.toStdString();
        TCommissioningDetails loaded;
        loaded.Client = u"stale"_qs;
        EXPECT_EQ(LoadCommissioningFile(path, EnglishOnly(), loaded, &error), TCommissioningLoad::Loaded)
            << error.toStdString();
        EXPECT_EQ(loaded, details);
    }
    const QJsonDocument doc = QJsonDocument::fromJson(readAll(path));
    EXPECT_EQ(doc.object().value(u"format"_qs).toString(), u"zrv10-commissioning"_qs);
    EXPECT_EQ(doc.object().value(u"version"_qs).toInt(), 1);
}

TEST(CommissioningFile, MissingFileIsNoError) {
    QTemporaryDir dir;
    TCommissioningDetails loaded = sample();
    QString error;
    EXPECT_EQ(LoadCommissioningFile(dir.filePath(u"none.commissioning.json"_qs), EnglishOnly(), loaded, &error),
              TCommissioningLoad::Missing);
    EXPECT_EQ(loaded, TCommissioningDetails{});
    EXPECT_TRUE(error.isEmpty());
}

TEST(CommissioningFile, DamageGivesAnErrorAndLeavesTheFile) {
    const QByteArray head = R"({"format":"zrv10-commissioning","version":1,)";
    const QByteArray tooMany = head + "\"branchRemarks\":[" +
                               QByteArray("\"x\",").repeated(MaxBranches) + "\"x\"]}";
    const QByteArray tooLong = head + "\"client\":\"" + QByteArray(20000, 'a') + "\"}";
    const struct {
        const char* Name;
        QByteArray Bytes;
        const char* Error;
    } cases[] = {
        {"not json", "{\"format\": ", "not readable JSON"},
        {"array", "[1,2]", "not readable JSON"},
        {"other format", R"({"format":"other","version":1})", "no commissioning details"},
        {"no version", R"({"format":"zrv10-commissioning"})", "no commissioning details"},
        {"newer", R"({"format":"zrv10-commissioning","version":2,"client":"x"})", "newer version"},
        {"text is number", head + R"("client":5})", "wrong kind"},
        {"bad date", head + R"("testDate":"2026-13-40"})", "wrong kind"},
        {"tolerance text", head + R"("lowerTolerancePercent":"10"})", "wrong kind"},
        {"tolerance negative", head + R"("upperTolerancePercent":-1})", "wrong kind"},
        {"remarks not array", head + R"("branchRemarks":"x"})", "wrong kind"},
        {"remark not text", head + R"("branchRemarks":["a",1]})", "wrong kind"},
        {"too many remarks", tooMany, "wrong kind"},
        {"text too long", tooLong, "too long"},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Plant.commissioning.json"_qs);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        writeBytes(path, c.Bytes);
        TCommissioningDetails loaded = sample();
        QString error;
        EXPECT_EQ(LoadCommissioningFile(path, EnglishOnly(), loaded, &error), TCommissioningLoad::Failed);
        EXPECT_EQ(loaded, TCommissioningDetails{});
        EXPECT_TRUE(error.contains(QLatin1String(c.Error))) << error.toStdString();
        EXPECT_EQ(readAll(path), c.Bytes);
    }
}

TEST(CommissioningFile, UnknownKeysAreIgnored) {
    TCommissioningDetails loaded;
    QString error;
    EXPECT_EQ(ParseCommissioningJson(R"({"format":"zrv10-commissioning","version":1,"client":"A","later":[1]})",
                                     EnglishOnly(), loaded, &error),
              TCommissioningLoad::Loaded);
    EXPECT_EQ(loaded.Client, u"A"_qs);
    EXPECT_FALSE(loaded.LowerTolerancePercent.has_value());
}
