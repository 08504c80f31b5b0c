// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordOpenDialog.h"

#include "model/Translator.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QHeaderView>
#include <QTreeWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr QSize ClientSize(442, 229);
constexpr int ListHeight = 173;
constexpr int LabelHeight = 22;
constexpr QSize ButtonSize(75, 25);
constexpr int ButtonGap = 6;
constexpr int Margin = 8;
const QColor LabelColour(218, 227, 250);

// A record sheet with its curve: the one image every item shows.
QIcon recordIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({{5.5, 1.5}, {21.5, 1.5}, {27.5, 7.5}, {27.5, 30.5}, {5.5, 30.5}}));
    painter.drawPolyline(QPolygonF({{21.5, 1.5}, {21.5, 7.5}, {27.5, 7.5}}));
    painter.setPen(QPen(QColor(81, 81, 255), 2));
    painter.drawPolyline(QPolygonF({{8, 25}, {12, 17}, {16, 21}, {20, 12}, {25, 16}}));
    painter.setPen(QPen(QColor(0, 168, 0), 2));
    painter.drawPolyline(QPolygonF({{8, 14}, {13, 11}, {18, 15}, {25, 9}}));
    return QIcon(pixmap);
}

bool isArrowKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

TRecordOpenF::TRecordOpenF(const ITranslator& translator, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      m_translator(translator) {
    setObjectName(QStringLiteral("RecordOpenF"));
    setWindowTitle(QStringLiteral("Open record from device"));

    // A detail view, so that records of the same branch are told apart by their first sample and
    // their length.
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("RecordListView"));
    m_list->setColumnCount(3);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setIconSize(QSize(16, 16));
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setGeometry(0, 0, ClientSize.width(), ListHeight);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);

    m_label = new QLabel(QStringLiteral("Select record to open"), this);
    m_label->setObjectName(QStringLiteral("diaLabel"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setAutoFillBackground(true);
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::Window, LabelColour);
    m_label->setPalette(palette);
    m_label->setGeometry(0, ListHeight, ClientSize.width(), LabelHeight);

    const int buttonTop =
        ListHeight + LabelHeight + (ClientSize.height() - ListHeight - LabelHeight - ButtonSize.height()) / 2;
    m_ok = new QPushButton(QStringLiteral("Ok"), this);
    m_ok->setObjectName(QStringLiteral("diaOk"));
    m_ok->setGeometry(QRect(QPoint(ClientSize.width() - Margin - ButtonSize.width(), buttonTop), ButtonSize));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("diaCancel"));
    m_cancel->setGeometry(QRect(m_ok->pos() - QPoint(ButtonGap + ButtonSize.width(), 0), ButtonSize));
    m_cancel->setAutoDefault(false);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TRecordOpenF::CmSelectItem);
    connect(m_ok, &QPushButton::clicked, this, &TRecordOpenF::diaOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(ClientSize);
    setTabOrder(m_list, m_cancel);
    setTabOrder(m_cancel, m_ok);
}

std::optional<int> TRecordOpenF::choose(const QStringList& captions) {
    std::vector<TRecordListRow> rows;
    rows.reserve(static_cast<std::size_t>(captions.size()));
    for (const QString& caption : captions)
        rows.push_back(TRecordListRow{caption, QString(), 0});
    return choose(rows);
}

std::optional<int> TRecordOpenF::choose(const std::vector<TRecordListRow>& rows) {
    m_list->clear();
    const QIcon icon = recordIcon();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const TRecordListRow& row : rows) {
        auto* item = new QTreeWidgetItem(
            {row.Description, row.FirstSample, row.SampleCount > 0 ? QString::number(row.SampleCount) : QString()});
        item->setIcon(0, icon);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        items << item;
    }
    m_list->addTopLevelItems(items);
    // The window it belongs to is switched off while the instrument is read; the list, a window of
    // its own, must still take the user's choice.
    setEnabled(true);
    if (exec() != QDialog::Accepted || m_chosen < 0 || m_chosen >= static_cast<int>(rows.size()))
        return std::nullopt;
    return m_chosen;
}

int TRecordOpenF::chosenIndex() const {
    return m_chosen;
}

void TRecordOpenF::ApplyDialogTexts() {
    // Qt's fonts cover every script, so the language's character set needs no font of its own.
    setWindowTitle(m_translator.Translate(QStringLiteral("Open record from device")));
    m_label->setText(m_translator.Translate(QStringLiteral("Select record to open")));
    m_ok->setText(m_translator.Translate(QStringLiteral("Ok")));
    m_cancel->setText(m_translator.Translate(QStringLiteral("Cancel")));
    m_list->setHeaderLabels({m_translator.Translate(QStringLiteral("Description")),
                             m_translator.Translate(QStringLiteral("First sample")),
                             m_translator.Translate(QStringLiteral("Samples"))});
}

void TRecordOpenF::showEvent(QShowEvent* event) {
    CmShow();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
    m_list->setFocus();
}

void TRecordOpenF::CmShow() {
    ApplyDialogTexts();
    // A selection left from the last use would otherwise sit beside a disabled Ok.
    m_list->clearSelection();
    m_list->setCurrentItem(nullptr, 0, QItemSelectionModel::NoUpdate);
    m_chosen = -1;
    m_ok->setEnabled(false);
}

int TRecordOpenF::selectedIndex() const {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.constFirst());
}

void TRecordOpenF::CmSelectItem() {
    m_chosen = selectedIndex();
    m_ok->setEnabled(m_chosen >= 0);
}

void TRecordOpenF::diaOkClick() {
    m_chosen = selectedIndex();
    if (m_chosen >= 0)
        accept();
}

void TRecordOpenF::CmDblClick() {
    const int selected = selectedIndex();
    if (selected < 0)
        return;
    m_chosen = selected;
    accept();
}

bool TRecordOpenF::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        CmDblClick();
    } else if (watched == m_list && event->type() == QEvent::KeyPress &&
               isArrowKey(static_cast<QKeyEvent*>(event)->key()) && m_list->selectedItems().isEmpty() &&
               m_list->topLevelItemCount() > 0) {
        // The first arrow selects the item the cursor is on (the first one when none), rather than
        // jumping past it.
        QTreeWidgetItem* item = m_list->currentItem() ? m_list->currentItem() : m_list->topLevelItem(0);
        m_list->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
