// SPDX-License-Identifier: GPL-3.0-or-later
#include "CertificateFixture.h"
#include "model/InstrumentText.h"
#include "printing/CertificatePrint.h"

#include <QProcess>
#include <QTemporaryDir>

namespace {

// The QApplication comes from test_print_report.cpp's environment: one per program.

// The PDF's text page by page, as a reader extracts it.
QStringList pdfPages(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(60000));
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput())
                            .normalized(QString::NormalizationForm_KC)
                            .split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

TEST(CertificatePrint, RussianFormWithTheTableHeaderOnEveryPage) {
    CertificateFixture f;
    // Enough branches for several pages.
    f.Project->Header.Branch_Count = 120;
    for (int i = 6; i < 120; ++i) {
        f.Project->Branches[static_cast<std::size_t>(i)] =
            f.Project->Branches[static_cast<std::size_t>(i % 6)];
        EncodeInstrumentText(QStringLiteral("Flat %1").arg(i + 1),
                             f.Project->Branches[static_cast<std::size_t>(i)].Name, NameFieldSize, 0);
    }
    const LanguageFileTranslator russian("ru");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("certificate.pdf"));
    QString error;
    ASSERT_TRUE(PrintCertificateToPdf(f.build(russian), path, TPrintMargins{}, &error)) << qPrintable(error);
    if (const QByteArray keep = qgetenv("ZRV_KEEP_CERTIFICATE_PDF"); !keep.isEmpty())
        QFile::copy(path, QString::fromLocal8Bit(keep));

    const QStringList pages = pdfPages(path);
    ASSERT_GE(pages.size(), 3);
    for (int i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(pages[i].contains(QStringLiteral("Страница %1 из %2").arg(i + 1).arg(pages.size())));
        // Every page of either table starts with its header.
        if (pages[i].contains(QStringLiteral("в пределах")))
            EXPECT_TRUE(pages[i].contains(QStringLiteral("Проектный"))) << qPrintable(pages[i]);
        if (pages[i].contains(QStringLiteral("Flat")))
            EXPECT_TRUE(pages[i].contains(QStringLiteral("Примечание"))) << qPrintable(pages[i]);
    }
    EXPECT_TRUE(pages.first().contains(QStringLiteral("Акт пусконаладки")));
    EXPECT_TRUE(pages.first().contains(QStringLiteral("НЕ СООТВЕТСТВУЕТ")));
    EXPECT_TRUE(pages.first().contains(QStringLiteral("недостоверно")));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Подпись:")));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Jana Nováková")));
}

TEST(CertificatePrint, MarginsWithoutRoomAreAnError) {
    const CertificateFixture f;
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(PrintCertificateToPdf(f.build(EnglishOnly()), dir.filePath(QStringLiteral("c.pdf")),
                                       TPrintMargins{100, 100, 25, 25}, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
