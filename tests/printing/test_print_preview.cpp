// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Translator.h"
#include "mainwindow/test_dialogs_app.h"
#include "printing/PreviewScript.h"
#include "printing/PrintPreview.h"
#include "printing/PrintQString.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHash>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

// A language that can change while the preview exists, as after the language dialog.
class ChangingTranslator final : public ITranslator {
public:
    QHash<QString, QString> Texts;
    QString Translate(const QString& english) const override { return Texts.value(english, english); }
};

QPushButton* button(const TTiskF& preview, const char* name) {
    return preview.findChild<QPushButton*>(QLatin1String(name));
}

QPlainTextEdit* textArea(const TTiskF& preview) {
    return preview.findChild<QPlainTextEdit*>(QStringLiteral("R_Out"));
}

TEST(PrintPreview, HasTheDesignedLayoutAndAFontWhoseColumnsAlign) {
    TIdentityTranslator english;
    TTiskF preview(english);
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Print Preview"));
    EXPECT_EQ(preview.size(), QSize(577, 633));
    ASSERT_NE(button(preview, "Cancel"), nullptr);
    ASSERT_NE(button(preview, "Print"), nullptr);
    EXPECT_EQ(button(preview, "Cancel")->size(), QSize(120, 24));
    EXPECT_EQ(button(preview, "Print")->size(), QSize(120, 24));
    EXPECT_TRUE(button(preview, "Print")->isDefault());
    EXPECT_FALSE(button(preview, "Cancel")->isDefault());
    EXPECT_EQ(button(preview, "Cancel")->parentWidget()->height(), 30);

    const QPlainTextEdit* out = textArea(preview);
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(out->isReadOnly());
    EXPECT_EQ(out->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(out->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(out->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(out->font().bold());
    EXPECT_EQ(out->font().pixelSize(), 10);
    // What matters is the font actually used: every character as wide as a blank.
    const QFontMetrics metrics(out->font());
    for (const char* text : {"i", "W", "0", ".", ":", "-"})
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1String(text)), metrics.horizontalAdvance(u' ')) << text;
}

TEST(PrintPreview, PrintAndEnterPrintCancelAndEscapeDoNot) {
    const struct {
        const char* how;
        std::function<void(TTiskF&)> answer;
        bool printed;
    } cases[] = {
        {"Cancel button", TPreviewScript::click("Cancel"), false},
        {"Print button", TPreviewScript::click("Print"), true},
        {"Escape", [](TTiskF& p) { QTest::keyClick(textArea(p), Qt::Key_Escape); }, false},
        {"Enter", [](TTiskF& p) { QTest::keyClick(textArea(p), Qt::Key_Return); }, true},
    };
    TIdentityTranslator english;
    TTiskF preview(english);
    for (const auto& c : cases) {
        TPreviewScript script(preview, c.answer);
        EXPECT_EQ(preview.showReport({QStringLiteral("line")}), c.printed) << c.how;
        EXPECT_EQ(script.Shown, 1) << c.how;
        EXPECT_FALSE(preview.isVisible()) << c.how;
    }
}

TEST(PrintPreview, ShowsTheLinesReadOnlyFromTheStartAndGivesThemBackUnchanged) {
    const QStringList lines{QStringLiteral(" "), QStringLiteral("Project              : Riser A"),
                            QString(QChar(u'\f')), QStringLiteral("  Branch 11"), QString()};
    TIdentityTranslator english;
    TTiskF preview(english);
    QString shownText;
    bool readOnly = false;
    int cursorAt = -1;
    TPreviewScript script(preview, [&](TTiskF& p) {
        shownText = textArea(p)->toPlainText();
        readOnly = textArea(p)->isReadOnly();
        cursorAt = textArea(p)->textCursor().position();
        // Typing changes nothing.
        QTest::keyClicks(textArea(p), QStringLiteral("xyz"));
        TPreviewScript::click("Cancel")(p);
    });
    preview.showReport(lines);

    ASSERT_EQ(script.Shown, 1);
    EXPECT_EQ(script.Lines, lines);
    EXPECT_EQ(preview.reportLines(), lines);
    // The page break shows as an empty line in the place of its form feed.
    EXPECT_EQ(shownText, QStringLiteral(" \nProject              : Riser A\n\n  Branch 11\n"));
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(cursorAt, 0);

    // The next report replaces the last one whole.
    TPreviewScript again(preview, TPreviewScript::click("Cancel"));
    preview.showReport({QStringLiteral("other")});
    EXPECT_EQ(preview.reportLines(), QStringList{QStringLiteral("other")});
    EXPECT_EQ(textArea(preview)->toPlainText(), QStringLiteral("other"));
}

TEST(PrintPreview, TakesTheTextsOfTheCurrentLanguageOnEveryActivation) {
    ChangingTranslator language;
    TTiskF preview(language);
    language.Texts = {{"Print preview", "Náhled tisku"}, {"Cancel", "Zrušit"}, {"Print", "Tisk"}};
    TPreviewScript script(preview, TPreviewScript::click("Print"));
    preview.showReport({});
    EXPECT_EQ(script.Caption, QStringLiteral("Náhled tisku"));
    EXPECT_EQ(button(preview, "Cancel")->text(), QStringLiteral("Zrušit"));
    EXPECT_EQ(button(preview, "Print")->text(), QStringLiteral("Tisk"));

    language.Texts.clear();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&preview, &activate);
    // The run-time caption differs from the designed one in its case.
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Print preview"));
    EXPECT_EQ(button(preview, "Cancel")->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(button(preview, "Print")->text(), QStringLiteral("Print"));
}

} // namespace
