// SPDX-License-Identifier: GPL-3.0-or-later
#include "CertificateFixture.h"
#include "printing/CertificateCsv.h"
#include "printing/CertificateHtml.h"
#include "printing/CertificateXlsx.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

QStringList column(const TCommissioningCertificate& c, int col) {
    QStringList texts;
    for (const TCertificateRow& row : c.Rows)
        texts << row.Cells[static_cast<std::size_t>(col)].Text;
    return texts;
}

QString field(const std::vector<TCertificateField>& fields, const QString& label) {
    for (const TCertificateField& f : fields)
        if (f.Label == label)
            return f.Value;
    return QStringLiteral("<none>");
}

TEST(CommissioningCertificate, ContentOfAProjectWithItsDetails) {
    const CertificateFixture f;
    const TCommissioningCertificate c = f.build(EnglishOnly());
    EXPECT_EQ(field(c.Details, QStringLiteral("Project")), QStringLiteral("Riser B"));
    EXPECT_EQ(field(c.Details, QStringLiteral("Instrument")), QStringLiteral("ZRV 10"));
    EXPECT_EQ(field(c.Details, QStringLiteral("Serial number")), QStringLiteral("ZRV-0421"));
    EXPECT_EQ(field(c.Details, QStringLiteral("Calibration date")), QStringLiteral("2026-06-01"));
    EXPECT_EQ(field(c.Details, QStringLiteral("Test date")), QStringLiteral("2026-11-30"));
    EXPECT_EQ(field(c.Details, QStringLiteral("Tolerance")), QStringLiteral("-5 % / +10 %"));
    EXPECT_EQ(field(c.Details, QStringLiteral("Engineer")), QStringLiteral("Petr Dvořák"));
    EXPECT_EQ(field(c.Summary, QStringLiteral("Below tolerance")), QStringLiteral("1"));
    EXPECT_EQ(field(c.Summary, QStringLiteral("Not measured")), QStringLiteral("1"));
    EXPECT_EQ(field(c.Summary, QStringLiteral("Complete")), QStringLiteral("No"));
    EXPECT_EQ(field(c.Summary, QStringLiteral("Result")), QStringLiteral("FAIL"));

    EXPECT_EQ(column(c, CertificateColumnPercent),
              QStringList({"100.4", "100.0", "80.0", "120.0", "", "100.0"}));
    EXPECT_EQ(column(c, CertificateColumnKv), QStringList({"0.72", "4.19", "1.07", "1.70", "", "1.71"}));
    EXPECT_EQ(column(c, CertificateColumnStatus),
              QStringList({"within", "within", "below", "above", "not measured", "within"}));
    std::vector<bool> uncertain;
    for (const TCertificateRow& row : c.Rows)
        uncertain.push_back(row.Uncertain);
    EXPECT_EQ(uncertain, std::vector<bool>({false, false, false, true, false, false}));
    // Spreadsheets get the number shown, empty cells stay empty.
    EXPECT_EQ(c.Rows[1].Cells[CertificateColumnKv].Number, 4.19);
    EXPECT_FALSE(c.Rows[4].Cells[CertificateColumnFinalFlow].Number);

    ASSERT_EQ(c.Deficiencies.size(), 3u);
    EXPECT_EQ(c.Deficiencies[0].Branch, QStringLiteral("3 Flat 3"));
    EXPECT_EQ(c.Deficiencies[0].Finding, QStringLiteral("below, 80.0 %"));
    EXPECT_TRUE(c.Deficiencies[0].Remark.startsWith(QStringLiteral("Valve stuck")));
    EXPECT_EQ(c.Deficiencies[2].Finding, QStringLiteral("not measured"));
    EXPECT_EQ(c.Signatures[1].Name, QStringLiteral("Jana Nováková"));
}

TEST(CommissioningCertificate, ToleranceFromTheDetailsElseTheSetting) {
    struct Case {
        std::optional<double> lower, upper;
        double lowerWanted, upperWanted;
    };
    for (const Case& k : {Case{{}, {}, 7, 7}, Case{5, 10, 5, 10}, Case{2, {}, 2, 7}, Case{{}, 0, 7, 0}}) {
        TCommissioningDetails details;
        details.LowerTolerancePercent = k.lower;
        details.UpperTolerancePercent = k.upper;
        const TTolerance t = CertificateTolerance(details, 7.0);
        EXPECT_EQ(t.Lower, k.lowerWanted);
        EXPECT_EQ(t.Upper, k.upperWanted);
    }
    // A tolerance given for the run (the companion's --tolerance) rates the branches.
    const CertificateFixture f;
    const TCommissioningCertificate c = f.build(EnglishOnly(), TTolerance::symmetric(25));
    EXPECT_EQ(field(c.Details, QStringLiteral("Tolerance")), QStringLiteral("\u00B125 %"));
    EXPECT_EQ(field(c.Summary, QStringLiteral("Result")), QStringLiteral("INCOMPLETE"));
}

