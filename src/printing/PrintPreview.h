#pragma once

#include <QDialog>

// The print preview of projects and records.
class TTiskF : public QDialog {
    Q_OBJECT
public:
    explicit TTiskF(QWidget* parent = nullptr);
};
