#include "mainwindow/MainWindowTexts.h"

#include "localisation/MessageCatalogue.h"

namespace {

using V = TTextVariant;

constexpr TWindowText MenuTexts[] = {
    {"mFile", "File", V::Plain},
    {"mProjects", "-------- Projects --------", V::Plain},
    {"mNewPrj", "New", V::Plain},
    {"mOpenPrj", "Open", V::Ellipsis},
    {"mSave", "Save", V::Plain},
    {"mSaveAsPrj", "Save as", V::Ellipsis},
    {"mRecords", "-------- Records --------", V::Plain},
    {"mOpenRec", "Open", V::Ellipsis},
    {"mExit", "Exit", V::Plain},
    {"mOpenPrjFromDevice", "Open project from ZRV10", V::Ellipsis},
    {"mSaveProjectToDevice", "Save project to ZRV10", V::Plain},
    {"mOpenRecordFromDevice", "Open record from ZRV10", V::Ellipsis},
    {"mPCProjects", "------ PC Projects ------", V::Plain},
    {"mEdit", "Edit", V::Plain},
    {"mAddBranch", "Add branch", V::Plain},
    {"mDeleteBranch", "Delete branch", V::Ellipsis},
    {"mMoveBranchUp", "Move branch up", V::Plain},
    {"mMoveBranchDown", "Move branch down", V::Plain},
    {"mPrint2", "Print", V::Plain},
    {"mSetupPrinter", "Setup printer", V::Ellipsis},
    {"mPrint", "Print", V::Ellipsis},
    {"mOptions", "Options", V::Plain},
    {"mUnits", "Flow and pressure units", V::Ellipsis},
    {"mLanguage", "Language", V::Ellipsis},
    {"mAddBranch2", "Add branch", V::Plain},
    {"mDeleteBranch2", "Delete branch", V::Ellipsis},
    {"mMoveBranchUp2", "Move branch up", V::Plain},
    {"mMoveBranchDown2", "Move branch down", V::Plain},
};

constexpr TWindowText LateTexts[] = {
    {"mImportXLS", "Import from Nortavex engineer", V::Ellipsis},
    {"mExportXLS2", "Export to Nortavex engineer", V::Ellipsis},
};

} // namespace

std::span<const TWindowText> mainWindowMenuTexts() {
    return MenuTexts;
}
std::span<const TWindowText> mainWindowLateTexts() {
    return LateTexts;
}

QString translatedText(const TMessageCatalogue& catalogue, const TWindowText& text) {
    const QString english = QString::fromUtf8(text.English);
    return text.Variant == TTextVariant::Ellipsis ? catalogue.TranslateEllipsis(english)
                                                  : catalogue.Translate(english);
}

QString versionText(const TMessageCatalogue& catalogue) {
    return catalogue.TranslateSpaced(QStringLiteral("Version")) + QLatin1String(ProgramVersion);
}
