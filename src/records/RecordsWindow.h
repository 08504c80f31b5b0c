#pragma once

#include <QMainWindow>

// The window that shows a measurement record as a table and two charts. Created hidden at start-up
// and shown by the record commands of the main window.
class TRecordsF : public QMainWindow {
    Q_OBJECT
public:
    explicit TRecordsF(QWidget* parent = nullptr);
};
