#include "printing/PrintPreview.h"

TTiskF::TTiskF(const ITranslator& translator, QWidget* parent) : QDialog(parent) {
    (void)translator;
    setObjectName(QStringLiteral("TiskF"));
}

bool TTiskF::showReport(const QStringList&) { return false; }
QStringList TTiskF::reportLines() const { return {}; }
void TTiskF::ApplyDialogTexts() {}
