#include "shell/logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QtMath>

QPixmap drawMakerLogo(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    const qreal h = size.height();
    const QPointF sun(h * 0.5, h * 0.5);
    const qreal radius = h * 0.22;
    p.setPen(QPen(QColor(230, 150, 20), h * 0.04, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * M_PI / 6;
        const QPointF dir(qCos(a), qSin(a));
        p.drawLine(sun + dir * radius * 1.35, sun + dir * radius * 1.9);
    }
    QRadialGradient glow(sun, radius);
    glow.setColorAt(0, QColor(255, 220, 80));
    glow.setColorAt(1, QColor(240, 160, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(sun, radius, radius);

    QFont font("DejaVu Sans", 1, QFont::Bold);
    font.setPixelSize(qMax(8, int(h * 0.34)));
    p.setFont(font);
    p.setPen(QColor(20, 60, 130));
    const QRectF textArea(h, 0, size.width() - h, h);
    p.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft, "Halvora");
    return pixmap;
}
