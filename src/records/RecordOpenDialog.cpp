#include "records/RecordOpenDialog.h"

TRecordOpenF::TRecordOpenF(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RecordOpenF"));
    setWindowTitle(QStringLiteral("Open record from device"));
}
