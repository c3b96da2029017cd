#pragma once

#include "charts/trace_strip.h"

#include <QImage>
#include <QScrollArea>

// The unrolled trace, 1440 pixels wide in a strip that scrolls sideways. While the mouse is
// over it, `pointed` tells the minute and the intensity under the mouse; `left` when it goes.
class TraceStripView : public QScrollArea {
    Q_OBJECT

public:
    static constexpr int kHeight = 71;

    explicit TraceStripView(QWidget* parent = nullptr);
    void setStrip(const TraceStrip& strip);

    // "HH:MM v": the minute of a column and the intensity of the image pixel there.
    QString readoutAt(const QPoint& imagePoint) const;

signals:
    void pointed(const QString& readout);
    void left();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QImage m_image;
};
