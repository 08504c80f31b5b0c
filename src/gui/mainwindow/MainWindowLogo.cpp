// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/MainWindowLogo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QPixmap mainWindowLogo() {
    QPixmap pixmap(LogoSize);
    pixmap.fill(QColor(31, 31, 31));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // A valve handwheel: an orange ring with four spokes.
    const QPointF centre(30, 30);
    painter.setPen(QPen(QColor(255, 128, 0), 5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 20, 20);
    painter.setPen(QPen(QColor(255, 128, 0), 3));
    painter.drawLine(centre + QPointF(-20, 0), centre + QPointF(20, 0));
    painter.drawLine(centre + QPointF(0, -20), centre + QPointF(0, 20));
    painter.setBrush(QColor(255, 128, 0));
    painter.drawEllipse(centre, 5, 5);

    QFont big(QStringLiteral("Arial"));
    big.setPixelSize(26);
    big.setBold(true);
    painter.setFont(big);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(60, 4, 128, 32), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ZRV 10"));
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(11);
    painter.setFont(small);
    painter.setPen(QColor(255, 128, 0));
    painter.drawText(QRectF(61, 36, 127, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("hydronic balancing"));
    return pixmap;
}
