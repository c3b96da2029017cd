#include "print/ui/print_preview.h"

#include "print/pdf_output.h"
#include "print/printout.h"
#include "settings/settings.h"

#include "ui/look.h"
#include "ui/message_box.h"
#include "ui/window_lookup.h"
#include "ui/window_placement.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 593;
constexpr int kClientHeight = 412;
constexpr int kToolBarHeight = 41;
constexpr int kThumbnailColumn = 137;
constexpr double kThumbnailDpi = 12;
constexpr double kPageDpi = 60;

}  // namespace

PrintPreview::PrintPreview(Printing& printing, QWidget* parent)
    : QWidget(parent, Qt::Window), m_printing(printing)
{
    setObjectName(QStringLiteral("uplatnicePrintPreview"));
    setWindowTitle(QStringLiteral("Pregled ispisa"));
    resize(kClientWidth, kClientHeight);

    auto* toolBar = new QWidget(this);
    toolBar->setFixedHeight(kToolBarHeight);
    m_print = new QPushButton(QStringLiteral("Ispiši"), toolBar);
    m_print->setObjectName(QStringLiteral("Ispisi"));
    m_print->setFont(Look::Bold(m_print->font()));
    m_pdf = new QPushButton(QStringLiteral("Spremi kao PDF"), toolBar);
    m_pdf->setObjectName(QStringLiteral("SpremiPDF"));
    for (QPushButton* button : {m_print, m_pdf})
        button->setAutoDefault(false);
    auto* tools = new QHBoxLayout(toolBar);
    tools->setContentsMargins(4, 4, 4, 4);
    tools->addWidget(m_print);
    tools->addWidget(m_pdf);
    tools->addStretch(1);

    m_thumbnails = new QListWidget(this);
    m_thumbnails->setObjectName(QStringLiteral("Stranice"));
    // One column: the pages one under the other, never wrapped into a second column beside it.
    m_thumbnails->setFixedWidth(kThumbnailColumn);
    m_thumbnails->setViewMode(QListView::IconMode);
    m_thumbnails->setFlow(QListView::TopToBottom);
    m_thumbnails->setWrapping(false);
    m_thumbnails->setMovement(QListView::Static);
    m_thumbnails->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_thumbnails->setIconSize(QSize(kThumbnailColumn - 30, kThumbnailColumn));
    m_page = new QLabel;
    m_page->setObjectName(QStringLiteral("Stranica"));
    m_page->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(m_page);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);

    auto* pages = new QHBoxLayout;
    pages->addWidget(m_thumbnails);
    pages->addWidget(scroll, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(toolBar);
    layout->addLayout(pages, 1);

    connect(m_print, &QPushButton::clicked, this, &PrintPreview::PrintPages);
    connect(m_pdf, &QPushButton::clicked, this, [this] { saveAsPdf(); });
    connect(m_thumbnails, &QListWidget::currentRowChanged, this, &PrintPreview::showPage);
    RestoreWindowPlacement(this, m_printing.settings().path());
}

PrintPreview::~PrintPreview()
{
    SaveWindowPlacement(this, m_printing.settings().path());
}

void PrintPreview::setDocument(std::shared_ptr<const Printout> printout, PrinterRole role)
{
    m_printout = std::move(printout);
    m_role = role;
    m_thumbnails->clear();
    m_page->clear();
    if (!m_printout)
        return;
    for (int page = 0; page < m_printout->pageCount(); ++page) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(RenderPage(*m_printout, page, kThumbnailDpi))),
                                         QString::number(page + 1), m_thumbnails);
        item->setTextAlignment(Qt::AlignHCenter);
    }
    if (m_printout->pageCount() > 0)
        m_thumbnails->setCurrentRow(0);
}

void PrintPreview::showPage(int page)
{
    if (!m_printout || page < 0 || page >= m_printout->pageCount()) {
        m_page->clear();
        return;
    }
    m_page->setPixmap(QPixmap::fromImage(RenderPage(*m_printout, page, kPageDpi)));
}

bool PrintPreview::PrintPages()
{
    if (!m_printout)
        return false;
    QString error;
    if (!m_printing.print(*m_printout, m_role, &error)) {
        ShowMessage(this, error + kPdfButtonHint);
        return false;
    }
    return true;
}

bool PrintPreview::saveAsPdf(const QString& path)
{
    return m_printout && SavePrintoutAsPdf(*m_printout, this, path);
}

bool SavePrintoutAsPdf(const Printout& printout, QWidget* parent, const QString& path)
{
    QString target = path;
    if (target.isEmpty()) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        target = QFileDialog::getSaveFileName(parent, QStringLiteral("Spremi kao PDF"),
                                              QDir(folder).filePath(printout.fileName() + QStringLiteral(".pdf")),
                                              QStringLiteral("PDF (*.pdf)"));
        if (target.isEmpty())
            return false;
        if (!target.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            target += QStringLiteral(".pdf");
    }
    QString error;
    if (!WritePdf(printout, target, &error)) {
        ShowError(parent, error);
        return false;
    }
    return true;
}

void PrintPreview::execModal()
{
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &PrintPreview::hidden, &loop, &QEventLoop::quit);
    show();
    raise();
    activateWindow();
    loop.exec();
    setWindowModality(Qt::NonModal);
}

void PrintPreview::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit hidden();
}

namespace {

// The preview open now; where there is none and the run opens one when needed, a new one, gone
// again when closed.
PrintPreview* PreviewWindow(Printing& printing)
{
    if (PrintPreview* open = FindWindow<PrintPreview>())
        return open;
    if (!printing.opensPreview())
        return nullptr;
    auto* preview = new PrintPreview(printing);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    return preview;
}

}  // namespace

void PresentPrintoutModally(Printing& printing, std::shared_ptr<const Printout> printout, PrinterRole role,
                            QWidget* messageParent)
{
    PrintPreview* window = PreviewWindow(printing);
    if (!window) {
        PresentPrintout(printing, std::move(printout), role, false, messageParent);
        return;
    }
    window->setDocument(std::move(printout), role);
    window->execModal();
}

void PresentPrintout(Printing& printing, std::shared_ptr<const Printout> printout, PrinterRole role, bool preview,
                     QWidget* messageParent)
{
    if (PrintPreview* window = preview ? PreviewWindow(printing) : FindWindow<PrintPreview>()) {
        window->setDocument(printout, role);
        if (preview) {
            window->show();
            window->raise();
            window->activateWindow();
            return;
        }
    }
    // No preview, so no "Spremi kao PDF" to point to: the PDF is offered here.
    QString error;
    if (!printing.print(*printout, role, &error)
        && AskYesNo(messageParent, error + QStringLiteral("\n\n") + kSavePdfQuestion))
        SavePrintoutAsPdf(*printout, messageParent);
}
