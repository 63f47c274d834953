#include "viewer/ui/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tavrin {

namespace {

constexpr int kSize = 24;

void sheet(QPainter& p, QRectF r)
{
    p.setPen(QPen(QColor(70, 80, 95), 1.2));
    p.setBrush(QColor(250, 250, 252));
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 5, r.top());
    path.lineTo(r.right(), r.top() + 5);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.drawPath(path);
    p.setPen(QPen(QColor(150, 160, 175), 1));
    for (qreal y = r.top() + 7; y < r.bottom() - 2; y += 3)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void badge(QPainter& p, QColor color, bool plus)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(12, 12, 11, 11));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(14.5, 17.5), QPointF(20.5, 17.5));
    if (plus)
        p.drawLine(QPointF(17.5, 14.5), QPointF(17.5, 20.5));
}

void box(QPainter& p, QRectF r, int mark) // 0 empty, 1 tick, 2 half
{
    p.setPen(QPen(QColor(70, 80, 95), 1.2));
    p.setBrush(mark == 2 ? QColor(200, 215, 235) : QColor(250, 250, 252));
    p.drawRect(r);
    if (mark == 1) {
        p.setPen(QPen(QColor(30, 130, 60), 2));
        p.drawLine(QPointF(r.left() + 2, r.center().y()), QPointF(r.center().x() - 0.5, r.bottom() - 2));
        p.drawLine(QPointF(r.center().x() - 0.5, r.bottom() - 2), QPointF(r.right() - 1.5, r.top() + 2));
    }
}

void surfaceWave(QPainter& p, qreal top, QColor color)
{
    QPainterPath path;
    path.moveTo(3, top + 6);
    path.cubicTo(8, top - 2, 12, top + 12, 21, top + 2);
    path.lineTo(21, top + 8);
    path.cubicTo(12, top + 18, 8, top + 4, 3, top + 12);
    path.closeSubpath();
    p.setPen(QPen(color.darker(150), 1));
    p.setBrush(color);
    p.drawPath(path);
}

} // namespace

QIcon MakeToolIcon(ToolIcon which)
{
    QPixmap pm(kSize * 2, kSize * 2);
    pm.setDevicePixelRatio(2);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case ToolIcon::AddFile:
        sheet(p, QRectF(3, 2, 14, 19));
        badge(p, QColor(40, 150, 70), true);
        break;
    case ToolIcon::RemoveFile:
        sheet(p, QRectF(3, 2, 14, 19));
        badge(p, QColor(200, 60, 50), false);
        break;
    case ToolIcon::CheckAll:
        box(p, QRectF(3, 3, 8, 8), 1);
        box(p, QRectF(13, 13, 8, 8), 1);
        break;
    case ToolIcon::UncheckAll:
        box(p, QRectF(3, 3, 8, 8), 0);
        box(p, QRectF(13, 13, 8, 8), 0);
        break;
    case ToolIcon::InvertChecks:
        box(p, QRectF(3, 3, 8, 8), 1);
        box(p, QRectF(13, 13, 8, 8), 0);
        p.setPen(QPen(QColor(60, 90, 160), 1.5));
        p.drawLine(QPointF(14, 5), QPointF(20, 5));
        p.drawLine(QPointF(20, 5), QPointF(20, 10));
        p.drawLine(QPointF(18, 8), QPointF(20, 10));
        p.drawLine(QPointF(22, 8), QPointF(20, 10));
        break;
    case ToolIcon::ClearList:
        for (int i = 0; i < 3; ++i) {
            p.setPen(QPen(QColor(70, 80, 95), 1.5));
            p.drawLine(QPointF(3, 5 + i * 6), QPointF(14, 5 + i * 6));
        }
        p.setPen(QPen(QColor(200, 60, 50), 2.2));
        p.drawLine(QPointF(13, 13), QPointF(21, 21));
        p.drawLine(QPointF(21, 13), QPointF(13, 21));
        break;
    case ToolIcon::ShowSum:
        surfaceWave(p, 3, QColor(120, 170, 230));
        surfaceWave(p, 10, QColor(240, 170, 90));
        p.setPen(QPen(QColor(30, 30, 30), 1.6));
        p.drawText(QRectF(13, 12, 11, 12), Qt::AlignCenter, QStringLiteral("Σ"));
        break;
    case ToolIcon::ShowEach:
        surfaceWave(p, 2, QColor(120, 170, 230));
        surfaceWave(p, 8, QColor(140, 200, 120));
        surfaceWave(p, 14, QColor(240, 170, 90));
        break;
    case ToolIcon::ClearPlot:
        surfaceWave(p, 6, QColor(180, 190, 205));
        p.setPen(QPen(QColor(200, 60, 50), 2.2));
        p.drawLine(QPointF(12, 12), QPointF(21, 21));
        p.drawLine(QPointF(21, 12), QPointF(12, 21));
        break;
    case ToolIcon::About:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 110, 190));
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.setPen(Qt::white);
        {
            QFont f = p.font();
            f.setBold(true);
            f.setPixelSize(14);
            p.setFont(f);
        }
        p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    return QIcon(pm);
}

} // namespace tavrin
