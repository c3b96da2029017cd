#pragma once

#include "charts/chart_overlay.h"
#include "charts/geometry_controls.h"

#include <QImage>
#include <QScrollArea>

// The disc image with its geometry drawn over it, in a scrolling area. Ctrl with the wheel
// zooms about the mouse, a drag with the left button pans, a double click goes back to
// scale 1; the overlay is drawn at the zoom, so it stays on the image's pixels.
// With the keyboard focus (a click gives it), the arrow keys and their Ctrl forms are the
// image keys: each acts when the key goes down and again when it comes up.
class DiscView : public QScrollArea {
    Q_OBJECT

public:
    explicit DiscView(QWidget* parent = nullptr);

    void setImage(QImage image);
    // The geometry, split point and night period drawn over the image.
    void setOverlay(const ChartGeometry& geometry, int splitPoint, NightWindow night);

    double scale() const { return m_scale; }
    void setScale(double scale);

    // The image key of a key event, if it is one.
    static std::optional<ImageKey> KeyOf(const QKeyEvent* event);

signals:
    void imageKey(ImageKey key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class DiscCanvas;
    void paintCanvas(QPainter& painter, const QRect& exposed) const;
    void zoomAt(const QPoint& canvasPoint, double factor);

    QImage m_image;
    ChartGeometry m_geometry;
    int m_splitPoint = 0;
    NightWindow m_night;
    double m_scale = 1.0;
    QPoint m_dragFrom;
    bool m_dragging = false;
};
