// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QVariant>

#include <optional>

// A sort's answer where a cell is empty (no sort value): empty cells go last in either order. None when
// both hold a value and the usual comparison decides. A descending sort asks with the sides swapped.
inline std::optional<bool> EmptyCellsLast(const QVariant& left, const QVariant& right, Qt::SortOrder order) {
    const bool leftEmpty = !left.isValid();
    const bool rightEmpty = !right.isValid();
    if (!leftEmpty && !rightEmpty)
        return std::nullopt;
    if (leftEmpty == rightEmpty)
        return false;
    return order == Qt::AscendingOrder ? rightEmpty : leftEmpty;
}
