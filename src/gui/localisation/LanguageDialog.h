// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QList>

class QButtonGroup;
class QPushButton;
class QRadioButton;
class QScrollArea;
class TMessageCatalogue;
struct TApplicationState;

// The language choice: one row per language of the list, each name in its own script, the current
// language checked. Built afresh for every choice; ChooseLanguage runs it.
class TLanguageDialog : public QDialog {
    Q_OBJECT
public:
    // Rows shown at once; further languages scroll.
    static constexpr int VisibleRows = 25;
    static constexpr int RowHeight = 20;

    explicit TLanguageDialog(const TMessageCatalogue& messages, QWidget* parent = nullptr);

    // The checked language, -1 when none is (the current language is not in the list).
    int checkedLanguage() const;
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // Only for 0 <= index < rowCount().
    QRadioButton* languageButton(int index) const { return m_rows.at(index); }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QScrollArea* rowArea() const { return m_rowArea; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QButtonGroup* m_group = nullptr;
    QList<QRadioButton*> m_rows;
    QScrollArea* m_rowArea = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

// Takes the choice of a closed dialog: on OK with a language checked, it becomes the current
// language of the catalogue and of the settings saved at close. True when it was taken.
bool TakeLanguageChoice(const TLanguageDialog& dialog, TApplicationState& state);

// Options > Language: runs the dialog modally. True when the user confirmed a language; the caller
// then applies the main window's texts and redraws the tree and both pages.
bool ChooseLanguage(TApplicationState& state, QWidget* parent = nullptr);
