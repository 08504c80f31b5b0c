// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class ITranslator;
class QPlainTextEdit;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;
class QStatusBar;

// The print preview of projects and records: the report text read-only in a fixed-pitch font, or a
// report's printed pages (the commissioning certificate), with Cancel and Print. Created once and
// reused.
class TTiskF : public QDialog {
    Q_OBJECT
public:
    explicit TTiskF(const ITranslator& translator, QWidget* parent = nullptr);

    // Shows the lines modally; true when the user chose Print.
    bool showReport(const QStringList& lines);
    // Shows the pages `paint` draws on the printer in place of the lines; true when the user
    // chose Print.
    bool showPages(QPrinter& printer, const std::function<void(QPrinter&)>& paint);
    // The pages on screen while showPages waits for the answer, else 0.
    int shownPageCount() const;
    // The lines of the text area.
    QStringList reportLines() const;
    void ApplyDialogTexts();

protected:
    bool event(QEvent* event) override;

private:
    void CmCreate();
    void dropPages();

    const ITranslator& m_translator;
    // The lines as given: the text area shows a page break as an empty line.
    QStringList m_lines;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_print = nullptr;
    QPlainTextEdit* m_out = nullptr;
    QPrintPreviewWidget* m_pages = nullptr;
    QStatusBar* m_statusBar = nullptr;
};
