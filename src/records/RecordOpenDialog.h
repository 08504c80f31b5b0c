#pragma once

#include <QDialog>

// The list of the records on the instrument, from which the user picks the one to open.
class TRecordOpenF : public QDialog {
    Q_OBJECT
public:
    explicit TRecordOpenF(QWidget* parent = nullptr);
};
