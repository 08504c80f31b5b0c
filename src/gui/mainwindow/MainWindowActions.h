// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/CommandRules.h"
#include "commands/MainWindowTexts.h"

#include <QKeySequence>

#include <span>

class TMainF;

// Where an item of the main window sits.
enum class TMenuPlace : std::uint8_t { File, Edit, Print, Options, Popup };

enum class TItemKind : std::uint8_t {
    Command,
    Menu,        // a top-level menu of the menu bar; its items are the rows of its place
    Separator,   // a line between items
    RecentFiles, // the submenu of recently used projects
};

struct TItemKeys {
    QKeySequence::StandardKey Standard = QKeySequence::UnknownKey;
    QKeyCombination First{};
    QKeyCombination Second{};
};

// One item of the main menu or of the tree's pop-up menu. The rows of one place are its items in
// order; the menus are built, translated and enabled from them.
struct TMainAction {
    TItemKind Kind;
    TMenuPlace Place;
    const char* Name;
    // Null: the designed caption stays, untranslated.
    const char* English = nullptr;
    TTextVariant Variant = TTextVariant::Plain;
    // The caption until the texts are first applied; null: the English text with its variant.
    const char* Designed = nullptr;
    // Position among the window's texts, which are applied in a fixed order; from AfterEditorTexts on,
    // after the editor's own captions. 0: not translated.
    int TextOrder = 0;
    TCommandRule Rule = {};
    void (*Handler)(TMainF&) = nullptr;
    TItemKeys Keys = {};
    bool Hidden = false;
    // An on/off option: the handler reads the item's check mark.
    bool Checkable = false;
};

inline constexpr int AfterEditorTexts = 100;

std::span<const TMainAction> mainWindowActions();
// The rows that carry a text, in the order their texts are applied.
std::span<const TMainAction* const> mainWindowActionsInTextOrder();

QList<QKeySequence> shortcutsOf(const TItemKeys& keys);
// The caption a row shows before the window's texts are applied.
QString designedCaption(const TMainAction& row);