TEST(CommissioningCertificate, StatusWordsAndCaptionsInTheUsersLanguage) {
    const CertificateFixture f;
    const LanguageFileTranslator german("de");
    const TCommissioningCertificate de = f.build(german);
    EXPECT_EQ(de.Title, QStringLiteral("Inbetriebnahmeprotokoll"));
    EXPECT_EQ(column(de, CertificateColumnStatus),
              // The catalogue looks texts up regardless of case: "not measured" finds "Not measured" first.
              QStringList({"innerhalb", "innerhalb", "darunter", "darüber", "nicht gemessen", "innerhalb"}));
    EXPECT_EQ(field(de.Summary, QStringLiteral("Ergebnis")), QStringLiteral("NICHT BESTANDEN"));
    EXPECT_EQ(de.Columns.at(CertificateColumnPressure), QStringLiteral("Enddifferenzdruck [kPa]"));

    const LanguageFileTranslator russian("ru");
    const TCommissioningCertificate ru = f.build(russian);
    EXPECT_EQ(column(ru, CertificateColumnStatus).at(2), QStringLiteral("ниже"));
    EXPECT_EQ(field(ru.Summary, QStringLiteral("Результат")), QStringLiteral("НЕ СООТВЕТСТВУЕТ"));
    const QString html = CertificateHtml(ru);
    EXPECT_TRUE(html.contains(QStringLiteral("<h1>Акт пусконаладки</h1>")));
    EXPECT_TRUE(html.contains(QStringLiteral("недостоверно")));
    EXPECT_TRUE(QString::fromUtf8(CertificateCsv(ru)).contains(QStringLiteral("Проектный расход [l/h]")));
}

TEST(CommissioningCertificate, HtmlEscapesEveryText) {
    CertificateFixture f;
    f.Details.Witness = QStringLiteral("<script>alert(1)</script>");
    const QString html = CertificateHtml(f.build(EnglishOnly()));
    EXPECT_FALSE(html.contains(QStringLiteral("<script>")));
    EXPECT_TRUE(html.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("Muster &amp; Söhne &lt;Bau&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("Valve stuck, &quot;re-check&quot; after flushing<br>second")));
}

TEST(CommissioningCertificate, CsvQuotesAsRfc4180) {
    const CertificateFixture f;
    const QString csv = QString::fromUtf8(CertificateCsv(f.build(EnglishOnly())));
    EXPECT_TRUE(csv.contains(QStringLiteral(
        "3,Flat 3,,300,240,80,5,1.07,2,below,\"Valve stuck, \"\"re-check\"\" after flushing\nsecond visit "
        "planned\",\r\n")));
    EXPECT_TRUE(csv.contains(QStringLiteral("6,\"Kitchen, north\",,1080,1080,100,40,1.71,5.5,within,,\r\n")));
}

// A file that cannot be written gives a sentence naming it, and what stood there stays.
TEST(CommissioningCertificate, WritersLeaveTheTargetAsItWasOnFailure) {
    const CertificateFixture f;
    const TCommissioningCertificate c = f.build(EnglishOnly());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("taken.xlsx"));
    ASSERT_TRUE(QDir().mkdir(folder));
    using TWriter = bool (*)(const TCommissioningCertificate&, const QString&, QString*);
    for (const TWriter write :
         {TWriter(WriteCertificateXlsx), TWriter(WriteCertificateCsv), TWriter(WriteCertificateHtml)}) {
        QString error;
        EXPECT_FALSE(write(c, folder, &error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot write ") + QDir::toNativeSeparators(folder)))
            << qPrintable(error);
        EXPECT_TRUE(QFileInfo(folder).isDir());
        const QString missing = dir.filePath(QStringLiteral("no_such/c.xlsx"));
        EXPECT_FALSE(write(c, missing, &error));
        EXPECT_FALSE(QFile::exists(missing));
    }
    const QString book = dir.filePath(QStringLiteral("c.xlsx"));
    QString error;
    ASSERT_TRUE(WriteCertificateXlsx(c, book, &error)) << qPrintable(error);
    QFile file(book);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(2) == "PK");
}

} // namespace
