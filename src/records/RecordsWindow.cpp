#include "records/RecordsWindow.h"

TRecordsF::TRecordsF(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("RecordsF"));
    setWindowTitle(QStringLiteral("Records"));
    resize(800, 600);
}
