// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>

class QRubberBand;
class TChartCrosshairItem;
class TRecordChart;

// Working with a record chart by mouse and keyboard: the wheel zooms about the pointer, dragging a
// rectangle with the left button zooms into it, dragging with the right button (or with Shift)
// pans, a double click returns to Zoom 100 %, "+", "-" and "0" do what the zoom buttons do, and a
// crosshair follows the pointer with the date, time and value of the nearest sample.
class TChartInteraction final : public QObject {
    Q_OBJECT
public:
    // Lives as long as the chart (it becomes the chart's child).
    explicit TChartInteraction(TRecordChart& chart);

    // The keys' zoom steps go through the window's own zoom commands.
    void setZoomFunctions(std::function<void()> in, std::function<void()> out, std::function<void()> reset);
    // A right click on an overlay's legend entry: the overlay's index and where the menu goes.
    void setOverlayMenuFunction(std::function<void(int overlay, const QPoint& globalPos)> menu);

    // Wheel steps of 1/8 degree as Qt delivers them: 120 per notch, positive away from the user.
    void wheelAt(const QPoint& viewPos, int angleDelta);
    void dragZoom(const QPoint& from, const QPoint& to);
    void dragPan(const QPoint& from, const QPoint& to);
    // The crosshair at a point of the view; hidden outside the plot area or without points.
    void pointAt(const QPoint& viewPos);
    void hideCrosshair();
    // What the crosshair shows ("05.03.2012 07:04:09  1.2 kPa"); empty when hidden.
    QString crosshairText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Drag { None, Zoom, Pan };
    QPointF valueAt(const QPoint& viewPos) const;

    TRecordChart& m_chart;
    TChartCrosshairItem* m_crosshair = nullptr;
    QPointer<QRubberBand> m_band;
    Drag m_drag = Drag::None;
    QPoint m_pressAt;
    QPoint m_lastAt;
    bool m_moved = false;
    std::function<void()> m_zoomIn;
    std::function<void()> m_zoomOut;
    std::function<void()> m_zoom100;
    std::function<void(int, const QPoint&)> m_overlayMenu;
};
