#pragma once

#include <QDateTime>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QRectF>
#include <QString>

// A page being drawn, in millimetres from the page's top left corner, whatever the device
// (screen image, printer, PDF): lengths convert with the device's resolution, and fonts are
// given in points.
class PageCanvas {
public:
    PageCanvas(QPainter& painter, double dotsPerInch);

    QPainter& painter() const { return m_painter; }
    // A length in millimetres as device pixels.
    double mm(double millimetres) const;
    int px(double millimetres) const;
    QRect rect(double left, double top, double right, double bottom) const;

    void setFont(const QString& family, double points, bool bold = false, bool italic = false);
    // Text with its top left corner at the point.
    void textAt(double left, double top, const QString& text) const;
    // Text centred horizontally between two positions, its top at `top`.
    void textCentred(double left, double right, double top, const QString& text) const;
    // Text ending at `right`, its top at `top`.
    void textRightAligned(double right, double top, const QString& text) const;
    // A line, `width` millimetres wide.
    void line(double x1, double y1, double x2, double y2, double width = 0.2) const;

private:
    QPainter& m_painter;
    double m_dotsPerMm;
};

// A printout: its pages are laid out from plain data when it is made, so their number is known
// before the first page is drawn ("Str. n od N"); any page can then be painted on any device.
// The preview, the printer and PDF all draw through this one interface.
class Printout {
public:
    virtual ~Printout() = default;

    virtual int pageCount() const = 0;
    // Paints page `page` (from 0) on the canvas.
    virtual void paintPage(PageCanvas& canvas, int page) const = 0;
    // A4 portrait unless a printout needs otherwise.
    virtual QPageLayout pageLayout() const;
    // The name a saved PDF is offered under, without folder or extension.
    virtual QString fileName() const = 0;
    // How many copies a printer makes.
    virtual int copies() const { return 1; }
};

// The pieces the list printouts share, in millimetres from the page's corner:
// the column header band, light green between blue rules;
void PaintHeaderBand(PageCanvas& canvas, double left, double top, double right, double height);
// a dotted rule under a line;
void PaintDottedRule(PageCanvas& canvas, double left, double right, double y, const QColor& colour);
// the footer: "Str. n od N" (9 pt bold) at the left, "Datum i vrijeme ispisa: " and the
// moment of printing (7 pt) in the middle, the web address (9 pt blue) at the right.
void PaintPageFooter(PageCanvas& canvas, double left, double right, double textTop, int page, int pages,
                     const QDateTime& printedAt, const QString& webAddress);

// A4 portrait without margins: printouts place everything themselves, in millimetres from
// the page's edges.
QPageLayout A4Portrait();

// Paints one page on a painter that is open on a device with the page's size.
void PaintPrintoutPage(const Printout& printout, QPainter& painter, int page, double dotsPerInch);

// A file name made of the parts a printout is known by, with what a file system refuses
// replaced: "Evidencija radnog vremena - Horvat Ivan - 01.03.2025-31.03.2025".
QString PrintoutFileName(const QStringList& parts);
