// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ChartInteraction.h"

#include "records/ChartNavigation.h"
#include "records/RecordChart.h"

#include <QChart>
#include <QFontMetrics>
#include <QGraphicsItem>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QWheelEvent>

#include <cmath>

namespace {

// A drag shorter than this is a click.
constexpr int DragThreshold = 4;
// One notch of the wheel shows 80 % of the range (in) or 125 % (out).
constexpr double WheelStep = 0.8;

} // namespace

// The two lines through the nearest sample and its text, over the plot area.
class TChartCrosshairItem final : public QGraphicsItem {
public:
    TChartCrosshairItem() { setZValue(200); }

    void show(const QRectF& area, const QPointF& at, const QString& text) {
        prepareGeometryChange();
        m_area = area;
        m_at = at;
        m_text = text;
        setVisible(true);
        update();
    }
    const QString& text() const { return m_text; }

    QRectF boundingRect() const override { return m_area.adjusted(-1, -1, 1, 1); }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        painter->save();
        painter->setClipRect(m_area);
        painter->setPen(QPen(QColor(128, 128, 128), 0, Qt::DashLine));
        painter->drawLine(QPointF(m_at.x(), m_area.top()), QPointF(m_at.x(), m_area.bottom()));
        painter->drawLine(QPointF(m_area.left(), m_at.y()), QPointF(m_area.right(), m_at.y()));
        QFont font = painter->font();
        font.setPixelSize(12);
        font.setBold(false);
        painter->setFont(font);
        const QFontMetrics metrics(font);
        QRectF box = metrics.boundingRect(m_text).adjusted(-4, -2, 4, 2);
        // Beside the sample, turned inwards near the right and top edges.
        box.moveTopLeft(m_at + QPointF(8, -box.height() - 8));
        if (box.right() > m_area.right())
            box.moveRight(m_at.x() - 8);
        if (box.top() < m_area.top())
            box.moveTop(m_at.y() + 8);
        painter->setPen(QColor(80, 80, 80));
        painter->setBrush(QColor(255, 255, 225));
        painter->drawRect(box);
        painter->setPen(Qt::black);
        painter->drawText(box, Qt::AlignCenter, m_text);
        painter->restore();
    }

private:
    QRectF m_area;
    QPointF m_at;
    QString m_text;
};

TChartInteraction::TChartInteraction(TRecordChart& chart) : QObject(&chart), m_chart(chart) {
    m_crosshair = new TChartCrosshairItem;
    m_crosshair->setVisible(false);
    chart.chart()->scene()->addItem(m_crosshair);
    chart.setPlotCached(true);
    chart.setMouseTracking(true);
    chart.viewport()->setMouseTracking(true);
    chart.setFocusPolicy(Qt::StrongFocus);
    chart.viewport()->installEventFilter(this);
    chart.installEventFilter(this);
    connect(&chart, &TRecordChart::limitsChanged, this, &TChartInteraction::hideCrosshair);
}

void TChartInteraction::setZoomFunctions(std::function<void()> in, std::function<void()> out,
                                         std::function<void()> reset) {
    m_zoomIn = std::move(in);
    m_zoomOut = std::move(out);
    m_zoom100 = std::move(reset);
}

void TChartInteraction::setOverlayMenuFunction(std::function<void(int, const QPoint&)> menu) {
    m_overlayMenu = std::move(menu);
}

QPointF TChartInteraction::valueAt(const QPoint& viewPos) const {
    const QRectF area = m_chart.plotArea();
    return ChartValueAt(area.size(), m_chart.limits(), m_chart.mapToScene(viewPos) - area.topLeft());
}

void TChartInteraction::wheelAt(const QPoint& viewPos, int angleDelta) {
    if (angleDelta == 0 || m_chart.plotArea().isEmpty())
        return;
    const double factor = std::pow(WheelStep, angleDelta / 120.0);
    m_chart.changeLimits(ZoomAbout(m_chart.limits(), valueAt(viewPos), factor));
}

