// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ValveCatalogue.h"
#include "spreadsheet/Workbook.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

#include <cstring>
#include <memory>

// A worksheet in memory: cells to read, the writes and saves it saw, and failures on demand.
struct TFakeSheetData {
    QHash<QPair<int, int>, QString> Cells;
    QSet<QPair<int, int>> Uncalculated; // formula cells without a result
    QString Password; // empty: not protected
    bool Protected = false;
    bool FailWrites = false;
    bool FailSave = false;
    int FailColumn = 0;   // writes into this column fail
    int RefuseColumn = 0; // a cell of this column may not be written at all
    QList<QString> PasswordsTried;
    QHash<QPair<int, int>, QString> Written;
    int Saves = 0;
};

class TFakeWorksheet final : public IWorksheet {
public:
    explicit TFakeWorksheet(TFakeSheetData& data) : m_data(data) {}

    QString cellText(int row, int column) const override { return m_data.Cells.value({row, column}); }
    bool isUncalculatedFormula(int row, int column) const override {
        return m_data.Uncalculated.contains({row, column});
    }

    bool unprotect(const QString& password, QString* error) override {
        m_data.PasswordsTried.append(password);
        if (m_data.Protected && password != m_data.Password) {
            *error = QStringLiteral("The worksheet password does not match.");
            return false;
        }
        m_data.Protected = false;
        return true;
    }

    bool mayWrite(int row, int column, QString* error) override {
        if (column != m_data.RefuseColumn)
            return true;
        *error = QStringLiteral("The cell in row %1 lies in an array formula.").arg(row);
        return false;
    }

    bool setCellText(int row, int column, const QString& text, QString* error) override {
        if (m_data.FailWrites || m_data.Protected || column == m_data.FailColumn) {
            *error = QStringLiteral("The cell cannot be written.");
            return false;
        }
        m_pending.insert({row, column}, text);
        return true;
    }

    bool save(QString* error) override {
        if (m_data.FailSave) {
            *error = QStringLiteral("The workbook cannot be saved.");
            return false;
        }
        // Like a file written by rename: the writes appear only with a successful save.
        for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
            m_data.Written.insert(it.key(), it.value());
        ++m_data.Saves;
        return true;
    }

private:
    TFakeSheetData& m_data;
    QHash<QPair<int, int>, QString> m_pending;
};

inline void setValveName(TValveCatalogue& catalogue, int slot, const char* name) {
    std::memset(catalogue.Valves[slot].Name, 0, sizeof catalogue.Valves[slot].Name);
    std::memcpy(catalogue.Valves[slot].Name, name, std::strlen(name));
}
