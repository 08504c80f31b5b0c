#include "mainwindow/MainWindowTexts.h"

#include "localisation/MessageCatalogue.h"

namespace {

using V = TTextVariant;

constexpr TWindowText MenuTexts[] = {
    {"mFile", EnglishText("File"), V::Plain},
    {"mProjects", EnglishText("-------- Projects --------"), V::Plain},
    {"mNewPrj", EnglishText("New"), V::Plain},
    {"mOpenPrj", EnglishText("Open"), V::Ellipsis},
    {"mSave", EnglishText("Save"), V::Plain},
    {"mSaveAsPrj", EnglishText("Save as"), V::Ellipsis},
    {"mRecords", EnglishText("-------- Records --------"), V::Plain},
    {"mOpenRec", EnglishText("Open"), V::Ellipsis},
    {"mExit", EnglishText("Exit"), V::Plain},
    {"mOpenPrjFromDevice", EnglishText("Open project from ZRV10"), V::Ellipsis},
    {"mSaveProjectToDevice", EnglishText("Save project to ZRV10"), V::Plain},
    {"mOpenRecordFromDevice", EnglishText("Open record from ZRV10"), V::Ellipsis},
    {"mPCProjects", EnglishText("------ PC Projects ------"), V::Plain},
    {"mEdit", EnglishText("Edit"), V::Plain},
    {"mAddBranch", EnglishText("Add branch"), V::Plain},
    {"mDeleteBranch", EnglishText("Delete branch"), V::Ellipsis},
    {"mMoveBranchUp", EnglishText("Move branch up"), V::Plain},
    {"mMoveBranchDown", EnglishText("Move branch down"), V::Plain},
    {"mPrint2", EnglishText("Print"), V::Plain},
    {"mSetupPrinter", EnglishText("Setup printer"), V::Ellipsis},
    {"mPrint", EnglishText("Print"), V::Ellipsis},
    {"mOptions", EnglishText("Options"), V::Plain},
    {"mUnits", EnglishText("Flow and pressure units"), V::Ellipsis},
    {"mLanguage", EnglishText("Language"), V::Ellipsis},
    {"mAddBranch2", EnglishText("Add branch"), V::Plain},
    {"mDeleteBranch2", EnglishText("Delete branch"), V::Ellipsis},
    {"mMoveBranchUp2", EnglishText("Move branch up"), V::Plain},
    {"mMoveBranchDown2", EnglishText("Move branch down"), V::Plain},
};

constexpr TWindowText LateTexts[] = {
    {"mImportXLS", EnglishText("Import from Nortavex engineer"), V::Ellipsis},
    {"mExportXLS2", EnglishText("Export to Nortavex engineer"), V::Ellipsis},
    {"mRecentProjects", EnglishText("Recent projects"), V::Plain},
    {"mVerifyAfterWrite", EnglishText("Verify after writing to device"), V::Plain},
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
