#pragma once

#include <QDialog>
#include <QStringList>

class ITranslator;
class QPlainTextEdit;
class QStatusBar;

// The print preview of projects and records: the report text read-only in a fixed-pitch font, with
// Cancel and Print. Created once and reused.
class TTiskF : public QDialog {
    Q_OBJECT
public:
    explicit TTiskF(const ITranslator& translator, QWidget* parent = nullptr);

    // Shows the lines modally; true when the user chose Print.
    bool showReport(const QStringList& lines);
    // The lines of the text area.
    QStringList reportLines() const;
    void ApplyDialogTexts();
};