void TChartInteraction::dragZoom(const QPoint& from, const QPoint& to) {
    if (std::abs(to.x() - from.x()) < DragThreshold || std::abs(to.y() - from.y()) < DragThreshold)
        return;
    m_chart.changeLimits(ZoomInto(valueAt(from), valueAt(to)));
}

void TChartInteraction::dragPan(const QPoint& from, const QPoint& to) {
    const QPointF a = valueAt(from);
    const QPointF b = valueAt(to);
    // The values under the pointer follow it.
    m_chart.changeLimits(PanBy(m_chart.limits(), a.x() - b.x(), a.y() - b.y()));
}

void TChartInteraction::pointAt(const QPoint& viewPos) {
    const QRectF area = m_chart.plotArea();
    const QPointF scenePos = m_chart.mapToScene(viewPos);
    const QList<QPointF>& points = m_chart.points();
    if (!area.contains(scenePos) || points.isEmpty()) {
        hideCrosshair();
        return;
    }
    const std::optional<qsizetype> nearest = NearestPoint(points, valueAt(viewPos).x());
    const QPointF& point = points.at(*nearest);
    const QPointF at = area.topLeft() + ChartPixelAt(area.size(), m_chart.limits(), point);
    const QString text =
        m_chart.labelAt(static_cast<int>(std::lround(point.x()))) + QStringLiteral("   ") + m_chart.valueText(point.y());
    m_crosshair->show(area, at, text);
}

void TChartInteraction::hideCrosshair() {
    if (m_crosshair->isVisible())
        m_crosshair->setVisible(false);
}

QString TChartInteraction::crosshairText() const {
    return m_crosshair->isVisible() ? m_crosshair->text() : QString();
}

bool TChartInteraction::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_chart) {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const std::function<void()>* step = nullptr;
        switch (key->key()) {
        case Qt::Key_Plus:
            step = &m_zoomIn;
            break;
        case Qt::Key_Minus:
            step = &m_zoomOut;
            break;
        case Qt::Key_0:
            step = &m_zoom100;
            break;
        default:
            return false;
        }
        if (*step)
            (*step)();
        return true;
    }

    switch (event->type()) {
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        wheelAt(wheel->position().toPoint(), wheel->angleDelta().y());
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_pressAt = m_lastAt = mouse->position().toPoint();
        m_moved = false;
        const bool pan = mouse->button() == Qt::RightButton ||
                         (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ShiftModifier));
        m_drag = pan ? Drag::Pan : mouse->button() == Qt::LeftButton ? Drag::Zoom : Drag::None;
        m_chart.setFocus(Qt::MouseFocusReason);
        return m_drag != Drag::None;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if ((at - m_pressAt).manhattanLength() >= DragThreshold)
            m_moved = true;
        if (m_drag == Drag::Pan && m_moved) {
            hideCrosshair();
            dragPan(m_lastAt, at);
            m_lastAt = at;
            return true;
        }
        if (m_drag == Drag::Zoom && m_moved) {
            hideCrosshair();
            if (!m_band)
                m_band = new QRubberBand(QRubberBand::Rectangle, m_chart.viewport());
            m_band->setGeometry(QRect(m_pressAt, at).normalized());
            m_band->show();
            return true;
        }
        pointAt(at);
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const Drag drag = m_drag;
        m_drag = Drag::None;
        if (m_band)
            m_band->hide();
        if (drag == Drag::Zoom && m_moved)
            dragZoom(m_pressAt, mouse->position().toPoint());
        // A right click without a drag opens the chart's menu, if it has one.
        return drag != Drag::None && m_moved;
    }
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_drag = Drag::None;
            if (m_zoom100)
                m_zoom100();
            return true;
        }
        return false;
    case QEvent::Leave:
        hideCrosshair();
        return false;
    case QEvent::ContextMenu: {
        const auto* menu = static_cast<QContextMenuEvent*>(event);
        const int overlay = m_chart.overlayAt(m_chart.mapToScene(menu->pos()));
        if (overlay < 0 || !m_overlayMenu)
            return false;
        m_overlayMenu(overlay, menu->globalPos());
        return true;
    }
    default:
        return false;
    }
}
