// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

class ITranslator;
class QPlainTextEdit;
class QTextEdit;
class QPushButton;
class QStatusBar;

// The print preview of projects and records: the report text read-only in a fixed-pitch font, with
// Cancel and Print. Created once and reused.
class TTiskF : public QDialog {
    Q_OBJECT
public:
    explicit TTiskF(const ITranslator& translator, QWidget* parent = nullptr);

    // Shows the lines modally; true when the user chose Print.
    bool showReport(const QStringList& lines);
    // Shows a laid-out page (rich text) in place of the lines; true when the user chose Print.
    bool showPage(const QString& html);
    // The lines of the text area.
    QStringList reportLines() const;
    void ApplyDialogTexts();

protected:
    bool event(QEvent* event) override;

private:
    void CmCreate();

    const ITranslator& m_translator;
    // The lines as given: the text area shows a page break as an empty line.
    QStringList m_lines;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_print = nullptr;
    QPlainTextEdit* m_out = nullptr;
    QTextEdit* m_page = nullptr;
    QStatusBar* m_statusBar = nullptr;
};
