// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/CommissioningFile.h"
#include "files/ProjectFile.h"
#include "files/Settings.h"
#include "localisation/MessageCatalogue.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"
#include "printing/CommissioningCertificate.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>

// A shipped language file's texts, read without the language list and its logs.
class LanguageFileTranslator final : public ITranslator {
public:
    explicit LanguageFileTranslator(const char* code) {
        QFile file(QStringLiteral(ZRV_LANGUAGE_DIR "/messages_%1.txt").arg(QLatin1String(code)));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << code;
        m_catalogue.LoadLanguageBytes(file.readAll());
    }
    QString Translate(const QString& english) const override {
        const QString* text = m_catalogue.FindTranslation(m_catalogue.LowerCase(english));
        return text ? *text : english;
    }

private:
    TMessageCatalogue m_catalogue{QString(), QLocale::c()};
};

// The fixture project and its details file, read through the program's own loaders, and the
// certificate built from them.
struct CertificateFixture {
    std::unique_ptr<TProject> Project = std::make_unique<TProject>();
    std::unique_ptr<TValveCatalogue> Catalogue = std::make_unique<TValveCatalogue>();
    TCommissioningDetails Details;
    TCommissioningSettings Who{QStringLiteral("Petr Dvořák"), QStringLiteral("Hydro Balance s.r.o."),
                               QStringLiteral("ZRV-0421"), QDate(2026, 6, 1), 3000.0};
    TUnits Units{5, 2, QLocale::c()};

    CertificateFixture() {
        const QString path = QStringLiteral(ZRV_FIXTURES "/printing/certificate.proj");
        QString error;
        EXPECT_TRUE(LoadProjectFile(path, *Project, 0, QLocale::c(), &error)) << qPrintable(error);
        EXPECT_EQ(LoadCommissioningFile(CommissioningPathFor(path), EnglishOnly(), Details, &error),
                  TCommissioningLoad::Loaded)
            << qPrintable(error);
    }

    TCommissioningCertificate build(const ITranslator& translator,
                                    std::optional<TTolerance> tolerance = {}) const {
        return BuildCommissioningCertificate(
            {*Project, *Catalogue, 0, Details, Who, tolerance.value_or(CertificateTolerance(Details, 10.0))},
            Units, translator);
    }
};
