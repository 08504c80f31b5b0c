// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include "records/RecordListRows.h"

#include <QStringList>

#include <optional>
#include <vector>

class ITranslator;
class QLabel;
class QTreeWidget;
class QPushButton;

// The list of the records on the instrument, from which the user picks the one to open. Created
// once and reused; it never talks to the instrument.
class TRecordOpenF : public QDialog {
    Q_OBJECT
public:
    explicit TRecordOpenF(const ITranslator& translator, QWidget* parent = nullptr);

    // Lists one row per record (description, first sample, sample count), shows the dialog modally
    // and answers the chosen index, or nullopt when cancelled.
    std::optional<int> choose(const std::vector<TRecordListRow>& rows);
    // The same with the descriptions alone. Fits TRecordChooser.
    std::optional<int> choose(const QStringList& captions);
    // -1 while nothing is chosen.
    int chosenIndex() const;
    void ApplyDialogTexts();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CmShow();
    void CmSelectItem();
    void CmDblClick();
    void diaOkClick();
    int selectedIndex() const;

    const ITranslator& m_translator;
    int m_chosen = -1;
    QTreeWidget* m_list = nullptr;
    QLabel* m_label = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_ok = nullptr;
};
