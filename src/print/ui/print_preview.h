#pragma once

#include "print/ui/printer_output.h"

#include <QWidget>

#include <memory>

class Printout;
class QLabel;
class QListWidget;
class QPushButton;

// "Pregled ispisa": the pages of the current printout as thumbnails and one page large, with
// "Ispiši" (on the printer the settings choose for the printout) and "Spremi kao PDF". One
// window for the whole run. Controls by object name: Ispisi, SpremiPDF, Stranice (the
// thumbnails), Stranica (the page shown). One at a time: printouts find the one open.
class PrintPreview : public QWidget {
    Q_OBJECT

public:
    explicit PrintPreview(Printing& printing, QWidget* parent = nullptr);
    ~PrintPreview() override;

    // The printout to show and print; its pages replace those shown before. `role` chooses the
    // printer: the graph printer for graphic printouts (the graphic flag), and so on.
    void setDocument(std::shared_ptr<const Printout> printout, PrinterRole role);
    const Printout* document() const { return m_printout.get(); }

    // "Ispiši": all pages on the chosen printer. A failure is told in a message; false then.
    bool PrintPages();
    // "Spremi kao PDF": to the path, or when none is given, where the operator chooses.
    bool saveAsPdf(const QString& path = QString());
    // Shows the window over every other one until the operator closes it.
    void execModal();

signals:
    void hidden();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void showPage(int page);

    Printing& m_printing;
    std::shared_ptr<const Printout> m_printout;
    PrinterRole m_role = PrinterRole::Graph;
    QPushButton* m_print = nullptr;
    QPushButton* m_pdf = nullptr;
    QListWidget* m_thumbnails = nullptr;
    QLabel* m_page = nullptr;
};

// What the preview adds when printing fails: the way to a PDF from there.
inline const QString kPdfButtonHint = QStringLiteral(" Ispis možete spremiti kao PDF (\"Spremi kao PDF\").");
// What is asked when printing without the preview fails.
inline const QString kSavePdfQuestion = QStringLiteral("Spremiti ispis kao PDF datoteku?");

// Saves the printout as a PDF file at the path or, when none is given, where the operator
// chooses (offered under the printout's name in the documents folder). A failure is told in a
// message; false then, and when the operator chooses no file.
bool SavePrintoutAsPdf(const Printout& printout, QWidget* parent, const QString& path = QString());

// What a window does with a printout it has made: shows it in the preview when `preview` is on
// (the setting "Prikaži prije ispisa" of the printout's group), otherwise prints it at once.
// Without a preview window open, and where the run opens none when needed (as in tests of other
// windows), it prints at once. When printing at once fails (no printer, say), the reason is told
// and saving a PDF offered instead.
void PresentPrintout(Printing& printing, std::shared_ptr<const Printout> printout, PrinterRole role, bool preview,
                     QWidget* messageParent);
// The preview for a window that is itself modal: the printout is shown, and the caller waits,
// until the operator closes the preview.
void PresentPrintoutModally(Printing& printing, std::shared_ptr<const Printout> printout, PrinterRole role,
                            QWidget* messageParent);
