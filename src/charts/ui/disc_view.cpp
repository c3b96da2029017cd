#include "charts/ui/disc_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinScale = 0.25;
constexpr double kMaxScale = 16.0;
constexpr double kZoomStep = 1.25;

} // namespace

// The image at its scale; what it shows is painted by its view.
class DiscCanvas : public QWidget {
public:
    explicit DiscCanvas(DiscView* view) : m_view(view)
    {
        setObjectName(QStringLiteral("DiscCanvas"));
        setFocusPolicy(Qt::ClickFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        m_view->paintCanvas(painter, event->rect());
    }

private:
    DiscView* m_view;
};

DiscView::DiscView(QWidget* parent) : QScrollArea(parent)
{
    setObjectName(QStringLiteral("Slika"));
    auto* canvas = new DiscCanvas(this);
    setWidget(canvas);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::NoFocus);
    canvas->installEventFilter(this);
}

void DiscView::setImage(QImage image)
{
    m_image = std::move(image);
    setScale(m_scale);
}

void DiscView::setOverlay(const ChartGeometry& geometry, int splitPoint, NightWindow night)
{
    m_geometry = geometry;
    m_splitPoint = splitPoint;
    m_night = night;
    widget()->update();
}

void DiscView::setScale(double scale)
{
    m_scale = std::clamp(scale, kMinScale, kMaxScale);
    widget()->resize(static_cast<int>(std::ceil(m_image.width() * m_scale)),
                     static_cast<int>(std::ceil(m_image.height() * m_scale)));
    widget()->update();
}

void DiscView::zoomAt(const QPoint& canvasPoint, double factor)
{
    // The image point under the mouse stays under it.
    const QPointF imagePoint = QPointF(canvasPoint) / m_scale;
    const QPoint inViewport = widget()->mapTo(viewport(), canvasPoint);
    setScale(m_scale * factor);
    const QPointF moved = imagePoint * m_scale;
    horizontalScrollBar()->setValue(static_cast<int>(moved.x()) - inViewport.x());
    verticalScrollBar()->setValue(static_cast<int>(moved.y()) - inViewport.y());
}

void DiscView::paintCanvas(QPainter& painter, const QRect& exposed) const
{
    painter.fillRect(exposed, Qt::black);
    if (m_image.isNull())
        return;
    // Only the image pixels under the exposed part are drawn, each as a square of the scale.
    const QRectF source = QRectF(exposed.topLeft() / m_scale, exposed.size() / m_scale)
                              .adjusted(-1, -1, 1, 1)
                              .intersected(QRectF(m_image.rect()));
    const QRect pixels = source.toAlignedRect().intersected(m_image.rect());
    painter.save();
    painter.scale(m_scale, m_scale);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(pixels), m_image, QRectF(pixels));
    PaintChartOverlay(painter, m_geometry, m_splitPoint, m_night);
    painter.restore();
}

std::optional<ImageKey> DiscView::KeyOf(const QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left: return ctrl ? ImageKey::CtrlLeft : ImageKey::Left;
    case Qt::Key_Right: return ctrl ? ImageKey::CtrlRight : ImageKey::Right;
    case Qt::Key_Up: return ctrl ? ImageKey::CtrlUp : ImageKey::Up;
    case Qt::Key_Down: return ctrl ? ImageKey::CtrlDown : ImageKey::Down;
    case Qt::Key_0: return ctrl ? std::optional(ImageKey::Ctrl0) : std::nullopt;
    case Qt::Key_1: return ctrl ? std::optional(ImageKey::Ctrl1) : std::nullopt;
    case Qt::Key_F3: return ctrl ? std::optional(ImageKey::CtrlF3) : std::nullopt;
    case Qt::Key_F4: return ctrl ? std::optional(ImageKey::CtrlF4) : std::nullopt;
    default: return std::nullopt;
    }
}

bool DiscView::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* canvas = widget();
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (watched == canvas) {
            if (const std::optional<ImageKey> key = KeyOf(static_cast<QKeyEvent*>(event))) {
                emit imageKey(*key);
                return true;
            }
        }
        break;
    case QEvent::Wheel:
        if (watched == canvas) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            if (wheel->modifiers() & Qt::ControlModifier) {
                zoomAt(wheel->position().toPoint(), wheel->angleDelta().y() > 0 ? kZoomStep : 1.0 / kZoomStep);
                return true;
            }
        }
        break;
    case QEvent::MouseButtonPress:
        if (watched == canvas && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_dragging = true;
            m_dragFrom = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        }
        break;
    case QEvent::MouseMove:
        if (watched == canvas && m_dragging) {
            const QPoint now = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            const QPoint moved = now - m_dragFrom;
            m_dragFrom = now;
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
            verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == canvas)
            m_dragging = false;
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == canvas) {
            setScale(1.0);
            return true;
        }
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}
