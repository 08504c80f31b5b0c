#include "records/RecordOpenDialog.h"

TRecordOpenF::TRecordOpenF(const ITranslator& translator, QWidget* parent) : QDialog(parent) {
    (void)translator;
    setObjectName(QStringLiteral("RecordOpenF"));
}

std::optional<int> TRecordOpenF::choose(const QStringList&) { return std::nullopt; }
int TRecordOpenF::chosenIndex() const { return -1; }
void TRecordOpenF::ApplyDialogTexts() {}
