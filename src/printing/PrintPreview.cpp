#include "printing/PrintPreview.h"

TTiskF::TTiskF(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TiskF"));
    setWindowTitle(QStringLiteral("Print preview"));
}
