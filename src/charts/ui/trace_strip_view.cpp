#include "charts/ui/trace_strip_view.h"

#include "charts/chart_overlay.h"
#include "common/time_text.h"

#include <QLabel>
#include <QMouseEvent>

TraceStripView::TraceStripView(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("Traka"));
    setFixedHeight(kHeight);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::NoFocus);
    auto* picture = new QLabel;
    picture->setObjectName(QStringLiteral("TrakaSlika"));
    picture->setMouseTracking(true);
    picture->installEventFilter(this);
    setWidget(picture);
}

void TraceStripView::setStrip(const TraceStrip& strip)
{
    m_image = TraceStripImage(strip);
    auto* picture = static_cast<QLabel*>(widget());
    picture->setPixmap(QPixmap::fromImage(m_image));
    picture->resize(m_image.size());
}

QString TraceStripView::readoutAt(const QPoint& point) const
{
    if (!m_image.rect().contains(point))
        return QString();
    const int intensity = qGray(m_image.pixel(point));
    return FormatMinutes(point.x()) + QLatin1Char(' ') + QString::number(intensity);
}

bool TraceStripView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget()) {
        if (event->type() == QEvent::MouseMove) {
            const QString readout = readoutAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (readout.isEmpty())
                emit left();
            else
                emit pointed(readout);
        } else if (event->type() == QEvent::Leave) {
            emit left();
        }
    }
    return QScrollArea::eventFilter(watched, event);
}
