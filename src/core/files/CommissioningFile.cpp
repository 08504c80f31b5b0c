// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/CommissioningFile.h"

#include "files/SafeFileWriter.h"
#include "model/Markers.h"
#include "model/Translator.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

const QString FormatName = QStringLiteral("zrv10-commissioning");
constexpr int FormatVersion = 1;
// Far beyond any real remark, small enough that a damaged file cannot fill memory.
constexpr qsizetype MaxTextLength = 10000;
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

struct TTextKey {
    const char* Key;
    QString TCommissioningDetails::*Field;
};

constexpr TTextKey TextKeys[] = {
    {"client", &TCommissioningDetails::Client},   {"site", &TCommissioningDetails::Site},
    {"system", &TCommissioningDetails::System},   {"standard", &TCommissioningDetails::Standard},
    {"witness", &TCommissioningDetails::Witness}, {"remarks", &TCommissioningDetails::Remarks},
};

QJsonValue jsonTolerance(const std::optional<double>& percent) {
    return percent ? QJsonValue(*percent) : QJsonValue();
}

// Absent or null: no tolerance of its own. Anything else must be a sensible percentage.
bool readTolerance(const QJsonObject& root, const char* key, std::optional<double>& percent) {
    const QJsonValue value = root.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull())
        return true;
    if (!value.isDouble() || !std::isfinite(value.toDouble()) || value.toDouble() < 0 || value.toDouble() > 100)
        return false;
    percent = value.toDouble();
    return true;
}

bool readText(const QJsonObject& root, const char* key, QString& text) {
    const QJsonValue value = root.value(QLatin1String(key));
    if (value.isUndefined() || value.isNull())
        return true;
    if (!value.isString() || value.toString().size() > MaxTextLength)
        return false;
    text = value.toString();
    return true;
}

} // namespace

QString CommissioningPathFor(const QString& projectPath) {
    const QFileInfo info(projectPath);
    QString base = info.fileName();
    if (base.endsWith(QStringLiteral(".proj"), Qt::CaseInsensitive))
        base.chop(5);
    return info.dir().filePath(base + QStringLiteral(".commissioning.json"));
}

QByteArray CommissioningJson(const TCommissioningDetails& details) {
    QJsonObject root;
    root.insert(QStringLiteral("format"), FormatName);
    root.insert(QStringLiteral("version"), FormatVersion);
    for (const TTextKey& k : TextKeys)
        root.insert(QLatin1String(k.Key), details.*k.Field);
    root.insert(QStringLiteral("lowerTolerancePercent"), jsonTolerance(details.LowerTolerancePercent));
    root.insert(QStringLiteral("upperTolerancePercent"), jsonTolerance(details.UpperTolerancePercent));
    root.insert(QStringLiteral("testDate"),
                details.TestDate.isValid() ? QJsonValue(details.TestDate.toString(Qt::ISODate)) : QJsonValue());
    root.insert(QStringLiteral("branchRemarks"), QJsonArray::fromStringList(details.BranchRemarks));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool SaveCommissioningFile(const QString& path, const TCommissioningDetails& details, QString* error) {
    return writeFileAtomically(path, CommissioningJson(details), error);
}

TCommissioningLoad ParseCommissioningJson(const QByteArray& bytes, const ITranslator& translator,
                                          TCommissioningDetails& details, QString* error) {
    details = {};
    auto fail = [&](const char* english) {
        if (error)
            *error = translator.Translate(QString::fromLatin1(english));
        return TCommissioningLoad::Failed;
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return fail(EnglishText("The commissioning details are damaged: the file is not readable JSON."));
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("format")).toString() != FormatName || !root.value(QStringLiteral("version")).isDouble())
        return fail(EnglishText("The file holds no commissioning details of this program."));
    const double version = root.value(QStringLiteral("version")).toDouble();
    if (version > FormatVersion)
        return fail(EnglishText("The commissioning details were saved by a newer version of the program and cannot be read."));
    if (version != FormatVersion)
        return fail(EnglishText("The file holds no commissioning details of this program."));

    TCommissioningDetails read;
    bool valid = true;
    for (const TTextKey& k : TextKeys)
        valid = valid && readText(root, k.Key, read.*k.Field);
    valid = valid && readTolerance(root, "lowerTolerancePercent", read.LowerTolerancePercent) &&
            readTolerance(root, "upperTolerancePercent", read.UpperTolerancePercent);
    const QJsonValue date = root.value(QStringLiteral("testDate"));
    if (!date.isUndefined() && !date.isNull()) {
        read.TestDate = QDate::fromString(date.toString(), Qt::ISODate);
        valid = valid && date.isString() && read.TestDate.isValid();
    }
    const QJsonValue remarks = root.value(QStringLiteral("branchRemarks"));
    if (!remarks.isUndefined() && !remarks.isNull()) {
        if (!remarks.isArray() || remarks.toArray().size() > MaxBranches)
            valid = false;
        else
            for (const QJsonValue& remark : remarks.toArray()) {
                if (!remark.isString() || remark.toString().size() > MaxTextLength) {
                    valid = false;
                    break;
                }
                read.BranchRemarks << remark.toString();
            }
    }
    if (!valid)
        return fail(EnglishText("The commissioning details are damaged: a value is of the wrong kind or too long."));
    details = std::move(read);
    return TCommissioningLoad::Loaded;
}

TCommissioningLoad LoadCommissioningFile(const QString& path, const ITranslator& translator,
                                         TCommissioningDetails& details, QString* error) {
    details = {};
    QFile file(path);
    if (!file.exists())
        return TCommissioningLoad::Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = translator.Translate(QStringLiteral("Cannot read %1: %2")).arg(path, file.errorString());
        return TCommissioningLoad::Failed;
    }
    if (file.size() > MaxFileSize) {
        if (error)
            *error = translator.Translate(EnglishText("The commissioning details are damaged: a value is of the wrong kind or too long."));
        return TCommissioningLoad::Failed;
    }
    return ParseCommissioningJson(file.readAll(), translator, details, error);
}
